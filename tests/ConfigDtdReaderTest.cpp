// The config.dtd reader on a scratch copy of the sample skin: the forward-only search in 80-byte
// pieces, the skin version rule, the fallback to the default plugin, the plugin stems, the pages
// showing what was read, and the extraction of the default template with its failures.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "base/Text.h"
#include "colors/SchemeFiles.h"
#include "dialog/Outcomes.h"
#include "dialog/SettingsPages.h"
#include "profiles/PluginCatalogue.h"
#include "settings/ConfigDtdReader.h"
#include "settings/SkinSettings.h"
#include "tests/support/ScratchSkin.h"

namespace quil {
namespace {

namespace fs = std::filesystem;
using test::MemoryDialog;
using test::ProgramEnded;
using test::ScratchSkin;
using test::TestApp;

class ConfigDtdReaderTest : public ::testing::Test {
 protected:
  ScratchSkin skin;
  TestApp t;
  App& app = t.app;
  MemoryDialog& dialog = t.dialog;
  SkinSettings settings;

  void SetUp() override { app.state.SetProfileName(kDefaultProfile); }

  // The default plugin's main.dtd: a complete settings file (CRLF line ends).
  std::string Template() { return ScratchSkin::Read(skin / "plugins/default/main.dtd"); }

  // `text` with the line that declares `entity` replaced by `line` (no line break).
  static std::string WithLine(std::string text, std::string_view entity, std::string_view line) {
    const std::string key = "<!ENTITY " + std::string(entity) + " ";
    const auto start = text.find(key);
    EXPECT_NE(start, std::string::npos) << entity;
    const auto end = text.find("\r\n", start);
    return text.replace(start, end - start, line);
  }

  // `text` up to (without) the line that declares `entity`.
  static std::string Before(const std::string& text, std::string_view entity) {
    return text.substr(0, text.find("<!ENTITY " + std::string(entity) + " "));
  }

  bool ReadFile(const std::string& bytes) {
    ScratchSkin::Write(skin / "config.dtd", bytes);
    return ShowOutcome(app, ReadConfigDtd(app.files, "config.dtd", settings));
  }

  std::string Text(Page page, int id) { return dialog.GetText(page, id); }
  bool Checked(Page page, int id) { return dialog.IsChecked(page, id); }
};

// The pages show what was read, and the scheme is committed as one the user picked, with no
// commit handling on the box.
TEST_F(ConfigDtdReaderTest, LoadShowsTheDefaultTemplateInTheControls) {
  dialog.SetChecked(Page::General, kMediumIconsBox, false);
  dialog.SetChecked(Page::General, kHideMinimizeBox, true);

  EXPECT_TRUE(LoadSettings(app, "plugins\\default\\main.dtd"));

  EXPECT_TRUE(dialog.messages.empty());
  EXPECT_EQ(app.state.SkinVersion, 3);
  EXPECT_EQ(Text(Page::General, kImageLabel), kSchemePicture);  // the commit's own step
  EXPECT_EQ(Text(Page::Colors, kSchemeBox), "green");
  EXPECT_EQ(app.state.SchemeName, "green");
  EXPECT_EQ(Text(Page::General, kContactTitleEdit), "Trillian");
  EXPECT_FALSE(Checked(Page::General, kHideMinimizeBox));  // showmin "1"
  EXPECT_TRUE(Checked(Page::General, kMediumIconsBox));    // showtbicon "1"
  EXPECT_EQ(Text(Page::General, kEditboxHeightEdit), "45");
  EXPECT_TRUE(Checked(Page::General, kSmallFontsRadio));
  EXPECT_TRUE(Checked(Page::Colors, BoldStatusBox(1)));
  EXPECT_FALSE(Checked(Page::Colors, BoldStatusBox(5)));
}

TEST_F(ConfigDtdReaderTest, MissingFileFallsBackToTheDefaultPlugin) {
  app.state.SetProfileName("Work");
  EXPECT_TRUE(
      ShowOutcome(app, ReadConfigDtd(app.files, "..\\Quil_profile_Work\\config.dtd", settings)));
  ASSERT_EQ(dialog.messages.size(), 1u);
  EXPECT_EQ(dialog.messages[0].kind, MemoryDialog::Kind::Notice);
  EXPECT_EQ(dialog.messages[0].text,
            "Unable to read old configuration file: " + t.files->CurrentDirectory() +
                "\\..\\Quil_profile_Work\\config.dtd. \n\n ... reading default file ...\n\nThis "
                "message will go away once you save personal settings to the 'Work' profile");
  EXPECT_EQ(settings.scheme, "green");
}

TEST_F(ConfigDtdReaderTest, NeitherFileEndsTheProgram) {
  fs::remove(skin / "plugins/default/main.dtd");
  try {
    ShowOutcome(app, ReadConfigDtd(app.files, "config.dtd.missing", settings));
    FAIL() << "the program went on";
  } catch (const ProgramEnded& ended) {
    EXPECT_EQ(ended.status, 1);
  }
  ASSERT_EQ(dialog.messages.size(), 2u);
  EXPECT_EQ(dialog.messages[1].kind, MemoryDialog::Kind::Failure);
  EXPECT_EQ(dialog.messages[1].text, "Unrecoverable file error.");
}

TEST_F(ConfigDtdReaderTest, FileEndingEarlyLeavesLaterFieldsAlone) {
  settings.pluginStems = {"x"};
  settings.nicklistWidth = "999";
  settings.boldAway = true;
  const std::string text = WithLine(WithLine(Template(), "remcon", "<!ENTITY remcon \"1\">"),
                                    "contactname", "<!ENTITY contactname \"Quil\">");

  EXPECT_FALSE(ReadFile(Before(text, "showmin")));

  EXPECT_TRUE(settings.removeConnection);
  EXPECT_EQ(settings.contactTitle, "Quil");
  EXPECT_EQ(settings.nicklistWidth, "999");
  EXPECT_TRUE(settings.boldAway);
  EXPECT_TRUE(settings.pluginStems.empty());
}

TEST_F(ConfigDtdReaderTest, LineOutOfOrderSkipsEveryLaterStep) {
  std::string text = WithLine(Template(), "buttonscroll", "<!-- moved -->");
  text = WithLine(text, "remcon", "<!ENTITY remcon \"1\">\r\n<!ENTITY buttonscroll \"yes\">");
  settings.contactTitle = "kept";

  EXPECT_FALSE(ReadFile(text));

  EXPECT_TRUE(settings.buttonScroll);
  EXPECT_FALSE(settings.removeConnection);
  EXPECT_EQ(settings.contactTitle, "kept");
}

TEST_F(ConfigDtdReaderTest, VersionTwoFileStandsForHiddenMinimizeAndShownIcon) {
  std::string text = Template();
  text.replace(text.find("skinversion=\"3\""), 15, "skinversion=\"2\"");
  text = WithLine(text, "showmin", "<!ENTITY showmin \"1\">");
  text = WithLine(text, "showtbicon", "<!ENTITY showtbicon \"0\">");
  text = WithLine(text, "bldaway", "<!ENTITY bldaway \"1\">");

  EXPECT_TRUE(ReadFile(text));

  EXPECT_EQ(settings.skinVersion, 2);
  EXPECT_TRUE(settings.hideMinimize);
  EXPECT_TRUE(settings.mediumIcons);
  EXPECT_TRUE(settings.boldAway);
}

TEST_F(ConfigDtdReaderTest, FileWithoutVersionIsReadFromItsFirstLine) {
  settings.skinVersion = 7;
  std::string text = Template();
  text.replace(text.find("\tskinversion"), 1, " ");
  // The scheme line first: found only when the search starts over at the top.
  text = "<!ENTITY % color \"Blue\">\r\n" + WithLine(text, "showmin", "<!ENTITY showmin \"0\">");

  EXPECT_TRUE(ReadFile(text));

  ASSERT_EQ(dialog.messages.size(), 1u);
  EXPECT_EQ(dialog.messages[0].kind, MemoryDialog::Kind::Notice);
  EXPECT_EQ(dialog.messages[0].text, "Unable to determine version...\nreading config may fail");
  EXPECT_EQ(settings.skinVersion, 7);
  EXPECT_EQ(settings.scheme, "Blue");
  EXPECT_TRUE(settings.hideMinimize);  // searched: version 7 is above 2
}

TEST_F(ConfigDtdReaderTest, LinesAreSearchedIn79CharacterPieces) {
  const std::string longTitle(100, 't');
  // A comment line of 79 characters whose continuation is taken for a line of its own.
  const std::string comment = "<!-- " + std::string(70, '=') + " -->";
  ASSERT_EQ(comment.size(), 79u);
  std::string text = WithLine(Template(), "remcon", comment + "<!ENTITY remcon \"1\">");
  text = WithLine(text, "contactname", "<!ENTITY contactname \"" + longTitle + "\">");

  EXPECT_TRUE(ReadFile(text));

  EXPECT_TRUE(settings.removeConnection);
  // The first piece holds 79 - 22 characters of the title and no closing quote.
  EXPECT_EQ(settings.contactTitle, std::string(57, 't'));
  EXPECT_EQ(settings.nicklistWidth, "107");

  // A title of references is cut after its last whole one ("&#2" of the tenth is dropped).
  std::string references;
  for (int i = 0; i < 20; ++i) references += "&#233;";
  EXPECT_TRUE(ReadFile(
      WithLine(Template(), "contactname", "<!ENTITY contactname \"" + references + "\">")));
  EXPECT_EQ(settings.contactTitle, std::string(9, '\xE9'));
}

TEST_F(ConfigDtdReaderTest, ValueOfLinesWithFewQuotes) {
  const struct {
    const char* line;
    const char* value;
  } cases[] = {
      {"<!ENTITY contactname \"\">", ""},
      {"<!ENTITY contactname \"Bob>  <!-- no closing quote -->", "Bob>  <!-- no closing quote -->"},
      {"<!ENTITY contactname Bob>", ""},
      {"<!ENTITY CONTACTNAME \"Ann\" \"Bob\">", "Ann"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    settings.contactTitle = "before";
    EXPECT_TRUE(ReadFile(WithLine(Template(), "contactname", c.line)));
    EXPECT_EQ(settings.contactTitle, c.value);
  }
}

// The file names plugins by stem; the load enables every entry with a named stem.
TEST_F(ConfigDtdReaderTest, PluginDeclarationsSelectEntriesByExactStem) {
  const auto entry = [](const char* variable, bool selected) {
    return PluginEntry{.priority = 0,
                       .variable = variable,
                       .description = variable,
                       .folder = variable,
                       .selected = selected};
  };
  app.plugins = {entry("my_plugin", false), entry("My_plugin", false), entry("shared", false),
                 entry("shared", false), entry("other", true)};
  const std::string text = Template() +
                           "<!ENTITY % modpack_my_plugin \"my plugin\"> <!ENTITY modpack_my_plugin "
                           "\"my plugin\">\r\n"
                           "<!entity % MODPACK_shared \"Shared\">\r\n";
  ScratchSkin::Write(skin / "config.dtd", text);

  EXPECT_TRUE(LoadSettings(app, "config.dtd"));

  EXPECT_TRUE(app.plugins[0].selected);
  EXPECT_FALSE(app.plugins[1].selected);
  EXPECT_TRUE(app.plugins[2].selected);
  EXPECT_TRUE(app.plugins[3].selected);
  EXPECT_FALSE(app.plugins[4].selected);
}

// The default block: what follows the header line and the three lines after it.
std::string DefaultBlock(const std::string& mainDtd) {
  std::size_t at = mainDtd.find("     | CONFIG.DTD default settings |");
  for (int i = 0; i < 4; ++i) at = mainDtd.find("\r\n", at) + 2;
  return mainDtd.substr(at);
}

TEST_F(ConfigDtdReaderTest, WriteDefaultConfigCopiesTheBlock) {
  EXPECT_TRUE(WriteDefaultConfig(app.files, "out.dtd").done);
  const std::string block = ScratchSkin::Read(skin / "out.dtd");
  EXPECT_EQ(block, DefaultBlock(Template()));
  EXPECT_EQ(block.substr(0, 6), "<!--\r\n");

  // A last line without a line break is copied too; a longer line in pieces.
  const std::string longLine(900, 'x');
  ScratchSkin::Write(
      skin / "plugins/default/main.dtd",
      "intro\n     | CONFIG.DTD default settings |\none\ntwo\nthree\n" + longLine + "\nlast");
  EXPECT_TRUE(WriteDefaultConfig(app.files, "out.dtd").faults.empty());
  EXPECT_EQ(ScratchSkin::Read(skin / "out.dtd"), longLine + "\r\nlast");
}

TEST_F(ConfigDtdReaderTest, WriteDefaultConfigFailuresEndTheProgram) {
  const struct {
    const char* name;
    const char* mainDtd;  // null: no main.dtd
    const char* target;
    const char* message;
  } cases[] = {
      {"no header", "<!-- CONFIG.DTD default settings -->\n<!ENTITY a \"b\">\n", "out.dtd",
       "Unable to read configuration from default plugin."},
      {"no default plugin", nullptr, "out.dtd", "Unable to open default plugin."},
      {"target in a missing folder", "x", "missing\\out.dtd", "Unrecoverable file error."},
      {"both", nullptr, "missing\\out.dtd", "Unrecoverable file error."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    dialog.messages.clear();
    if (c.mainDtd) {
      ScratchSkin::Write(skin / "plugins/default/main.dtd", c.mainDtd);
    } else {
      fs::remove(skin / "plugins/default/main.dtd");
    }
    ScratchSkin::Write(skin / "out.dtd", "previous");
    try {
      ShowOutcome(app, WriteDefaultConfig(app.files, c.target));
      ADD_FAILURE() << "the program went on";
    } catch (const ProgramEnded& ended) {
      EXPECT_EQ(ended.status, 1);
    }
    ASSERT_EQ(dialog.messages.size(), 1u);
    EXPECT_EQ(dialog.messages[0].kind, MemoryDialog::Kind::Failure);
    EXPECT_EQ(dialog.messages[0].text, c.message);
    // The previous file stays whole: the block would have replaced it only once complete.
    EXPECT_EQ(ScratchSkin::Read(skin / "out.dtd"), "previous");
    EXPECT_FALSE(fs::exists(skin / "out.dtd.new"));
  }
}

}  // namespace
}  // namespace quil
