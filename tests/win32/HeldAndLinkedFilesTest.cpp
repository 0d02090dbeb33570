// Files the way Windows shows them to the utility: a desc.txt that Trillian holds open, and a link
// inside a plugin folder that is being deleted.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/ControlIds.h"
#include "files/win32/Win32.h"
#include "profiles/Lists.h"
#include "profiles/ProfileFolders.h"
#include "settings/SkinSettings.h"
#include "tests/support/ScratchSkin.h"

namespace quil::test {
namespace {

namespace fs = std::filesystem;

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
    t.app.state.SkinVersion = 3;
    SetInitialOptionStates(t.dialog);
    t.dialog.At(Page::Colors, kSchemeBox).text = "green";
    const std::string desc = ScratchSkin::Read(skin / "desc.txt");
    const std::string config = ScratchSkin::Read(skin / "config.dtd");
    t.dialog.SetChecked(Page::General, kButtonScrollBox, true);

    HANDLE held = CreateFileA("desc.txt", GENERIC_READ, hold.share, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    t.dialog.Answer({true});
    const bool saved = SaveProfile(t.app);
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
