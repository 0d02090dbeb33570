// The scheme and plugin lists: filling them, hiding and deleting schemes and plugins, and removing
// a folder tree.
#pragma once

#include <string>
#include <string_view>

#include "base/Paths.h"

namespace quil {

struct App;

// Folder paths that RemoveDirectoryTree forms fit into this many bytes; a deeper entry is left
// alone (so its folder cannot be removed and the failure is reported), never cut.
inline constexpr std::size_t kTreePathCapacity = 1024;

// True when `name` can be one folder name: not empty, not "." or "..", without \ / : * ? " < > |
// (searched character by character with the code page's lead bytes), and not ending in "." or a
// space, which Windows strips, so that "foo." would name the folder "foo".
bool IsSingleFolderName(std::string_view name, const LeadBytes& lead);

// Refills the plugin list from the catalogue, line i selected exactly when entry i is.
void FillPluginListBox(App& app);

// Removes a folder with everything in it. A link to a folder, the folder given included, is
// removed as the link; its target stays. An entry whose name could lead elsewhere (no exact ANSI
// form, or no single folder name) is left, so its folder stays too. Each folder level that cannot
// be removed shows "Failed directory removal, error - %d".
void RemoveDirectoryTree(App& app, const std::string& path);

// The commands of the Colors page's "&Hide" and "&Del" and the Plugins page's "&Hide" and "&Del".
void HideScheme(App& app);
void DeleteScheme(App& app);
void HidePlugins(App& app);
void DeletePlugins(App& app);

}  // namespace quil
