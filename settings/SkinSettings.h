// The skin's general options: one table that gives, for every option, its config.dtd entity, the
// page control that stores it, how the control's state becomes the entity's text and back, the
// bounds applied on reading and on writing, and the control's initial state. The config.dtd reader
// and writer both walk this table in its order, which is the order of the entities in the file.
// Also the entities that carry no page option, the skin version rule and the font-size presets.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "core/ControlIds.h"
#include "core/Ports.h"

namespace quil {

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
  Page page;
  int control;  // the check box, edit field or, for Radio, the button of `offValue` (Small)
  Encoding encoding;
  std::string_view onValue = {};   // Flag: written when checked; Radio: when `onControl` is checked
  std::string_view offValue = {};  // written otherwise
  int onControl = 0;               // Radio: the button of `onValue` (Large)
  ReadRule readRule = ReadRule::Verbatim;
  std::string_view readPrefix = {};
  int readBound = 0;
  int writeFloor = 0;                 // Text: a value below it is written as it; 0 for none
  std::string_view initialText = {};  // Text and FirstTwo: the edit's text before the first read
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

// The reader's rule: sets the option's control(s) from the entity's value, a text with its
// references read back (settings/EntityText.h). Check boxes and radio buttons are set explicitly,
// checked or unchecked.
void ApplyOptionValue(DialogControls& controls, const SkinOption& option, std::string_view value);
// The writer's rule: the entity's value from the control's state, a text escaped for the quotes of
// an entity declaration.
std::string OptionValue(DialogControls& controls, const SkinOption& option);

// The whole line a file of an older skin version gets for a version-following option, in place
// of the template's line: "<!ENTITY name \"value\">" with the option's comment and a line break.
std::string OlderVersionLine(const SkinOption& option, std::string_view value);

// Puts every option control into its state before the first read: check boxes and radio buttons
// unchecked, edit fields with their initial texts.
void SetInitialOptionStates(DialogControls& controls);

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
// Fills the six font-size edits with the preset's sizes.
void ApplyFontPreset(DialogControls& controls, FontPreset preset);

}  // namespace quil
