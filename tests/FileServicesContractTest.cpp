// The behaviour every file-services implementation promises, run against the one the build has:
// the POSIX one natively, the Win32 one under Wine. Both must agree byte for byte.
#include <gtest/gtest.h>

#include <filesystem>

#include "files/FileServices.h"
#include "tests/support/ScratchSkin.h"

namespace quil::test {
namespace {

namespace fs = std::filesystem;

class FileServicesContract : public ::testing::Test {
 protected:
  ScratchSkin skin{false};
  std::unique_ptr<FileServices> files = MakePlatformFileServices();

  std::vector<std::string> ReadAll(const std::string& path, std::size_t capacity) {
    std::vector<std::string> pieces;
    auto reader = files->OpenRead(path);
    EXPECT_TRUE(reader) << path;
    if (!reader) return pieces;
    std::string piece;
    while (reader->ReadLine(piece, capacity)) pieces.push_back(piece);
    EXPECT_TRUE(piece.empty());
    return pieces;
  }
  std::vector<std::string> Names(const std::string& pattern) {
    std::vector<std::string> names;
    for (const DirEntry& e : files->List(pattern)) names.push_back(e.name);
    return names;
  }
};

TEST_F(FileServicesContract, ReadsTextModeLinesLikeFgets) {
  ScratchSkin::Write(skin / "t.txt", "one\r\ntwo\nthree\rstill three\r\n\r\nlast");
  EXPECT_EQ(ReadAll("t.txt", 400),
            (std::vector<std::string>{"one\n", "two\n", "three\rstill three\n", "\n", "last"}));
  // A longer line comes back in pieces of capacity - 1 characters.
  ScratchSkin::Write(skin / "long.txt", "abcdefg\r\nxy\r\n");
  EXPECT_EQ(ReadAll("long.txt", 4), (std::vector<std::string>{"abc", "def", "g\n", "xy\n"}));
  // Ctrl-Z ends a text-mode read.
  ScratchSkin::Write(skin / "z.txt",
                     "before\r\nmid\x1a"
                     "after\r\n");
  EXPECT_EQ(ReadAll("z.txt", 400), (std::vector<std::string>{"before\n", "mid"}));
  // Read as bytes, the file is as it lies on disk.
  EXPECT_EQ(files->ReadBytes("z.txt"),
            "before\r\nmid\x1a"
            "after\r\n");
  EXPECT_FALSE(files->ReadBytes("missing.txt"));
  // Rewind goes back to the first line.
  auto reader = files->OpenRead("t.txt");
  ASSERT_TRUE(reader);
  std::string piece;
  reader->ReadLine(piece, 400);
  reader->ReadLine(piece, 400);
  reader->Rewind();
  ASSERT_TRUE(reader->ReadLine(piece, 400));
  EXPECT_EQ(piece, "one\n");
}

TEST_F(FileServicesContract, WritesCrLfAndTruncates) {
  ScratchSkin::Write(skin / "out.txt", "old content that is longer than the new one\r\n");
  auto writer = files->OpenWrite("out.txt");
  ASSERT_TRUE(writer);
  writer->Write("a\nb");
  writer->Write("\n\nend");
  EXPECT_TRUE(writer->Close());
  EXPECT_EQ(ScratchSkin::Read(skin / "out.txt"), "a\r\nb\r\n\r\nend");
}

TEST_F(FileServicesContract, FindsPathsWithoutRegardToCase) {
  ScratchSkin::Write(skin / "Mods" / "Blue" / "Colors.DTD", "x\n");
  EXPECT_TRUE(files->OpenRead("mods\\blue\\colors.dtd"));
  EXPECT_TRUE(files->OpenRead("MODS/BLUE/colors.dtd"));
  auto attributes = files->Attributes("mods\\BLUE");
  ASSERT_TRUE(attributes);
  EXPECT_TRUE(attributes->isDirectory);
  // Writing through a differently cased path reaches the existing file.
  auto writer = files->OpenWrite("mods\\blue\\COLORS.dtd");
  ASSERT_TRUE(writer);
  writer->Write("y\n");
  ASSERT_TRUE(writer->Close());
  EXPECT_EQ(ScratchSkin::Read(skin / "Mods" / "Blue" / "Colors.DTD"), "y\r\n");
  EXPECT_FALSE(files->OpenRead("mods\\blue\\missing.dtd"));
  EXPECT_EQ(files->LastError(), FileError::NotFound);
  EXPECT_FALSE(files->Attributes("nothing\\here"));
}

TEST_F(FileServicesContract, ListsSortedWithoutRegardToCase) {
  for (const char* name : {"b", "_under", "A", "c.txt", "Ab"}) {
    ScratchSkin::Write(skin / "plugins" / name / "plugin.txt", "x\n");
  }
  ScratchSkin::Write(skin / "plugins" / "file.ini", "x\n");
  EXPECT_EQ(Names("plugins\\*"),
            (std::vector<std::string>{".", "..", "A", "Ab", "b", "c.txt", "file.ini", "_under"}));
  const auto entries = files->List("plugins\\*");
  for (const DirEntry& e : entries) EXPECT_EQ(e.attributes.isDirectory, e.name != "file.ini");
  EXPECT_EQ(Names("plugins\\A*"), (std::vector<std::string>{"A", "Ab"}));
  EXPECT_EQ(Names("plugins\\?.txt"), (std::vector<std::string>{"c.txt"}));
  // An exact path finds the entry whatever its case; a missing one finds nothing.
  EXPECT_EQ(Names("plugins\\B\\PLUGIN.TXT"), (std::vector<std::string>{"plugin.txt"}));
  EXPECT_TRUE(Names("plugins\\b\\main.xml").empty());
  EXPECT_TRUE(Names("absent\\*").empty());
  // Siblings of the current folder, as the profile folders are found.
  fs::create_directories(skin.skinsFolder() / "Quil_profile_Work");
  ScratchSkin::Write(skin.skinsFolder() / "Quil_profile_file", "");
  EXPECT_EQ(Names("..\\Quil_profile_*"),
            (std::vector<std::string>{"Quil_profile_file", "Quil_profile_Work"}));
}

TEST_F(FileServicesContract, CopyMoveDeleteFollowWindowsRules) {
  ScratchSkin::Write(skin / "a.txt", "alpha\r\n");
  ScratchSkin::Write(skin / "b.txt", "beta\r\n");
  EXPECT_FALSE(files->Copy("a.txt", "b.txt", true));
  EXPECT_EQ(files->LastError(), FileError::AlreadyExists);
  EXPECT_TRUE(files->Copy("a.txt", "b.txt", false));
  EXPECT_EQ(ScratchSkin::Read(skin / "b.txt"), "alpha\r\n");
  EXPECT_FALSE(files->Copy("missing.txt", "c.txt", false));

  EXPECT_FALSE(files->Move("a.txt", "b.txt"));  // the target exists
  EXPECT_TRUE(files->Move("a.txt", "c.txt"));
  EXPECT_FALSE(fs::exists(skin / "a.txt"));
  EXPECT_EQ(ScratchSkin::Read(skin / "c.txt"), "alpha\r\n");
  EXPECT_FALSE(files->Move("a.txt", "d.txt"));
  EXPECT_EQ(files->LastError(), FileError::NotFound);

  EXPECT_TRUE(files->Delete("c.txt"));
  EXPECT_FALSE(files->Delete("c.txt"));
  EXPECT_EQ(files->LastError(), FileError::NotFound);

  EXPECT_TRUE(files->MakeDirectory("folder"));
  EXPECT_FALSE(files->MakeDirectory("folder"));
  EXPECT_EQ(files->LastError(), FileError::AlreadyExists);
  EXPECT_FALSE(files->MakeDirectory("no\\parent"));
  EXPECT_FALSE(files->Delete("folder"));  // a folder is no file
  EXPECT_TRUE(files->Move("folder", "renamed"));
  ScratchSkin::Write(skin / "renamed" / "inner.txt", "x");
  EXPECT_FALSE(files->RemoveDirectory("renamed"));  // not empty
  EXPECT_TRUE(files->Delete("renamed\\inner.txt"));
  EXPECT_TRUE(files->RemoveDirectory("renamed"));
  EXPECT_FALSE(fs::exists(skin / "renamed"));
}

TEST_F(FileServicesContract, ReplaceMovesANewFileOverTheOldInOneStep) {
  ScratchSkin::Write(skin / "config.dtd", "old\r\n");
  ScratchSkin::Write(skin / "config.dtd.new", "new\r\n");
  EXPECT_TRUE(files->Replace("config.dtd.new", "CONFIG.DTD"));
  EXPECT_EQ(ScratchSkin::Read(skin / "config.dtd"), "new\r\n");
  EXPECT_FALSE(fs::exists(skin / "config.dtd.new"));
  // A missing target is simply made; a missing replacement changes nothing.
  ScratchSkin::Write(skin / "a.new", "a");
  EXPECT_TRUE(files->Replace("a.new", "a.txt"));
  EXPECT_EQ(ScratchSkin::Read(skin / "a.txt"), "a");
  EXPECT_FALSE(files->Replace("absent.new", "a.txt"));
  EXPECT_EQ(ScratchSkin::Read(skin / "a.txt"), "a");
}

TEST_F(FileServicesContract, ReadOnlyFilesAreNeitherWrittenNorReplacedButDeleted) {
  ScratchSkin::Write(skin / "config.dtd", "keep\r\n");
  fs::permissions(skin / "config.dtd",
                  fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  auto attributes = files->Attributes("config.dtd");
  ASSERT_TRUE(attributes);
  EXPECT_TRUE(attributes->isReadOnly);
  EXPECT_FALSE(files->OpenWrite("config.dtd"));
  EXPECT_EQ(files->LastError(), FileError::AccessDenied);
  ScratchSkin::Write(skin / "config.dtd.new", "new\r\n");
  EXPECT_FALSE(files->Replace("config.dtd.new", "config.dtd"));
  EXPECT_EQ(files->LastError(), FileError::AccessDenied);
  EXPECT_EQ(ScratchSkin::Read(skin / "config.dtd"), "keep\r\n");
  // A copy carries the attribute over, as CopyFileA does, until it is cleared.
  EXPECT_TRUE(files->Copy("config.dtd", "copy.dtd", false));
  EXPECT_TRUE(files->Attributes("copy.dtd")->isReadOnly);
  EXPECT_TRUE(files->ClearReadOnly("copy.dtd"));
  EXPECT_FALSE(files->Attributes("copy.dtd")->isReadOnly);
  EXPECT_TRUE(files->Flush("copy.dtd"));
  // Deleting clears the attribute first: only files of the utility's own and those of a folder the
  // user deletes are ever deleted.
  EXPECT_TRUE(files->Delete("config.dtd"));
  EXPECT_FALSE(fs::exists(skin / "config.dtd"));
}

TEST_F(FileServicesContract, CurrentAndFullPaths) {
  const std::string cwd = files->CurrentDirectory();
  ASSERT_FALSE(cwd.empty());
  EXPECT_NE(cwd.back(), '\\');
  EXPECT_EQ(cwd.substr(cwd.rfind('\\') + 1), "Quil");
  EXPECT_EQ(files->FullPath("mods\\green\\Quil.bmp"), cwd + "\\mods\\green\\Quil.bmp");
  EXPECT_EQ(files->FullPath("..\\Quil\\mods\\.\\x.bmp"), cwd + "\\mods\\x.bmp");
  // A short name, where the platform has one, names the same file.
  ScratchSkin::Write(skin / "A long file name.bmp", "x");
  if (auto shortPath = files->ShortPath(cwd + "\\A long file name.bmp")) {
    EXPECT_TRUE(files->OpenRead(*shortPath));
  }
}

}  // namespace
}  // namespace quil::test
