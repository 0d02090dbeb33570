// The scheme and plugin lists: filling them, hiding and deleting schemes and plugins, and removing
// a folder tree.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quil {

struct App;
struct DirEntry;

// Folder paths that RemoveDirectoryTree forms fit into this many bytes; a deeper entry is left
// alone (so its folder cannot be removed and the failure is reported), never cut.
inline constexpr std::size_t kTreePathCapacity = 1024;

// True for an entry of "mods\*" that is a color scheme: a folder, not beginning with ".", not
// "all", and not beginning with "!" unless hidden folders are shown.
bool IsSchemeFolder(const DirEntry& entry, bool showHidden);
// The scheme folders under "mods\", in listing order.
std::vector<std::string> SchemeFolders(App& app);

// True when `name` can be one folder name: not empty, not "." or "..", and without \ / : * ? " < >
// |.
bool IsSingleFolderName(std::string_view name);

// Loads the active profile into the pages: with `fullScan` (start-up) it first fills the scheme box
// and rescans the plugins; then it reads the profile's settings (a settings file that cannot be
// read completely is set aside as "config.dtd.bad" and the default plugin's settings are read
// instead), fills the plugin list, finds the skin-viewer image and loads the scheme's colors.
// Ends the program with exit status 1 when no settings can be read. Returns 1.
int ReloadProfile(App& app, bool fullScan);

// Refills the plugin list from the catalogue, line i selected exactly when entry i is. Returns 1.
int FillPluginListBox(App& app);

// Removes a folder with everything in it. A link to a folder is removed as the link; its target
// stays. Each folder level that cannot be removed shows "Failed directory removal, error - %d".
void RemoveDirectoryTree(App& app, const std::string& path);

// The commands of the Colors page's "&Hide" and "&Del" and the Plugins page's "&Hide" and "&Del".
void HideScheme(App& app);
void DeleteScheme(App& app);
void HidePlugins(App& app);
void DeletePlugins(App& app);

}  // namespace quil
