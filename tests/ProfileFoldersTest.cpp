// Saving a profile's desc.txt and trillian.xml: the title's date part, the image line, the
// description lines, and a desc.txt held open by Trillian.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "core/ControlIds.h"
#include "dialog/MainDialog.h"
#include "dialog/Outcomes.h"
#include "dialog/ProfileSave.h"
#include "dialog/SettingsPages.h"
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
  EXPECT_EQ(PreviewImageLine(t.app.files, t.app.state, s + "\\mods\\Blue\\Quil.bmp"),
            "..\\Quil\\mods\\Blue\\Quil.bmp");
  EXPECT_EQ(PreviewImageLine(t.app.files, t.app.state, "C:\\pictures\\me.bmp"),
            "C:\\pictures\\me.bmp");
  // A sibling folder whose name only starts like the skin's is elsewhere.
  const std::string sibling = s.substr(0, s.size() - 1) + "X\\a.bmp";
  EXPECT_EQ(PreviewImageLine(t.app.files, t.app.state, sibling), sibling);
  EXPECT_EQ(PreviewImageLine(t.app.files, t.app.state, s + "_profile_Work\\a.bmp"),
            s + "_profile_Work\\a.bmp");
}

class SaveDescription : public ::testing::Test {
 protected:
  ScratchSkin skin;
  TestApp t;
  FaultyFiles faulty{*t.files};
  App app{faulty, t.dialog, t.dialog, t.dialog};
  const SkinSettings settings{.skinVersion = 3, .scheme = "Blue"};
  PluginSelection none;

  void SetUp() override {
    app.state = t.app.state;
    app.state.SetProfileName(kDefaultProfile);
    app.state.SetSchemeName("Blue");
    app.state.SetPreviewImagePath(app.state.WorkDir + "\\mods\\Blue\\Quil.bmp");
  }
};

TEST_F(SaveDescription, DefaultProfileKeepsTheSkinsDescriptionAndItsTrillianXml) {
  const std::string xml = ScratchSkin::Read(skin / "trillian.xml");
  ScratchSkin::Write(skin / "desc.txt", "Quil >Winter\r\nThe skin's own words");
  t.dialog.Answer({true});
  ASSERT_TRUE(ConfirmSave(app));
  ASSERT_TRUE(SaveProfile(app, settings, none).done);
  EXPECT_EQ(ScratchSkin::Read(skin / "desc.txt"),
            "Quil (default) Profile >Winter\r\nThe skin's own words\r\n1\r\n"
            "..\\Quil\\mods\\Blue\\Quil.bmp\r\n3000\r\n700");
  EXPECT_EQ(ScratchSkin::Read(skin / "trillian.xml"), xml);
  EXPECT_FALSE(fs::exists(skin / "desc.txt.bak"));
}

TEST_F(SaveDescription, DeclinedQuestionWritesNothing) {
  const std::string desc = ScratchSkin::Read(skin / "desc.txt");
  const std::string config = ScratchSkin::Read(skin / "config.dtd");
  Save(app);  // the question answered No
  EXPECT_EQ(ScratchSkin::Read(skin / "desc.txt"), desc);
  EXPECT_EQ(ScratchSkin::Read(skin / "config.dtd"), config);
}

TEST_F(SaveDescription, ADescriptionHeldOpenByTrillianStillSavesTheSettings) {
  app.state.SetProfileName("Work");
  app.state.ProfileIsNew = true;
  faulty.sharingViolation.insert("..\\Quil_profile_Work\\desc.txt");
  t.dialog.Answer({true});
  ASSERT_TRUE(ConfirmSave(app));
  ASSERT_TRUE(ShowOutcome(app, SaveProfile(app, settings, none)));
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

// The whole dialog over file services that fail where a test asks.
class FaultyDialog : public ::testing::Test {
 protected:
  ScratchSkin skin;
  TestApp t;
  FaultyFiles faulty{*t.files};
  App app{faulty, t.dialog, t.dialog, t.dialog};

  void SetUp() override {
    SetInitialOptionStates(t.dialog);
    t.dialog.onCommand = [this](Page page, int id) {
      page == Page::Main ? MainCommand(app, id) : PageCommand(app, id);
    };
    StartUp(app);
  }
  fs::path Profile(const std::string& name) {
    return skin.skinsFolder() / ("Quil_profile_" + name);
  }
  // Saves, answering Yes; false when the program ended.
  bool Save() {
    t.dialog.messages.clear();
    t.dialog.Answer({true});
    try {
      t.dialog.Click(Page::Main, kSaveButton);
    } catch (const ProgramEnded&) {
      return false;
    }
    return true;
  }
  std::vector<std::string> Failures() {
    std::vector<std::string> texts;
    for (const auto& m : t.dialog.messages) {
      if (m.kind == MemoryDialog::Kind::Failure) texts.push_back(m.text);
    }
    return texts;
  }
  std::vector<std::string> ProfileLines() { return t.dialog.At(Page::Main, kProfileBox).lines; }
};

TEST_F(FaultyDialog, AProfileFolderThatCannotBeMadeFailsTheSaveAndLeavesNothingHalfMade) {
  // A plain file has the folder's name: Save fails, the program goes on with the user's edits.
  ScratchSkin::Write(Profile("Plain"), "a file");
  t.dialog.Type(Page::Main, kProfileBox, "Plain");
  t.dialog.PressEnter();
  t.dialog.SetText(Page::General, kContactTitleEdit, "Edited");
  ASSERT_TRUE(Save()) << "the program ended";
  EXPECT_EQ(Failures(), std::vector<std::string>{"Unable to save config file"});
  EXPECT_EQ(ScratchSkin::Read(Profile("Plain")), "a file");
  EXPECT_EQ(t.dialog.At(Page::General, kContactTitleEdit).text, "Edited");

  // A new profile whose schemes folder cannot be made: the profile folder made before it goes
  // again, and the profile is not listed.
  const std::vector<std::string> lines = ProfileLines();
  t.dialog.Type(Page::Main, kProfileBox, "Fresh");
  faulty.uncreatable = {"..\\Quil_profile_Fresh\\mods"};
  ASSERT_TRUE(Save()) << "the program ended";
  EXPECT_EQ(Failures(), std::vector<std::string>{"Unable to save config file"});
  EXPECT_FALSE(fs::exists(Profile("Fresh")));
  EXPECT_EQ(ProfileLines(), lines);
  EXPECT_TRUE(app.state.ProfileIsNew);

  // Once the folder can be made, the same save succeeds, and the profile is listed once.
  faulty.uncreatable.clear();
  ASSERT_TRUE(Save());
  EXPECT_TRUE(Failures().empty());
  EXPECT_TRUE(fs::exists(Profile("Fresh") / "config.dtd"));
  const std::vector<std::string> after = ProfileLines();
  EXPECT_EQ(std::count(after.begin(), after.end(), "Fresh"), 1);
}

TEST_F(FaultyDialog, ANewProfileStaysNewUntilItsColorFilesAreWritten) {
  const std::string scheme = app.state.SchemeName;
  t.dialog.Type(Page::Main, kProfileBox, "Fresh");
  const std::string colors = "..\\Quil_profile_Fresh\\mods\\" + scheme + "\\colors.dtd";
  faulty.uncreatable = {colors + ".new"};
  ASSERT_TRUE(Save());
  EXPECT_EQ(Failures(), std::vector<std::string>{"Unable to save colors.dtd"});
  EXPECT_TRUE(app.state.ProfileIsNew);
  EXPECT_FALSE(fs::exists(Profile("Fresh") / "mods" / scheme / "colors.dtd"));

  // The next save writes the colors the first one could not.
  faulty.uncreatable.clear();
  ASSERT_TRUE(Save());
  EXPECT_TRUE(Failures().empty());
  EXPECT_TRUE(fs::exists(Profile("Fresh") / "mods" / scheme / "colors.dtd"));
  EXPECT_FALSE(app.state.ProfileIsNew);
  const std::vector<std::string> after = ProfileLines();
  EXPECT_EQ(std::count(after.begin(), after.end(), "Fresh"), 1);
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
