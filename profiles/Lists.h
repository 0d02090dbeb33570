// The scheme and plugin folders: which names can be one folder name, and removing a folder tree.
// The commands that change the lists (hiding and deleting schemes and plugins) are the dialog's.
#pragma once

#include <string>
#include <string_view>

#include "base/Paths.h"
#include "core/Outcome.h"

namespace quil {

class FileServices;

// Folder paths that RemoveFolderTree forms fit into this many bytes, the longest path that
// Windows' wide functions take; a deeper entry is left alone (so its folder cannot be removed and
// the failure is reported), never cut.
inline constexpr std::size_t kTreePathCapacity = 32767;

// True when `name` can be one folder name: not empty, not "." or "..", without \ / : * ? " < > |
// (searched character by character with the code page's lead bytes), and not ending in "." or a
// space, which Windows strips, so that "foo." would name the folder "foo".
bool IsSingleFolderName(std::string_view name, const LeadBytes& lead);

// Removes a folder with everything in it. A link to a folder (a symbolic link or junction), the
// folder given included, is removed as the link; its target stays. A folder that is a reparse
// point of another kind (a cloud file placeholder, say) is removed as a folder. An entry whose name
// could lead elsewhere (no exact ANSI form, or no single folder name) is left, so its folder stays
// too. Done when the whole tree is gone; otherwise each folder level that could not be removed is a
// FolderNotRemoved fault with its error code, in the order the removals failed.
Outcome RemoveFolderTree(FileServices& files, const LeadBytes& lead, const std::string& path);

}  // namespace quil
