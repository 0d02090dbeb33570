// What only the Win32 file services have to get right: the reasons Windows gives for a failure.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "files/FileServices.h"
#include "files/win32/Win32.h"
#include "tests/support/ScratchSkin.h"

namespace quil::test {
namespace {

class Win32Files : public ::testing::Test {
 protected:
  ScratchSkin skin{false};
  std::unique_ptr<FileServices> files = MakePlatformFileServices();
};

TEST_F(Win32Files, AFileHeldOpenByAnotherProgramIsASharingViolation) {
  // Trillian keeps desc.txt open without sharing it.
  ScratchSkin::Write(skin / "desc.txt", "Quil\r\n");
  HANDLE held = CreateFileA("desc.txt", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(files->OpenWrite("desc.txt"));
  EXPECT_EQ(files->LastError(), FileError::SharingViolation);
  EXPECT_FALSE(files->OpenRead("desc.txt"));
  EXPECT_EQ(files->LastError(), FileError::SharingViolation);
  CloseHandle(held);

  // Files are opened as fopen opens them: a reader and a writer may share the file.
  HANDLE reading = CreateFileA("desc.txt", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(reading, INVALID_HANDLE_VALUE);
  auto writer = files->OpenWrite("desc.txt");
  ASSERT_TRUE(writer);
  writer->Write("shared\n");
  EXPECT_TRUE(writer->Close());
  CloseHandle(reading);
  EXPECT_EQ(ScratchSkin::Read(skin / "desc.txt"), "shared\r\n");
}

TEST_F(Win32Files, FailuresReportTheirReason) {
  ScratchSkin::Write(skin / "mods" / "Blue" / "colors.dtd", "x\r\n");
  ScratchSkin::Write(skin / "colors.dtd.new", "y\r\n");
  // Another program reads the file and shares only reading: replacing it is refused as "access
  // denied", which the services tell apart from a file the user may not change.
  const auto replaceWhileRead = [&] {
    HANDLE reading = CreateFileA("mods\\Blue\\colors.dtd", GENERIC_READ, FILE_SHARE_READ, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    const bool failed = !files->Replace("colors.dtd.new", "mods\\Blue\\colors.dtd");
    CloseHandle(reading);
    return failed;
  };
  struct Case {
    const char* what;
    std::function<bool()> fails;
    FileError reason;
  };
  const Case cases[] = {
      {"open a folder for writing", [&] { return !files->OpenWrite("mods\\Blue"); },
       FileError::AccessDenied},
      {"read in a missing folder", [&] { return !files->OpenRead("mods\\Red\\colors.dtd"); },
       FileError::NotFound},
      {"make an existing folder", [&] { return !files->MakeDirectory("mods\\Blue"); },
       FileError::AlreadyExists},
      {"remove a missing folder", [&] { return !files->RemoveDirectory("mods\\Red"); },
       FileError::NotFound},
      {"list a missing folder", [&] { return files->List("mods\\Red\\*").empty(); },
       FileError::NotFound},
      {"replace a file another program reads", replaceWhileRead, FileError::SharingViolation},
      {"replace a folder", [&] { return !files->Replace("colors.dtd.new", "mods\\Blue"); },
       FileError::AccessDenied},
      {"read an existing file", [&] { return !files->OpenRead("mods\\Blue\\colors.dtd"); },
       FileError::None},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.fails(), c.reason != FileError::None) << c.what;
    EXPECT_EQ(files->LastError(), c.reason) << c.what;
  }
}

}  // namespace
}  // namespace quil::test
