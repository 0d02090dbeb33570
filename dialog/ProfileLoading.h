// Loading the active profile into the pages: its settings, its plugin choice, its skin-viewer
// image and its scheme's colors.
#pragma once

namespace quil {

struct App;

// Loads the active profile into the pages: with `fullScan` (start-up) it first fills the scheme box
// and rescans the plugins; then it reads the profile's settings (a settings file that cannot be
// read completely is set aside as "config.dtd.bad" and the default plugin's settings are read
// instead), fills the plugin list, finds the skin-viewer image and loads the scheme's colors.
// Ends the program with exit status 1 when no settings can be read.
void ReloadProfile(App& app, bool fullScan);

}  // namespace quil
