// colors.dtd: the skin's interface colors of one scheme as entity declarations, three components
// a slot on one line. The reader loads the 21 slots (and their mirrors) and makes the scheme
// active; the writer rewrites the numbers inside the lines of the existing file and copies every
// other byte through unchanged.
#pragma once

#include <string_view>

#include "colors/SchemeColors.h"
#include "core/Outcome.h"
#include "files/FileServices.h"

namespace quil {

struct AppState;

// Loads the scheme `schemeName` (when empty: "green") from the profile's copy or else the skin's
// copy of its colors.dtd, and makes it the active scheme. When neither copy opens it fails with
// ColorFilesUnreadable and changes nothing.
Outcome ReadColorsDtd(FileServices& files, AppState& state, SchemeColors& colors,
                      std::string_view schemeName);

// Writes the 21 slots into the active profile's colors.dtd of the active scheme, using the
// previous file (kept as the ".bak" backup, or a copy of the skin's file when the profile has
// none) as the template. Done only when the file was written completely; a template that lacks a
// slot line fails with ColorsDtdTemplateIncomplete and leaves the file as it was.
Outcome WriteColorsDtd(FileServices& files, const AppState& state, const SchemeColors& colors);

// Puts the scheme's colors_default.dtd in place of the active profile's colors.dtd of the active
// scheme: what follows a template that lacked a slot line. A scheme without that file keeps it.
void RestoreDefaultColorsDtd(FileServices& files, const AppState& state);

// The color that a slot line carries: red after the line's 1st double quote, green after the 3rd,
// blue after the 5th, each cut to its low 8 bits; 0 for a component whose quote is missing.
Color SlotLineColor(std::string_view line);

}  // namespace quil
