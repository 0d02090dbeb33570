// colors.ini: the scheme's message text colors as the messaging client reads them, one color line
// and one label line for each of 163 message codes. The writer fans the 13 text colors of the
// Colors page out over the codes by one fixed table; the reader loads MessageBlock back from 14 of
// the codes.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "colors/SchemeColors.h"
#include "core/Outcome.h"
#include "files/FileServices.h"

namespace quil {

struct AppState;

// One row of the message color table: the code (eight characters), the sub-index (01 is the text
// part of a message whose 00 row is the nick part), the label written as it is, the entry whose
// color the writer gives the row, and the entry the reader loads from the row's color line, if
// any.
struct MessageColorRow {
  std::string_view code;
  std::string_view sub;
  std::string_view label;
  ColorEntry colorFrom;
  int loadsInto = kNoLoad;

  static constexpr int kNoLoad = -1;
};

// The 163 rows in the order in which they are written. The rows that load an entry stand in the
// order in which the reader looks for them, so a written file reads back completely.
std::span<const MessageColorRow> MessageColorRows();

// The key of a row's color line, "color_<code>_<sub>_color".
std::string ColorKey(const MessageColorRow& row);

// Writes the active profile's colors.ini of the active scheme from the table and MessageBlock,
// keeping the previous file as the ".bak" backup. Fails with ColorsIniNotSaved, the previous file
// back in place, when the file cannot be written.
Outcome WriteColorsIni(FileServices& files, const AppState& state, const SchemeColors& colors);

// Loads the 14 MessageBlock entries from the active scheme's colors.ini (the profile's copy, else
// the skin's). A key that is missing, or stands before the previous key, reads as 0 with every
// later key. Fails with ColorFilesUnreadable, changing nothing, when neither copy opens.
Outcome ReadColorsIni(FileServices& files, const AppState& state, SchemeColors& colors);

// The color of a color line: the text after its first "=", split at commas (a run of commas is
// one separator) into red, green and blue, each cut to its low 8 bits; 0 for what is missing.
Color ColorLineValue(std::string_view line);

}  // namespace quil
