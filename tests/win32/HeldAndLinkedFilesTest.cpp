// Files the way Windows shows them to the utility: a desc.txt that Trillian holds open, files that
// another program holds for a moment while they are saved or deleted, and a link inside a plugin
// folder that is being deleted.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>

#include "core/ControlIds.h"
#include "dialog/ListCommands.h"
#include "dialog/Outcomes.h"
#include "dialog/ProfileSave.h"
#include "files/win32/Win32.h"
#include "profiles/Lists.h"
#include "profiles/ProfileFolders.h"
#include "settings/SkinSettings.h"
#include "tests/support/ScratchSkin.h"

namespace quil::test {
namespace {

namespace fs = std::filesystem;

// The longest the test waits for the other program to open its file or to end.
constexpr DWORD kWaitBoundMs = 10000;

// Another program holding a file for a moment, as a virus scanner or the search indexer does right
// after the file was written: on a thread of its own it opens `path` with the given sharing, and
// closes it `holdMs` later. With `after`, the hold lasts until `holdMs` after the file `after`
// has appeared, so that it surely covers the step that follows that file's making.
class BriefHold {
 public:
  BriefHold(std::string path, DWORD share, DWORD holdMs, std::string after = {})
      : path_(std::move(path)), after_(std::move(after)), share_(share), holdMs_(holdMs) {
    opened_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    thread_ = CreateThread(nullptr, 0, &BriefHold::Run, this, 0, nullptr);
  }
  ~BriefHold() {
    if (thread_) {
      WaitForSingleObject(thread_, kWaitBoundMs);
      CloseHandle(thread_);
    }
    if (opened_) CloseHandle(opened_);
  }
  BriefHold(const BriefHold&) = delete;
  BriefHold& operator=(const BriefHold&) = delete;

  // Whether the other program has the file open (it is waited for, within a bound).
  bool Holding() {
    return thread_ && WaitForSingleObject(opened_, kWaitBoundMs) == WAIT_OBJECT_0 && held_;
  }
  // Whether it has let go again (it is waited for, within a bound).
  bool Released() { return thread_ && WaitForSingleObject(thread_, kWaitBoundMs) == WAIT_OBJECT_0; }

 private:
  static DWORD WINAPI Run(void* self) {
    auto& hold = *static_cast<BriefHold*>(self);
    HANDLE file = CreateFileA(hold.path_.c_str(), GENERIC_READ, hold.share_, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    hold.held_ = file != INVALID_HANDLE_VALUE;
    SetEvent(hold.opened_);
    if (!hold.held_) return 1;
    if (!hold.after_.empty()) {
      const DWORD start = GetTickCount();
      while (GetFileAttributesA(hold.after_.c_str()) == INVALID_FILE_ATTRIBUTES &&
             GetTickCount() - start < kWaitBoundMs) {
        Sleep(1);
      }
    }
    Sleep(hold.holdMs_);
    CloseHandle(file);
    return 0;
  }

  std::string path_, after_;
  DWORD share_, holdMs_;
  HANDLE opened_ = nullptr;
  HANDLE thread_ = nullptr;
  bool held_ = false;
};

TEST(HeldAndLinkedFiles, DescriptionHeldOpenByAnotherProgramStillSavesTheSettings) {
  // Trillian holds desc.txt open while its skin chooser shows, sharing reading or not sharing at
  // all. Either way the description stays as it was and the user is told why; the settings save.
  const struct {
    const char* name;
    DWORD share;
  } holds[] = {{"no sharing", 0}, {"reading shared", FILE_SHARE_READ}};
  for (const auto& hold : holds) {
    SCOPED_TRACE(hold.name);
    ScratchSkin skin;
    TestApp t;
    t.app.state.SetProfileName(kDefaultProfile);
    t.app.state.SetSchemeName("green");
    const SkinSettings settings{.skinVersion = 3, .scheme = "green", .buttonScroll = true};
    PluginSelection none;
    const std::string desc = ScratchSkin::Read(skin / "desc.txt");
    const std::string config = ScratchSkin::Read(skin / "config.dtd");

    HANDLE held = CreateFileA("desc.txt", GENERIC_READ, hold.share, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    t.dialog.Answer({true});
    ASSERT_TRUE(ConfirmSave(t.app));
    const bool saved = ShowOutcome(t.app, SaveProfile(t.app, settings, none));
    CloseHandle(held);

    EXPECT_TRUE(saved);
    ASSERT_EQ(t.dialog.messages.size(), 2u);
    EXPECT_EQ(t.dialog.messages[1].kind, MemoryDialog::Kind::Notice);
    EXPECT_EQ(t.dialog.messages[1].text, kSharingViolationNotice);
    EXPECT_EQ(ScratchSkin::Read(skin / "desc.txt"), desc);
    EXPECT_NE(ScratchSkin::Read(skin / "config.dtd"), config);
    EXPECT_FALSE(fs::exists(skin / "desc.txt.bak"));
    EXPECT_FALSE(fs::exists(skin / "desc.txt.new"));
  }
}

TEST(HeldAndLinkedFiles, AFileHeldForAMomentDuringSaveOrDeleteGoesUnnoticed) {
  {
    SCOPED_TRACE("config.dtd held without delete sharing while Save replaces it");
    ScratchSkin skin;
    TestApp t;
    t.app.state.SetProfileName(kDefaultProfile);
    t.app.state.SetSchemeName("green");
    const SkinSettings settings{.skinVersion = 3, .scheme = "green", .buttonScroll = true};
    PluginSelection none;
    const std::string config = ScratchSkin::Read(skin / "config.dtd");

    BriefHold hold("config.dtd", FILE_SHARE_READ | FILE_SHARE_WRITE, 50, "config.dtd.new");
    ASSERT_TRUE(hold.Holding()) << "the other program did not open config.dtd";
    t.dialog.Answer({true});
    ASSERT_TRUE(ConfirmSave(t.app));
    const bool saved = ShowOutcome(t.app, SaveProfile(t.app, settings, none));
    EXPECT_TRUE(hold.Released()) << "the other program did not let go of config.dtd";

    EXPECT_TRUE(saved);
    EXPECT_EQ(t.dialog.messages.size(), 1u)
        << (t.dialog.messages.empty() ? "" : t.dialog.messages.back().text);
    EXPECT_EQ(t.dialog.messages.at(0).kind, MemoryDialog::Kind::Question);
    EXPECT_TRUE(ScratchSkin::Read(skin / "config.dtd") != config) << "config.dtd is as it was";
    EXPECT_TRUE(ScratchSkin::Read(skin / "config.dtd.bak") == config) << "no whole backup";
    EXPECT_FALSE(fs::exists(skin / "config.dtd.new"));
  }
  // A file in a plugin folder that is being deleted, held without delete sharing (deleting it
  // fails) or with it (it is deleted, but stays until let go, so its folder is not empty).
  const struct {
    const char* name;
    DWORD share;
  } holds[] = {{"deleting shared", FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE},
               {"no delete sharing", FILE_SHARE_READ | FILE_SHARE_WRITE}};
  for (const auto& h : holds) {
    SCOPED_TRACE(std::string("a plugin's main.xml held, ") + h.name);
    ScratchSkin skin;
    TestApp t;
    BriefHold hold("plugins\\timestamps\\main.xml", h.share, 50);
    ASSERT_TRUE(hold.Holding()) << "the other program did not open main.xml";
    RemoveDirectoryTree(t.app, "plugins\\timestamps");
    EXPECT_TRUE(hold.Released()) << "the other program did not let go of main.xml";
    EXPECT_TRUE(t.dialog.messages.empty()) << t.dialog.messages.front().text;
    EXPECT_FALSE(fs::exists(skin / "plugins/timestamps"));
  }
}

TEST(HeldAndLinkedFiles, DeletingAPluginLeavesTheTargetOfALinkInside) {
  ScratchSkin skin;
  ScratchSkin::Write(skin / "precious/keep.txt", "keep");
  std::error_code error;
  fs::create_directory_symlink(skin / "precious", skin / "plugins/timestamps/link", error);
  if (error) GTEST_SKIP() << "this system makes no folder links: " << error.message();
  TestApp t;
  RemoveDirectoryTree(t.app, "plugins\\timestamps");
  EXPECT_TRUE(t.dialog.messages.empty());
  EXPECT_FALSE(fs::exists(skin / "plugins/timestamps"));
  EXPECT_EQ(ScratchSkin::Read(skin / "precious/keep.txt"), "keep");
}

}  // namespace
}  // namespace quil::test
