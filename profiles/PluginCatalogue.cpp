// The plugin catalogue: scanning "plugins\" into entries ranked by priority.
#include "profiles/PluginCatalogue.h"

#include <algorithm>
#include <utility>

#include "base/Text.h"
#include "files/FileServices.h"
#include "files/IniFile.h"

namespace quil {

namespace {

constexpr const char* kPluginSection = "Plugin";

bool IsListedPluginFolder(const DirEntry& entry, bool showHidden) {
  const std::string& name = entry.name;
  if (!entry.attributes.isDirectory) return false;
  // A name with no exact ANSI form cannot be opened by any path the utility forms.
  if (!entry.exactName) return false;
  if (!name.empty() && name[0] == '.') return false;
  if (EqualsNoCase(name, "default")) return false;
  if (!name.empty() && name[0] == '!' && !showHidden) return false;
  return true;
}

// Fills the entry from plugin.ini, read once for its three keys; false when the file gives no
// description.
bool ReadPluginIni(FileServices& files, const std::string& folder, PluginEntry& entry) {
  const IniFile ini = ReadIniFile(files, PluginFolderPath(folder) + "\\plugin.ini");
  const std::string description = ini.Value(kPluginSection, "Description", "", kPluginLineCapacity);
  if (description.empty()) return false;
  entry.description = Bounded(description, kPluginDescriptionCapacity);
  const std::string variable = ini.Value(kPluginSection, "Variable", "NoVar", kPluginLineCapacity);
  if (!variable.empty()) entry.variable = Bounded(variable, kPluginVariableCapacity);
  const std::string priority = ini.Value(kPluginSection, "Priority", "-1", kPluginLineCapacity);
  if (!priority.empty()) entry.priority = LeadingInt(priority);
  return true;
}

// Fills the entry from the three-line plugin.txt, or desc.txt when plugin.txt cannot be opened;
// false when neither opens. Missing lines leave an empty text or priority 0.
bool ReadPluginText(FileServices& files, const std::string& folder, PluginEntry& entry) {
  auto reader = files.OpenRead(PluginFolderPath(folder) + "\\plugin.txt");
  if (!reader) reader = files.OpenRead(PluginFolderPath(folder) + "\\desc.txt");
  if (!reader) return false;
  std::string line;
  if (reader->ReadLine(line, kPluginLineCapacity)) {
    entry.variable = Bounded(WithoutLineBreak(line), kPluginVariableCapacity);
  }
  if (reader->ReadLine(line, kPluginLineCapacity)) {
    entry.description = Bounded(WithoutLineBreak(line), kPluginDescriptionCapacity);
  }
  if (reader->ReadLine(line, kPluginLineCapacity)) entry.priority = LeadingInt(line);
  return true;
}

// Puts the entries in rank order: highest priority first, equal priorities in listing order, and
// ranks of kEndPriority and below after all others, in listing order. This is the order that
// putting each entry in turn before the first entry ranked strictly lower gives.
void OrderByPriority(PluginList& list) {
  const auto rank = [](const PluginEntry& entry) { return std::max(entry.priority, kEndPriority); };
  std::stable_sort(list.begin(), list.end(),
                   [&](const PluginEntry& a, const PluginEntry& b) { return rank(a) > rank(b); });
}

}  // namespace

PluginList ScanPlugins(FileServices& files, bool showHidden) {
  PluginList plugins;
  for (const DirEntry& found : files.List(PluginFolderPath("*"))) {
    if (!IsListedPluginFolder(found, showHidden)) continue;
    PluginEntry entry;
    if (!ReadPluginIni(files, found.name, entry) && !ReadPluginText(files, found.name, entry)) {
      continue;  // a folder without any description file is no plugin
    }
    entry.folder = Bounded(found.name, kPluginFolderCapacity);
    plugins.push_back(std::move(entry));
  }
  OrderByPriority(plugins);
  return plugins;
}

void FreePluginList(PluginList& list) {
  PluginList().swap(list);
}

}  // namespace quil
