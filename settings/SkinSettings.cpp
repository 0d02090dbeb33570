// The options table of the skin's general settings and the rules that move an option between its
// field and its entity's text.
//
// The file, top to bottom:
// - the row builders, one for each kind of option;
// - the options table (kOptions), in the order of the entities in config.dtd;
// - the font-size presets;
// - the reader's rule (ApplyOptionValue) and the writer's rule (OptionValue), the line written for
//   an older skin version, the skin version rule and the presets.
#include "settings/SkinSettings.h"

#include <array>
#include <cstddef>

#include "base/Text.h"
#include "settings/EntityText.h"

namespace quil {

namespace {

// Row builders, one for each kind of option, so that the table reads one option to a line.

using Flag = bool SkinSettings::*;
using Field = std::string SkinSettings::*;

constexpr SkinOption YesNo(std::string_view entity, Flag flag, Page page, int box) {
  return {.entity = entity,
          .flag = flag,
          .page = page,
          .control = box,
          .encoding = Encoding::Flag,
          .onValue = "yes",
          .offValue = "no",
          .readRule = ReadRule::BeginsWith,
          .readPrefix = "y"};
}

// A check box written as one of two digits and read by the digit the value begins with.
constexpr SkinOption Digit(std::string_view entity, Flag flag, int box, std::string_view on,
                           std::string_view off) {
  return {.entity = entity,
          .flag = flag,
          .page = Page::General,
          .control = box,
          .encoding = Encoding::Flag,
          .onValue = on,
          .offValue = off,
          .readRule = ReadRule::BeginsWith,
          .readPrefix = on};
}

// A check box written as one of two numbers and read as checked below a bound.
constexpr SkinOption Threshold(std::string_view entity, Flag flag, int box, std::string_view on,
                               std::string_view off, int below) {
  return {.entity = entity,
          .flag = flag,
          .page = Page::General,
          .control = box,
          .encoding = Encoding::Flag,
          .onValue = on,
          .offValue = off,
          .readRule = ReadRule::Below,
          .readBound = below};
}

// A check box written "1" or "0" and read as checked when the value is the number 1.
constexpr SkinOption One(std::string_view entity, Flag flag, Page page, int box) {
  return {.entity = entity,
          .flag = flag,
          .page = page,
          .control = box,
          .encoding = Encoding::Flag,
          .onValue = "1",
          .offValue = "0",
          .readRule = ReadRule::Equals,
          .readBound = 1};
}

// An entity written from a check box of another option and never read.
constexpr SkinOption Derived(std::string_view entity, Flag flag, int box, std::string_view on,
                             std::string_view off) {
  return {.entity = entity,
          .flag = flag,
          .page = Page::General,
          .control = box,
          .encoding = Encoding::Flag,
          .onValue = on,
          .offValue = off,
          .readRule = ReadRule::Never};
}

// A number in an edit field, raised to `readFloor` on reading and to `writeFloor` on writing.
constexpr SkinOption Number(std::string_view entity, Field field, int edit, int readFloor,
                            int writeFloor) {
  return {.entity = entity,
          .text = field,
          .page = Page::General,
          .control = edit,
          .encoding = Encoding::Text,
          .readRule = ReadRule::RaisedTo,
          .readBound = readFloor,
          .writeFloor = writeFloor};
}

constexpr SkinOption Text(std::string_view entity, Field field, int edit) {
  return {.entity = entity,
          .text = field,
          .page = Page::General,
          .control = edit,
          .encoding = Encoding::Text};
}

constexpr SkinOption FontSize(std::string_view entity, Field field, int edit) {
  return {.entity = entity,
          .text = field,
          .page = Page::General,
          .control = edit,
          .encoding = Encoding::FirstTwo};
}

constexpr SkinOption FontsRadio(std::string_view entity) {
  return {.entity = entity,
          .flag = &SkinSettings::largeFonts,
          .page = Page::General,
          .control = kSmallFontsRadio,
          .encoding = Encoding::Radio,
          .onValue = "large",
          .offValue = "small",
          .onControl = kLargeFontsRadio,
          .readRule = ReadRule::BeginsWith,
          .readPrefix = "large"};
}

// Marks an option that follows the skin version.
constexpr SkinOption Versioned(SkinOption option, std::string_view olderValue,
                               std::string_view comment) {
  option.olderVersionValue = olderValue;
  option.olderVersionComment = comment;
  return option;
}

constexpr std::array kOptions = {
    YesNo("buttonscroll", &SkinSettings::buttonScroll, Page::General, kButtonScrollBox),
    Digit("remcon", &SkinSettings::removeConnection, kRemoveConnectionBox, "1", "0"),
    Text("contactname", &SkinSettings::contactTitle, kContactTitleEdit),
    Versioned(Digit("showmin", &SkinSettings::hideMinimize, kHideMinimizeBox, "0", "1"), "0",
              "<!-- 1=yes/0=no  defines whether contact list minimize button is displayed -->"),
    Versioned(Derived("titleedge", &SkinSettings::hideMinimize, kHideMinimizeBox, "54", "72"), "",
              "<!-- 72/54 if minimize button displayed/hidden -->"),
    Versioned(Digit("showtbicon", &SkinSettings::mediumIcons, kMediumIconsBox, "1", "0"), "1",
              "<!-- 1=yes/0=no  defines whether taskbar icon is displayed -->"),
    Versioned(Derived("tbtextedge", &SkinSettings::mediumIcons, kMediumIconsBox, "23", "3"), "",
              "<!-- 23/3 if taskbar icon displayed/hidden -->"),
    Threshold("buddypos", &SkinSettings::buddyIconClosed, kBuddyIconClosedBox, "0", "76", 76),
    Number("nicklistpos", &SkinSettings::nicklistWidth, kNicklistWidthEdit, 107, 0),
    Number("editpos", &SkinSettings::editboxHeight, kEditboxHeightEdit, 40, 45),
    YesNo("editsave", &SkinSettings::saveEditbox, Page::General, kSaveEditboxBox),
    Threshold("scrollpos", &SkinSettings::scrollbarsHidden, kScrollbarsHiddenBox, "4", "19", 19),
    YesNo("scrollsave", &SkinSettings::saveScrollbar, Page::General, kSaveScrollbarBox),
    Number("trillybarheight", &SkinSettings::trillybarHeight, kTrillybarHeightEdit, 40, 0),
    Number("containerheight", &SkinSettings::containerHeight, kContainerHeightEdit, 170, 0),
    FontsRadio("fonts"),
    FontSize("smallfontsize", &SkinSettings::smallFontSize, kSmallFontSizeEdit),
    FontSize("normalfontsize", &SkinSettings::normalFontSize, kNormalFontSizeEdit),
    FontSize("contactfontsize", &SkinSettings::contactFontSize, kContactFontSizeEdit),
    FontSize("hugefontsize", &SkinSettings::hugeFontSize, kHugeFontSizeEdit),
    FontSize("titlefontsize", &SkinSettings::titleFontSize, kTitleFontSizeEdit),
    FontSize("bartitlefontsize", &SkinSettings::barTitleFontSize, kBarTitleFontSizeEdit),
    One("titlefontbold", &SkinSettings::boldTitles, Page::General, kBoldTitlesBox),
    One("bartitlefontbold", &SkinSettings::boldRollupTitles, Page::General, kBoldRollupTitlesBox),
    One("itlonline", &SkinSettings::italicOnline, Page::Colors, ItalicStatusBox(1)),
    One("bldonline", &SkinSettings::boldOnline, Page::Colors, BoldStatusBox(1)),
    One("itloffline", &SkinSettings::italicOffline, Page::Colors, ItalicStatusBox(2)),
    One("bldoffline", &SkinSettings::boldOffline, Page::Colors, BoldStatusBox(2)),
    One("itlrecenton", &SkinSettings::italicRecentOn, Page::Colors, ItalicStatusBox(3)),
    One("bldrecenton", &SkinSettings::boldRecentOn, Page::Colors, BoldStatusBox(3)),
    One("itlrecentoff", &SkinSettings::italicRecentOff, Page::Colors, ItalicStatusBox(4)),
    One("bldrecentoff", &SkinSettings::boldRecentOff, Page::Colors, BoldStatusBox(4)),
    One("itlaway", &SkinSettings::italicAway, Page::Colors, ItalicStatusBox(5)),
    One("bldaway", &SkinSettings::boldAway, Page::Colors, BoldStatusBox(5)),
};

// The written font sizes are cut to two characters: a buffer of three bytes.
constexpr std::size_t kFontSizeCapacity = 3;

// The six font sizes and the sizes each preset gives them, in the same order.
constexpr std::array kFontSizes = {&SkinSettings::smallFontSize,   &SkinSettings::normalFontSize,
                                   &SkinSettings::contactFontSize, &SkinSettings::hugeFontSize,
                                   &SkinSettings::titleFontSize,   &SkinSettings::barTitleFontSize};
constexpr std::array<std::string_view, kFontSizes.size()> kSmallPreset = {"7",  "8", "8",
                                                                          "22", "8", "7"};
constexpr std::array<std::string_view, kFontSizes.size()> kLargePreset = {"6",  "7", "7",
                                                                          "20", "7", "6"};

}  // namespace

std::span<const SkinOption> SkinOptions() {
  return kOptions;
}

std::string EntityKey(const SkinOption& option) {
  return "<!ENTITY " + std::string(option.entity);
}

void ApplyOptionValue(SkinSettings& settings, const SkinOption& option, std::string_view value) {
  switch (option.readRule) {
    case ReadRule::Never:
      return;
    case ReadRule::BeginsWith:
      settings.*option.flag = StartsWithNoCase(value, option.readPrefix);
      return;
    case ReadRule::Below:
      settings.*option.flag = LeadingInt(value) < option.readBound;
      return;
    case ReadRule::Equals:
      settings.*option.flag = LeadingInt(value) == option.readBound;
      return;
    case ReadRule::RaisedTo:
      settings.*option.text = LeadingInt(value) < option.readBound
                                  ? std::to_string(option.readBound)
                                  : UnescapeEntityText(value);
      return;
    case ReadRule::Verbatim:
      settings.*option.text = UnescapeEntityText(value);
      return;
  }
}

std::string OptionValue(const SkinSettings& settings, const SkinOption& option) {
  switch (option.encoding) {
    case Encoding::Flag:
    case Encoding::Radio:
      return std::string(settings.*option.flag ? option.onValue : option.offValue);
    case Encoding::FirstTwo:
      return EscapeEntityText(Bounded(settings.*option.text, kFontSizeCapacity));
    case Encoding::Text: {
      std::string text = settings.*option.text;
      if (option.writeFloor > 0 && LeadingInt(text) < option.writeFloor) {
        text = std::to_string(option.writeFloor);
      }
      return EscapeEntityText(text);
    }
  }
  return {};
}

std::string OlderVersionLine(const SkinOption& option, std::string_view value) {
  return Format("<!ENTITY %s \"%s\">%s\n", {option.entity, value, option.olderVersionComment});
}

bool HasMinimizeAndTaskbarLines(int skinVersion) {
  return skinVersion > 2;
}

void ApplyFontPreset(SkinSettings& settings, FontPreset preset) {
  const auto& sizes = preset == FontPreset::Large ? kLargePreset : kSmallPreset;
  for (std::size_t i = 0; i < kFontSizes.size(); ++i) settings.*kFontSizes[i] = sizes[i];
}

}  // namespace quil
