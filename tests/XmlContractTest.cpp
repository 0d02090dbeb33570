// The files Save writes, read by libxml2 as a conformant XML parser reads them: typed texts and
// folder names holding every character XML treats apart and characters outside ASCII are saved in
// the skin's own profile and in a new one; config.dtd, settings.dtd and colors.dtd must parse
// through a small document and trillian.xml as it stands, and each entity must expand to exactly
// what was typed or named. The utility then reads the same texts back.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/ControlIds.h"
#include "dialog/MainDialog.h"
#include "dialog/SettingsPages.h"
#include "tests/support/ScratchSkin.h"
#include "tests/support/XmlJudge.h"

namespace quil::test {
namespace {

namespace fs = std::filesystem;

// Texts in Windows-1252: "\xE9" is e acute, "\x80" the euro sign, "\xFC" u umlaut.
const std::string kTitle = "T&<>\"%'\xE9\x80";
const std::string kNicklist = "200&<\xE9";
// The six font-size fields, two characters each as they are written.
const std::vector<std::pair<int, std::string>> kFontSizes = {
    {kSmallFontSizeEdit, "&<"},   {kNormalFontSizeEdit, "\"%"}, {kContactFontSizeEdit, "'\xE9"},
    {kHugeFontSizeEdit, ">\x80"}, {kTitleFontSizeEdit, "<&"},   {kBarTitleFontSizeEdit, "%\""}};
const std::vector<std::string> kFontSizeEntities = {"smallfontsize",   "normalfontsize",
                                                    "contactfontsize", "hugefontsize",
                                                    "titlefontsize",   "bartitlefontsize"};
// Folder names (this file system allows < > and " in them; Windows does not).
const std::string kSkin = "Qu&il's";
const std::string kScheme = "Ca<f\xE9> & \"Co\" 100%'";
const std::string kDashedScheme = "a--b";  // "--" would end the scheme line's comment
const std::string kPlugin = "tom&jerry's";
const std::string kForeignPlugin = "caf\xE9";  // no SYSTEM literal can name it
const std::string kProfile = "Work & Play's";

std::string Slashes(std::string text) {
  for (char& c : text) c = c == '\\' ? '/' : c;
  return text;
}

void AddPlugin(const fs::path& folder, const std::string& description, const std::string& variable,
               bool withFiles) {
  fs::create_directories(folder);
  ScratchSkin::Write(folder / "plugin.ini", "[Plugin]\r\nDescription=" + description +
                                                "\r\nVariable=" + variable + "\r\nPriority=3\r\n");
  if (!withFiles) return;
  ScratchSkin::Write(folder / "main.dtd", "<!ENTITY tjsize \"3\">\r\n");
  ScratchSkin::Write(folder / "main.xml", "<tj/>\r\n");
  ScratchSkin::Write(folder / "prefs.xml", "<tjprefs/>\r\n");
}

class XmlContractTest : public ::testing::Test {
 protected:
  ScratchSkin skin{true, kSkin};
  std::unique_ptr<TestApp> t;

  void SetUp() override {
    for (const std::string& scheme : {kScheme, kDashedScheme}) {
      fs::copy(skin / "mods/green", skin / "mods" / scheme, fs::copy_options::recursive);
    }
    AddPlugin(skin / "plugins" / kPlugin, "Tom and Jerry", "tj", true);
    AddPlugin(skin / "plugins" / kForeignPlugin, "Cafe", "cafe", true);
    AddPlugin(skin / "plugins/oddvar", "Odd variable", "odd var", false);
  }

  void Start() {
    t = std::make_unique<TestApp>();
    SetInitialOptionStates(t->dialog);
    t->dialog.onCommand = [this](Page page, int id) {
      page == Page::Main ? MainCommand(t->app, id) : PageCommand(t->app, id);
    };
    StartUp(t->app);
  }

  void TypeEverything() {
    MemoryDialog& dialog = t->dialog;
    dialog.SetText(Page::General, kContactTitleEdit, kTitle);
    dialog.SetText(Page::General, kNicklistWidthEdit, kNicklist);
    for (const auto& [edit, text] : kFontSizes) dialog.SetText(Page::General, edit, text);
    dialog.SetText(Page::Colors, kSchemeBox, kScheme);
    ASSERT_EQ(t->app.state.SchemeName, kScheme);
    const int lines = dialog.ListLineCount(Page::Plugins, kPluginList);
    for (int i = 0; i < lines; ++i) dialog.SelectListLine(Page::Plugins, kPluginList, i, true);
    t->app.state.ColorsDtdDirty = true;  // colors.dtd is written too
  }

  // Judges the profile's files in `folder`; `skinFolder` is QuilDir's value.
  void JudgeProfileFiles(const fs::path& folder, const std::string& skinFolder) {
    SCOPED_TRACE(folder.string());
    std::vector<std::string> general = {"QuilDir", "contactname", "nicklistpos", "modpack_tj"};
    general.insert(general.end(), kFontSizeEntities.begin(), kFontSizeEntities.end());
    XmlVerdict config =
        JudgeEntities("<!ENTITY % config SYSTEM \"config.dtd\"> %config;",
                      (folder / "judge.xml").string(), general, {"QuilDir", "color", "modpack_tj"});
    EXPECT_EQ(config.errors, "");
    const std::string title = Utf8FromWindows1252(kTitle);
    for (const auto& [name, expected] : std::vector<std::pair<std::string, std::string>>{
             {"QuilDir", Slashes(skinFolder)},
             {"contactname", title},
             {"nicklistpos", Utf8FromWindows1252(kNicklist)},
             {"modpack_tj", kPlugin}}) {
      EXPECT_EQ(config.inAttribute[name], expected) << name;
      EXPECT_EQ(config.inContent[name], expected) << name;
    }
    for (std::size_t i = 0; i < kFontSizes.size(); ++i) {
      const std::string expected = Utf8FromWindows1252(kFontSizes[i].second);
      EXPECT_EQ(config.inAttribute[kFontSizeEntities[i]], expected) << kFontSizeEntities[i];
      EXPECT_EQ(config.inContent[kFontSizeEntities[i]], expected) << kFontSizeEntities[i];
    }
    EXPECT_EQ(config.parameter["QuilDir"], Slashes(skinFolder));
    EXPECT_EQ(config.parameter["color"], Utf8FromWindows1252(kScheme));
    EXPECT_EQ(config.parameter["modpack_tj"], kPlugin);

    // colors.dtd lies in a folder whose name no URI holds: it is judged from a copy.
    fs::copy_file(folder / "mods" / kScheme / "colors.dtd", folder / "judged-colors.dtd");
    XmlVerdict colors = JudgeEntities("<!ENTITY % colors SYSTEM \"judged-colors.dtd\"> %colors;",
                                      (folder / "judge.xml").string(), {"dispRed"});
    EXPECT_EQ(colors.errors, "");
    EXPECT_FALSE(colors.inContent["dispRed"].empty());
    fs::remove(folder / "judged-colors.dtd");

    EXPECT_EQ(JudgeDocument((folder / "trillian.xml").string()), "");
  }

  // A fresh start on the saved profile shows every text as it was typed.
  void ExpectReadBack() {
    Start();
    MemoryDialog& dialog = t->dialog;
    EXPECT_EQ(dialog.GetText(Page::General, kContactTitleEdit), kTitle);
    EXPECT_EQ(dialog.GetText(Page::General, kNicklistWidthEdit), kNicklist);
    for (const auto& [edit, text] : kFontSizes)
      EXPECT_EQ(dialog.GetText(Page::General, edit), text);
    EXPECT_EQ(dialog.GetText(Page::Colors, kSchemeBox), kScheme);
  }
};

TEST_F(XmlContractTest, SavedFilesParseAndExpandToWhatWasTyped) {
  Start();
  TypeEverything();
  t->dialog.Answer({true});
  t->dialog.Click(Page::Main, kSaveButton);
  // The plugins config.dtd cannot bind are left out, and the user is told which.
  ASSERT_FALSE(t->dialog.messages.empty());
  const std::string notice = t->dialog.messages.back().text;
  EXPECT_NE(notice.find("Cafe\n"), std::string::npos) << notice;
  EXPECT_NE(notice.find("Odd variable\n"), std::string::npos) << notice;
  EXPECT_EQ(notice.find("Tom and Jerry"), std::string::npos) << notice;
  // Their list lines are unselected; every other line stays selected.
  for (int i = 0; i < t->dialog.ListLineCount(Page::Plugins, kPluginList); ++i) {
    const std::string line = t->dialog.ListLine(Page::Plugins, kPluginList, i);
    EXPECT_EQ(t->dialog.IsListLineSelected(Page::Plugins, kPluginList, i),
              line != "Cafe" && line != "Odd variable")
        << line;
  }
  const std::string config = ScratchSkin::Read(skin / "config.dtd");
  EXPECT_EQ(config.find("cafe"), std::string::npos);
  EXPECT_EQ(config.find("modpack_odd"), std::string::npos);
  // The comment of the scheme line names every scheme, and stays a comment.
  EXPECT_NE(config.find("a-&#45;b,"), std::string::npos);

  JudgeProfileFiles(skin.skinFolder(), "");
  XmlVerdict settings = JudgeEntities("<!ENTITY % settings SYSTEM \"settings.dtd\"> %settings;",
                                      (skin / "judge.xml").string(), {"contactname"});
  EXPECT_EQ(settings.errors, "");
  EXPECT_EQ(settings.inContent["contactname"], Utf8FromWindows1252(kTitle));
  ExpectReadBack();

  // A new profile, saved from the fresh start.
  TypeEverything();
  t->dialog.Type(Page::Main, kProfileBox, kProfile);
  t->dialog.Answer({true});
  t->dialog.Click(Page::Main, kSaveButton);
  ASSERT_EQ(t->app.state.ProfileName, kProfile);
  const fs::path profile = skin.skinsFolder() / (kSkin + "_profile_" + kProfile);
  JudgeProfileFiles(profile, "..\\" + kSkin + "\\");
  t->dialog.SetText(Page::Main, kProfileBox, "(default)");
  t->dialog.SetText(Page::Main, kProfileBox, kProfile);
  MemoryDialog& dialog = t->dialog;
  EXPECT_EQ(dialog.GetText(Page::General, kContactTitleEdit), kTitle);
  EXPECT_EQ(dialog.GetText(Page::Colors, kSchemeBox), kScheme);
}

}  // namespace
}  // namespace quil::test
