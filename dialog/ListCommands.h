// The commands that change the scheme and plugin lists: "&Hide" and "&Del" of the Colors page and
// of the Plugins page, the filling of the plugin list, and the removal of a folder tree with its
// failures shown.
#pragma once

#include <string>

namespace quil {

struct App;

// Refills the plugin list from the catalogue, line i selected exactly when entry i is.
void FillPluginListBox(App& app);

// Removes a folder with everything in it (profiles/Lists.h, RemoveFolderTree); each folder level
// that cannot be removed shows "Failed directory removal, error - %d".
void RemoveDirectoryTree(App& app, const std::string& path);

void HideScheme(App& app);
void DeleteScheme(App& app);
void HidePlugins(App& app);
void DeletePlugins(App& app);

}  // namespace quil
