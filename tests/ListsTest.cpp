// Hiding and deleting schemes and plugins, and removing folder trees, on scratch skin folders.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>

#include "colors/SchemeFiles.h"
#include "core/ControlIds.h"
#include "dialog/ListCommands.h"
#include "profiles/Lists.h"
#include "profiles/PluginCatalogue.h"
#include "tests/support/FaultyFiles.h"
#include "tests/support/ScratchSkin.h"

namespace quil::test {
namespace {

namespace fs = std::filesystem;
using Kind = MemoryDialog::Kind;

class ListsTest : public ::testing::Test {
 protected:
  ScratchSkin skin{false};
  void Put(const std::string& relative, const std::string& bytes = "x\r\n") {
    ScratchSkin::Write(skin / relative, bytes);
  }
  // A scheme box listing the given schemes, with `text` typed into it; commits are recorded.
  void FillSchemeBox(TestApp& t, std::initializer_list<const char*> schemes, const char* text) {
    for (const char* s : schemes) t.dialog.AddListLine(Page::Colors, kSchemeBox, s);
    t.dialog.At(Page::Colors, kSchemeBox).text = text;
    t.dialog.SetCommitHandler(Page::Colors, kSchemeBox, [this](std::string_view c) {
      commits.emplace_back(c);
      return true;
    });
  }
  std::vector<std::string> commits;
};

TEST_F(ListsTest, SchemeFoldersFollowTheFolderRules) {
  for (const char* f : {"green", "Blue", "aqua", "all", "ALL", "!old", ".svn"}) {
    fs::create_directories(skin / ("mods/" + std::string(f)));
  }
  Put("mods/loose.dtd");
  TestApp t;
  EXPECT_EQ(SchemeFolders(*t.files, false), (std::vector<std::string>{"aqua", "Blue", "green"}));
  EXPECT_EQ(SchemeFolders(*t.files, true),
            (std::vector<std::string>{"!old", "aqua", "Blue", "green"}));
}

TEST_F(ListsTest, HideSchemeRenamesAndActivatesTheFirstRemaining) {
  Put("mods/Blue/colors.dtd");
  TestApp t;
  FillSchemeBox(t, {"aqua", "Blue", "green"}, "blue");
  t.dialog.Answer({true});
  HideScheme(t.app);
  ASSERT_EQ(t.dialog.messages.size(), 1u);
  EXPECT_EQ(t.dialog.messages[0].text,
            "Are you sure you want to hide the following color scheme?\n\nblue");
  EXPECT_TRUE(fs::exists(skin / "mods/!blue/colors.dtd") ||
              fs::exists(skin / "mods/!Blue/colors.dtd"));
  EXPECT_FALSE(fs::exists(skin / "mods/Blue"));
  EXPECT_EQ(t.dialog.At(Page::Colors, kSchemeBox).lines,
            (std::vector<std::string>{"aqua", "green"}));
  EXPECT_EQ(commits, (std::vector<std::string>{"aqua"}));
  EXPECT_EQ(t.dialog.At(Page::Colors, kSchemeBox).text, "aqua");
  EXPECT_EQ(t.dialog.focus, std::make_pair(Page::Colors, kSchemeBox));
}

TEST_F(ListsTest, DeclinedOrGuardedSchemeRemovalsChangeNothing) {
  Put("mods/green/colors.dtd");
  Put("mods/aqua/colors.dtd");
  TestApp t;
  FillSchemeBox(t, {"aqua", "green"}, "GREEN");
  HideScheme(t.app);
  DeleteScheme(t.app);
  ASSERT_EQ(t.dialog.messages.size(), 2u);
  EXPECT_EQ(t.dialog.messages[0].kind, Kind::Notice);
  EXPECT_NE(t.dialog.messages[0].text.find("hide it, rename the mods\\green directory"),
            std::string::npos);
  EXPECT_NE(t.dialog.messages[1].text.find("delete it, delete the mods\\green directory by hand"),
            std::string::npos);

  t.dialog.At(Page::Colors, kSchemeBox).text = "aqua";
  DeleteScheme(t.app);  // answered No
  EXPECT_EQ(t.dialog.messages.back().kind, Kind::Question);
  EXPECT_TRUE(fs::exists(skin / "mods/aqua/colors.dtd"));
  EXPECT_TRUE(fs::exists(skin / "mods/green/colors.dtd"));
  EXPECT_EQ(t.dialog.At(Page::Colors, kSchemeBox).lines.size(), 2u);
  EXPECT_TRUE(commits.empty());
}

TEST_F(ListsTest, SchemeBoxTextThatIsNoFolderNameIsRefused) {
  // An empty box would name the whole mods folder; ".." would name the skin folder. Windows strips
  // a trailing dot or space: "green." would get the green scheme past its guard.
  Put("mods/aqua/colors.dtd");
  Put("mods/green/colors.dtd");
  for (const char* text : {"", "..", ".", "aqua\\..\\..", "x/y", "green.", "aqua "}) {
    TestApp t;
    FillSchemeBox(t, {"aqua"}, text);
    t.dialog.Answer({true, true});
    DeleteScheme(t.app);
    HideScheme(t.app);
    ASSERT_EQ(t.dialog.messages.size(), 2u) << text;
    EXPECT_EQ(t.dialog.messages[0].kind, Kind::Notice);
    EXPECT_EQ(t.dialog.messages[0].text, "'" + std::string(text) + "' is not a color scheme");
  }
  EXPECT_TRUE(fs::exists(skin / "mods/aqua/colors.dtd"));
  EXPECT_TRUE(fs::exists(skin / "mods/green/colors.dtd"));
  EXPECT_TRUE(commits.empty());
}

TEST_F(ListsTest, DeleteSchemeRemovesTheTree) {
  Put("mods/aqua/colors.dtd");
  Put("mods/aqua/sub/deeper/file.bmp");
  Put("mods/green/colors.dtd");
  TestApp t;
  FillSchemeBox(t, {"aqua", "green"}, "Aqua");
  t.dialog.Answer({true});
  DeleteScheme(t.app);
  EXPECT_FALSE(fs::exists(skin / "mods/aqua"));
  EXPECT_TRUE(fs::exists(skin / "mods/green/colors.dtd"));
  EXPECT_EQ(commits, (std::vector<std::string>{"green"}));
  EXPECT_EQ(t.dialog.messages.size(), 1u);  // the question, no failure
}

TEST_F(ListsTest, PluginsAreAskedAboutOneByOneInListOrder) {
  for (const char* p : {"a", "b", "c", "d"}) {
    Put("plugins/" + std::string(p) + "/plugin.txt",
        std::string(p) + "\nPlugin " + p + "\n" + std::to_string('e' - p[0]) + "\n");
  }
  TestApp t;
  t.app.plugins = ScanPlugins(t.app.files, t.app.state.ShowHidden);
  FillPluginListBox(t.app);
  EXPECT_EQ(t.dialog.At(Page::Plugins, kPluginList).lines,
            (std::vector<std::string>{"Plugin a", "Plugin b", "Plugin c", "Plugin d"}));
  t.dialog.SelectListLine(Page::Plugins, kPluginList, 1, true);
  t.dialog.SelectListLine(Page::Plugins, kPluginList, 3, true);
  t.dialog.Answer({false, true});
  HidePlugins(t.app);
  ASSERT_EQ(t.dialog.messages.size(), 2u);
  EXPECT_EQ(t.dialog.messages[0].text,
            "Are you sure you want to hide the following plugin?\n\nPlugin b\n\nTo show the "
            "plugin in the future, delete the '!' in front of the folder name in the plugins "
            "folder");
  EXPECT_NE(t.dialog.messages[1].text.find("\n\nPlugin d\n\n"), std::string::npos);
  EXPECT_TRUE(fs::exists(skin / "plugins/b"));
  EXPECT_TRUE(fs::exists(skin / "plugins/!d"));
  // Rescanned: the hidden plugin is gone and nothing is selected.
  EXPECT_EQ(t.dialog.At(Page::Plugins, kPluginList).lines,
            (std::vector<std::string>{"Plugin a", "Plugin b", "Plugin c"}));
  EXPECT_EQ(t.dialog.At(Page::Plugins, kPluginList).selected, (std::vector<bool>(3, false)));

  t.dialog.SelectListLine(Page::Plugins, kPluginList, 0, true);
  t.dialog.Answer({true});
  DeletePlugins(t.app);
  EXPECT_EQ(t.dialog.messages.back().text,
            "Are you sure you want to delete the following plugin?\n\nPlugin a");
  EXPECT_FALSE(fs::exists(skin / "plugins/a"));
  EXPECT_EQ(t.dialog.At(Page::Plugins, kPluginList).lines,
            (std::vector<std::string>{"Plugin b", "Plugin c"}));
}

#ifndef _WIN32
TEST_F(ListsTest, RemovingATreeNeverFollowsALinkIntoItsTarget) {
  Put("precious/keep.txt", "keep");
  Put("plugins/evil/plugin.txt", "evil\nEvil plugin\n1\n");
  fs::create_directory_symlink(skin / "precious", skin / "plugins/evil/link");
  fs::create_symlink(skin / "precious/keep.txt", skin / "plugins/evil/filelink.txt");
  TestApp t;
  RemoveDirectoryTree(t.app, "plugins\\evil");
  EXPECT_TRUE(t.dialog.messages.empty());
  EXPECT_FALSE(fs::exists(skin / "plugins/evil"));
  EXPECT_EQ(ScratchSkin::Read(skin / "precious/keep.txt"), "keep");
}
#endif

#ifndef _WIN32
TEST_F(ListsTest, DeletionNeverReachesOutsideTheFolderItIsGiven) {
  // Folders that must stay whole: one inside the skin, one beside it.
  Put("precious/keep.txt", "keep");
  ScratchSkin::Write(skin.skinsFolder() / "victim/keep.txt", "keep");
  // A scheme, a plugin and a profile folder that are themselves links to a folder elsewhere, as a
  // plugin shared by two skins is.
  fs::create_directories(skin / "mods");
  fs::create_directories(skin / "plugins");
  fs::create_directory_symlink(skin / "precious", skin / "mods/linked");
  fs::create_directory_symlink(skin / "precious", skin / "plugins/shared");
  fs::create_directory_symlink(skin / "precious", skin.skinsFolder() / "Quil_profile_linked");
  // A folder whose name holds separators: appended to its folder's path it climbs out of the tree.
  Put("plugins/odd/plugin.txt", "odd\nOdd\n1\n");
  fs::create_directories(skin / "plugins/odd/\\..\\..\\..\\victim");
  TestApp t;
  const struct {
    std::string folder;
    fs::path onDisk;
    bool stays;
  } cases[] = {
      {"mods\\linked", skin / "mods/linked", false},
      {"plugins\\shared", skin / "plugins/shared", false},
      {t.app.state.WorkDir + "_profile_linked", skin.skinsFolder() / "Quil_profile_linked", false},
      {"plugins\\odd", skin / "plugins/odd", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.folder);
    t.dialog.messages.clear();
    RemoveDirectoryTree(t.app, c.folder);
    EXPECT_EQ(ScratchSkin::Read(skin / "precious/keep.txt"), "keep");
    EXPECT_EQ(ScratchSkin::Read(skin.skinsFolder() / "victim/keep.txt"), "keep");
    EXPECT_EQ(fs::symlink_status(c.onDisk).type() != fs::file_type::not_found, c.stays);
    if (c.stays) {
      // The odd name is left, so its folder stays and says so.
      ASSERT_EQ(t.dialog.messages.size(), 1u);
      EXPECT_EQ(t.dialog.messages[0].kind, Kind::Failure);
      EXPECT_EQ(t.dialog.messages[0].text.rfind("Failed directory removal, error - ", 0), 0u);
    } else {
      EXPECT_TRUE(t.dialog.messages.empty());
    }
  }
}
#endif

TEST_F(ListsTest, OnlySymbolicLinksAndJunctionsAreRemovedAsLinks) {
  // A plugin whose folder, and a folder inside it, are reparse points of one tag: a cloud file
  // placeholder and a deduplicated folder are folders and go whole; a link (and a reparse point
  // whose kind the listing does not give) loses only the link, so a folder that is not really one
  // stays with what it holds, and says so.
  const struct {
    const char* kind;
    std::uint32_t tag;
    bool link;
  } cases[] = {{"cloud placeholder", 0x9000001A, false},
               {"deduplicated", 0x80000013, false},
               {"symbolic link", kSymbolicLinkTag, true},
               {"junction", kJunctionTag, true},
               {"kind not given", kUnknownReparseTag, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.kind);
    Put("plugins/p/plugin.txt", "p\nP\n1\n");
    Put("plugins/p/synced/data.txt");
    TestApp t;
    FaultyFiles reparse(*t.files);
    reparse.reparseTags = {{"plugins\\p", c.tag}, {"plugins\\p\\synced", c.tag}};
    const Outcome outcome = RemoveFolderTree(reparse, t.app.state.AnsiLeadBytes, "plugins\\p");
    EXPECT_EQ(outcome.done, !c.link);
    EXPECT_EQ(fs::exists(skin / "plugins/p/synced/data.txt"), c.link);
    EXPECT_EQ(fs::exists(skin / "plugins/p"), c.link);
    std::error_code ignored;
    fs::remove_all(skin / "plugins/p", ignored);
  }
}

TEST_F(ListsTest, ATreeGoesWholeAtAnyDepth) {
  // Paths far longer than the 259 characters that Windows' ANSI functions take, read-only files
  // among them.
  std::string deep = "plugins/deep";
  for (int level = 0; level < 12; ++level) deep += "/level-" + std::string(40, 'a' + level);
  Put(deep + "/plugin.txt");
  Put("plugins/deep/plugin.txt", "deep\nDeep\n1\n");
  fs::permissions(skin / (deep + "/plugin.txt"), fs::perms::owner_write, fs::perm_options::remove);
  ASSERT_GT(fs::absolute(skin / deep).string().size(), 500u);
  TestApp t;
  RemoveDirectoryTree(t.app, "plugins\\deep");
  EXPECT_TRUE(t.dialog.messages.empty()) << t.dialog.messages[0].text;
  EXPECT_FALSE(fs::exists(skin / "plugins/deep"));
}

TEST_F(ListsTest, AFolderThatCannotBeEmptiedIsReportedAtEachLevel) {
  // A name beginning with a dot is passed over, so its folders stay and each level reports.
  Put("plugins/p/inner/.keep");
  Put("plugins/p/plugin.txt", "p\nP\n1\n");
  TestApp t;
  RemoveDirectoryTree(t.app, "plugins\\p");
  ASSERT_EQ(t.dialog.messages.size(), 2u);
  for (const auto& m : t.dialog.messages) {
    EXPECT_EQ(m.kind, Kind::Failure);
    EXPECT_EQ(m.text.rfind("Failed directory removal, error - ", 0), 0u) << m.text;
    EXPECT_NE(m.text, "Failed directory removal, error - 0");
  }
  EXPECT_TRUE(fs::exists(skin / "plugins/p/inner/.keep"));
  EXPECT_FALSE(fs::exists(skin / "plugins/p/plugin.txt"));
}

}  // namespace
}  // namespace quil::test
