// The config.dtd writer on a scratch copy of the sample skin: entity replacement, the round trip
// through the reader, the older-version lines, the scheme line, the generated plugin section, the
// failures with the files they leave behind, and the sample skin's own save byte for byte.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <string>
#include <string_view>

#include "base/Text.h"
#include "dialog/Outcomes.h"
#include "files/TextMode.h"
#include "profiles/PluginCatalogue.h"
#include "settings/ConfigDtdReader.h"
#include "settings/ConfigDtdWriter.h"
#include "settings/SkinSettings.h"
#include "tests/support/FaultyFiles.h"
#include "tests/support/ScratchSkin.h"

namespace quil {
namespace {

namespace fs = std::filesystem;
using test::FaultyFiles;
using test::MemoryDialog;
using test::ProgramEnded;
using test::ScratchSkin;
using test::TestApp;

std::string WithoutCr(std::string text) {
  std::erase(text, '\r');
  return text;
}

// ReplaceEntityValue on a template held in memory.

class StringWriter : public TextWriter {
 public:
  void Write(std::string_view text) override { written += text; }
  bool Close() override { return true; }
  std::string written;
};

TEST(ReplaceEntityValue, RebuildsTheMatchedLine) {
  const std::string tpl =
      "top\n<!ENTITY buttonscroll \"no\">  <!-- c -->\n<!ENTITY remcon \"0>\n"
      "  <!ENTITY indented \"1\">\nlast\n";
  const struct {
    const char* name;
    const char* key;
    const char* value;
    bool found;
    const char* written;
  } cases[] = {
      {"value replaced, comment kept", "<!ENTITY buttonscroll", "yes", true,
       "top\n<!ENTITY buttonscroll \"yes\">  <!-- c -->\n"},
      {"key in any case, empty value", "<!entity BUTTONSCROLL", "", true,
       "top\n<!ENTITY buttonscroll \"\">  <!-- c -->\n"},
      {"one quote: line unchanged", "<!ENTITY remcon", "1", true,
       "top\n<!ENTITY buttonscroll \"no\">  <!-- c -->\n<!ENTITY remcon \"0>\n"},
      {"only at the line's start", "<!ENTITY indented", "0", false,
       "top\n<!ENTITY buttonscroll \"no\">  <!-- c -->\n<!ENTITY remcon \"0>\n"
       "  <!ENTITY indented \"1\">\nlast\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    BufferedTextReader in(tpl);
    StringWriter out;
    EXPECT_EQ(ReplaceEntityValue(in, out, c.key, c.value), c.found);
    EXPECT_EQ(out.written, c.written);
  }
}

// File services that fail on chosen paths, over the real ones.
class ConfigDtdWriterTest : public ::testing::Test {
 public:
  ScratchSkin skin;
  TestApp t;
  FaultyFiles faulty{*t.files};
  App app{faulty, t.dialog, t.dialog, t.dialog};
  MemoryDialog& dialog = t.dialog;
  SkinSettings settings{.skinVersion = 3, .scheme = "Blue"};
  PluginSelection selection;

  void SetUp() override {
    app.state = t.app.state;
    app.state.SetProfileName(kDefaultProfile);
  }

  bool Write(const std::string& folder = "", const std::string& prefix = "") {
    return ShowOutcome(app, WriteConfigDtd(app.files, app.state, app.plugins, settings, selection,
                                           folder, prefix));
  }

  std::string Read(const std::string& relative) { return ScratchSkin::Read(skin / relative); }

  // Removes the line that declares `entity` from the default template.
  void DropTemplateLine(std::string_view entity) {
    std::string text = Read("plugins/default/main.dtd");
    const auto start = text.find("<!ENTITY " + std::string(entity) + " ");
    ASSERT_NE(start, std::string::npos);
    text.erase(start, text.find("\r\n", start) + 2 - start);
    ScratchSkin::Write(skin / "plugins/default/main.dtd", text);
  }

  // A named profile's folder beside the skin folder, made the active profile.
  void UseNamedProfile(const std::string& name) {
    app.state.SetProfileName(name);
    fs::create_directories(skin.skinsFolder() / ("Quil_profile_" + name));
  }

  // The part of the saved file from the Modpack header on, without carriage returns.
  std::string Tail(const std::string& relative) {
    const std::string text = WithoutCr(Read(relative));
    const auto at = text.find(kModpackHeader);
    EXPECT_NE(at, std::string::npos);
    return at == std::string::npos ? std::string() : text.substr(at);
  }
};

// Puts every read option into a state other than its default. `flip` swaps which half of the check
// boxes is checked, so that both states of every box go through the file.
void SetEveryOption(SkinSettings& settings, bool flip) {
  int i = 0;
  for (const SkinOption& option : SkinOptions()) {
    ++i;
    if (!option.IsRead()) continue;
    switch (option.encoding) {
      case Encoding::Flag:
        settings.*option.flag = (i % 2 == 0) != flip;
        break;
      case Encoding::Radio:
        settings.*option.flag = !flip;
        break;
      case Encoding::Text:
        settings.*option.text = option.readBound > 0 ? std::to_string(option.readBound + 11 * i)
                                                     : "Title with blanks " + std::to_string(i);
        break;
      case Encoding::FirstTwo:
        settings.*option.text = std::to_string(9 + i);
        break;
    }
  }
}

class RoundTrip : public ConfigDtdWriterTest,
                  public ::testing::WithParamInterface<std::tuple<int, bool>> {};

TEST_P(RoundTrip, EveryOptionComesBack) {
  const auto [version, flip] = GetParam();
  settings.skinVersion = version;
  SetEveryOption(settings, flip);
  settings.scheme = "aqua";
  ASSERT_TRUE(Write());

  SkinSettings back;
  ASSERT_TRUE(ReadConfigDtd(app.files, "config.dtd", back).done);
  EXPECT_EQ(back.skinVersion, 3);
  EXPECT_EQ(back.scheme, "aqua");
  for (const SkinOption& option : SkinOptions()) {
    SCOPED_TRACE(option.entity);
    if (option.flag) EXPECT_EQ(back.*option.flag, settings.*option.flag);
    if (option.text) EXPECT_EQ(back.*option.text, settings.*option.text);
  }
  EXPECT_TRUE(dialog.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Versions, RoundTrip,
                         ::testing::Combine(::testing::Values(3, 2), ::testing::Bool()));

TEST_F(ConfigDtdWriterTest, VersionTwoGetsTheFourLinesAfterTheTitle) {
  settings.skinVersion = 2;
  settings.hideMinimize = true;
  settings.mediumIcons = false;
  ASSERT_TRUE(Write());

  const std::string text = WithoutCr(Read("config.dtd"));
  const std::string expected =
      "<!ENTITY contactname \"Trillian\">   <!-- title of the contact list -->\n"
      "<!ENTITY showmin \"0\"><!-- 1=yes/0=no  defines whether contact list minimize button is "
      "displayed -->\n"
      "<!ENTITY titleedge \"54\"><!-- 72/54 if minimize button displayed/hidden -->\n"
      "<!ENTITY showtbicon \"0\"><!-- 1=yes/0=no  defines whether taskbar icon is displayed -->\n"
      "<!ENTITY tbtextedge \"3\"><!-- 23/3 if taskbar icon displayed/hidden -->\n"
      "<!ENTITY showmin \"1\">";  // the template's own line follows unchanged
  EXPECT_NE(text.find(expected), std::string::npos) << text;
  EXPECT_NE(text.find("\tskinversion=\"3\""), std::string::npos);
}

TEST_F(ConfigDtdWriterTest, SchemeLineListsTheOfferedSchemes) {
  fs::remove_all(skin / "mods");
  for (const char* folder : {"Green", "Blue", "!Hidden", "all", "ALL", ".svn", "aqua"}) {
    fs::create_directories(skin / "mods" / folder);
  }
  ScratchSkin::Write(skin / "mods/readme.txt", "not a scheme");
  const struct {
    bool showHidden;
    const char* line;
  } cases[] = {
      {false, "<!ENTITY % color \"Blue\">       <!-- aqua,Blue,Green, skin color mods -->\n"},
      {true,
       "<!ENTITY % color \"Blue\">       <!-- !Hidden,aqua,Blue,Green, skin color mods -->\n"},
  };
  for (const auto& c : cases) {
    app.state.ShowHidden = c.showHidden;
    ASSERT_TRUE(Write());
    EXPECT_NE(WithoutCr(Read("config.dtd")).find("\n" + std::string(c.line)), std::string::npos)
        << WithoutCr(Read("config.dtd"));
  }
}

TEST_F(ConfigDtdWriterTest, TailWithoutPlugins) {
  ASSERT_TRUE(Write());
  EXPECT_EQ(Tail("config.dtd"),
            "     |     Modpack settings     |\n"
            "     ============================\n\n"
            "     DO NOT EDIT BELOW THIS LINE UNLESS YOU KNOW THAT YOU'RE DOING :)\n\n"
            "-->\n\n"
            "\n"
            "<!ENTITY modpackXML '\n'>\n\n"
            "<!ENTITY modprefs '\n'>\n\n");
}

TEST_F(ConfigDtdWriterTest, TailBindsTheSelectedPluginsFiles) {
  struct Plugin {
    const char* variable;
    const char* folder;
    std::vector<const char*> files;
    bool listSelected;
  };
  const Plugin plugins[] = {
      {"alpha", "Alpha", {"prefs.xml", "main.xml", "main.dtd"}, true},
      {"beta", "Beta", {"main.xml"}, true},
      {"phi", "Phi", {"prefs.xml", "main.xml", "main.dtd"}, false},
      {"gamma", "Gamma", {"prefs.xml"}, true},
      {"delta", "Delta", {"main.dtd"}, true},
      {"eps", "Eps", {}, true},
  };
  for (const Plugin& p : plugins) {
    fs::create_directories(skin / "plugins" / p.folder);
    for (const char* file : p.files) ScratchSkin::Write(skin / "plugins" / p.folder / file, "x");
    app.plugins.push_back({.priority = 0,
                           .variable = p.variable,
                           .description = p.variable,
                           .folder = p.folder,
                           .selected = !p.listSelected});
    selection.push_back(p.listSelected);
  }
  ScratchSkin::Write(skin / "settings.dtd", "kept");
  UseNamedProfile("Work");

  ASSERT_TRUE(Write("..\\Quil_profile_Work\\", "..\\Quil\\"));

  EXPECT_EQ(Tail("../Quil_profile_Work/config.dtd"),
            "     |     Modpack settings     |\n"
            "     ============================\n\n"
            "     DO NOT EDIT BELOW THIS LINE UNLESS YOU KNOW THAT YOU'RE DOING :)\n\n"
            "-->\n\n"
            "<!ENTITY % modpack_alpha \"Alpha\"> <!ENTITY modpack_alpha \"Alpha\">\n"
            "<!ENTITY % modpack_beta \"Beta\"> <!ENTITY modpack_beta \"Beta\">\n"
            "<!ENTITY % modpack_gamma \"Gamma\"> <!ENTITY modpack_gamma \"Gamma\">\n"
            "<!ENTITY % modpack_delta \"Delta\"> <!ENTITY modpack_delta \"Delta\">\n"
            "<!ENTITY % modpack_eps \"Eps\"> <!ENTITY modpack_eps \"Eps\">\n"
            "\n"
            "<!ENTITY modpack_alpha_prefs SYSTEM \"..\\Quil\\plugins\\Alpha\\prefs.xml\" >\n"
            "<!ENTITY modpack_alpha_XML SYSTEM \"..\\Quil\\plugins\\Alpha\\main.xml\" >\n"
            "<!ENTITY % modpack_alpha_dtd SYSTEM \"..\\Quil\\plugins\\Alpha\\main.dtd\" > "
            "%modpack_alpha_dtd;\n"
            "\n"
            "<!ENTITY modpack_beta_XML SYSTEM \"..\\Quil\\plugins\\Beta\\main.xml\" >\n"
            "\n"
            "<!ENTITY modpack_gamma_prefs SYSTEM \"..\\Quil\\plugins\\Gamma\\prefs.xml\" >\n"
            "\n"
            "<!ENTITY % modpack_delta_dtd SYSTEM \"..\\Quil\\plugins\\Delta\\main.dtd\" > "
            "%modpack_delta_dtd;\n"
            "\n"
            "\n"
            "<!ENTITY modpackXML '\n&modpack_alpha_XML;\n&modpack_beta_XML;\n'>\n\n"
            "<!ENTITY modprefs '\n&modpack_alpha_prefs;\n&modpack_gamma_prefs;\n'>\n\n");
  for (std::size_t i = 0; i < std::size(plugins); ++i) {
    EXPECT_EQ(app.plugins[i].selected, plugins[i].listSelected) << plugins[i].variable;
  }
  const std::string text = WithoutCr(Read("../Quil_profile_Work/config.dtd"));
  EXPECT_NE(text.find("<!ENTITY % QuilDir \"..\\Quil\\\">"), std::string::npos);
  EXPECT_NE(text.find("<!ENTITY QuilDir \"..\\Quil\\\">"), std::string::npos);
  EXPECT_EQ(Read("settings.dtd"), "kept");  // a named profile leaves the skin's file alone
  EXPECT_FALSE(fs::exists(skin / "../Quil_profile_Work/config.dtd.def"));
}

TEST_F(ConfigDtdWriterTest, TemplateWithoutModpackHeaderIsCopiedWhole) {
  std::string text = Read("plugins/default/main.dtd");
  text.erase(text.find(kModpackHeader));
  ScratchSkin::Write(skin / "plugins/default/main.dtd", text + "<!-- end -->\r\n");
  ASSERT_TRUE(Write());
  EXPECT_NE(WithoutCr(Read("config.dtd")).find("<!-- end -->\n" + std::string(kModpackHeader)),
            std::string::npos);
}

// What a failed save leaves: the message, and config.dtd as it was before (or absent when there
// was none), with no template left behind.
// A failed save leaves config.dtd as it was (the new file replaces it only when complete), and the
// backup holds the same previous content.
TEST_F(ConfigDtdWriterTest, FailedSavesBringThePreviousFileBack) {
  const std::string old = "<!-- the profile's previous settings -->\r\n";
  const struct {
    const char* name;
    void (*arrange)(ConfigDtdWriterTest&);
    const char* message;
  } cases[] = {
      {"template lacks a line", [](ConfigDtdWriterTest& f) { f.DropTemplateLine("remcon"); },
       "Unable to write a complete file... restoring backup"},
      {"template lacks the version line",
       [](ConfigDtdWriterTest& f) {
         std::string text = f.Read("plugins/default/main.dtd");
         text.replace(text.find("\tskinversion"), 1, " ");
         ScratchSkin::Write(f.skin / "plugins/default/main.dtd", text);
       },
       "Unable to write a complete file... restoring backup"},
      {"template lacks the scheme line",
       [](ConfigDtdWriterTest& f) {
         std::string text = f.Read("plugins/default/main.dtd");
         text.replace(text.find("<!ENTITY % color"), 1, " ");
         ScratchSkin::Write(f.skin / "plugins/default/main.dtd", text);
       },
       "Unable to write a complete file... restoring backup"},
      {"template unreadable",
       [](ConfigDtdWriterTest& f) { f.faulty.unreadable.insert("config.dtd.def"); },
       "Unable to open old config file"},
      {"new config.dtd not creatable",
       [](ConfigDtdWriterTest& f) { f.faulty.uncreatable.insert("config.dtd.new"); },
       "Unable to save config file"},
      {"config.dtd held open by another program",
       [](ConfigDtdWriterTest& f) { f.faulty.sharingViolation.insert("config.dtd"); },
       "Unable to save config file"},
      {"config.dtd write fails",
       [](ConfigDtdWriterTest& f) { f.faulty.failingClose.insert("config.dtd.new"); },
       "Unable to write a complete file... restoring backup"},
      // A full disk: the template is created, its writing fails. The program goes on.
      {"template write fails",
       [](ConfigDtdWriterTest& f) { f.faulty.failingClose.insert("config.dtd.def.new"); },
       "Unable to save config file"},
  };
  const std::string pristine = Read("plugins/default/main.dtd");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ScratchSkin::Write(skin / "plugins/default/main.dtd", pristine);
    fs::remove(skin / "config.dtd.bak");
    faulty.unreadable.clear();
    faulty.uncreatable.clear();
    faulty.failingClose.clear();
    faulty.sharingViolation.clear();
    dialog.messages.clear();
    ScratchSkin::Write(skin / "config.dtd", old);
    ScratchSkin::Write(skin / "settings.dtd", "kept");
    c.arrange(*this);

    EXPECT_FALSE(Write());

    ASSERT_EQ(dialog.messages.size(), 1u);
    EXPECT_EQ(dialog.messages[0].kind, MemoryDialog::Kind::Failure);
    EXPECT_EQ(dialog.messages[0].text, c.message);
    ASSERT_TRUE(fs::exists(skin / "config.dtd"));
    EXPECT_EQ(Read("config.dtd"), old);
    EXPECT_EQ(Read("config.dtd.bak"), old);
    EXPECT_FALSE(fs::exists(skin / "config.dtd.def"));
    EXPECT_FALSE(fs::exists(skin / "config.dtd.new"));
    EXPECT_EQ(Read("settings.dtd"), "kept");
  }
}

TEST_F(ConfigDtdWriterTest, FailedFirstSaveLeavesNoConfig) {
  UseNamedProfile("Fresh");
  DropTemplateLine("bldaway");
  EXPECT_FALSE(Write("..\\Quil_profile_Fresh\\", "..\\Quil\\"));
  ASSERT_EQ(dialog.messages.size(), 1u);
  EXPECT_EQ(dialog.messages[0].text, "Unable to write a complete file... restoring backup");
  EXPECT_TRUE(fs::is_empty(skin.skinsFolder() / "Quil_profile_Fresh"));
}

TEST_F(ConfigDtdWriterTest, UnusableDefaultPluginEndsTheProgram) {
  const std::string old = Read("config.dtd");
  fs::remove(skin / "plugins/default/main.dtd");
  try {
    Write();
    FAIL() << "the program went on";
  } catch (const ProgramEnded& ended) {
    EXPECT_EQ(ended.status, 1);
  }
  EXPECT_EQ(dialog.messages.back().text, "Unable to open default plugin.");
  EXPECT_EQ(Read("config.dtd"), old);
  EXPECT_EQ(Read("config.dtd.bak"), old);
  EXPECT_FALSE(fs::exists(skin / "config.dtd.def"));
}

TEST_F(ConfigDtdWriterTest, UnwritableSettingsDtdKeepsTheSave) {
  faulty.uncreatable.insert("settings.dtd.new");
  EXPECT_TRUE(Write());
  ASSERT_EQ(dialog.messages.size(), 1u);
  EXPECT_EQ(dialog.messages[0].kind, MemoryDialog::Kind::Notice);
  EXPECT_EQ(dialog.messages[0].text, "Unable to save settings.dtd");
  EXPECT_NE(Read("config.dtd").find(kModpackHeader), std::string::npos);
}

// The sample skin's config.dtd and settings.dtd are what saving the defaults of "(default)" with no
// plugin selected writes.
TEST_F(ConfigDtdWriterTest, SampleSkinSaveIsTheSampleFile) {
  app.plugins = ScanPlugins(app.files, app.state.ShowHidden);
  ASSERT_TRUE(ReadConfigDtd(app.files, "plugins\\default\\main.dtd", settings).done);
  const std::string previous = Read("config.dtd");
  ASSERT_TRUE(Write());
  EXPECT_TRUE(dialog.messages.empty());

  const fs::path sample(QUIL_SAMPLE_SKIN);
  const std::string written = Read("config.dtd");
  if (written != ScratchSkin::Read(sample / "config.dtd")) {
    const fs::path kept = fs::temp_directory_path() / "quil-sample-config.dtd";
    std::ofstream(kept, std::ios::binary) << written;
    ADD_FAILURE() << "the save differs from the sample's config.dtd; it is kept in " << kept;
  }
  EXPECT_EQ(Read("settings.dtd"), ScratchSkin::Read(sample / "settings.dtd"));
  EXPECT_EQ(Read("settings.dtd"), "<!ENTITY % configdtd SYSTEM \"config.dtd\"> %configdtd;");
  EXPECT_EQ(Read("config.dtd.bak"), previous);
  EXPECT_EQ(written.find("\n"), written.find("\r\n") + 1);  // CRLF line ends
}

}  // namespace
}  // namespace quil
