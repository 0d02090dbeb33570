// The plugin catalogue: the folders under "plugins\" with their description, entity stem and rank,
// in priority order (highest first, equal priorities in listing order).
#pragma once

#include <cstddef>

#include "core/PluginList.h"

namespace quil {

class FileServices;

// Capacities of a plugin's texts, terminator included; longer values are cut to fit.
inline constexpr std::size_t kPluginVariableCapacity = 32;
inline constexpr std::size_t kPluginDescriptionCapacity = 512;
inline constexpr std::size_t kPluginFolderCapacity = 256;
// A plugin.ini value and a plugin.txt line are read into 512 bytes.
inline constexpr std::size_t kPluginLineCapacity = 512;
// The rank of the list's end: a plugin ranked this low or lower is listed after every other.
inline constexpr int kEndPriority = -10;

// The catalogue of the plugin folders under "plugins\" (the hidden ones too with `showHidden`), in
// priority order; every entry starts unselected.
PluginList ScanPlugins(FileServices& files, bool showHidden);

// Releases the catalogue (at close).
void FreePluginList(PluginList& list);

}  // namespace quil
