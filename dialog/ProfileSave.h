// Save of the active profile: the create or overwrite question, a new profile's folders and its
// line in the profile box, then the profile's files.
#pragma once

#include "core/Outcome.h"
#include "settings/ConfigDtdWriter.h"

namespace quil {

struct App;

// Save of `settings` with the plugins of `selection` (see WriteConfigDtd): done when the user
// confirmed and config.dtd was written completely. A profile folder that cannot be made, or has
// gone, fails it with ConfigNotSaved before anything is written; a question answered No leaves it
// not done with nothing reported. The outcome is the caller's to show.
Outcome SaveProfile(App& app, const SkinSettings& settings, PluginSelection& selection);

}  // namespace quil
