// The skin's general settings as values, and one table that gives, for every option, its config.dtd
// entity, the field of the settings that holds it, the page control that shows it, how the value
// becomes the entity's text and back, the bounds applied on reading and on writing, and the value
// before the first read. The config.dtd reader and writer both walk this table in its order, which
// is the order of the entities in the file. Also the entities that carry no page option, the skin
// version rule and the font-size presets.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/ControlIds.h"
#include "core/Ports.h"  // Page

namespace quil {

// The settings of a profile's config.dtd, as the pages show them. A text option holds the text as
// shown (its references read back); a fresh record holds the values before the first read.
struct SkinSettings {
  int skinVersion = 0;
  // The scheme the file names; none when the file ended before its line.
  std::optional<std::string> scheme;

  bool buttonScroll = false;
  bool removeConnection = false;
  std::string contactTitle = "Trillian";
  bool hideMinimize = false;
  bool mediumIcons = false;
  bool buddyIconClosed = false;
  std::string nicklistWidth = "107";
  std::string editboxHeight = "40";
  bool saveEditbox = false;
  bool scrollbarsHidden = false;
  bool saveScrollbar = false;
  std::string trillybarHeight = "40";
  std::string containerHeight = "250";
  // The "System fonts" radio pair: Large checked, or else Small. Before the first read neither
  // button is checked, which the pages alone can show.
  bool largeFonts = false;
  std::string smallFontSize = "7";
  std::string normalFontSize = "8";
  std::string contactFontSize = "8";
  std::string hugeFontSize = "22";
  std::string titleFontSize = "8";
  std::string barTitleFontSize = "7";
  bool boldTitles = false;
  bool boldRollupTitles = false;
  bool italicOnline = false;
  bool boldOnline = false;
  bool italicOffline = false;
  bool boldOffline = false;
  bool italicRecentOn = false;
  bool boldRecentOn = false;
  bool italicRecentOff = false;
  bool boldRecentOff = false;
  bool italicAway = false;
  bool boldAway = false;

  // The stems of the plugins the file enables, in the order of their declarations.
  std::vector<std::string> pluginStems;
};

// How a control holds an option.
enum class Encoding {
  Flag,      // a check box, written as one of two values
  Text,      // an edit field, written as its text
  FirstTwo,  // an edit field, written as the first two characters of its text
  Radio,     // the Small/Large radio pair, written as one of two values
};

// How an entity's value from the file sets the control.
enum class ReadRule {
  Never,       // a derived entity: written only
  BeginsWith,  // checked when the value begins with `readPrefix`, compared without regard to case
  Below,       // checked when the value as an integer is below `readBound`
  Equals,      // checked when the value as an integer equals `readBound`
  RaisedTo,    // text = value, or `readBound` when the value as an integer is below it
  Verbatim,    // text = value
};

struct SkinOption {
  std::string_view entity;
  // The field that holds the option: `flag` for Flag and Radio (Radio: `onValue` chosen), `text`
  // for Text and FirstTwo. A derived entity shares the field of the option it follows.
  bool SkinSettings::*flag = nullptr;
  std::string SkinSettings::*text = nullptr;
  Page page;
  int control;  // the check box, edit field or, for Radio, the button of `offValue` (Small)
  Encoding encoding;
  std::string_view onValue = {};   // Flag: written when checked; Radio: when `onControl` is checked
  std::string_view offValue = {};  // written otherwise
  int onControl = 0;               // Radio: the button of `onValue` (Large)
  ReadRule readRule = ReadRule::Verbatim;
  std::string_view readPrefix = {};
  int readBound = 0;
  int writeFloor = 0;  // Text: a value below it is written as it; 0 for none
  // Options that follow the skin version: the value a file of an older version stands for (empty
  // for a derived entity), and the comment of the whole line written for such a file.
  std::string_view olderVersionValue = {};
  std::string_view olderVersionComment = {};

  bool IsRead() const { return readRule != ReadRule::Never; }
  bool FollowsSkinVersion() const { return !olderVersionComment.empty(); }
};

// Every option, in the order of the entities in config.dtd.
std::span<const SkinOption> SkinOptions();

// The start of the option's entity line: "<!ENTITY " and the entity name.
std::string EntityKey(const SkinOption& option);

// The reader's rule: sets the option's field from the entity's value, a text with its references
// read back (settings/EntityText.h).
void ApplyOptionValue(SkinSettings& settings, const SkinOption& option, std::string_view value);
// The writer's rule: the entity's value from the option's field, a text escaped for the quotes of
// an entity declaration.
std::string OptionValue(const SkinSettings& settings, const SkinOption& option);

// The whole line a file of an older skin version gets for a version-following option, in place
// of the template's line: "<!ENTITY name \"value\">" with the option's comment and a line break.
std::string OlderVersionLine(const SkinOption& option, std::string_view value);

// The skin version rule: the minimize and taskbar-icon lines exist in files of a version above 2.
// For older files (or when no version was ever read) they stand for the older-version values.
bool HasMinimizeAndTaskbarLines(int skinVersion);
// The version the writer puts into every file.
inline constexpr std::string_view kWrittenSkinVersion = "3";

// Lines of the file that carry no page option, found by the text they begin with.
inline constexpr std::string_view kSkinVersionKey = "\tskinversion";  // the writer adds "="
inline constexpr std::string_view kQuilDirParameterKey = "<!ENTITY % QuilDir";
inline constexpr std::string_view kQuilDirKey = "<!ENTITY QuilDir";
inline constexpr std::string_view kColorKey = "<!ENTITY % color";
inline constexpr std::string_view kModpackKey = "<!ENTITY % modpack_";
// The header line that begins the generated plugin section (33 characters).
inline constexpr std::string_view kModpackHeader = "     |     Modpack settings     |";

// The font-size presets of the "System fonts" radio buttons.
enum class FontPreset { Small, Large };
// Sets the six font sizes to the preset's.
void ApplyFontPreset(SkinSettings& settings, FontPreset preset);

}  // namespace quil
