// Saving a profile's desc.txt and trillian.xml: the title's date part, the image line, the
// description lines, and a desc.txt held open by Trillian.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/ControlIds.h"
#include "dialog/MainDialog.h"
#include "profiles/ProfileFolders.h"
#include "settings/SkinSettings.h"
#include "tests/support/FaultyFiles.h"
#include "tests/support/ScratchSkin.h"

namespace quil::test {
namespace {

namespace fs = std::filesystem;

TEST(TitleDatePart, TakesTheTextAfterTheFirstMarkAndAlwaysEndsTheLine) {
  const struct {
    const char* title;
    const char* part;
  } cases[] = {
      {"Quil >June 2026\n", "June 2026\n"},
      {"Quil >June 2026", "June 2026\n"},  // a title without a line break
      {"Quil >June >2026\n", "June \n"},   // a second mark ends the part, not the line
      {"Quil without a date\n", " (undated)\n"},
      {"Quil >\n", " (undated)\n"},
      {"", " (undated)\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(TitleDatePart(c.title), c.part) << c.title;
}

TEST(PreviewImageLine, ImagesInsideTheSkinFolderAreWrittenFromItsParent) {
  ScratchSkin skin;
  TestApp t;
  const std::string s = t.app.state.WorkDir;
  EXPECT_EQ(PreviewImageLine(t.app, s + "\\mods\\Blue\\Quil.bmp"),
            "..\\Quil\\mods\\Blue\\Quil.bmp");
  EXPECT_EQ(PreviewImageLine(t.app, "C:\\pictures\\me.bmp"), "C:\\pictures\\me.bmp");
  // A sibling folder whose name only starts like the skin's is elsewhere.
  const std::string sibling = s.substr(0, s.size() - 1) + "X\\a.bmp";
  EXPECT_EQ(PreviewImageLine(t.app, sibling), sibling);
  EXPECT_EQ(PreviewImageLine(t.app, s + "_profile_Work\\a.bmp"), s + "_profile_Work\\a.bmp");
}

class SaveDescription : public ::testing::Test {
 protected:
  ScratchSkin skin;
  TestApp t;
  FaultyFiles faulty{*t.files};
  App app{faulty, t.dialog, t.dialog, t.dialog};

  void SetUp() override {
    app.state = t.app.state;
    app.state.SetProfileName(kDefaultProfile);
    app.state.SetSchemeName("Blue");
    app.state.SkinVersion = 3;
    app.state.SetPreviewImagePath(app.state.WorkDir + "\\mods\\Blue\\Quil.bmp");
    SetInitialOptionStates(t.dialog);
    t.dialog.At(Page::Colors, kSchemeBox).text = "Blue";
  }
};

TEST_F(SaveDescription, DefaultProfileKeepsTheSkinsDescriptionAndItsTrillianXml) {
  const std::string xml = ScratchSkin::Read(skin / "trillian.xml");
  ScratchSkin::Write(skin / "desc.txt", "Quil >Winter\r\nThe skin's own words");
  t.dialog.Answer({true});
  ASSERT_TRUE(SaveProfile(app));
  EXPECT_EQ(ScratchSkin::Read(skin / "desc.txt"),
            "Quil (default) Profile >Winter\r\nThe skin's own words\r\n1\r\n"
            "..\\Quil\\mods\\Blue\\Quil.bmp\r\n3000\r\n700");
  EXPECT_EQ(ScratchSkin::Read(skin / "trillian.xml"), xml);
  EXPECT_FALSE(fs::exists(skin / "desc.txt.bak"));
}

TEST_F(SaveDescription, DeclinedQuestionWritesNothing) {
  const std::string desc = ScratchSkin::Read(skin / "desc.txt");
  const std::string config = ScratchSkin::Read(skin / "config.dtd");
  EXPECT_FALSE(SaveProfile(app));  // answered No
  EXPECT_EQ(ScratchSkin::Read(skin / "desc.txt"), desc);
  EXPECT_EQ(ScratchSkin::Read(skin / "config.dtd"), config);
}

TEST_F(SaveDescription, ADescriptionHeldOpenByTrillianStillSavesTheSettings) {
  app.state.SetProfileName("Work");
  app.state.ProfileIsNew = true;
  faulty.sharingViolation.insert("..\\Quil_profile_Work\\desc.txt");
  t.dialog.Answer({true});
  ASSERT_TRUE(SaveProfile(app));
  ASSERT_EQ(t.dialog.messages.size(), 2u);
  EXPECT_EQ(t.dialog.messages[1].kind, MemoryDialog::Kind::Notice);
  EXPECT_EQ(t.dialog.messages[1].text, kSharingViolationNotice);
  const fs::path profile = skin.skinsFolder() / "Quil_profile_Work";
  EXPECT_FALSE(fs::exists(profile / "desc.txt"));
  EXPECT_TRUE(fs::exists(profile / "trillian.xml"));
  EXPECT_TRUE(fs::exists(profile / "config.dtd"));
  EXPECT_TRUE(fs::is_directory(profile / "mods" / "Blue"));
  EXPECT_FALSE(fs::exists(skin / "desc.txt.bak"));
}

TEST(StartUp, ADriveRootIsNoSkinFolder) {
  ScratchSkin skin;
  TestApp t;
  FaultyFiles faulty{*t.files};
  faulty.currentDirectory = "C:\\";
  App app{faulty, t.dialog, t.dialog, t.dialog};
  try {
    StartUp(app);
    FAIL() << "the program went on";
  } catch (const ProgramEnded& ended) {
    EXPECT_EQ(ended.status, 1);
  }
  ASSERT_EQ(t.dialog.messages.size(), 1u);
  EXPECT_EQ(t.dialog.messages[0].kind, MemoryDialog::Kind::Failure);
  EXPECT_EQ(t.dialog.messages[0].text, "QuilConfig must be started from the skin's folder");
}

}  // namespace
}  // namespace quil::test
