// The scheme and plugin folders: folder-name rules and the removal of a folder tree.
#include "profiles/Lists.h"

#include <string>

#include "files/FileServices.h"

namespace quil {

namespace {

constexpr std::string_view kFolderNameForbidden = "\\/:*?\"<>|";

// A folder level that could not be removed, with the reason the file services give.
void NotRemoved(FileServices& files, const std::string& path, Outcome& outcome) {
  outcome.Report(Fault::FolderNotRemoved, path, std::to_string(files.LastErrorCode()));
  outcome.done = false;
}

void RemoveTree(FileServices& files, const LeadBytes& lead, const std::string& path,
                Outcome& outcome) {
  // A folder that is itself a link loses only the link: listing it would list the folder it
  // points to, and its files would be deleted there. Any other reparse point (a folder that cloud
  // sync keeps as a placeholder, say) is a folder like any other.
  if (const auto attributes = files.Attributes(path); attributes && attributes->IsLink()) {
    if (!files.RemoveDirectory(path)) NotRemoved(files, path, outcome);
    return;
  }
  for (const DirEntry& entry : files.List(path + "/*.*")) {
    if (!entry.name.empty() && entry.name[0] == '.') continue;
    // A name that is no single folder name, or has no exact ANSI form, would name another place
    // once appended to the path (a "\..\" inside it climbs out of the tree): it stays, and so
    // does this folder.
    if (!entry.exactName || !IsSingleFolderName(entry.name, lead)) continue;
    const std::string child = path + "\\" + entry.name;
    if (child.size() >= kTreePathCapacity) continue;
    if (entry.attributes.isDirectory && entry.attributes.IsLink()) {
      files.RemoveDirectory(child);  // the link only, never what it points to
    } else if (entry.attributes.isDirectory) {
      RemoveTree(files, lead, child, outcome);
    } else {
      files.Delete(child);
    }
  }
  if (!files.RemoveDirectory(path)) NotRemoved(files, path, outcome);
}

}  // namespace

bool IsSingleFolderName(std::string_view name, const LeadBytes& lead) {
  if (name.empty() || name == "." || name == "..") return false;
  const std::string_view last = LastCharacter(name, lead);
  if (last == "." || last == " ") return false;
  return FindCharacter(name, kFolderNameForbidden, lead) == std::string_view::npos;
}

Outcome RemoveFolderTree(FileServices& files, const LeadBytes& lead, const std::string& path) {
  Outcome outcome;
  RemoveTree(files, lead, path, outcome);
  return outcome;
}

}  // namespace quil
