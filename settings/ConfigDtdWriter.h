// Writing a profile's config.dtd: the default template copied line by line with the value of every
// known entity replaced by the settings' value, the scheme line, and a generated section
// that binds the selected plugins' files. The previous file is kept as config.dtd.bak and comes
// back when the save cannot complete.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/Outcome.h"
#include "core/PluginList.h"
#include "files/FileServices.h"

namespace quil {

struct AppState;
struct SkinSettings;

// The plugins to enable: one flag for each entry of the plugin catalogue, in its order.
using PluginSelection = std::vector<bool>;

// Copies template lines (pieces of at most 399 characters) to `out` until one begins with `key`,
// compared without regard to case. That line is written with the text between its first two double
// quotes replaced by `value`; a line with fewer than two quotes is written unchanged. True when the
// key's line was found; false when the template ended first (every line read has been copied).
bool ReplaceEntityValue(TextReader& tpl, TextWriter& out, std::string_view key,
                        std::string_view value);

// Saves `settings` and the plugins of `selection` as the config.dtd in `profileFolderPath` (empty
// for "(default)"); `directoryPrefix` leads from there back to the skin folder. Once the file's
// plugin section is written, every entry of `plugins` (the catalogue) has the selection's
// `selected` flag. The scheme line lists the scheme folders (hidden ones with the state's
// ShowHidden). For the profile "(default)" (the state's ProfileName) it
// also writes the skin's settings.dtd (SettingsDtdNotSaved when it cannot; the save stands). Every
// text goes into its entity value escaped (settings/EntityText.h). An enabled plugin whose
// variable cannot make an entity name, or whose folder's path cannot stand in a SYSTEM literal, is
// left out of the file, unselected in `selection` and reported (PluginsLeftOut, their
// descriptions a line each) once the file is written. Done when a complete file was written;
// otherwise the previous config.dtd is back in place (none when there was none). Nothing is
// written when the backup cannot be made whole, and a template cut short by a failed write fails
// the save with ConfigNotSaved; the other failures to make the template are WriteDefaultConfig's.
Outcome WriteConfigDtd(FileServices& files, const AppState& state, PluginList& plugins,
                       const SkinSettings& settings, PluginSelection& selection,
                       const std::string& profileFolderPath, const std::string& directoryPrefix);

}  // namespace quil
