// The Colors page's side of the scheme's color files: loading a scheme into the page and saving
// its colors, with what the user is told when a file fails and the redraws that show the result.
#pragma once

#include <string_view>

#include "core/ColorTable.h"

namespace quil {

struct App;

// Loads the colors.dtd of `schemeName` (when empty: the scheme box's text, and when that is empty
// too: "green") and makes it the active scheme. When neither copy opens it says so and puts the
// active scheme's name back into the scheme box. True when the scheme was loaded.
bool LoadColorsDtd(App& app, std::string_view schemeName);
// Loads a scheme: colors.dtd with `schemeName`, then colors.ini of the scheme that has become
// active.
void LoadSchemeColors(App& app, std::string_view schemeName);

// Writes colors.dtd (see WriteColorsDtd) and says why when it cannot. A template that lacked a slot
// line gives way to the scheme's colors_default.dtd, which is loaded (as LoadColorsDtd with no
// name) and shown. True when the file was written.
bool SaveColorsDtd(App& app);
// Save's color step, run after config.dtd was written: colors.dtd when ColorsDtdDirty is set or
// the profile is new, then colors.ini when ColorsIniDirty is set or the profile is new. The flags
// stay as they are. True when every file it had to write was written.
bool SaveSchemeColors(App& app);

// The end of a color choice with button `buttonId` (see StoreChosenColor), shown at once.
bool EndColorChoice(App& app, int buttonId, Color chosen);

}  // namespace quil
