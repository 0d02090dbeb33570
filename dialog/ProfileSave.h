// Save of the active profile: the create or overwrite question, a new profile's folders and its
// line in the profile box, then the profile's files.
#pragma once

#include "core/Outcome.h"
#include "settings/ConfigDtdWriter.h"

namespace quil {

struct App;

// The question before a save: whether to create the new profile, or to overwrite the existing one.
// True when the user answered Yes.
bool ConfirmSave(App& app);

// Save of `settings` with the plugins of `selection` (see WriteConfigDtd), once the user has
// confirmed it: done when config.dtd was written completely. A profile folder that cannot be made,
// or has gone, fails it with ConfigNotSaved before anything is written. The outcome is the
// caller's to show.
Outcome SaveProfile(App& app, const SkinSettings& settings, PluginSelection& selection);

}  // namespace quil
