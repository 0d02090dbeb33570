// End-to-end scenarios: the real QuilConfig.exe on a scratch copy of the sample skin, worked from
// outside through its windows. Each scenario checks what the user sees and what lands on disk.
#include <array>
#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "core/ControlIds.h"
#include "tests/e2e/Scenario.h"

namespace quil::e2e {
namespace {

using TextLines = std::vector<std::string>;

// The sample skin's plugins in catalogue order, as the plugin list shows them.
const std::vector<std::string> kSamplePlugins = {
    "Large emoticons (24 pixels)", "Small emoticons (16 pixels)",   "Tabbed message windows",
    "Compact status bar",          "Timestamps in message windows", "Round title-bar buttons",
};

struct ControlText {
  Page page;
  int id;
  const char* text;
};

// Controls whose template text the user sees unchanged after start-up.
constexpr ControlText kTemplateTexts[] = {
    {Page::Main, kRestoreButton, "&Restore"},
    {Page::Main, kSaveButton, "&Save"},
    {Page::Main, kDeleteProfileButton, "&Del"},
    {Page::General, 11004, "General Options"},
    {Page::General, 1005, "Scroll container &button text"},
    {Page::General, 1031, "Show 'remo&ve connection' btn"},
    {Page::General, 11031, "&Window/anchor Positions"},
    {Page::General, 11003, "&Font sizes"},
    {Page::General, kSmallFontsRadio, "Small"},
    {Page::General, kLargeFontsRadio, "Large"},
    {Page::General, kChooseImageButton, "..."},
    {Page::General, kShowImageButton, "Show"},
    {Page::Colors, 11002, "Color Sc&heme"},
    {Page::Colors, kDeleteSchemeButton, "&Del"},
    {Page::Colors, kHideSchemeButton, "&Hide"},
    {Page::Colors, kRedrawButton, "&Redraw"},
    {Page::Colors, 1043, "B"},
    {Page::Colors, 1044, "I"},
    {Page::Colors, 1100, "Background"},
    {Page::Colors, 1105, "Idle/Away"},
    {Page::Colors, 1160, "Titles"},
    {Page::Colors, 1213, "Notices"},
    {Page::Plugins, kDeletePluginsButton, "&Del"},
    {Page::Plugins, kHidePluginsButton, "&Hide"},
};

struct CheckState {
  Page page;
  int id;
  bool checked;
};

// The check boxes and radio buttons as the sample's config.dtd sets them.
constexpr CheckState kSampleChecks[] = {
    {Page::General, 1005, false},  // buttonscroll "no"
    {Page::General, 1031, false},  // remcon "0"
    {Page::General, 1032, false},  // showmin "1": the minimize button is shown
    {Page::General, 1033, true},   // showtbicon "1"
    {Page::General, 1007, false},  // buddypos "76"
    {Page::General, 1010, true},   // editsave "yes"
    {Page::General, 1011, false},  // scrollpos "19"
    {Page::General, 1012, true},   // scrollsave "yes"
    {Page::General, 1003, true},   // fonts "small"
    {Page::General, 1004, false}, {Page::General, 1021, true},  // titlefontbold "1"
    {Page::General, 1023, false},                               // bartitlefontbold "0"
    {Page::Colors, 1121, false},                                // itlonline
    {Page::Colors, 1141, true},                                 // bldonline
    {Page::Colors, 1122, false},                                // itloffline
    {Page::Colors, 1142, false},                                // bldoffline
    {Page::Colors, 1123, false},                                // itlrecenton
    {Page::Colors, 1143, true},                                 // bldrecenton
    {Page::Colors, 1124, true},                                 // itlrecentoff
    {Page::Colors, 1144, false},                                // bldrecentoff
    {Page::Colors, 1125, true},                                 // itlaway
    {Page::Colors, 1145, false},                                // bldaway
};

// The edit fields as the sample's config.dtd sets them.
constexpr ControlText kSampleEdits[] = {
    {Page::General, 1006, "Trillian"}, {Page::General, 1008, "107"}, {Page::General, 1009, "45"},
    {Page::General, 1013, "40"},       {Page::General, 1014, "250"}, {Page::General, 1015, "7"},
    {Page::General, 1016, "8"},        {Page::General, 1017, "8"},   {Page::General, 1019, "22"},
    {Page::General, 1020, "8"},        {Page::General, 1022, "7"},
};

constexpr std::array<int, 6> kFontSizeEdits = {1015, 1016, 1017, 1019, 1020, 1022};

bool Contains(const std::string& text, std::string_view part) {
  return text.find(part) != std::string::npos;
}

class E2EDialog : public Scenario {};

TEST_F(E2EDialog, StartUpShowsTheSampleSkinOnAllThreePages) {
  Write("../Quil_profile_Home/desc.txt", "Home\n");
  Write("../Quil_profile_Junk", "a file named like a profile folder\n");
  QuilDialog* dialog = Start();
  ASSERT_TRUE(dialog);
  ExpectNoMessageBox();

  EXPECT_TRUE(
      Contains(dialog->Text(Page::Main, kBanner), "Change settings for Quil Trillian skin"));
  EXPECT_TRUE(Contains(dialog->Text(Page::Main, kBanner), "(Click here to visit webpage)"));
  EXPECT_TRUE(dialog->Visible(Page::Main, kRestoreButton));
  EXPECT_EQ(dialog->ComboText(Page::Main, kProfileBox), "(default)");
  EXPECT_EQ(dialog->ComboLines(Page::Main, kProfileBox), (TextLines{"(default)", "Home"}));
  EXPECT_EQ(dialog->TabCount(), 3);
  EXPECT_EQ(dialog->CurrentTab(), 0);
  EXPECT_TRUE(IsWindowVisible(dialog->PageWindow(Page::General)));
  EXPECT_FALSE(IsWindowVisible(dialog->PageWindow(Page::Colors)));
  EXPECT_FALSE(IsWindowVisible(dialog->PageWindow(Page::Plugins)));

  for (const auto& [page, id, text] : kTemplateTexts) {
    EXPECT_EQ(dialog->Text(page, id), text) << "control " << id;
  }
  for (const auto& [page, id, checked] : kSampleChecks) {
    EXPECT_EQ(dialog->Checked(page, id), checked) << "check box " << id;
  }
  for (const auto& [page, id, text] : kSampleEdits) {
    EXPECT_EQ(dialog->Text(page, id), text) << "edit field " << id;
  }
  EXPECT_EQ(dialog->Text(Page::General, kImageLabel), "Quil.bmp");

  dialog->ShowTab(1);
  EXPECT_EQ(dialog->CurrentTab(), 1);
  EXPECT_FALSE(IsWindowVisible(dialog->PageWindow(Page::General)));
  EXPECT_TRUE(IsWindowVisible(dialog->PageWindow(Page::Colors)));
  EXPECT_EQ(dialog->ComboText(Page::Colors, kSchemeBox), "green");
  EXPECT_EQ(dialog->ComboLines(Page::Colors, kSchemeBox), (TextLines{"aqua", "Blue", "green"}));

  dialog->ShowTab(2);
  EXPECT_TRUE(IsWindowVisible(dialog->PageWindow(Page::Plugins)));
  EXPECT_FALSE(IsWindowVisible(dialog->PageWindow(Page::Colors)));
  EXPECT_EQ(dialog->ListLines(Page::Plugins, kPluginList), kSamplePlugins);
  EXPECT_TRUE(dialog->SelectedLines(Page::Plugins, kPluginList).empty());

  CloseAndExpectExit(0);
  EXPECT_EQ(Read("config.dtd"), Sample("config.dtd")) << "closing must write nothing";
  EXPECT_FALSE(Exists("config.dtd.bak"));
}

TEST_F(E2EDialog, SaveOfTheDefaultProfileAsksAndWritesTheSkinFolder) {
  QuilDialog* dialog = Start();
  ASSERT_TRUE(dialog);
  dialog->SetText(Page::General, 1006, "Quilted");
  dialog->Click(Page::General, 1005);
  EXPECT_TRUE(dialog->Checked(Page::General, 1005)) << "a check box toggles when clicked";

  const std::string question = "Are you sure you want to overwrite the '(default)' profile?";
  dialog->Click(Page::Main, kSaveButton);
  Answer(question, IDNO);
  EXPECT_EQ(Read("config.dtd"), Sample("config.dtd"));
  EXPECT_FALSE(Exists("config.dtd.bak"));

  dialog->Click(Page::Main, kSaveButton);
  Answer(question, IDYES);
  const std::string config = Read("config.dtd");
  EXPECT_TRUE(Contains(config, "<!ENTITY contactname \"Quilted\">")) << config;
  EXPECT_TRUE(Contains(config, "<!ENTITY buttonscroll \"yes\">")) << config;
  EXPECT_TRUE(Contains(config, "<!ENTITY % color \"green\">")) << config;
  EXPECT_EQ(Read("config.dtd.bak"), Sample("config.dtd"));
  EXPECT_EQ(Read("settings.dtd"), "<!ENTITY % configdtd SYSTEM \"config.dtd\"> %configdtd;");
  const auto desc = Lines("desc.txt");
  ASSERT_GE(desc.size(), 2u);
  EXPECT_EQ(desc[0], "Quil (default) Profile >version 3, December 2026");
  EXPECT_EQ(desc[1], SampleLine("desc.txt", 1)) << "the skin's own description stays";
  EXPECT_EQ(Read("trillian.xml"), Sample("trillian.xml"));
  EXPECT_FALSE(Exists("mods/green/colors.dtd.bak")) << "no color changed";
  EXPECT_FALSE(Exists("mods/green/colors.ini.bak")) << "no color changed";
  CloseAndExpectExit(0);

  // The next run reads back what was saved.
  dialog = Start();
  ASSERT_TRUE(dialog);
  EXPECT_EQ(dialog->Text(Page::General, 1006), "Quilted");
  EXPECT_TRUE(dialog->Checked(Page::General, 1005));
  CloseAndExpectExit(0);
}

TEST_F(E2EDialog, NewProfileIsCreatedSavedTwiceSwitchedAndDeleted) {
  QuilDialog* dialog = Start();
  ASSERT_TRUE(dialog);
  dialog->Click(Page::Main, kDeleteProfileButton);
  Answer("Cannot delete default profile", IDOK);

  // Typing a name and clicking Save at once: the box commits as it loses the focus.
  dialog->Type(Page::Main, kProfileBox, "Work");
  EXPECT_TRUE(dialog->Visible(Page::Main, kRestoreButton)) << "typing alone commits nothing";
  dialog->SetText(Page::General, 1006, "At work");
  dialog->Click(Page::Main, kSaveButton);
  Answer("Profile \"Work\" not found:\nCreate a new profile?", IDYES);
  EXPECT_FALSE(dialog->Visible(Page::Main, kRestoreButton));
  EXPECT_EQ(dialog->ComboLines(Page::Main, kProfileBox), (TextLines{"(default)", "Work"}));
  const std::string profile = "../Quil_profile_Work/";
  const auto desc = Lines(profile + "desc.txt");
  ASSERT_FALSE(desc.empty());
  EXPECT_EQ(desc[0], "Quil Work Profile >version 3, December 2026");
  EXPECT_TRUE(Contains(Read(profile + "trillian.xml"),
                       "<!DOCTYPE test SYSTEM \"..\\Quil\\xml\\trillian.dtd\">"));
  const std::string config = Read(profile + "config.dtd");
  EXPECT_TRUE(Contains(config, "<!ENTITY contactname \"At work\">")) << config;
  EXPECT_TRUE(Contains(config, "\"..\\Quil\\\"")) << "the way back to the skin folder: " << config;
  EXPECT_TRUE(Exists(profile + "mods/green/colors.dtd")) << "a new profile gets both color files";
  EXPECT_TRUE(Exists(profile + "mods/green/colors.ini"));
  EXPECT_FALSE(Exists(profile + "config.dtd.bak"));
  EXPECT_EQ(Read("config.dtd"), Sample("config.dtd")) << "the skin's own settings stay";

  dialog->Click(Page::Main, kSaveButton);
  Answer("Are you sure you want to overwrite the 'Work' profile?", IDYES);
  EXPECT_TRUE(Exists(profile + "config.dtd.bak"));

  // Picking a profile from the list loads its settings.
  dialog->Pick(Page::Main, kProfileBox, 0);
  EXPECT_EQ(dialog->ComboText(Page::Main, kProfileBox), "(default)");
  EXPECT_EQ(dialog->Text(Page::General, 1006), "Trillian");
  EXPECT_TRUE(dialog->Visible(Page::Main, kRestoreButton));
  dialog->Pick(Page::Main, kProfileBox, 1);
  EXPECT_EQ(dialog->Text(Page::General, 1006), "At work");
  EXPECT_FALSE(dialog->Visible(Page::Main, kRestoreButton));

  const std::string deleteQuestion = "Are you sure you want to delete the 'Work' profile?";
  dialog->Click(Page::Main, kDeleteProfileButton);
  Answer(deleteQuestion, IDNO);
  EXPECT_TRUE(Exists(profile + "config.dtd"));
  dialog->Click(Page::Main, kDeleteProfileButton);
  Answer(deleteQuestion, IDYES);
  EXPECT_FALSE(Exists("../Quil_profile_Work"));
  EXPECT_EQ(dialog->ComboText(Page::Main, kProfileBox), "(default)");
  EXPECT_EQ(dialog->ComboLines(Page::Main, kProfileBox), (TextLines{"(default)"}));
  EXPECT_TRUE(dialog->Visible(Page::Main, kRestoreButton));
  EXPECT_EQ(dialog->Text(Page::General, 1006), "Trillian");
  CloseAndExpectExit(0);
}

// Restore: with the button, and with the start-up switch in either letter case.
struct RestoreCase {
  const char* name;
  const char* argument;
  int answer;
};

void PrintTo(const RestoreCase& c, std::ostream* out) {
  *out << c.name;
}

class E2ERestore : public Scenario, public ::testing::WithParamInterface<RestoreCase> {
 protected:
  // Changes the settings and two schemes' colors so that a restore shows.
  void ChangeSkin() {
    std::string config = Sample("config.dtd");
    const std::string from = "<!ENTITY contactname \"Trillian\">";
    config.replace(config.find(from), from.size(), "<!ENTITY contactname \"Changed\">");
    Write("config.dtd", config);
    Write("mods/Blue/colors.dtd", Sample("mods/Blue/colors.dtd") + "<!-- changed -->\n");
    Write("mods/!old/colors.dtd", Sample("mods/!old/colors.dtd") + "<!-- changed -->\n");
  }
  // The default block of the default plugin: everything after its header and three more lines.
  static std::string DefaultBlock() {
    const std::string text = WithoutCarriageReturns(Sample("plugins/default/main.dtd"));
    std::size_t at = text.find("     | CONFIG.DTD default settings |");
    for (int line = 0; line < 4 && at != std::string::npos; ++line) {
      at = text.find('\n', at);
      if (at != std::string::npos) ++at;
    }
    return at == std::string::npos ? std::string() : text.substr(at);
  }
};

const std::string kRestoreQuestion =
    "This will delete your settings on the (default) profile and restore the default "
    "settings.\n\nAre you sure?";

TEST_P(E2ERestore, RestoresOnlyWhenConfirmed) {
  const RestoreCase& c = GetParam();
  ChangeSkin();
  const std::string changedConfig = Read("config.dtd");
  const std::string changedOld = Read("mods/!old/colors.dtd");
  const std::string changedBlue = Read("mods/Blue/colors.dtd");

  QuilDialog* dialog = nullptr;
  if (*c.argument) {
    QuilProcess& process = Launch(c.argument);
    const auto box = WaitMessageBox(process);
    ASSERT_TRUE(box) << "no question with " << c.argument;
    EXPECT_EQ(box->text, kRestoreQuestion);
    EXPECT_EQ(process.FindTopLevel(kDialogTitle), nullptr)
        << "the question comes before the dialog";
    ASSERT_TRUE(Press(*box, c.answer));
    const HWND main = process.WaitDialog();
    ASSERT_TRUE(main) << "the dialog did not open after the question";
    dialog_ = std::make_unique<QuilDialog>(process, main);
    dialog = dialog_.get();
    dialog->Sync();
  } else {
    dialog = Start();
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->Text(Page::General, 1006), "Changed");
    dialog->Click(Page::Main, kRestoreButton);
    Answer(kRestoreQuestion, IDNO);
    EXPECT_EQ(Read("config.dtd"), changedConfig);
    dialog->Click(Page::Main, kRestoreButton);
    Answer(kRestoreQuestion, c.answer);
  }
  ExpectNoMessageBox();

  if (c.answer == IDYES) {
    EXPECT_EQ(WithoutCarriageReturns(Read("config.dtd")), DefaultBlock());
    EXPECT_EQ(Read("mods/Blue/colors.dtd"), Read("mods/Blue/colors_default.dtd"));
    EXPECT_NE(dialog->Text(Page::General, 1006), "Changed");
    EXPECT_TRUE(
        Contains(Read("config.dtd"), "contactname \"" + dialog->Text(Page::General, 1006) + "\""));
  } else {
    EXPECT_EQ(Read("config.dtd"), changedConfig);
    EXPECT_EQ(Read("mods/Blue/colors.dtd"), changedBlue);
    EXPECT_EQ(dialog->Text(Page::General, 1006), "Changed");
  }
  EXPECT_EQ(Read("mods/!old/colors.dtd"), changedOld) << "hidden schemes are left alone";
  EXPECT_EQ(dialog->ComboText(Page::Main, kProfileBox), "(default)");
  CloseAndExpectExit(0);
}

INSTANTIATE_TEST_SUITE_P(, E2ERestore,
                         ::testing::Values(RestoreCase{"Button", "", IDYES},
                                           RestoreCase{"Switch", "/restore", IDYES},
                                           RestoreCase{"SwitchDeclined", "/RESTORE", IDNO}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(E2EDialog, SchemesAreHiddenAndDeletedExceptGreen) {
  QuilDialog* dialog = Start();
  ASSERT_TRUE(dialog);
  dialog->ShowTab(1);

  dialog->Click(Page::Colors, kHideSchemeButton);
  Answer(
      "It is NOT recommended that you hide the Green scheme\nRemoving this scheme may cause the "
      "config util and skin to crash unrecoverably\n\nIf you really want to hide it, rename the "
      "mods\\green directory to mods\\!green by hand",
      IDOK);
  dialog->Click(Page::Colors, kDeleteSchemeButton);
  Answer(
      "It is NOT recommended that you delete the Green scheme\nRemoving this scheme may cause the "
      "config util and skin to crash unrecoverably\n\nIf you really want to delete it, delete the "
      "mods\\green directory by hand",
      IDOK);
  EXPECT_TRUE(Exists("mods/green/colors.dtd"));

  dialog->SetText(Page::Colors, kSchemeBox, "aqua");
  const std::string hideAqua = "Are you sure you want to hide the following color scheme?\n\naqua";
  dialog->Click(Page::Colors, kHideSchemeButton);
  Answer(hideAqua, IDNO);
  EXPECT_TRUE(Exists("mods/aqua"));
  dialog->Click(Page::Colors, kHideSchemeButton);
  Answer(hideAqua, IDYES);
  EXPECT_FALSE(Exists("mods/aqua"));
  EXPECT_TRUE(Exists("mods/!aqua/colors.dtd"));
  EXPECT_EQ(dialog->ComboLines(Page::Colors, kSchemeBox), (TextLines{"Blue", "green"}));
  EXPECT_EQ(dialog->ComboText(Page::Colors, kSchemeBox), "Blue");

  dialog->Click(Page::Colors, kDeleteSchemeButton);
  Answer("Are you sure you want to delete the following color scheme?\n\nBlue", IDYES);
  EXPECT_FALSE(Exists("mods/Blue"));
  EXPECT_EQ(dialog->ComboLines(Page::Colors, kSchemeBox), (TextLines{"green"}));
  EXPECT_EQ(dialog->ComboText(Page::Colors, kSchemeBox), "green");
  CloseAndExpectExit(0);
}

// A scheme picked from the list whose colors cannot be read: one notice, and the box shows the
// active scheme again, which Save then writes.
TEST_F(E2EDialog, ASchemeWithoutColorsPickedFromTheListLeavesTheActiveOne) {
  Write("mods/bare/readme.txt", "no colors here\n");
  QuilDialog* dialog = Start();
  ASSERT_TRUE(dialog);
  dialog->ShowTab(1);
  const TextLines schemes = dialog->ComboLines(Page::Colors, kSchemeBox);
  ASSERT_EQ(schemes, (TextLines{"aqua", "bare", "Blue", "green"}));

  dialog->Pick(Page::Colors, kSchemeBox, 1);
  Answer("Unable to find old color configuration files.", IDOK);
  EXPECT_TRUE(WaitFor([&] { return dialog->ComboText(Page::Colors, kSchemeBox) == "green"; }))
      << "the scheme box did not come back to the active scheme green; it shows \""
      << dialog->ComboText(Page::Colors, kSchemeBox) << "\"";

  // Leaving the box commits its text once more: no second notice comes before Save's question.
  dialog->Click(Page::Main, kSaveButton);
  Answer("Are you sure you want to overwrite the '(default)' profile?", IDYES);
  const std::string config = Read("config.dtd");
  EXPECT_TRUE(Contains(config, "<!ENTITY % color \"green\">")) << config;
  CloseAndExpectExit(0);
}

TEST_F(E2EDialog, PluginsAreHiddenDeletedAndSelected) {
  QuilDialog* dialog = Start();
  ASSERT_TRUE(dialog);
  dialog->ShowTab(2);

  dialog->SelectLine(Page::Plugins, kPluginList, 1, true);
  dialog->SelectLine(Page::Plugins, kPluginList, 3, true);
  dialog->Click(Page::Plugins, kHidePluginsButton);
  Answer(
      "Are you sure you want to hide the following plugin?\n\nSmall emoticons (16 pixels)\n\nTo "
      "show the plugin in the future, delete the '!' in front of the folder name in the "
      "plugins folder",
      IDYES);
  Answer(
      "Are you sure you want to hide the following plugin?\n\nCompact status bar\n\nTo show the "
      "plugin in the future, delete the '!' in front of the folder name in the plugins folder",
      IDNO);
  EXPECT_TRUE(Exists("plugins/!emoticons_small"));
  EXPECT_FALSE(Exists("plugins/emoticons_small"));
  EXPECT_TRUE(Exists("plugins/compact_status"));
  EXPECT_EQ(
      dialog->ListLines(Page::Plugins, kPluginList),
      (TextLines{"Large emoticons (24 pixels)", "Tabbed message windows", "Compact status bar",
                 "Timestamps in message windows", "Round title-bar buttons"}));
  EXPECT_TRUE(dialog->SelectedLines(Page::Plugins, kPluginList).empty());

  dialog->SelectLine(Page::Plugins, kPluginList, 1, true);
  dialog->Click(Page::Plugins, kDeletePluginsButton);
  Answer("Are you sure you want to delete the following plugin?\n\nTabbed message windows", IDYES);
  EXPECT_FALSE(Exists("plugins/tabbed_messages"));
  EXPECT_EQ(dialog->ListLines(Page::Plugins, kPluginList),
            (TextLines{"Large emoticons (24 pixels)", "Compact status bar",
                       "Timestamps in message windows", "Round title-bar buttons"}));

  // The selection the user leaves in the list is what Save enables.
  dialog->SelectLine(Page::Plugins, kPluginList, 2, true);
  dialog->Click(Page::Main, kSaveButton);
  Answer("Are you sure you want to overwrite the '(default)' profile?", IDYES);
  EXPECT_TRUE(Contains(Read("config.dtd"),
                       "<!ENTITY % modpack_timestamps \"timestamps\"> <!ENTITY modpack_timestamps "
                       "\"timestamps\">"))
      << Read("config.dtd");
  CloseAndExpectExit(0);

  dialog = Start();
  ASSERT_TRUE(dialog);
  EXPECT_EQ(dialog->SelectedLines(Page::Plugins, kPluginList), std::vector<int>{2});
  CloseAndExpectExit(0);
}

// Deleting never reaches outside the folder deleted: a scheme folder that is a link to a folder
// elsewhere loses only the link, and a folder inside a plugin whose name holds fullwidth reverse
// solidi and full stops (which the ANSI functions would turn into "\..\") is left where it is.
TEST_F(E2EDialog, DeletionStaysInsideTheFolderItDeletes) {
  for (const char* file :
       {"colors.dtd", "colors.ini", "colors_default.dtd", "colors_default.ini"}) {
    Write("../shared/" + std::string(file), Read("mods/aqua/" + std::string(file)));
  }
  const bool linked = skin_.MakeFolderLink(SkinPath("../shared"), SkinPath("mods/linked"));
  Write("../victim/keep.txt", "keep");
  const std::filesystem::path odd =
      SkinPath("plugins/timestamps") /
      std::wstring(
          L"x\xFF3C\xFF0E\xFF0E\xFF3C\xFF0E\xFF0E\xFF3C\xFF0E\xFF0E\xFF3C\xFF0E\xFF0E\xFF3Cvictim");
  ASSERT_TRUE(std::filesystem::create_directories(odd));
  // A scheme named in fullwidth letters has no ANSI name: it is not listed as "green" twice.
  ASSERT_TRUE(std::filesystem::create_directories(SkinPath("mods") /
                                                  std::wstring(L"\xFF47\xFF52\xFF45\xFF45\xFF4E")));
  QuilDialog* dialog = Start();
  ASSERT_TRUE(dialog);
  TextLines schemes = {"aqua", "Blue", "green"};
  if (linked) schemes.push_back("linked");
  EXPECT_EQ(dialog->ComboLines(Page::Colors, kSchemeBox), schemes);

  if (linked) {
    dialog->ShowTab(1);
    dialog->SetText(Page::Colors, kSchemeBox, "linked");
    dialog->Click(Page::Colors, kDeleteSchemeButton);
    Answer("Are you sure you want to delete the following color scheme?\n\nlinked", IDYES);
    std::error_code ignored;
    if (std::filesystem::exists(
            std::filesystem::symlink_status(SkinPath("mods/linked"), ignored))) {
      // Wine 8 shows the host's links as folder links but removes none whose target holds files:
      // the link stays with its line, and its removal's failure is reported.
      const auto box = WaitMessageBox(*process_);
      ASSERT_TRUE(box) << "the link stayed and no failure was reported";
      EXPECT_EQ(box->text.rfind("Failed directory removal, error - ", 0), 0u) << box->text;
      EXPECT_TRUE(Press(*box, IDOK));
      EXPECT_EQ(dialog->ComboLines(Page::Colors, kSchemeBox),
                (TextLines{"aqua", "Blue", "green", "linked"}));
    } else {
      ExpectNoMessageBox();
      EXPECT_EQ(dialog->ComboLines(Page::Colors, kSchemeBox), (TextLines{"aqua", "Blue", "green"}));
    }
    for (const char* file : {"colors.dtd", "colors.ini"}) {
      EXPECT_TRUE(Exists("../shared/" + std::string(file))) << file << " behind the link is gone";
    }
  }

  dialog->ShowTab(2);
  ASSERT_EQ(dialog->ListLines(Page::Plugins, kPluginList).at(4), "Timestamps in message windows");
  dialog->SelectLine(Page::Plugins, kPluginList, 4, true);
  dialog->Click(Page::Plugins, kDeletePluginsButton);
  Answer("Are you sure you want to delete the following plugin?\n\nTimestamps in message windows",
         IDYES);
  Answer("Failed directory removal, error - 145", IDOK);
  EXPECT_EQ(Read("../victim/keep.txt"), "keep");
  EXPECT_TRUE(std::filesystem::exists(odd));
  CloseAndExpectExit(0);
  if (!linked) GTEST_SKIP() << "this system makes no folder links: the linked scheme was not tried";
}

// The font-size presets fill the six size fields; typing afterwards is the user's.
struct Preset {
  int radio;
  std::array<const char*, 6> sizes;
};
constexpr Preset kSmall{kSmallFontsRadio, {"7", "8", "8", "22", "8", "7"}};
constexpr Preset kLarge{kLargeFontsRadio, {"6", "7", "7", "20", "7", "6"}};

TEST_F(E2EDialog, FontPresetsFillTheSizeFields) {
  QuilDialog* dialog = Start();
  ASSERT_TRUE(dialog);
  for (const Preset& preset : {kLarge, kSmall, kLarge}) {
    dialog->SetText(Page::General, kFontSizeEdits[0], "9");
    dialog->Click(Page::General, preset.radio);
    EXPECT_TRUE(dialog->Checked(Page::General, preset.radio));
    EXPECT_FALSE(dialog->Checked(
        Page::General, preset.radio == kSmallFontsRadio ? kLargeFontsRadio : kSmallFontsRadio));
    for (std::size_t i = 0; i < kFontSizeEdits.size(); ++i) {
      EXPECT_EQ(dialog->Text(Page::General, kFontSizeEdits[i]), preset.sizes[i])
          << "edit field " << kFontSizeEdits[i] << " after preset " << preset.radio;
    }
  }
  dialog->SetText(Page::General, 1019, "123");
  dialog->Click(Page::Main, kSaveButton);
  Answer("Are you sure you want to overwrite the '(default)' profile?", IDYES);
  const std::string config = Read("config.dtd");
  EXPECT_TRUE(Contains(config, "<!ENTITY fonts \"large\">")) << config;
  EXPECT_TRUE(Contains(config, "<!ENTITY smallfontsize \"6\">")) << config;
  EXPECT_TRUE(Contains(config, "<!ENTITY hugefontsize \"12\">")) << "two characters at most";
  CloseAndExpectExit(0);
}

TEST_F(E2EDialog, EscapeDoesNotCloseAndACharacterIsReported) {
  QuilDialog* dialog = Start();
  ASSERT_TRUE(dialog);
  dialog->Focus(Page::Main, kSaveButton);
  dialog->PressKey(Page::Main, kSaveButton, VK_ESCAPE);
  EXPECT_TRUE(process_->Running());
  EXPECT_TRUE(IsWindow(dialog->Main()) && IsWindowVisible(dialog->Main()));
  ExpectNoMessageBox();

  dialog->PostCharToDialog(L'z');
  Answer("Key pressed", IDOK);
  EXPECT_TRUE(process_->Running());
  CloseAndExpectExit(0);
}

// The failures after which nothing is left to work with: the program ends with status 1.
enum class Action { None, Restore, Save };
struct FatalCase {
  const char* name;
  bool removeConfig;
  Action action;
  std::vector<std::string> messages;  // "%dir%" stands for the skin folder's full path
  bool configKept;
};

void PrintTo(const FatalCase& c, std::ostream* out) {
  *out << c.name;
}

class E2EExit : public Scenario, public ::testing::WithParamInterface<FatalCase> {};

TEST_P(E2EExit, EndsWithStatusOne) {
  const FatalCase& c = GetParam();
  std::filesystem::remove(SkinPath("plugins/default/main.dtd"));
  if (c.removeConfig) std::filesystem::remove(SkinPath("config.dtd"));

  QuilProcess& process = Launch();
  if (c.action != Action::None) {
    const HWND main = process.WaitDialog();
    ASSERT_TRUE(main);
    dialog_ = std::make_unique<QuilDialog>(process, main);
    dialog_->Sync();
    if (c.action == Action::Restore) {
      dialog_->Click(Page::Main, kRestoreButton);
      Answer(kRestoreQuestion, IDYES);
    } else {
      dialog_->Click(Page::Main, kSaveButton);
      Answer("Are you sure you want to overwrite the '(default)' profile?", IDYES);
    }
  }
  for (std::string text : c.messages) {
    const std::string marker = "%dir%";
    if (const auto at = text.find(marker); at != std::string::npos) {
      text.replace(at, marker.size(), skin_.skinFolder().string());
    }
    Answer(text, IDOK);
  }
  ExpectExit(1);
  if (c.configKept) {
    EXPECT_EQ(Read("config.dtd"), Sample("config.dtd"));
  } else {
    EXPECT_FALSE(Exists("config.dtd"));
  }
  EXPECT_FALSE(Exists("config.dtd.def"));
}

// Every file under a folder, with its size and time of last change.
std::map<std::filesystem::path, std::pair<std::uintmax_t, std::filesystem::file_time_type>>
FilesUnder(const std::filesystem::path& folder) {
  std::map<std::filesystem::path, std::pair<std::uintmax_t, std::filesystem::file_time_type>> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file()) files[entry.path()] = {entry.file_size(), entry.last_write_time()};
  }
  return files;
}

// The skin in a folder whose name has a character that the ANSI code page (Windows-1252) lacks:
// the program would take a look-alike ("Aurora-O"), another folder, for it. It says why it cannot
// work there and ends before it reads or writes anything.
class E2EFolderName : public Scenario {};

TEST_F(E2EFolderName, OneOutsideTheCodePageEndsTheProgramFirst) {
  const std::filesystem::path folder = skin_.skinsFolder() / L"Aurora-\u03A9";
  std::filesystem::copy(skin_.skinFolder(), folder, std::filesystem::copy_options::recursive);
  const auto before = FilesUnder(skin_.skinsFolder());
  folder_ = folder;
  Launch();
  Answer("The skin's folder path holds characters this program cannot use", IDOK);
  ExpectExit(1);
  EXPECT_TRUE(FilesUnder(skin_.skinsFolder()) == before) << "a file was written";
}

INSTANTIATE_TEST_SUITE_P(
    , E2EExit,
    ::testing::Values(
        FatalCase{"NoSettingsAtStartUp",
                  true,
                  Action::None,
                  {"Unable to read old configuration file: %dir%\\config.dtd. \n\n ... reading "
                   "default file ...\n\nThis message will go away once you save personal settings "
                   "to the '(default)' profile",
                   "Unrecoverable file error."},
                  false},
        // A restore that cannot read the defaults leaves the settings as they were.
        FatalCase{"Restore", false, Action::Restore, {"Unable to open default plugin."}, true},
        FatalCase{"Save", false, Action::Save, {"Unable to open default plugin."}, true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quil::e2e
