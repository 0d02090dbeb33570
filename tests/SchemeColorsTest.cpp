// The color buttons and their flags, Save's color step, the writers' handling of a target that
// cannot be written, and the sample skin's schemes as the writers produce them.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "colors/ColorsDtd.h"
#include "colors/ColorsIni.h"
#include "dialog/SchemeColorFiles.h"
#include "tests/support/FaultyFiles.h"
#include "tests/support/GreenSchemeTest.h"
#include "tests/support/ScratchSkin.h"

namespace quil::test {
namespace {

namespace fs = std::filesystem;

TEST(ColorButtons, GiveEntryBlockAndFlag) {
  const struct {
    int id;
    bool isButton;
    int entry, block;
    ColorFlag flag;
  } cases[] = {
      {1099, false, 0, 0, ColorFlag::ColorsDtd},
      {1100, true, disp, kSkinBlock, ColorFlag::ColorsDtd},
      {1109, true, bgtpl, kSkinBlock, ColorFlag::ColorsDtd},
      {1110, false, 0, 0, ColorFlag::ColorsDtd},
      {1160, true, tp, kWindowBlock, ColorFlag::ColorsDtd},
      {1164, true, editfg, kWindowBlock, ColorFlag::ColorsDtd},
      {1165, false, 0, 0, ColorFlag::ColorsDtd},
      {1200, true, MsgNick, kMessageBlock, ColorFlag::ColorsIni},
      {1206, true, MsgLinks, kMessageBlock, ColorFlag::ColorsIni},
      {1207, false, 0, 0, ColorFlag::ColorsIni},
      {1208, true, MsgErrors, kMessageBlock, ColorFlag::ColorsIni},
      {1213, true, MsgNotices, kMessageBlock, ColorFlag::ColorsIni},
      {1214, false, 0, 0, ColorFlag::ColorsIni},
  };
  for (const auto& c : cases) {
    const auto button = FindColorButton(c.id);
    ASSERT_EQ(button.has_value(), c.isButton) << c.id;
    if (!button) continue;
    EXPECT_EQ(button->entry, c.entry) << c.id;
    EXPECT_EQ(button->block, c.block) << c.id;
    EXPECT_EQ(button->flag, c.flag) << c.id;
  }
}

TEST(ColorButtons, ChosenColorSetsOnlyItsGroupsFlag) {
  MemoryDialog dialog;
  auto files = MakePlatformFileServices();
  for (const int id : {1105, 1162, 1203}) {
    App app(*files, dialog, dialog, dialog);
    const auto button = FindColorButton(id);
    ASSERT_TRUE(EndColorChoice(app, id, MakeColor(1, 2, 3)));
    EXPECT_EQ(app.colors[button->entry], MakeColor(1, 2, 3));
    EXPECT_EQ(app.state.ColorsDtdDirty, button->flag == ColorFlag::ColorsDtd) << id;
    EXPECT_EQ(app.state.ColorsIniDirty, button->flag == ColorFlag::ColorsIni) << id;
  }
  EXPECT_EQ(dialog.mainRedraws, 3);
}

class SchemeFilesTest : public GreenSchemeTest {
 protected:
  fs::path File(const std::string& scheme, const std::string& name) {
    return SchemeFile(scheme, name);
  }
};

TEST_F(SchemeFilesTest, TargetThatCannotBeWrittenGetsThePreviousFileBack) {
  const struct {
    std::string file;
    Outcome (*write)(FileServices&, const AppState&, const SchemeColors&);
    Fault fault;
  } writers[] = {{"colors.dtd", WriteColorsDtd, Fault::ColorsDtdNotSaved},
                 {"colors.ini", WriteColorsIni, Fault::ColorsIniNotSaved}};
  for (const auto& w : writers) {
    const std::string before = ScratchSkin::Read(File("green", w.file));
    // The new file cannot be created, its writing fails, or the file is held open elsewhere.
    for (const int fault : {0, 1, 2}) {
      const bool atClose = fault == 1;
      FaultyFiles failing(*t.files);
      const std::string target = "mods\\green\\" + w.file;
      if (fault == 0) failing.uncreatable.insert(target + ".new");
      if (fault == 1) failing.failingClose.insert(target + ".new");
      if (fault == 2) failing.sharingViolation.insert(target);
      SchemeColors colors = app.colors;
      colors[disp] = colors[MsgServer] = MakeColor(1, 2, 3);

      const Outcome written = w.write(failing, app.state, colors);
      EXPECT_FALSE(written.done) << w.file << fault << atClose;
      ASSERT_EQ(written.faults.size(), 1u);
      EXPECT_EQ(written.faults[0].fault, w.fault);
      EXPECT_EQ(ScratchSkin::Read(File("green", w.file)), before) << w.file << fault;
      EXPECT_FALSE(fs::exists(File("green", w.file + ".new")));
    }
  }
}

TEST_F(SchemeFilesTest, SaveWritesTheFilesWhoseFlagIsSetOrAllForANewProfile) {
  const struct {
    bool dtdDirty, iniDirty, isNew;
  } cases[] = {
      {false, false, false}, {true, false, false}, {false, true, false}, {false, false, true}};
  for (const auto& c : cases) {
    for (const char* bak : {"colors.dtd.bak", "colors.ini.bak"}) fs::remove(File("green", bak));
    app.state.ColorsDtdDirty = c.dtdDirty;
    app.state.ColorsIniDirty = c.iniDirty;
    app.state.ProfileIsNew = c.isNew;
    SaveSchemeColors(app);
    EXPECT_EQ(fs::exists(File("green", "colors.dtd.bak")), c.dtdDirty || c.isNew);
    EXPECT_EQ(fs::exists(File("green", "colors.ini.bak")), c.iniDirty || c.isNew);
    EXPECT_EQ(app.state.ColorsDtdDirty, c.dtdDirty);
    EXPECT_EQ(app.state.ColorsIniDirty, c.iniDirty);
  }
}

// The sample schemes are what the writers write: loading one and saving it changes no byte.
TEST_F(SchemeFilesTest, SampleSchemesLoadDistinctlyAndSaveUnchanged) {
  std::set<Color> backgrounds, servers;
  for (const std::string scheme : {"green", "Blue", "aqua", "!old"}) {
    app.colors = SchemeColors{};
    LoadSchemeColors(app, scheme);
    EXPECT_EQ(app.state.SchemeName, scheme);
    backgrounds.insert(app.colors[disp]);
    servers.insert(app.colors[MsgServer]);
    EXPECT_EQ(app.colors[MsgPutinfo], app.colors[MsgServer]) << scheme;

    for (const std::string file : {"colors.dtd", "colors.ini"}) {
      const std::string shipped = ScratchSkin::Read(File(scheme, file));
      const std::string stem = file.substr(0, file.find('.'));
      EXPECT_EQ(ScratchSkin::Read(File(scheme, stem + "_default" + file.substr(stem.size()))),
                shipped)
          << scheme << " " << file;
    }
    const std::string dtd = ScratchSkin::Read(File(scheme, "colors.dtd"));
    const std::string ini = ScratchSkin::Read(File(scheme, "colors.ini"));
    ASSERT_TRUE(WriteColorsDtd(app.files, app.state, app.colors).done) << scheme;
    ASSERT_TRUE(WriteColorsIni(app.files, app.state, app.colors).done) << scheme;
    EXPECT_EQ(ScratchSkin::Read(File(scheme, "colors.dtd")), dtd) << scheme;
    EXPECT_EQ(ScratchSkin::Read(File(scheme, "colors.ini")), ini) << scheme;
    EXPECT_EQ(ScratchSkin::Read(File(scheme, "Quil.bmp")).substr(0, 2), "BM") << scheme;
  }
  EXPECT_EQ(backgrounds.size(), 4u);
  EXPECT_EQ(servers.size(), 4u);
  EXPECT_TRUE(dialog.messages.empty());
}

}  // namespace
}  // namespace quil::test
