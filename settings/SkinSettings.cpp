// The options table of the skin's general settings and the rules that move an option between its
// control and its entity's text.
//
// The file, top to bottom:
// - the row builders, one for each kind of option;
// - the options table (kOptions), in the order of the entities in config.dtd;
// - the font-size presets;
// - the reader's rule (ApplyOptionValue) and the writer's rule (OptionValue), the line written for
//   an older skin version, the controls' initial states, the skin version rule and the presets.
#include "settings/SkinSettings.h"

#include <array>
#include <cstddef>

#include "base/Text.h"
#include "settings/EntityText.h"

namespace quil {

namespace {

// Row builders, one for each kind of option, so that the table reads one option to a line.

constexpr SkinOption YesNo(std::string_view entity, Page page, int box) {
  return {.entity = entity,
          .page = page,
          .control = box,
          .encoding = Encoding::Flag,
          .onValue = "yes",
          .offValue = "no",
          .readRule = ReadRule::BeginsWith,
          .readPrefix = "y"};
}

// A check box written as one of two digits and read by the digit the value begins with.
constexpr SkinOption Digit(std::string_view entity, int box, std::string_view on,
                           std::string_view off) {
  return {.entity = entity,
          .page = Page::General,
          .control = box,
          .encoding = Encoding::Flag,
          .onValue = on,
          .offValue = off,
          .readRule = ReadRule::BeginsWith,
          .readPrefix = on};
}

// A check box written as one of two numbers and read as checked below a bound.
constexpr SkinOption Threshold(std::string_view entity, int box, std::string_view on,
                               std::string_view off, int below) {
  return {.entity = entity,
          .page = Page::General,
          .control = box,
          .encoding = Encoding::Flag,
          .onValue = on,
          .offValue = off,
          .readRule = ReadRule::Below,
          .readBound = below};
}

// A check box written "1" or "0" and read as checked when the value is the number 1.
constexpr SkinOption One(std::string_view entity, Page page, int box) {
  return {.entity = entity,
          .page = page,
          .control = box,
          .encoding = Encoding::Flag,
          .onValue = "1",
          .offValue = "0",
          .readRule = ReadRule::Equals,
          .readBound = 1};
}

// An entity written from a check box of another option and never read.
constexpr SkinOption Derived(std::string_view entity, int box, std::string_view on,
                             std::string_view off) {
  return {.entity = entity,
          .page = Page::General,
          .control = box,
          .encoding = Encoding::Flag,
          .onValue = on,
          .offValue = off,
          .readRule = ReadRule::Never};
}

// A number in an edit field, raised to `readFloor` on reading and to `writeFloor` on writing.
constexpr SkinOption Number(std::string_view entity, int edit, int readFloor, int writeFloor,
                            std::string_view initial) {
  return {.entity = entity,
          .page = Page::General,
          .control = edit,
          .encoding = Encoding::Text,
          .readRule = ReadRule::RaisedTo,
          .readBound = readFloor,
          .writeFloor = writeFloor,
          .initialText = initial};
}

constexpr SkinOption Text(std::string_view entity, int edit, std::string_view initial) {
  return {.entity = entity,
          .page = Page::General,
          .control = edit,
          .encoding = Encoding::Text,
          .initialText = initial};
}

constexpr SkinOption FontSize(std::string_view entity, int edit, std::string_view initial) {
  return {.entity = entity,
          .page = Page::General,
          .control = edit,
          .encoding = Encoding::FirstTwo,
          .initialText = initial};
}

constexpr SkinOption FontsRadio(std::string_view entity) {
  return {.entity = entity,
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
    YesNo("buttonscroll", Page::General, kButtonScrollBox),
    Digit("remcon", kRemoveConnectionBox, "1", "0"),
    Text("contactname", kContactTitleEdit, "Trillian"),
    Versioned(Digit("showmin", kHideMinimizeBox, "0", "1"), "0",
              "<!-- 1=yes/0=no  defines whether contact list minimize button is displayed -->"),
    Versioned(Derived("titleedge", kHideMinimizeBox, "54", "72"), "",
              "<!-- 72/54 if minimize button displayed/hidden -->"),
    Versioned(Digit("showtbicon", kMediumIconsBox, "1", "0"), "1",
              "<!-- 1=yes/0=no  defines whether taskbar icon is displayed -->"),
    Versioned(Derived("tbtextedge", kMediumIconsBox, "23", "3"), "",
              "<!-- 23/3 if taskbar icon displayed/hidden -->"),
    Threshold("buddypos", kBuddyIconClosedBox, "0", "76", 76),
    Number("nicklistpos", kNicklistWidthEdit, 107, 0, "107"),
    Number("editpos", kEditboxHeightEdit, 40, 45, "40"),
    YesNo("editsave", Page::General, kSaveEditboxBox),
    Threshold("scrollpos", kScrollbarsHiddenBox, "4", "19", 19),
    YesNo("scrollsave", Page::General, kSaveScrollbarBox),
    Number("trillybarheight", kTrillybarHeightEdit, 40, 0, "40"),
    Number("containerheight", kContainerHeightEdit, 170, 0, "250"),
    FontsRadio("fonts"),
    FontSize("smallfontsize", kSmallFontSizeEdit, "7"),
    FontSize("normalfontsize", kNormalFontSizeEdit, "8"),
    FontSize("contactfontsize", kContactFontSizeEdit, "8"),
    FontSize("hugefontsize", kHugeFontSizeEdit, "22"),
    FontSize("titlefontsize", kTitleFontSizeEdit, "8"),
    FontSize("bartitlefontsize", kBarTitleFontSizeEdit, "7"),
    One("titlefontbold", Page::General, kBoldTitlesBox),
    One("bartitlefontbold", Page::General, kBoldRollupTitlesBox),
    One("itlonline", Page::Colors, ItalicStatusBox(1)),
    One("bldonline", Page::Colors, BoldStatusBox(1)),
    One("itloffline", Page::Colors, ItalicStatusBox(2)),
    One("bldoffline", Page::Colors, BoldStatusBox(2)),
    One("itlrecenton", Page::Colors, ItalicStatusBox(3)),
    One("bldrecenton", Page::Colors, BoldStatusBox(3)),
    One("itlrecentoff", Page::Colors, ItalicStatusBox(4)),
    One("bldrecentoff", Page::Colors, BoldStatusBox(4)),
    One("itlaway", Page::Colors, ItalicStatusBox(5)),
    One("bldaway", Page::Colors, BoldStatusBox(5)),
};

// The written font sizes are cut to two characters: a buffer of three bytes.
constexpr std::size_t kFontSizeCapacity = 3;

// The six font-size edits and the sizes each preset fills them with, in the same order.
constexpr std::array kFontSizeEdits = {kSmallFontSizeEdit,   kNormalFontSizeEdit,
                                       kContactFontSizeEdit, kHugeFontSizeEdit,
                                       kTitleFontSizeEdit,   kBarTitleFontSizeEdit};
constexpr std::array<std::string_view, kFontSizeEdits.size()> kSmallPreset = {"7",  "8", "8",
                                                                              "22", "8", "7"};
constexpr std::array<std::string_view, kFontSizeEdits.size()> kLargePreset = {"6",  "7", "7",
                                                                              "20", "7", "6"};

}  // namespace

std::span<const SkinOption> SkinOptions() {
  return kOptions;
}

std::string EntityKey(const SkinOption& option) {
  return "<!ENTITY " + std::string(option.entity);
}

void ApplyOptionValue(DialogControls& controls, const SkinOption& option, std::string_view value) {
  bool rule = false;
  switch (option.readRule) {
    case ReadRule::Never:
      return;
    case ReadRule::BeginsWith:
      rule = StartsWithNoCase(value, option.readPrefix);
      break;
    case ReadRule::Below:
      rule = LeadingInt(value) < option.readBound;
      break;
    case ReadRule::Equals:
      rule = LeadingInt(value) == option.readBound;
      break;
    case ReadRule::RaisedTo:
      controls.SetText(option.page, option.control,
                       LeadingInt(value) < option.readBound ? std::to_string(option.readBound)
                                                            : UnescapeEntityText(value));
      return;
    case ReadRule::Verbatim:
      controls.SetText(option.page, option.control, UnescapeEntityText(value));
      return;
  }
  if (option.encoding == Encoding::Radio) {
    controls.SetChecked(option.page, option.onControl, rule);
    controls.SetChecked(option.page, option.control, !rule);
  } else {
    controls.SetChecked(option.page, option.control, rule);
  }
}

std::string OptionValue(DialogControls& controls, const SkinOption& option) {
  switch (option.encoding) {
    case Encoding::Flag:
      return std::string(controls.IsChecked(option.page, option.control) ? option.onValue
                                                                         : option.offValue);
    case Encoding::Radio:
      return std::string(controls.IsChecked(option.page, option.onControl) ? option.onValue
                                                                           : option.offValue);
    case Encoding::FirstTwo:
      return EscapeEntityText(Bounded(
          controls.GetText(option.page, option.control, kControlTextCapacity), kFontSizeCapacity));
    case Encoding::Text: {
      std::string text = controls.GetText(option.page, option.control, kControlTextCapacity);
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

void SetInitialOptionStates(DialogControls& controls) {
  for (const SkinOption& option : kOptions) {
    switch (option.encoding) {
      case Encoding::Flag:
        controls.SetChecked(option.page, option.control, false);
        break;
      case Encoding::Radio:
        controls.SetChecked(option.page, option.control, false);
        controls.SetChecked(option.page, option.onControl, false);
        break;
      case Encoding::Text:
      case Encoding::FirstTwo:
        controls.SetText(option.page, option.control, option.initialText);
        break;
    }
  }
}

bool HasMinimizeAndTaskbarLines(int skinVersion) {
  return skinVersion > 2;
}

void ApplyFontPreset(DialogControls& controls, FontPreset preset) {
  const auto& sizes = preset == FontPreset::Large ? kLargePreset : kSmallPreset;
  for (std::size_t i = 0; i < kFontSizeEdits.size(); ++i) {
    controls.SetText(Page::General, kFontSizeEdits[i], sizes[i]);
  }
}

}  // namespace quil
