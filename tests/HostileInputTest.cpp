// Skin files are edited by hand and shipped by third parties: the readers and the flows meet very
// long lines, NUL bytes, files that end inside a quoted value, very long and non-ASCII names, empty
// folders and files they may not write. None of it may crash the utility or cost the user a file.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/ControlIds.h"
#include "dialog/MainDialog.h"
#include "dialog/SchemeColorFiles.h"
#include "dialog/SettingsPages.h"
#include "profiles/PluginCatalogue.h"
#include "settings/ConfigDtdReader.h"
#include "tests/support/ScratchSkin.h"

namespace quil::test {
namespace {

namespace fs = std::filesystem;
using Kind = MemoryDialog::Kind;

class HostileInput : public ::testing::Test {
 protected:
  ScratchSkin skin;
  std::unique_ptr<TestApp> t;

  // Starts the dialog; false when the program ended (with its status in `status`).
  bool Start(int* status = nullptr) {
    t = std::make_unique<TestApp>();
    SetInitialOptionStates(t->dialog);
    t->dialog.onCommand = [this](Page page, int id) {
      page == Page::Main ? MainCommand(t->app, id) : PageCommand(t->app, id);
    };
    try {
      StartUp(t->app);
    } catch (const ProgramEnded& ended) {
      if (status) *status = ended.status;
      return false;
    }
    return true;
  }
  bool SaveAnswered() {
    t->dialog.Answer({true});
    try {
      t->dialog.Click(Page::Main, kSaveButton);
    } catch (const ProgramEnded&) {
      return false;
    }
    return true;
  }
  std::vector<std::string> Failures() {
    std::vector<std::string> texts;
    for (const auto& m : t->dialog.messages) {
      if (m.kind == Kind::Failure) texts.push_back(m.text);
    }
    return texts;
  }
  std::string Read(const std::string& relative) { return ScratchSkin::Read(skin / relative); }
};

TEST_F(HostileInput, VeryLongLinesAreReadInPieces) {
  const std::string longLine(100000, 'x');
  // A settings file, a scheme's files and a plugin's description, each with a 100 000-character
  // line in front of what matters.
  ScratchSkin::Write(skin / "config.dtd", longLine + "\r\n" + Read("config.dtd"));
  ScratchSkin::Write(skin / "mods/green/colors.dtd",
                     longLine + "\r\n" + Read("mods/green/colors.dtd"));
  ScratchSkin::Write(skin / "mods/green/colors.ini",
                     longLine + "\r\n" + Read("mods/green/colors.ini"));
  ScratchSkin::Write(skin / "plugins/long/plugin.txt", longLine + "\r\n" + longLine + "\r\n5\r\n");
  ASSERT_TRUE(Start());
  EXPECT_TRUE(Failures().empty());
  TestApp reference;
  LoadSchemeColors(reference.app, "green");
  ScratchSkin::Write(skin / "mods/green/colors.dtd", Read("mods/green/colors_default.dtd"));
  EXPECT_EQ(t->app.colors[edt], reference.app.colors[edt]);
  bool found = false;
  for (const PluginEntry& e : t->app.plugins) {
    if (e.folder != "long") continue;
    found = true;
    EXPECT_EQ(e.variable, std::string(31, 'x'));
    EXPECT_EQ(e.description.size(), 511u);
  }
  EXPECT_TRUE(found);
  EXPECT_TRUE(SaveAnswered());
  EXPECT_TRUE(Failures().empty());
}

TEST_F(HostileInput, NulBytesAndAFileEndingInsideAValue) {
  // A NUL inside a value is kept as a character; the file is read to its end.
  std::string config = Read("config.dtd");
  const auto title = config.find("<!ENTITY contactname \"");
  ASSERT_NE(title, std::string::npos);
  config.insert(title + 22, std::string("Tr\0il", 5));
  ScratchSkin::Write(skin / "config.dtd", config);
  ASSERT_TRUE(Start());
  EXPECT_EQ(t->dialog.At(Page::General, kContactTitleEdit).text.substr(0, 5),
            std::string("Tr\0il", 5));
  EXPECT_EQ(t->app.state.ProfileName, "(default)");

  // A profile whose settings end inside a quoted value is set aside and the defaults are read.
  fs::create_directories(skin.skinsFolder() / "Quil_profile_Cut");
  const std::string cut = config.substr(0, title + 26);
  ScratchSkin::Write(skin.skinsFolder() / "Quil_profile_Cut/config.dtd", cut);
  ASSERT_TRUE(Start());
  t->dialog.Pick(Page::Main, kProfileBox, 1);
  EXPECT_EQ(t->app.state.ProfileName, "Cut");
  EXPECT_TRUE(Failures().empty());
  EXPECT_EQ(ScratchSkin::Read(skin.skinsFolder() / "Quil_profile_Cut/config.dtd.bad"), cut);
}

TEST_F(HostileInput, NamesOf255BytesAndMore) {
  ASSERT_TRUE(Start());
  // A profile name too long for a folder name is refused like any other impossible name.
  const std::string longName(300, 'p');
  t->dialog.Type(Page::Main, kProfileBox, longName);
  t->dialog.PressEnter();
  EXPECT_EQ(t->app.state.ProfileName, "(default)");
  EXPECT_EQ(t->dialog.messages.back().text,
            "'" + longName.substr(0, 255) + "' is not a valid profile name");
  // The longest name that leaves room for the profile's files is a profile like any other.
  const std::size_t room =
      259 - t->app.state.WorkDir.size() - 9 - std::string("\\config.dtd.def.new").size();
  const std::string longest(std::min<std::size_t>(room, 255 - 4 - 9), 'q');
  t->dialog.Type(Page::Main, kProfileBox, longest + "q");
  t->dialog.PressEnter();
  EXPECT_EQ(t->app.state.ProfileName, "(default)");
  t->dialog.Type(Page::Main, kProfileBox, longest);
  EXPECT_TRUE(SaveAnswered());
  EXPECT_TRUE(Failures().empty());
  EXPECT_TRUE(fs::exists(skin.skinsFolder() / ("Quil_profile_" + longest) / "config.dtd"));
  // A scheme name of 255 bytes and more is no scheme: the active one stays.
  const std::string scheme = t->app.state.SchemeName;
  t->dialog.Type(Page::Colors, kSchemeBox, std::string(400, 's'));
  t->dialog.PressEnter();
  EXPECT_EQ(t->app.state.SchemeName, scheme);
  // The next start is not disturbed.
  ASSERT_TRUE(Start());
  EXPECT_TRUE(Failures().empty());
}

TEST_F(HostileInput, NonAsciiProfileNamesRoundTrip) {
  const std::string name =
      "Gr\xfc\xdf"
      "e \xa9";  // in the ANSI code page: "Grüße ©"
  ASSERT_TRUE(Start());
  t->dialog.Type(Page::Main, kProfileBox, name);
  t->dialog.SetChecked(Page::General, kButtonScrollBox, true);
  EXPECT_TRUE(SaveAnswered());
  EXPECT_TRUE(Failures().empty());
  ASSERT_TRUE(Start());
  const auto& lines = t->dialog.At(Page::Main, kProfileBox).lines;
  ASSERT_NE(std::find(lines.begin(), lines.end(), name), lines.end());
  t->dialog.SetChecked(Page::General, kButtonScrollBox, false);
  t->dialog.Type(Page::Main, kProfileBox, name);
  t->dialog.PressEnter();
  EXPECT_FALSE(t->app.state.ProfileIsNew);
  EXPECT_TRUE(t->dialog.IsChecked(Page::General, kButtonScrollBox));
}

TEST_F(HostileInput, EmptySchemeAndPluginFolders) {
  fs::remove_all(skin / "mods");
  fs::create_directories(skin / "mods");
  ASSERT_TRUE(Start());
  EXPECT_TRUE(t->dialog.At(Page::Colors, kSchemeBox).lines.empty());
  EXPECT_TRUE(Failures().empty());

  // Without the default plugin a save cannot be built: the program ends after its message, and
  // the skin keeps its settings file.
  const std::string config = Read("config.dtd");
  fs::remove_all(skin / "plugins");
  fs::create_directories(skin / "plugins");
  ASSERT_TRUE(Start());
  EXPECT_TRUE(t->app.plugins.empty());
  EXPECT_FALSE(SaveAnswered());
  EXPECT_EQ(Failures(), (std::vector<std::string>{"Unable to open default plugin."}));
  EXPECT_EQ(Read("config.dtd"), config);
  EXPECT_FALSE(fs::exists(skin / "config.dtd.def"));
}

TEST_F(HostileInput, FilesLargerThanTheLimitAreUnreadableAndKept) {
  // No file of a skin comes near 1 MiB; a larger one is not read into the memory of the 32-bit
  // process but treated as a file that cannot be opened.
  const std::string padding(kMaxReadableFileSize, ' ');
  const std::string config = Read("config.dtd") + padding;
  ScratchSkin::Write(skin / "config.dtd", config);
  ScratchSkin::Write(skin / "plugins/huge/plugin.ini",
                     "[Plugin]\r\nDescription=Huge\r\n" + padding);
  ASSERT_TRUE(Start());
  ASSERT_FALSE(t->dialog.messages.empty());
  EXPECT_EQ(t->dialog.messages[0].text.rfind("Unable to read old configuration file", 0), 0u);
  for (const PluginEntry& e : t->app.plugins) EXPECT_NE(e.folder, "huge");
  // Saving keeps the file it could not read as the backup.
  EXPECT_TRUE(SaveAnswered());
  EXPECT_TRUE(Failures().empty());
  EXPECT_TRUE(Read("config.dtd.bak") == config);
}

TEST_F(HostileInput, ReadOnlySettingsFileIsLeftAsItIs) {
  const std::string config = Read("config.dtd");
  fs::permissions(skin / "config.dtd",
                  fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  ASSERT_TRUE(Start());
  t->dialog.SetChecked(Page::General, kButtonScrollBox, true);
  EXPECT_TRUE(SaveAnswered());
  EXPECT_EQ(Failures(), (std::vector<std::string>{"Unable to save config file"}));
  EXPECT_EQ(Read("config.dtd"), config);
  EXPECT_FALSE(fs::exists(skin / "config.dtd.new"));
}

}  // namespace
}  // namespace quil::test
