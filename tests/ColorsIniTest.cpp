// The colors.ini writer and reader: the generated file, the fan-out of the text colors over the
// message codes, the forward-only key search and the comma and number rules.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "colors/ColorsIni.h"
#include "tests/support/GreenSchemeTest.h"
#include "tests/support/ScratchSkin.h"

namespace quil::test {
namespace {

namespace fs = std::filesystem;

// The 14 entries that colors.ini loads, with a distinct color each.
std::map<int, Color> DistinctMessageColors() {
  std::map<int, Color> colors;
  for (int entry = MsgNick; entry <= MsgNotices; ++entry) {
    colors[entry] = MakeColor(entry * 7, 255 - entry, entry * 3 + 1);
  }
  return colors;
}

std::vector<std::string> CrLfLines(const std::string& bytes, bool& allCrLf) {
  std::vector<std::string> lines;
  allCrLf = true;
  std::size_t start = 0;
  for (std::size_t end; (end = bytes.find('\n', start)) != std::string::npos; start = end + 1) {
    allCrLf = allCrLf && end > start && bytes[end - 1] == '\r';
    lines.push_back(bytes.substr(start, end - start - 1));
  }
  allCrLf = allCrLf && start == bytes.size();
  return lines;
}

class ColorsIniTest : public GreenSchemeTest {
 protected:
  fs::path File(const std::string& name = "colors.ini") { return SchemeFile("green", name); }
};

TEST_F(ColorsIniTest, WrittenFileHasHeaderAndTwoLinesPerCode) {
  for (const auto& [entry, color] : DistinctMessageColors()) app.colors[entry] = color;
  app.colors[MsgServer] = MakeColor(153, 102, 51);
  ASSERT_TRUE(WriteColorsIni(app.files, app.state, app.colors).done);

  bool allCrLf = false;
  const auto lines = CrLfLines(ScratchSkin::Read(File()), allCrLf);
  EXPECT_TRUE(allCrLf);
  ASSERT_EQ(lines.size(), 329u);
  EXPECT_EQ(lines[0], "[Colors]");
  EXPECT_EQ(lines[1], "Use Skin=1");
  EXPECT_EQ(lines[2], "File=colors.ini");
  EXPECT_EQ(lines[3], "color_-0000001_00_color=153,102,51");
  EXPECT_EQ(lines[4], "color_-0000001_00_text=IRC Putinfo");
  EXPECT_EQ(lines[168], "color_00000414_00_text=Wildcard in toplevel domai");
  EXPECT_EQ(lines[328], "color_00002005_00_text=Auto History");

  // Every code's color line carries the color of the entry the table gives it.
  std::map<Color, int> byColor;
  for (std::size_t i = 3; i < lines.size(); i += 2) {
    const std::string prefix = lines[i].substr(0, lines[i].find("_color="));
    EXPECT_EQ(lines[i + 1].substr(0, prefix.size() + 6), prefix + "_text=") << lines[i];
    ++byColor[ColorLineValue(lines[i])];
  }
  const std::map<int, int> fanOut{
      {MsgServer, 74},  {MsgErrors, 43}, {MsgModes, 11},      {MsgNick, 8},    {MsgText, 7},
      {MsgNotices, 5},  {MsgAction, 3},  {MsgMyNick, 3},      {MsgMyText, 3},  {MsgLinks, 2},
      {MsgMyAction, 2}, {MsgTopic, 1},   {MsgAutoHistory, 1}, {MsgPutinfo, 0},
  };
  for (const auto& [entry, count] : fanOut) {
    EXPECT_EQ(byColor[app.colors[entry]], count) << EntryName(entry);
  }
}

TEST_F(ColorsIniTest, WriteThenReadRestoresTheButtonColorsAndPutinfoTakesServers) {
  const auto colors = DistinctMessageColors();
  for (const auto& [entry, color] : colors) app.colors[entry] = color;
  app.colors[MsgEdt] = MakeColor(1, 1, 1);
  ASSERT_TRUE(WriteColorsIni(app.files, app.state, app.colors).done);

  SchemeColors loaded;
  loaded[MsgEdt] = MakeColor(9, 9, 9);
  loaded[MsgBorder] = MakeColor(8, 8, 8);
  loaded[disp] = MakeColor(7, 7, 7);
  app.colors = loaded;
  EXPECT_TRUE(ReadColorsIni(app.files, app.state, app.colors).faults.empty());
  for (const auto& [entry, color] : colors) {
    if (entry != MsgPutinfo) {
      EXPECT_EQ(app.colors[entry], color) << EntryName(entry);
    }
  }
  EXPECT_EQ(app.colors[MsgPutinfo], colors.at(MsgServer));
  EXPECT_EQ(app.colors[MsgEdt], MakeColor(9, 9, 9));
  EXPECT_EQ(app.colors[MsgBorder], MakeColor(8, 8, 8));
  EXPECT_EQ(app.colors[disp], MakeColor(7, 7, 7));
}

TEST(ColorLineValue, TakesCommaSeparatedNumbersAfterTheFirstEquals) {
  const struct {
    std::string_view line;
    Color expected;
  } cases[] = {
      {"color_00000001_00_color=1,2,3\n", MakeColor(1, 2, 3)},
      {"k= 12 , 34 , 56 \n", MakeColor(12, 34, 56)},
      {"k=300,-1,256", MakeColor(44, 255, 0)},
      {"k=,,7,,,8,9", MakeColor(7, 8, 9)},
      {"k=a=5,6,7", MakeColor(0, 6, 7)},
      {"k=10,20\n", MakeColor(10, 20, 0)},
      {"color_00000001_00_color 1,2,3", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(ColorLineValue(c.line), c.expected) << c.line;
}

TEST_F(ColorsIniTest, KeysAreFoundForwardOnlyAndAMissingKeyZeroesTheRest) {
  for (const auto& [entry, color] : DistinctMessageColors()) app.colors[entry] = color;
  ASSERT_TRUE(WriteColorsIni(app.files, app.state, app.colors).done);
  const auto written = DistinctMessageColors();
  std::string text = ScratchSkin::Read(File());
  // The putinfo line (-0000001) comes first with another color; it is not taken for 00000001.
  const std::string putinfo = "color_-0000001_00_color=";
  const auto first = text.find(putinfo) + putinfo.size();
  text.replace(first, text.find('\r', first) - first, "1,1,1");
  const std::string line263 = "color_00000263_00_color=";
  const auto at = text.find(line263);
  text.erase(at, text.find('\n', at) + 1 - at);
  ScratchSkin::Write(File(), text);

  app.colors = SchemeColors{};
  ReadColorsIni(app.files, app.state, app.colors);
  // Read before the missing key: file values.
  for (const int entry : {MsgServer, MsgAction, MsgLinks}) {
    EXPECT_EQ(app.colors[entry], written.at(entry)) << EntryName(entry);
  }
  // The missing key and every later key: 0.
  for (const int entry : {MsgErrors, MsgNotices, MsgTopic, MsgNick, MsgMyNick, MsgModes,
                          MsgMyAction, MsgText, MsgMyText, MsgPutinfo, MsgAutoHistory}) {
    EXPECT_EQ(app.colors[entry], 0u) << EntryName(entry);
  }
}

TEST_F(ColorsIniTest, NoFileAnywhereSaysSoAndKeepsTheColors) {
  app.state.SetSchemeName("nosuch");
  app.colors[MsgNick] = MakeColor(1, 2, 3);
  const Outcome read = ReadColorsIni(app.files, app.state, app.colors);
  EXPECT_FALSE(read.done);
  ASSERT_EQ(read.faults.size(), 1u);
  EXPECT_EQ(read.faults[0].fault, Fault::ColorFilesUnreadable);
  EXPECT_EQ(app.colors[MsgNick], MakeColor(1, 2, 3));
}

TEST_F(ColorsIniTest, ProfileWithoutItsOwnFileReadsTheSkinsAndSavesWithoutBackup) {
  const fs::path profileScheme = skin.skinsFolder() / "Quil_profile_Work" / "mods" / "green";
  fs::create_directories(profileScheme);
  app.state.SetProfileName("Work");
  ReadColorsIni(app.files, app.state, app.colors);
  const Color skinNick = app.colors[MsgNick];
  EXPECT_NE(skinNick, 0u);

  app.colors[MsgNick] = MakeColor(11, 22, 33);
  const std::string skinFile = ScratchSkin::Read(File());
  ASSERT_TRUE(WriteColorsIni(app.files, app.state, app.colors).done);
  EXPECT_TRUE(fs::exists(profileScheme / "colors.ini"));
  EXPECT_FALSE(fs::exists(profileScheme / "colors.ini.bak"));
  EXPECT_EQ(ScratchSkin::Read(File()), skinFile);

  app.colors[MsgNick] = 0;
  ReadColorsIni(app.files, app.state, app.colors);
  EXPECT_EQ(app.colors[MsgNick], MakeColor(11, 22, 33));
}

}  // namespace
}  // namespace quil::test
