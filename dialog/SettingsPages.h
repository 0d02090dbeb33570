// The pages as the view of the skin settings: the one step that shows a settings record in the
// controls after a load, and the one that takes the record from them before a save, with the
// plugin selection of the Plugins page list.
#pragma once

#include <string>

#include "settings/ConfigDtdWriter.h"
#include "settings/SkinSettings.h"

namespace quil {

struct App;
class DialogControls;

// Puts every option control into its state before the first read: check boxes and radio buttons
// unchecked, edit fields with the texts of a fresh settings record.
void SetInitialOptionStates(DialogControls& controls);

// The settings as the pages show them: every option, the scheme box's text and the skin version of
// the file last read. No plugin stems: the Plugins page list holds the selection.
SkinSettings ShownSettings(App& app);
// Shows `settings` after a load: the skin version, the scheme (loaded as the box's commit would
// load it: one whose colors cannot be read leaves the active one in place), every read option and
// the plugins the stems enable (each stem enables every catalogue entry that has it).
void ShowSettings(App& app, const SkinSettings& settings);

// Reads `fileName` (see ReadConfigDtd) on top of the settings shown, tells the user what went
// wrong on the way (and ends the program when not even the defaults could be read), and shows what
// it read. True when every option line was found.
bool LoadSettings(App& app, const std::string& fileName);

// The Plugins page list's selection, one flag for each catalogue entry.
PluginSelection ShownPluginSelection(App& app);
// Unselects the list lines that `selection` no longer selects.
void ShowPluginSelection(App& app, const PluginSelection& selection);

// The "System fonts" radio buttons: the six font-size edits take the preset's sizes.
void ApplyFontPreset(DialogControls& controls, FontPreset preset);

}  // namespace quil
