// Scenarios of the whole dialog on a scratch copy of the sample skin, driven through the in-memory
// dialog the way a user drives the real one: start-up, profiles, schemes, Save, Restore, Delete.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>

#include "core/ControlIds.h"
#include "dialog/ListCommands.h"
#include "dialog/MainDialog.h"
#include "dialog/SchemeColorFiles.h"
#include "dialog/SettingsPages.h"
#include "profiles/Lists.h"
#include "settings/EntityText.h"
#include "tests/support/ScratchSkin.h"
#include "tests/support/VirtualizedFiles.h"
#ifndef _WIN32
#include "files/posix/PosixFileServices.h"
#endif

namespace quil::test {
namespace {

namespace fs = std::filesystem;
using Kind = MemoryDialog::Kind;

// Every file under a folder with its bytes, to compare whole trees.
std::map<std::string, std::string> Snapshot(const fs::path& root) {
  std::map<std::string, std::string> files;
  for (const auto& e : fs::recursive_directory_iterator(root)) {
    if (e.is_regular_file())
      files[fs::relative(e.path(), root).generic_string()] = ScratchSkin::Read(e.path());
  }
  return files;
}

class DialogTest : public ::testing::Test {
 protected:
  ScratchSkin skin;
  std::unique_ptr<TestApp> t;

  void Start(std::vector<std::string> arguments = {"QuilConfig.exe"}) {
    t = std::make_unique<TestApp>();
    ApplySwitches(t->app.state, arguments);
    SetInitialOptionStates(t->dialog);
    t->dialog.onCommand = [this](Page page, int id) {
      page == Page::Main ? MainCommand(t->app, id) : PageCommand(t->app, id);
    };
    StartUp(t->app);
  }
  MemoryDialog& dialog() { return t->dialog; }
  App& app() { return t->app; }
  std::vector<std::string> Lines(Page page, int id) { return dialog().At(page, id).lines; }
  std::string Text(Page page, int id) { return dialog().At(page, id).text; }
  fs::path Profile(const std::string& name) {
    return skin.skinsFolder() / ("Quil_profile_" + name);
  }
  // The colors a fresh load of the scheme gives.
  SchemeColors ColorsOf(const std::string& scheme) {
    TestApp other;
    LoadSchemeColors(other.app, scheme);
    return other.app.colors;
  }
  std::vector<std::string> Texts() {
    std::vector<std::string> texts;
    for (const auto& m : dialog().messages) texts.push_back(m.text);
    return texts;
  }
};

TEST_F(DialogTest, StartUpFillsEveryList) {
  fs::create_directories(Profile("Work"));
  ScratchSkin::Write(skin.skinsFolder() / "Quil_profile_NotAFolder", "file");
  Start();
  EXPECT_TRUE(dialog().messages.empty()) << Texts().front();
  EXPECT_EQ(Lines(Page::Main, kProfileBox), (std::vector<std::string>{"(default)", "Work"}));
  EXPECT_EQ(Text(Page::Main, kProfileBox), "(default)");
  EXPECT_EQ(app().state.ProfileName, "(default)");
  EXPECT_EQ(app().state.SkinName(), "Quil");
  EXPECT_EQ(Lines(Page::Colors, kSchemeBox), (std::vector<std::string>{"aqua", "Blue", "green"}));
  EXPECT_EQ(Text(Page::Colors, kSchemeBox), app().state.SchemeName);
  EXPECT_EQ(app().colors.entries, ColorsOf(app().state.SchemeName).entries);
  EXPECT_NE(app().colors[edt], 0u);
  ASSERT_EQ(Lines(Page::Plugins, kPluginList).size(), app().plugins.size());
  EXPECT_EQ(Lines(Page::Plugins, kPluginList).front(), "Large emoticons (24 pixels)");
  EXPECT_EQ(Text(Page::General, kImageLabel), "Quil.bmp");
  EXPECT_EQ(app().state.PreviewImagePath,
            *app().files.FullPath("mods\\" + app().state.SchemeName + "\\Quil.bmp"));
  EXPECT_FALSE(app().state.ProfileIsNew || app().state.ColorsDtdDirty ||
               app().state.ColorsIniDirty);
}

TEST_F(DialogTest, ShowHiddenListsHiddenSchemesAndPlugins) {
  Start({"QuilConfig.exe", "/SHOWHIDDEN", "/restore"});
  EXPECT_TRUE(app().state.ShowHidden);
  EXPECT_FALSE(app().state.RestoreOnStart);
  EXPECT_EQ(Lines(Page::Colors, kSchemeBox),
            (std::vector<std::string>{"!old", "aqua", "Blue", "green"}));
  EXPECT_EQ(app().plugins.front().folder, "!old_borders");
}

TEST_F(DialogTest, SwitchesAreTheFirstArgumentOnly) {
  AppState s;
  ApplySwitches(s, {"QuilConfig.exe", "/Restore", "/showhidden"});
  EXPECT_TRUE(s.RestoreOnStart);
  EXPECT_FALSE(s.ShowHidden);
  AppState other;
  ApplySwitches(other, {"QuilConfig.exe", "restore"});
  ApplySwitches(other, {"QuilConfig.exe", "/showhidden" + std::string(400, ' ')});
  ApplySwitches(other, {"QuilConfig.exe"});
  EXPECT_FALSE(other.RestoreOnStart || other.ShowHidden);
}

TEST_F(DialogTest, NewProfileIsCreatedOnSaveThenOverwritten) {
  Start();
  const std::string scheme = app().state.SchemeName;
  dialog().Type(Page::Main, kProfileBox, "Work");
  EXPECT_FALSE(app().state.ProfileIsNew);  // typing alone commits nothing
  dialog().Answer({true});
  dialog().Click(Page::Main, kSaveButton);  // the box loses the focus before Save runs
  EXPECT_EQ(app().state.ProfileName, "Work");
  EXPECT_FALSE(dialog().At(Page::Main, kRestoreButton).visible);
  ASSERT_EQ(dialog().messages.size(), 1u);
  EXPECT_EQ(dialog().messages[0].text, "Profile \"Work\" not found:\nCreate a new profile?");
  for (const char* file : {"desc.txt", "trillian.xml", "config.dtd"}) {
    EXPECT_TRUE(fs::exists(Profile("Work") / file)) << file;
  }
  EXPECT_TRUE(fs::exists(Profile("Work") / "mods" / scheme / "colors.dtd"));
  EXPECT_TRUE(fs::exists(Profile("Work") / "mods" / scheme / "colors.ini"));
  EXPECT_FALSE(fs::exists(skin / "desc.txt.bak"));
  EXPECT_EQ(Lines(Page::Main, kProfileBox), (std::vector<std::string>{"(default)", "Work"}));
  EXPECT_FALSE(app().state.ProfileIsNew);

  const std::string desc = ScratchSkin::Read(Profile("Work") / "desc.txt");
  EXPECT_EQ(
      desc.rfind("Quil Work Profile >version 3, December 2026\r\nA profile of the Quil skin.", 0),
      0u);
  EXPECT_NE(desc.find("\r\n..\\Quil\\mods\\" + scheme + "\\Quil.bmp\r\n3000\r\n700"),
            std::string::npos);
  const std::string xml = ScratchSkin::Read(Profile("Work") / "trillian.xml");
  EXPECT_NE(xml.find("<!DOCTYPE test SYSTEM \"..\\Quil\\xml\\trillian.dtd\">\r\n"),
            std::string::npos);

  dialog().Answer({true});
  dialog().Click(Page::Main, kSaveButton);
  EXPECT_EQ(dialog().messages.back().text,
            "Are you sure you want to overwrite the 'Work' profile?");
  EXPECT_EQ(dialog().unscriptedQuestions, 0);
}

TEST_F(DialogTest, SwitchingProfilesReloadsAndClearsTheFlags) {
  Start();
  dialog().Type(Page::Main, kProfileBox, "Work");
  dialog().PressEnter();
  EXPECT_TRUE(app().state.ProfileIsNew);
  // A new profile keeps what is on screen, flags included.
  dialog().SetChecked(Page::General, 1005, true);
  app().state.ColorsIniDirty = true;
  dialog().Pick(Page::Main, kProfileBox, 0);  // "(default)"
  EXPECT_EQ(app().state.ProfileName, "(default)");
  EXPECT_TRUE(dialog().At(Page::Main, kRestoreButton).visible);
  EXPECT_FALSE(app().state.ColorsIniDirty);
  EXPECT_GE(dialog().mainRedraws, 1);
  // Another letter case of the active profile changes nothing.
  app().state.ColorsDtdDirty = true;
  dialog().Type(Page::Main, kProfileBox, "(DEFAULT)");
  dialog().PressEnter();
  EXPECT_EQ(app().state.ProfileName, "(default)");
  EXPECT_TRUE(app().state.ColorsDtdDirty);
}

TEST_F(DialogTest, AProfileNamingAnotherSchemeSwitchesTheSchemeFirst) {
  Start();
  ASSERT_NE(app().state.SchemeName, "aqua");
  // Save a profile on the scheme aqua, then come back to it from "(default)".
  dialog().Pick(Page::Colors, kSchemeBox, 0);
  ASSERT_EQ(app().state.SchemeName, "aqua");
  dialog().Type(Page::Main, kProfileBox, "Sea");
  dialog().Answer({true});
  dialog().Click(Page::Main, kSaveButton);
  dialog().Pick(Page::Main, kProfileBox, 0);  // back to "(default)"
  ASSERT_NE(app().state.SchemeName, "aqua");
  dialog().Pick(Page::Main, kProfileBox, 1);  // "Sea"
  EXPECT_EQ(app().state.ProfileName, "Sea");
  EXPECT_EQ(app().state.SchemeName, "aqua");
  EXPECT_EQ(Text(Page::Colors, kSchemeBox), "aqua");
  EXPECT_EQ(app().colors.entries, ColorsOf("aqua").entries);
}

TEST_F(DialogTest, SaveWritesOnlyTheDirtyColorFiles) {
  Start();
  const std::string scheme = app().state.SchemeName;
  const fs::path dtd = skin / ("mods/" + scheme + "/colors.dtd");
  const fs::path ini = skin / ("mods/" + scheme + "/colors.ini");
  const std::string dtdBefore = ScratchSkin::Read(dtd);
  const std::string iniBefore = ScratchSkin::Read(ini);
  t->shell.colorAnswers.push_back(MakeColor(1, 2, 3));
  dialog().Click(Page::Colors, 1202);  // "Text"
  EXPECT_TRUE(app().state.ColorsIniDirty);
  EXPECT_FALSE(app().state.ColorsDtdDirty);
  dialog().Answer({true});
  dialog().Click(Page::Main, kSaveButton);
  EXPECT_EQ(ScratchSkin::Read(dtd), dtdBefore);
  EXPECT_NE(ScratchSkin::Read(ini), iniBefore);
  EXPECT_NE(ScratchSkin::Read(ini).find("1,2,3"), std::string::npos);
  EXPECT_TRUE(app().state.ColorsIniDirty);  // Save keeps the flags
}

TEST_F(DialogTest, ColorChooserCancelStillMarksTheBlockAndASecondChooserIsIgnored) {
  Start();
  const Color before = app().colors[online];
  t->shell.whileChooserOpen = [this] { dialog().Click(Page::Colors, 1102); };
  dialog().Click(Page::Colors, 1101);  // "Online", cancelled
  EXPECT_EQ(t->shell.chooserStartColors.size(), 1u);
  EXPECT_EQ(app().colors[online], before);
  EXPECT_TRUE(app().state.ColorsDtdDirty);
  EXPECT_FALSE(app().state.ColorsIniDirty);
}

// A click that reaches the dialog while a command's box or chooser is open (posted by another
// program, or through the box's own message loop) runs nothing, and a close request then waits for
// the command's end; the per-plugin questions walk what was selected when the command began.
TEST_F(DialogTest, NothingRunsUnderACommandAndACloseWaitsForItsEnd) {
  Start();
  const auto configBefore = ScratchSkin::Read(skin / "config.dtd");
  t->shell.whileChooserOpen = [this] {
    dialog().Click(Page::Main, kSaveButton);
    dialog().Click(Page::Main, kRestoreButton);
    CloseDialog(app());
    EXPECT_EQ(dialog().dialogEnds, 0) << "the dialog closed under the color chooser";
  };
  dialog().Click(Page::Colors, 1101);
  EXPECT_TRUE(dialog().messages.empty()) << dialog().messages.front().text;
  EXPECT_EQ(dialog().dialogEnds, 1) << "the close was not carried out after the chooser";
  EXPECT_EQ(ScratchSkin::Read(skin / "config.dtd"), configBefore);

  Start();
  const PluginList plugins = app().plugins;
  ASSERT_GE(plugins.size(), 2u);
  for (std::size_t i = 0; i < plugins.size(); ++i) {
    dialog().SelectListLine(Page::Plugins, kPluginList, static_cast<int>(i), true);
  }
  const auto before = Snapshot(skin / "plugins");
  dialog().whileAsking = [this] {
    dialog().Click(Page::Plugins, kDeletePluginsButton);
    CloseDialog(app());
    EXPECT_EQ(dialog().dialogEnds, 0) << "the dialog closed under the question";
  };
  dialog().Click(Page::Plugins, kDeletePluginsButton);  // each question answered No
  ASSERT_EQ(dialog().messages.size(), plugins.size());
  for (std::size_t i = 0; i < plugins.size(); ++i) {
    EXPECT_EQ(dialog().messages[i].text,
              "Are you sure you want to delete the following plugin?\n\n" + plugins[i].description);
  }
  EXPECT_EQ(Snapshot(skin / "plugins"), before);
  EXPECT_EQ(dialog().dialogEnds, 1);
  EXPECT_TRUE(app().plugins.empty()) << "the close did not free the plugin catalogue";
}

TEST_F(DialogTest, RestoreAnsweredNoTouchesNothingAndYesBringsTheDefaultsBack) {
  fs::create_directories(Profile("Work"));
  Start();
  const auto before = Snapshot(skin.skinsFolder());
  dialog().Click(Page::Main, kRestoreButton);
  EXPECT_EQ(Snapshot(skin.skinsFolder()), before);

  const std::string scheme = app().state.SchemeName;
  ScratchSkin::Write(skin / ("mods/" + scheme + "/colors.dtd"), "edited\r\n");
  // A scheme without its pristine copies keeps its files.
  ScratchSkin::Write(skin / "mods/plain/colors.dtd", "only copy\r\n");
  app().state.ColorsDtdDirty = app().state.ColorsIniDirty = true;
  dialog().Answer({true});
  dialog().Click(Page::Main, kRestoreButton);
  EXPECT_EQ(ScratchSkin::Read(skin / ("mods/" + scheme + "/colors.dtd")),
            ScratchSkin::Read(skin / ("mods/" + scheme + "/colors_default.dtd")));
  EXPECT_EQ(ScratchSkin::Read(skin / "mods/plain/colors.dtd"), "only copy\r\n");
  EXPECT_FALSE(app().state.ColorsDtdDirty || app().state.ColorsIniDirty);
  EXPECT_EQ(app().state.ProfileName, "(default)");
  EXPECT_TRUE(fs::exists(skin / "config.dtd"));
}

TEST_F(DialogTest, ReadOnlyFilesDoNotSpreadAndGoWithTheirFolder) {
  Start();
  const std::string scheme = app().state.SchemeName;
  const fs::path folder = skin / ("mods/" + scheme);
  const auto readOnly = [](const fs::path& path) {
    fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
  };
  // The pristine copies as an installer leaves them, read-only.
  readOnly(folder / "colors_default.dtd");
  readOnly(folder / "colors_default.ini");
  dialog().Answer({true});
  dialog().Click(Page::Main, kRestoreButton);
  EXPECT_TRUE(dialog().messages.size() == 1) << Texts().back();
  // The restored files are no read-only copies: edited colors save into them.
  t->shell.colorAnswers = {MakeColor(1, 2, 3), MakeColor(4, 5, 6)};
  dialog().Click(Page::Colors, 1101);
  dialog().Click(Page::Colors, 1202);
  dialog().messages.clear();
  dialog().Answer({true});
  dialog().Click(Page::Main, kSaveButton);
  EXPECT_TRUE(dialog().messages.size() == 1) << Texts().back();
  EXPECT_NE(ScratchSkin::Read(folder / "colors.ini").find("4,5,6"), std::string::npos);
  for (const auto& e : fs::directory_iterator(folder)) {
    EXPECT_NE(e.path().extension(), ".new") << e.path();
  }
  // Deleting a scheme deletes its read-only files too.
  ScratchSkin::Write(skin / "mods/aqua/notes.txt", "mine");
  readOnly(skin / "mods/aqua/notes.txt");
  dialog().Pick(Page::Colors, kSchemeBox, 0);
  ASSERT_EQ(app().state.SchemeName, "aqua");
  dialog().messages.clear();
  dialog().Answer({true});
  dialog().Click(Page::Colors, kDeleteSchemeButton);
  EXPECT_TRUE(dialog().messages.size() == 1) << Texts().back();
  EXPECT_FALSE(fs::exists(skin / "mods/aqua"));
}

TEST_F(DialogTest, RestoreSwitchAsksBeforeTheDialogShows) {
  const auto before = Snapshot(skin.skinFolder());
  Start({"QuilConfig.exe", "/restore"});
  ASSERT_FALSE(dialog().messages.empty());
  EXPECT_EQ(dialog().messages.back().kind, Kind::Question);
  EXPECT_EQ(dialog().messages.back().text.rfind("This will delete your settings", 0), 0u);
  EXPECT_EQ(Snapshot(skin.skinFolder()), before);
}

TEST_F(DialogTest, DeleteRefusesTheDefaultAndRemovesOneNamedProfile) {
  Start();
  dialog().Click(Page::Main, kDeleteProfileButton);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"Cannot delete default profile"}));

  dialog().Type(Page::Main, kProfileBox, "Work");
  dialog().Answer({true});
  dialog().Click(Page::Main, kSaveButton);
  ASSERT_TRUE(fs::exists(Profile("Work")));
  dialog().AddListLine(Page::Main, kProfileBox, "work");  // the same name twice
  dialog().Answer({true});
  dialog().Click(Page::Main, kDeleteProfileButton);
  EXPECT_EQ(dialog().messages.back().text, "Are you sure you want to delete the 'Work' profile?");
  EXPECT_FALSE(fs::exists(Profile("Work")));
  EXPECT_EQ(Lines(Page::Main, kProfileBox).size(), 2u);
  EXPECT_EQ(app().state.ProfileName, "(default)");
  EXPECT_TRUE(dialog().At(Page::Main, kRestoreButton).visible);
}

TEST_F(DialogTest, ProfileNamesThatAreNoFolderNameAreRefused) {
  // A name like ".." would make Delete remove a folder outside the skin; Windows strips a trailing
  // dot or space, so "Work." would name the profile "Work".
  Start();
  for (const char* name : {"..\\..\\x", "a/b", "..", "what?", "Work.", "Work "}) {
    dialog().Type(Page::Main, kProfileBox, name);
    dialog().PressEnter();
    EXPECT_EQ(app().state.ProfileName, "(default)") << name;
    EXPECT_EQ(Text(Page::Main, kProfileBox), "(default)");
    EXPECT_EQ(dialog().messages.back().text,
              "'" + std::string(name) + "' is not a valid profile name");
  }
  // The empty name stays a profile name.
  dialog().Type(Page::Main, kProfileBox, "");
  dialog().PressEnter();
  EXPECT_EQ(app().state.ProfileName, "");
  EXPECT_TRUE(app().state.ProfileIsNew);
}

// A name that does not become active leaves its box on the active one, with one notice, however
// the name arrived: typed, set by another program, or picked from the list (a profile folder whose
// name Windows would refuse, a scheme folder without colors), or read from config.dtd at start-up.
// Save then writes the active scheme.
TEST_F(DialogTest, ANameThatDoesNotBecomeActiveLeavesTheBoxOnTheActiveOne) {
  fs::create_directories(skin / "mods/bare");
  std::string config = ScratchSkin::Read(skin / "config.dtd");
  config.replace(config.find("\"green\""), 7, "\"bare\"");
  ScratchSkin::Write(skin / "config.dtd", config);
  Start();
  EXPECT_EQ(app().state.SchemeName, "green");
  EXPECT_EQ(Text(Page::Colors, kSchemeBox), "green");
  // As a profile folder named so on another file system lists it.
  dialog().AddListLine(Page::Main, kProfileBox, "what?");
  const std::string scheme = app().state.SchemeName;
  const auto index = [&](Page page, int id, const std::string& name) {
    const auto lines = Lines(page, id);
    return static_cast<int>(std::find(lines.begin(), lines.end(), name) - lines.begin());
  };
  const struct {
    const char* how;
    std::function<void(Page, int, const std::string&)> bring;
  } arrivals[] = {
      {"typed",
       [&](Page page, int id, const std::string& name) {
         dialog().Type(page, id, name);
         dialog().PressEnter();
       }},
      {"set",
       [&](Page page, int id, const std::string& name) { dialog().SetText(page, id, name); }},
      {"picked",
       [&](Page page, int id, const std::string& name) {
         ASSERT_LT(index(page, id, name), static_cast<int>(Lines(page, id).size()));
         dialog().Pick(page, id, index(page, id, name));
       }},
  };
  const struct {
    Page page;
    int id;
    std::string name, active, notice;
  } boxes[] = {
      {Page::Main, kProfileBox, "what?", "(default)", "'what?' is not a valid profile name"},
      {Page::Colors, kSchemeBox, "bare", scheme, "Unable to find old color configuration files."},
  };
  for (const auto& box : boxes) {
    for (const auto& arrival : arrivals) {
      SCOPED_TRACE(box.name + ", " + arrival.how);
      dialog().messages.clear();
      arrival.bring(box.page, box.id, box.name);
      dialog().Focus(Page::General, kContactTitleEdit);  // leaving the box commits once more
      EXPECT_EQ(Texts(), std::vector<std::string>{box.notice});
      EXPECT_EQ(Text(box.page, box.id), box.active);
    }
  }
  EXPECT_EQ(app().state.ProfileName, "(default)");
  EXPECT_EQ(app().state.SchemeName, scheme);
  dialog().Answer({true});
  dialog().Click(Page::Main, kSaveButton);
  EXPECT_NE(ScratchSkin::Read(skin / "config.dtd").find("<!ENTITY % color \"" + scheme + "\">"),
            std::string::npos);
}

TEST_F(DialogTest, AnUnreadableProfileSettingsFileIsSetAside) {
  const std::string broken = "\tskinversion=\"3\"\r\n<!ENTITY % color \"Blue\">\r\n";
  fs::create_directories(Profile("Broken"));
  ScratchSkin::Write(Profile("Broken") / "config.dtd", broken);
  // An earlier file set aside, which the user made read-only, gives way to the new one.
  ScratchSkin::Write(Profile("Broken") / "config.dtd.bad", "earlier");
  fs::permissions(Profile("Broken") / "config.dtd.bad",
                  fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  // Where the file cannot be set aside (a folder of that name is in the way), it stays.
  fs::create_directories(Profile("Stuck") / "config.dtd.bad");
  ScratchSkin::Write(Profile("Stuck") / "config.dtd.bad" / "inside", "x");
  ScratchSkin::Write(Profile("Stuck") / "config.dtd", broken);
  Start();
  dialog().Pick(Page::Main, kProfileBox, 0 + 1);
  EXPECT_EQ(app().state.ProfileName, "Broken");
  EXPECT_FALSE(fs::exists(Profile("Broken") / "config.dtd"));
  EXPECT_EQ(ScratchSkin::Read(Profile("Broken") / "config.dtd.bad"), broken);

  dialog().messages.clear();
  dialog().Pick(Page::Main, kProfileBox, 0 + 2);
  EXPECT_EQ(app().state.ProfileName, "Stuck");
  EXPECT_EQ(ScratchSkin::Read(Profile("Stuck") / "config.dtd"), broken);
  ASSERT_EQ(dialog().messages.size(), 1u);
  EXPECT_EQ(dialog().messages[0].kind, Kind::Notice);
  EXPECT_NE(dialog().messages[0].text.find("could not be set aside"), std::string::npos);
  // The defaults are shown; saving keeps the unreadable file as the backup.
  EXPECT_EQ(Text(Page::Colors, kSchemeBox), app().state.SchemeName);
  dialog().Answer({true});
  dialog().Click(Page::Main, kSaveButton);
  EXPECT_EQ(ScratchSkin::Read(Profile("Stuck") / "config.dtd.bak"), broken);
}

TEST_F(DialogTest, PreviewImageComesFromTheProfileDescription) {
  fs::create_directories(Profile("Pic"));
  ScratchSkin::Write(
      Profile("Pic") / "desc.txt",
      "Quil Pic Profile >x\r\nd\r\n1\r\n..\\Quil\\mods\\Blue\\Quil.bmp\r\n3000\r\n700");
  Start();
  dialog().Pick(Page::Main, kProfileBox, 1);
  EXPECT_EQ(Text(Page::General, kImageLabel), "Quil.bmp");
  EXPECT_EQ(app().state.PreviewImagePath, *app().files.FullPath("mods\\Blue\\Quil.bmp"));

  t->shell.imageAnswer = {{"C:\\pictures\\me.bmp", "me.bmp"}};
  dialog().Click(Page::General, kChooseImageButton);
  EXPECT_EQ(Text(Page::General, kImageLabel), "me.bmp");
  dialog().Click(Page::General, kShowImageButton);
  EXPECT_EQ(t->shell.opened, (std::vector<std::string>{"C:\\pictures\\me.bmp"}));
}

TEST_F(DialogTest, ShowOpensOnlyALocalImage) {
  // A profile names its image in its desc.txt, and profiles are passed around: a program named
  // there, or a network path, is not handed to the shell.
  fs::create_directories(Profile("Pic"));
  Start();
  const struct {
    const char* image;
    bool opened;
  } cases[] = {
      {"..\\Quil\\mods\\Blue\\run.bat", false},   {"\\\\host\\share\\Quil.bmp", false},
      {"//host/share/Quil.bmp", false},           {"..\\Quil\\mods\\Blue\\Quil.bmp:run.exe", false},
      {"..\\Quil\\mods\\Blue\\Quil.bat.", false}, {"..\\Quil\\mods\\Blue\\Photo.JPEG", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.image);
    ScratchSkin::Write(Profile("Pic") / "desc.txt",
                       "Quil Pic Profile >x\r\nd\r\n1\r\n" + std::string(c.image) + "\r\n3000\r\n");
    dialog().Pick(Page::Main, kProfileBox, 0);
    dialog().Pick(Page::Main, kProfileBox, 1);
    t->shell.opened.clear();
    dialog().messages.clear();
    dialog().Click(Page::General, kShowImageButton);
    if (c.opened) {
      EXPECT_EQ(t->shell.opened, (std::vector<std::string>{app().state.PreviewImagePath}));
      EXPECT_TRUE(dialog().messages.empty());
    } else {
      EXPECT_TRUE(t->shell.opened.empty());
      ASSERT_EQ(dialog().messages.size(), 1u);
      EXPECT_EQ(dialog().messages[0].kind, Kind::Notice);
    }
  }
}

TEST_F(DialogTest, SchemeSwitchResetsTheImageAndTheSkinColorsFlagOnly) {
  Start();
  app().state.ColorsDtdDirty = app().state.ColorsIniDirty = true;
  dialog().Type(Page::Colors, kSchemeBox, "BLUE");
  dialog().PressEnter();
  EXPECT_EQ(app().state.SchemeName, "BLUE");
  EXPECT_FALSE(app().state.ColorsDtdDirty);
  EXPECT_TRUE(app().state.ColorsIniDirty);
  EXPECT_EQ(app().colors.entries, ColorsOf("Blue").entries);
  EXPECT_EQ(Text(Page::General, kImageLabel), "Quil.bmp");

  // A scheme whose picture's full path passes the 259 characters of an ANSI full path still
  // brings its own picture, which Save writes into desc.txt.
  const std::string longName(240, 'L');
  fs::copy(skin / "mods/Blue", skin / ("mods/" + longName), fs::copy_options::recursive);
  dialog().Type(Page::Colors, kSchemeBox, longName);
  dialog().PressEnter();
  ASSERT_EQ(app().state.SchemeName, longName);
  EXPECT_EQ(app().state.PreviewImagePath,
            app().state.WorkDir + "\\mods\\" + longName + "\\Quil.bmp");
}

TEST_F(DialogTest, FontPresetsAndOtherPageCommands) {
  Start();
  dialog().Click(Page::General, kSmallFontsRadio);
  dialog().Click(Page::General, kLargeFontsRadio);
  std::vector<std::string> sizes;
  for (int id : {1015, 1016, 1017, 1019, 1020, 1022}) sizes.push_back(Text(Page::General, id));
  EXPECT_EQ(sizes, (std::vector<std::string>{"6", "7", "7", "20", "7", "6"}));
  dialog().Click(Page::Colors, 1143);
  dialog().Click(Page::Colors, 1125);
  EXPECT_EQ(dialog().At(Page::Colors, 1103).redraws, 1);
  EXPECT_EQ(dialog().At(Page::Colors, 1105).redraws, 1);
  dialog().Click(Page::Main, kBanner);
  dialog().Click(Page::Main, kBanner);
  EXPECT_EQ(t->shell.opened, (std::vector<std::string>(2, std::string(kSkinWebAddress))));
}

// A skin installed under "Program Files", run by a standard user: UAC virtualization sends writes
// to a VirtualStore copy and denies deleting or renaming what was shipped. A scheme or profile
// whose folder stays keeps its line; the plugin list shows what the folders still describe.
TEST(VirtualizedSkin, ListsKeepEveryFolderThatStays) {
  ScratchSkin skin;
  fs::create_directories(skin.skinsFolder() / "Quil_profile_Work");
  std::unique_ptr<FileServices> real = MakePlatformFileServices();
  const std::string shipped = *real->FullPath("..");
  TestApp t(std::make_unique<VirtualizedFiles>(std::move(real), shipped));
  SetInitialOptionStates(t.dialog);
  t.dialog.onCommand = [&](Page page, int id) {
    page == Page::Main ? MainCommand(t.app, id) : PageCommand(t.app, id);
  };
  StartUp(t.app);
  const auto schemes = t.dialog.At(Page::Colors, kSchemeBox).lines;
  const auto plugins = t.dialog.At(Page::Plugins, kPluginList).lines;
  const auto profiles = t.dialog.At(Page::Main, kProfileBox).lines;
  ASSERT_EQ(profiles, (std::vector<std::string>{"(default)", "Work"}));
  // Save once, so that the VirtualStore holds copies of what Save writes.
  t.dialog.Answer({true});
  t.dialog.Click(Page::Main, kSaveButton);
  t.dialog.messages.clear();

  const struct {
    const char* what;
    Page page;
    int id;
    const char* text;  // the box's text, or "" for the plugin list's first line
    int button;
  } commands[] = {{"delete a scheme", Page::Colors, kSchemeBox, "aqua", kDeleteSchemeButton},
                  {"hide a scheme", Page::Colors, kSchemeBox, "Blue", kHideSchemeButton},
                  {"delete a plugin", Page::Plugins, kPluginList, "", kDeletePluginsButton},
                  {"hide a plugin", Page::Plugins, kPluginList, "", kHidePluginsButton},
                  {"delete a profile", Page::Main, kProfileBox, "Work", kDeleteProfileButton}};
  for (const auto& c : commands) {
    SCOPED_TRACE(c.what);
    if (c.page == Page::Plugins) {
      t.dialog.SelectListLine(Page::Plugins, kPluginList, 0, true);
    } else {
      t.dialog.Type(c.page, c.id, c.text);
      t.dialog.PressEnter();
    }
    t.dialog.messages.clear();
    t.dialog.Answer({true});
    t.dialog.Click(c.page, c.button);
    ASSERT_GE(t.dialog.messages.size(), 2u);
    EXPECT_EQ(t.dialog.messages[0].kind, Kind::Question);
    EXPECT_EQ(t.dialog.messages.back().kind, Kind::Failure) << t.dialog.messages.back().text;
    if (c.page != Page::Plugins) EXPECT_EQ(t.dialog.At(c.page, c.id).text, c.text);
    EXPECT_EQ(t.dialog.At(Page::Colors, kSchemeBox).lines, schemes);
    EXPECT_EQ(t.dialog.At(Page::Plugins, kPluginList).lines, plugins);
    EXPECT_EQ(t.dialog.At(Page::Main, kProfileBox).lines, profiles);
  }
  EXPECT_TRUE(fs::exists(skin / "mods/aqua/colors.dtd"));
  EXPECT_TRUE(fs::exists(skin / "mods/Blue/colors.dtd"));
  EXPECT_TRUE(fs::exists(skin.skinsFolder() / "Quil_profile_Work"));
}

#ifndef _WIN32
// Code page 932: lead bytes 0x81 to 0x9F and 0xE0 to 0xFC, and a trail byte can be 0x5C, the
// backslash. A skin folder whose name ends in such a character keeps its whole name in every path.
TEST(DoubleByteCodePage, ASkinNameEndingInATrailByte0x5CKeepsItsWholeName) {
  const std::string skinName = "Quil\x95\x5C";
  ScratchSkin skin(true, skinName);
  const fs::path work = skin.skinsFolder() / (skinName + "_profile_Work");
  fs::create_directories(work);
  LeadBytes cp932;
  cp932.AddRange(0x81, 0x9F);
  cp932.AddRange(0xE0, 0xFC);
  TestApp t(MakePosixFileServices(cp932));
  SetInitialOptionStates(t.dialog);
  t.dialog.onCommand = [&](Page page, int id) {
    page == Page::Main ? MainCommand(t.app, id) : PageCommand(t.app, id);
  };
  StartUp(t.app);
  EXPECT_EQ(t.app.state.SkinName(), skinName);
  EXPECT_EQ(t.dialog.At(Page::Main, kProfileBox).lines,
            (std::vector<std::string>{"(default)", "Work"}));

  t.dialog.Type(Page::Main, kProfileBox, "New");
  t.dialog.PressEnter();
  t.dialog.Answer({true});
  t.dialog.Click(Page::Main, kSaveButton);
  const fs::path created = skin.skinsFolder() / (skinName + "_profile_New");
  ASSERT_TRUE(fs::exists(created / "config.dtd"));
  const std::string skinFolder = "..\\" + skinName + "\\";
  // config.dtd holds the folder as an entity value, escaped.
  EXPECT_NE(
      ScratchSkin::Read(created / "config.dtd").find("\"" + EscapeEntityText(skinFolder) + "\""),
      std::string::npos);
  EXPECT_NE(ScratchSkin::Read(created / "trillian.xml").find(skinFolder), std::string::npos);

  t.dialog.Answer({true});
  t.dialog.Click(Page::Main, kDeleteProfileButton);
  EXPECT_FALSE(fs::exists(created));
  EXPECT_TRUE(fs::exists(work));
  EXPECT_EQ(t.dialog.At(Page::Main, kProfileBox).lines,
            (std::vector<std::string>{"(default)", "Work"}));
}
#endif

}  // namespace
}  // namespace quil::test
