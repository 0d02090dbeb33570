// The plugin catalogue: its order, the plugin.ini / plugin.txt / desc.txt fallbacks and the folder
// rules, on the sample skin and on plugin folders made for each case.
#include <gtest/gtest.h>

#include <filesystem>

#include "profiles/PluginCatalogue.h"
#include "tests/support/ScratchSkin.h"

namespace quil::test {
namespace {

namespace fs = std::filesystem;

struct Row {
  int priority;
  std::string variable;
  std::string description;
  std::string folder;
  bool operator==(const Row&) const = default;
};

std::vector<Row> Rows(const PluginList& list) {
  std::vector<Row> rows;
  for (const PluginEntry& e : list) {
    EXPECT_FALSE(e.selected) << e.folder;
    rows.push_back({e.priority, e.variable, e.description, e.folder});
  }
  return rows;
}

void PrintTo(const Row& r, std::ostream* os) {
  *os << "{" << r.priority << ", " << r.variable << ", " << r.description << ", " << r.folder
      << "}";
}

TEST(PluginCatalogue, SampleSkinIsListedByPriorityThenListingOrder) {
  ScratchSkin skin;
  TestApp t;
  t.app.plugins = ScanPlugins(t.app.files, t.app.state.ShowHidden);
  const std::vector<Row> expected = {
      {7, "emoticons", "Large emoticons (24 pixels)", "emoticons_big"},
      {5, "emoticons", "Small emoticons (16 pixels)", "emoticons_small"},
      {5, "tabs", "Tabbed message windows", "tabbed_messages"},
      {3, "statusbar", "Compact status bar", "compact_status"},
      {2, "timestamps", "Timestamps in message windows", "timestamps"},
      {-1, "NoVar", "Round title-bar buttons", "round_buttons"},
  };
  EXPECT_EQ(Rows(t.app.plugins), expected);

  // A hidden plugin shows only with /showhidden, under its "!" folder name.
  t.app.state.ShowHidden = true;
  t.app.plugins = ScanPlugins(t.app.files, t.app.state.ShowHidden);
  ASSERT_EQ(t.app.plugins.size(), expected.size() + 1);
  EXPECT_EQ(t.app.plugins.front().folder, "!old_borders");
  EXPECT_EQ(t.app.plugins.front().priority, 9);

  // A rescan replaces the catalogue and leaves nothing selected.
  for (PluginEntry& e : t.app.plugins) e.selected = true;
  t.app.state.ShowHidden = false;
  t.app.plugins = ScanPlugins(t.app.files, t.app.state.ShowHidden);
  EXPECT_EQ(Rows(t.app.plugins), expected);
}

class PluginFolders : public ::testing::Test {
 protected:
  ScratchSkin skin{false};
  void Put(const std::string& relative, const std::string& bytes) {
    ScratchSkin::Write(skin / ("plugins/" + relative), bytes);
  }
  std::vector<Row> Scan() {
    TestApp t;
    t.app.plugins = ScanPlugins(t.app.files, t.app.state.ShowHidden);
    return Rows(t.app.plugins);
  }
};

TEST_F(PluginFolders, DescriptionFilesFallBackInTurn) {
  // An empty Description sets plugin.ini aside: all three fields come from plugin.txt.
  Put("a/plugin.ini", "[Plugin]\r\nDescription=\r\nVariable=ignored\r\nPriority=50\r\n");
  Put("a/plugin.txt", "stemA\r\nFrom plugin.txt\r\n12abc\r\n");
  // Without plugin.txt, desc.txt; a third line without digits gives 0.
  Put("b/desc.txt", "stemB\nFrom desc.txt\nhigh\n");
  // plugin.txt wins over desc.txt.
  Put("c/plugin.txt", "stemC\nFrom plugin.txt too\n4\n");
  Put("c/desc.txt", "wrong\nwrong\n99\n");
  // Keys present with empty values keep the initial field values.
  Put("d/plugin.ini", "[plugin]\nDESCRIPTION=Empty keys\nVariable=\nPriority=\n");
  // No description file at all: no plugin.
  Put("e/main.xml", "<x/>\n");
  EXPECT_EQ(Scan(), (std::vector<Row>{{12, "stemA", "From plugin.txt", "a"},
                                      {4, "stemC", "From plugin.txt too", "c"},
                                      {0, "stemB", "From desc.txt", "b"},
                                      {0, "", "Empty keys", "d"}}));
}

TEST_F(PluginFolders, ShortAndLongDescriptionFiles) {
  // A last line without a line break keeps all its characters; missing lines give "" and 0.
  Put("a/plugin.txt", "stem\nNo break at the end");
  Put("b/plugin.txt", "onlystem");
  // A stem longer than its field is cut to 31 characters.
  Put("c/plugin.txt", std::string(40, 'v') + "\nLong stem\n1\n");
  EXPECT_EQ(Scan(), (std::vector<Row>{{1, std::string(31, 'v'), "Long stem", "c"},
                                      {0, "stem", "No break at the end", "a"},
                                      {0, "onlystem", "", "b"}}));
}

TEST_F(PluginFolders, FolderRulesAndPrioritiesAtTheEnd) {
  Put("Default/plugin.txt", "d\nDefault folder\n100\n");
  Put("DEFAULT2/plugin.txt", "d2\nNot the default folder\n1\n");
  Put(".dot/plugin.txt", "dot\nDot folder\n100\n");
  Put("!hidden/plugin.txt", "h\nHidden\n100\n");
  Put("loose.txt", "a plain file is no plugin\n");
  // Ranks of -10 and below come last, in listing order, after every other rank.
  Put("m/plugin.txt", "m\nMinus twenty\n-20\n");
  Put("n/plugin.txt", "n\nMinus ten\n-10\n");
  Put("o/plugin.ini", "[Plugin]\nDescription=No priority key\n");
  Put("p/plugin.txt", "p\nMinus nine\n-9\n");
  EXPECT_EQ(Scan(), (std::vector<Row>{{1, "d2", "Not the default folder", "DEFAULT2"},
                                      {-1, "NoVar", "No priority key", "o"},
                                      {-9, "p", "Minus nine", "p"},
                                      {-20, "m", "Minus twenty", "m"},
                                      {-10, "n", "Minus ten", "n"}}));
}

TEST_F(PluginFolders, MissingPluginsFolderGivesAnEmptyCatalogue) {
  EXPECT_TRUE(Scan().empty());
}

}  // namespace
}  // namespace quil::test
