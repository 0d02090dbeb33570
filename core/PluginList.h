// The plugin catalogue's entries: the plugins under "plugins\" as the Plugins page lists them and
// config.dtd binds them, with the active profile's choice.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quil {

struct PluginEntry {
  int priority = 0;
  std::string variable;     // entity stem in config.dtd, the key that enables the plugin
  std::string description;  // the line shown in the Plugins page list
  std::string folder;       // the folder's name under "plugins\"
  bool selected = false;    // the active profile enables the plugin
};

// The catalogue, in the order the Plugins page lists it and config.dtd binds it.
using PluginList = std::vector<PluginEntry>;

// A plugin's folder (or a pattern of them) relative to the skin folder: "plugins\<folder>".
inline std::string PluginFolderPath(std::string_view folder) {
  return "plugins\\" + std::string(folder);
}

}  // namespace quil
