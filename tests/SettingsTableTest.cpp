// The options table's rules: how each encoding reads an entity's value into its field and writes
// the field back, with the asymmetric bounds, the derived entities and the font-size presets; and
// the pages' states before the first read.
#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "dialog/SettingsPages.h"
#include "settings/SkinSettings.h"
#include "tests/support/MemoryDialog.h"

namespace quil {
namespace {

using test::MemoryDialog;

const SkinOption& Option(std::string_view entity) {
  for (const SkinOption& option : SkinOptions()) {
    if (option.entity == entity) return option;
  }
  ADD_FAILURE() << "no option " << entity;
  return SkinOptions().front();
}

struct ReadCase {
  std::string_view entity;
  std::string_view value;
  std::string_view text;  // the text afterwards, for edit fields
  bool checked;           // the flag afterwards, for check boxes
};

TEST(SettingsTable, ReadRulesSetTheFields) {
  const ReadCase cases[] = {
      {"buttonscroll", "Yes", "", true},
      {"buttonscroll", "no", "", false},
      {"remcon", "1", "", true},
      {"remcon", "01", "", false},
      {"showmin", "0", "", true},
      {"showmin", "1", "", false},
      {"showtbicon", "1", "", true},
      {"buddypos", "75", "", true},
      {"buddypos", "0", "", true},
      {"buddypos", "76", "", false},
      {"buddypos", "200", "", false},
      {"buddypos", "x", "", true},
      {"scrollpos", "18", "", true},
      {"scrollpos", "19", "", false},
      {"titlefontbold", " 1", "", true},
      {"titlefontbold", "01x", "", true},
      {"titlefontbold", "2", "", false},
      {"bldaway", "1", "", true},
      {"nicklistpos", "90", "107", false},
      {"nicklistpos", "150", "150", false},
      {"editpos", "42", "42", false},
      {"editpos", "38", "40", false},
      {"trillybarheight", "39", "40", false},
      {"containerheight", "abc", "170", false},
      {"containerheight", "171", "171", false},
      {"contactname", "", "", false},
      {"smallfontsize", "123", "123", false},
  };
  for (const ReadCase& c : cases) {
    SCOPED_TRACE(std::string(c.entity) + " = \"" + std::string(c.value) + "\"");
    SkinSettings settings;
    const SkinOption& option = Option(c.entity);
    if (option.encoding == Encoding::Flag) {
      settings.*option.flag = !c.checked;
      ApplyOptionValue(settings, option, c.value);
      EXPECT_EQ(settings.*option.flag, c.checked);
    } else {
      settings.*option.text = "previous";
      ApplyOptionValue(settings, option, c.value);
      EXPECT_EQ(settings.*option.text, c.text);
    }
  }
}

TEST(SettingsTable, FontsValueChoosesLargeOrSmall) {
  const struct {
    std::string_view value;
    bool large;
  } cases[] = {{"LARGE", true}, {"Large", true}, {"larger", true}, {"medium", false}, {"", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    SkinSettings settings;
    settings.largeFonts = !c.large;
    ApplyOptionValue(settings, Option("fonts"), c.value);
    EXPECT_EQ(settings.largeFonts, c.large);
  }
}

struct WriteCase {
  std::string_view entity;
  std::string_view typed;  // the text; empty for a check box
  bool checked;
  std::string_view written;
};

TEST(SettingsTable, WriteRulesFormTheValues) {
  const WriteCase cases[] = {
      {"buttonscroll", "", true, "yes"},
      {"buttonscroll", "", false, "no"},
      {"remcon", "", true, "1"},
      {"remcon", "", false, "0"},
      {"showmin", "", true, "0"},
      {"showmin", "", false, "1"},
      {"titleedge", "", true, "54"},
      {"titleedge", "", false, "72"},
      {"showtbicon", "", true, "1"},
      {"showtbicon", "", false, "0"},
      {"tbtextedge", "", true, "23"},
      {"tbtextedge", "", false, "3"},
      {"buddypos", "", true, "0"},
      {"buddypos", "", false, "76"},
      {"scrollpos", "", true, "4"},
      {"scrollpos", "", false, "19"},
      {"itloffline", "", true, "1"},
      {"bldrecentoff", "", false, "0"},
      {"editpos", "42", false, "45"},
      {"editpos", "30", false, "45"},
      {"editpos", "", false, "45"},
      {"editpos", "46", false, "46"},
      {"nicklistpos", "90", false, "90"},
      {"nicklistpos", "30", false, "30"},
      {"trillybarheight", "5", false, "5"},
      {"containerheight", "100", false, "100"},
      {"smallfontsize", "123", false, "12"},
      {"hugefontsize", "7", false, "7"},
  };
  for (const WriteCase& c : cases) {
    SCOPED_TRACE(std::string(c.entity) + " typed \"" + std::string(c.typed) + "\"");
    SkinSettings settings;
    const SkinOption& option = Option(c.entity);
    if (option.flag) settings.*option.flag = c.checked;
    if (option.text) settings.*option.text = c.typed;
    EXPECT_EQ(OptionValue(settings, option), c.written);
  }
}

TEST(SettingsTable, InitialStatesAndPresets) {
  MemoryDialog dialog;
  dialog.SetChecked(Page::Colors, BoldStatusBox(3), true);
  dialog.SetChecked(Page::General, kLargeFontsRadio, true);
  SetInitialOptionStates(dialog);
  EXPECT_FALSE(dialog.IsChecked(Page::Colors, BoldStatusBox(3)));
  EXPECT_FALSE(dialog.IsChecked(Page::General, kLargeFontsRadio));
  EXPECT_FALSE(dialog.IsChecked(Page::General, kSmallFontsRadio));
  EXPECT_EQ(dialog.GetText(Page::General, kContactTitleEdit), "Trillian");
  EXPECT_EQ(dialog.GetText(Page::General, kNicklistWidthEdit), "107");
  EXPECT_EQ(dialog.GetText(Page::General, kContainerHeightEdit), "250");
  EXPECT_EQ(dialog.GetText(Page::General, kHugeFontSizeEdit), "22");

  ApplyFontPreset(dialog, FontPreset::Large);
  const int edits[] = {kSmallFontSizeEdit, kNormalFontSizeEdit, kContactFontSizeEdit,
                       kHugeFontSizeEdit,  kTitleFontSizeEdit,  kBarTitleFontSizeEdit};
  const char* large[] = {"6", "7", "7", "20", "7", "6"};
  const char* small[] = {"7", "8", "8", "22", "8", "7"};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(dialog.GetText(Page::General, edits[i]), large[i]);
  ApplyFontPreset(dialog, FontPreset::Small);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(dialog.GetText(Page::General, edits[i]), small[i]);
}

}  // namespace
}  // namespace quil

namespace quil {
namespace {

// A title typed with a double quote, "&", "%", "<" or characters outside ASCII must not break its
// entity line: the characters are written as references and read back as themselves. Files written
// before keep reading as they were written: "&" as "&#38;", and older ones with the title's bytes
// as they were typed.
TEST(SettingsTable, TypedTitleCharactersThatWouldEndTheValueRoundTrip) {
  SkinSettings settings;
  const auto& title = *std::find_if(SkinOptions().begin(), SkinOptions().end(),
                                    [](const SkinOption& o) { return o.entity == "contactname"; });
  settings.contactTitle = "Say \"hi\" & 100%";
  const std::string written = OptionValue(settings, title);
  EXPECT_EQ(written, "Say &#34;hi&#34; &amp; 100&#37;");
  EXPECT_EQ(written.find('"'), std::string::npos);
  settings.contactTitle = "";
  ApplyOptionValue(settings, title, written);
  EXPECT_EQ(settings.contactTitle, "Say \"hi\" & 100%");
  // Outside ASCII: references to the Unicode characters of the ANSI code page's bytes.
  settings.contactTitle = "Caf\xE9 <\x80>";
  EXPECT_EQ(OptionValue(settings, title), "Caf&#233; &lt;&#8364;>");

  for (const auto& [stored, shown] : std::vector<std::pair<std::string, std::string>>{
           {"Say &#34;hi&#34; &#38; 100&#37;", "Say \"hi\" & 100%"},
           {"Caf\xE9 & <b> &#x20AC;&#8364;", "Caf\xE9 & <b> \x80\x80"},
           {"&amp;amp; &#38;#38; &#0; &# &#xZ; &lt", "&amp; &#38; &#0; &# &#xZ; &lt"}}) {
    ApplyOptionValue(settings, title, stored);
    EXPECT_EQ(settings.contactTitle, shown) << stored;
  }
}

}  // namespace
}  // namespace quil
