// The colors.dtd reader and writer on a scratch copy of the sample skin: the name fallback, the
// profile-then-skin order, the two search rules, the byte-for-byte copy, and the recovery paths.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "colors/ColorsDtd.h"
#include "core/ControlIds.h"
#include "dialog/SchemeColorFiles.h"
#include "tests/support/GreenSchemeTest.h"
#include "tests/support/ScratchSkin.h"

namespace quil::test {
namespace {

namespace fs = std::filesystem;

// A distinct color for every slot, so that a value in the wrong slot shows.
Color Sample(int slotIndex, int salt = 0) {
  return MakeColor(10 + slotIndex + salt, 100 + slotIndex, 200 + slotIndex - salt);
}

std::string SlotLine(ColorEntry slot, Color c) {
  const std::string n(EntryName(slot));
  return "<!ENTITY " + n + "Red \"" + std::to_string(RedOf(c)) + "\"> <!ENTITY " + n + "Green \"" +
         std::to_string(GreenOf(c)) + "\"> <!ENTITY " + n + "Blue \"" + std::to_string(BlueOf(c)) +
         "\">\r\n";
}

// A complete colors.dtd with every slot in the visiting order, `salt` varying the colors.
std::string Dtd(int salt = 0, const std::string& head = "", const std::string& tail = "") {
  std::string text = head;
  for (std::size_t i = 0; i < kColorsDtdSlots.size(); ++i) {
    text += SlotLine(kColorsDtdSlots[i], Sample(static_cast<int>(i), salt));
  }
  return text + tail;
}

// The complete file with the lines of its first two slots, disp and border, swapped.
std::string BorderBeforeDisp() {
  const std::string first = SlotLine(disp, Sample(0));
  const std::string second = SlotLine(border, Sample(1));
  return second + first + Dtd(0).substr(first.size() + second.size());
}

class ColorsDtdTest : public GreenSchemeTest {
 protected:
  fs::path SkinFile(const std::string& scheme, const std::string& file = "colors.dtd") {
    return SchemeFile(scheme, file);
  }
  fs::path ProfileFile(const std::string& profile, const std::string& scheme,
                       const std::string& file = "colors.dtd") {
    return skin.skinsFolder() / ("Quil_profile_" + profile) / "mods" / scheme / file;
  }
  void ExpectSlots(int salt) {
    for (std::size_t i = 0; i < kColorsDtdSlots.size(); ++i) {
      EXPECT_EQ(app.colors[kColorsDtdSlots[i]], Sample(static_cast<int>(i), salt))
          << EntryName(kColorsDtdSlots[i]);
    }
  }
};

TEST(SlotLineColor, ReadsComponentsAfterTheOddQuotesCutToEightBits) {
  const struct {
    std::string_view line;
    Color expected;
  } cases[] = {
      {"<!ENTITY aRed \"1\"> <!ENTITY aGreen \"2\"> <!ENTITY aBlue \"3\">\n", MakeColor(1, 2, 3)},
      {"x\"300\"x\"-1\"x\"\"x", MakeColor(44, 255, 0)},
      {"x\" 7 \"x\"+8x\"x\"9\"", MakeColor(7, 8, 9)},
      {"only \"12\" and \"34",
       MakeColor(12, 34, 0)},  // fewer quotes: what is there, 0 for the rest
      {"no quotes at all", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(SlotLineColor(c.line), c.expected) << c.line;
}

TEST_F(ColorsDtdTest, NameFallsBackToTheSchemeBoxThenToGreen) {
  ScratchSkin::Write(SkinFile("green"), Dtd(1));
  ScratchSkin::Write(SkinFile("Blue"), Dtd(2));
  ScratchSkin::Write(SkinFile("aqua"), Dtd(3));
  const struct {
    std::string given, box, scheme;
    int salt;
  } cases[] = {{"aqua", "Blue", "aqua", 3}, {"", "Blue", "Blue", 2}, {"", "", "green", 1}};
  for (const auto& c : cases) {
    app.state.SetSchemeName("none");
    dialog.At(Page::Colors, kSchemeBox).text = c.box;
    LoadColorsDtd(app, c.given);
    EXPECT_EQ(app.state.SchemeName, c.scheme);
    ExpectSlots(c.salt);
  }
  EXPECT_TRUE(dialog.messages.empty());
}

TEST_F(ColorsDtdTest, ProfileCopyComesFirstForAnyProfileThenTheSkins) {
  ScratchSkin::Write(SkinFile("green"), Dtd(1));
  ScratchSkin::Write(ProfileFile("Work", "green"), Dtd(2));
  // "(default)" looks for a profile folder of that name too before it reads the skin's own.
  ScratchSkin::Write(ProfileFile("(default)", "green"), Dtd(3));
  const struct {
    std::string profile;
    int salt;
  } cases[] = {{"Work", 2}, {"Home", 1}, {"(default)", 3}};
  for (const auto& c : cases) {
    app.state.SetProfileName(c.profile);
    LoadColorsDtd(app, "green");
    ExpectSlots(c.salt);
  }
}

TEST_F(ColorsDtdTest, MissingSchemeSaysSoAndPutsTheActiveNameBackIntoTheBox) {
  LoadColorsDtd(app, "green");
  const SchemeColors before = app.colors;
  std::vector<std::string> commits;
  dialog.SetCommitHandler(Page::Colors, kSchemeBox, [&](std::string_view candidate) {
    commits.emplace_back(candidate);
    return true;
  });
  dialog.At(Page::Colors, kSchemeBox).text = "nosuch";

  LoadColorsDtd(app, "nosuch");

  ASSERT_EQ(dialog.messages.size(), 1u);
  EXPECT_EQ(dialog.messages[0].kind, MemoryDialog::Kind::Notice);
  EXPECT_EQ(dialog.messages[0].text, "Unable to find old color configuration files.");
  EXPECT_EQ(commits, std::vector<std::string>{"green"});
  EXPECT_EQ(app.state.SchemeName, "green");
  EXPECT_EQ(app.colors.entries, before.entries);
}

TEST_F(ColorsDtdTest, ReaderNeedsTheBlankedRedKeyAndSearchesForwardOnly) {
  app.colors.entries.fill(0xABCDEF);
  // border's line before disp's: disp is found, border runs to the end, the rest are 0.
  ScratchSkin::Write(SkinFile("green"), BorderBeforeDisp());
  LoadColorsDtd(app, "green");
  EXPECT_EQ(app.colors[disp], Sample(0));
  for (std::size_t i = 1; i < kColorsDtdSlots.size(); ++i) {
    EXPECT_EQ(app.colors[kColorsDtdSlots[i]], 0u) << EntryName(kColorsDtdSlots[i]);
  }
  EXPECT_EQ(app.colors[WinBorder], 0u);

  // A line of displ does not answer the search for disp; only " dispRed " does.
  ScratchSkin::Write(SkinFile("green"), SlotLine(displ, MakeColor(9, 9, 9)) + Dtd(0));
  LoadColorsDtd(app, "green");
  ExpectSlots(0);
}

TEST_F(ColorsDtdTest, WriterCopiesEveryOtherByteAndRewritesOnlyTheNumbers) {
  const std::string head = "<!-- Quil -->\r\n\r\n<!ENTITY % x \"INCLUDE\">\r\n" +
                           std::string(450, '=') + "\r\n";  // a line longer than one piece
  const std::string between = "  <!-- between, with tabs\t -->\r\n";
  const std::string tail = "<!ENTITY after \"1\">\r\n<!-- last line, no break -->";
  std::string templ = head;
  std::string expected = head;
  for (std::size_t i = 0; i < kColorsDtdSlots.size(); ++i) {
    const ColorEntry slot = kColorsDtdSlots[i];
    const std::string n(EntryName(slot));
    app.colors[slot] = MakeColor(static_cast<int>(i), 128 + static_cast<int>(i), 255);
    templ += between + "\t<!ENTITY " + n + "Red \"007\" x><!ENTITY " + n + "Green \"\"><!ENTITY " +
             n + "Blue \"-1\"> <!-- \"kept\" -->\r\n";
    expected += between + "\t<!ENTITY " + n + "Red \"" + std::to_string(i) + "\" x><!ENTITY " + n +
                "Green \"" + std::to_string(128 + i) + "\"><!ENTITY " + n +
                "Blue \"255\"> <!-- \"kept\" -->\r\n";
  }
  templ += tail;
  expected += tail;
  ScratchSkin::Write(SkinFile("green"), templ);

  ASSERT_TRUE(SaveColorsDtd(app));
  EXPECT_EQ(ScratchSkin::Read(SkinFile("green")), expected);
  EXPECT_EQ(ScratchSkin::Read(SkinFile("green", "colors.dtd.bak")), templ);

  // A second write keeps the first result as the backup and writes the same file again.
  ASSERT_TRUE(SaveColorsDtd(app));
  EXPECT_EQ(ScratchSkin::Read(SkinFile("green")), expected);
  EXPECT_EQ(ScratchSkin::Read(SkinFile("green", "colors.dtd.bak")), expected);
  EXPECT_TRUE(dialog.messages.empty());
}

TEST_F(ColorsDtdTest, WriteThenReadRestoresEverySlotAndMirror) {
  LoadColorsDtd(app, "aqua");
  for (std::size_t i = 0; i < kColorsDtdSlots.size(); ++i) {
    app.colors[kColorsDtdSlots[i]] = Sample(static_cast<int>(i), 5);
  }
  ASSERT_TRUE(SaveColorsDtd(app));
  app.colors = SchemeColors{};
  LoadColorsDtd(app, "aqua");
  ExpectSlots(5);
  for (const Mirror& m : kMirrors) EXPECT_EQ(app.colors[m.copy], app.colors[m.source]);
}

TEST_F(ColorsDtdTest, WriterStopsAtTheBareNameSoDisplAnswersForDisp) {
  const std::string displFirst = SlotLine(displ, MakeColor(1, 2, 3));
  ScratchSkin::Write(SkinFile("green"), displFirst + Dtd(0));
  app.colors[disp] = MakeColor(50, 60, 70);
  ASSERT_TRUE(SaveColorsDtd(app));
  const std::string written = ScratchSkin::Read(SkinFile("green"));
  EXPECT_EQ(written.substr(0, written.find('\n') + 1), SlotLine(displ, MakeColor(50, 60, 70)));
  // The real disp line was copied unchanged, so the reader sees the old disp.
  LoadColorsDtd(app, "green");
  EXPECT_EQ(app.colors[disp], Sample(0));
}

TEST_F(ColorsDtdTest, IncompleteTemplateIsReplacedByTheDefaultAndReadAgain) {
  const std::string swapped = BorderBeforeDisp();
  const std::string pristine = Dtd(7, "<!-- pristine -->\r\n");
  ScratchSkin::Write(SkinFile("green"), swapped);
  ScratchSkin::Write(SkinFile("green", "colors_default.dtd"), pristine);
  dialog.At(Page::Colors, kSchemeBox).text = "green";
  app.colors[disp] = MakeColor(1, 1, 1);

  EXPECT_FALSE(SaveColorsDtd(app));

  ASSERT_EQ(dialog.messages.size(), 1u);
  EXPECT_EQ(dialog.messages[0].kind, MemoryDialog::Kind::Failure);
  EXPECT_EQ(dialog.messages[0].text,
            "Unable to write a complete colors.dtd file... \n(old file probably corrupt)\n"
            "...restoring backup");
  EXPECT_EQ(ScratchSkin::Read(SkinFile("green")), pristine);
  EXPECT_EQ(ScratchSkin::Read(SkinFile("green", "colors.dtd.bak")), swapped);
  ExpectSlots(7);
  EXPECT_EQ(dialog.mainRedraws, 1);
}

TEST_F(ColorsDtdTest, SlotLineWithTooFewQuotesMakesTheTemplateIncomplete) {
  std::string broken = Dtd(0);
  const std::string chanLine = SlotLine(chan, Sample(16));
  broken.replace(broken.find(chanLine), chanLine.size(), "<!ENTITY chanRed \"1\">\r\n");
  ScratchSkin::Write(SkinFile("green"), broken);
  ScratchSkin::Write(SkinFile("green", "colors_default.dtd"), Dtd(4));
  EXPECT_FALSE(SaveColorsDtd(app));
  EXPECT_EQ(ScratchSkin::Read(SkinFile("green")), Dtd(4));
}

TEST_F(ColorsDtdTest, ProfileWithoutItsOwnFileReadsAndThenSavesFromTheSkinsCopy) {
  ScratchSkin::Write(SkinFile("Blue"), Dtd(2));
  fs::create_directories(ProfileFile("Work", "Blue").parent_path());
  app.state.SetProfileName("Work");
  LoadColorsDtd(app, "Blue");
  ExpectSlots(2);

  app.colors[tp] = MakeColor(1, 2, 3);
  ASSERT_TRUE(SaveColorsDtd(app));
  EXPECT_EQ(ScratchSkin::Read(ProfileFile("Work", "Blue", "colors.dtd.bak")), Dtd(2));
  EXPECT_EQ(ScratchSkin::Read(SkinFile("Blue")), Dtd(2));  // the skin's own stays
  app.colors = SchemeColors{};
  LoadColorsDtd(app, "Blue");
  EXPECT_EQ(app.colors[tp], MakeColor(1, 2, 3));
}

TEST_F(ColorsDtdTest, NoTemplateAnywhereWritesNothing) {
  app.state.SetProfileName("Work");
  app.state.SetSchemeName("nosuch");
  fs::create_directories(ProfileFile("Work", "nosuch").parent_path());
  EXPECT_FALSE(SaveColorsDtd(app));
  ASSERT_EQ(dialog.messages.size(), 1u);
  EXPECT_EQ(dialog.messages[0].text, "Unable to open old file...\nUnable to save colors.dtd");
  EXPECT_TRUE(fs::is_empty(ProfileFile("Work", "nosuch").parent_path()));
}

}  // namespace
}  // namespace quil::test
