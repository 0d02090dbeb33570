// Fuzz target: the plugin scan over the sample plugins and one plugin folder with fuzzed
// description files. The input's first byte says which of plugin.ini, plugin.txt and desc.txt
// exist (bits 0 to 2) and whether hidden plugins are shown (bit 3); the rest holds their texts,
// separated by "@@@@". The catalogue must stand in rank order with every text within its
// capacity, and the fuzzed plugin must be listed exactly as its files describe it.
#include <cstddef>
#include <cstdint>

#include "base/Text.h"
#include "files/IniFile.h"
#include "profiles/PluginCatalogue.h"
#include "tests/fuzz/FuzzSkin.h"

using namespace quil;
using namespace quil::fuzz;

namespace {

constexpr const char* kFolder = "fuzzed";
constexpr const char* kFiles[] = {"plugin.ini", "plugin.txt", "desc.txt"};

// The entry the fuzzed folder should give, from the INI file's lookup and the pieces
// of the three-line file; nothing when the folder is no plugin.
std::optional<PluginEntry> ExpectedEntry(FileServices& files, const bool present[3],
                                         const std::vector<std::string_view>& texts) {
  PluginEntry entry;
  entry.folder = kFolder;
  const IniFile ini = ReadIniFile(files, std::string("plugins\\") + kFolder + "\\plugin.ini");
  const std::string description = ini.Value("Plugin", "Description", "", kPluginLineCapacity);
  if (!description.empty()) {
    entry.description = Bounded(description, kPluginDescriptionCapacity);
    entry.variable = Bounded(ini.Value("Plugin", "Variable", "NoVar", kPluginLineCapacity),
                             kPluginVariableCapacity);
    entry.priority = LeadingInt(ini.Value("Plugin", "Priority", "-1", kPluginLineCapacity));
    return entry;
  }
  const int text = present[1] ? 1 : present[2] ? 2 : -1;
  if (text < 0) return std::nullopt;
  const auto pieces = Pieces(TextOf(texts[text]), kPluginLineCapacity);
  const auto withoutBreak = [](std::string_view piece) {
    return !piece.empty() && piece.back() == '\n' ? piece.substr(0, piece.size() - 1) : piece;
  };
  if (pieces.size() > 0) entry.variable = Bounded(withoutBreak(pieces[0]), kPluginVariableCapacity);
  if (pieces.size() > 1) {
    entry.description = Bounded(withoutBreak(pieces[1]), kPluginDescriptionCapacity);
  }
  if (pieces.size() > 2) entry.priority = LeadingInt(pieces[2]);
  return entry;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  EnterSkin();
  const std::uint8_t flags = size > 0 ? data[0] : 0;
  const std::string_view rest(reinterpret_cast<const char*>(data) + (size > 0 ? 1 : 0),
                              size > 0 ? size - 1 : 0);
  auto texts = SplitInput(rest, "@@@@", 3);
  texts.resize(3);
  bool present[3];
  for (int f = 0; f < 3; ++f) {
    present[f] = (flags >> f) & 1;
    const std::string path = std::string("plugins/") + kFolder + "/" + kFiles[f];
    if (present[f]) {
      WriteFile(path, texts[f]);
    } else {
      RemoveFile(path);
    }
  }

  FuzzApp fuzz;
  fuzz.app.state.ShowHidden = (flags >> 3) & 1;
  fuzz.app.plugins = ScanPlugins(fuzz.app.files, fuzz.app.state.ShowHidden);
  QUIL_FUZZ_CHECK(fuzz.dialog.messages.empty());

  const PluginList& list = fuzz.app.plugins;
  const PluginEntry* fuzzed = nullptr;
  for (std::size_t i = 0; i < list.size(); ++i) {
    const PluginEntry& entry = list[i];
    QUIL_FUZZ_CHECK(entry.variable.size() < kPluginVariableCapacity);
    QUIL_FUZZ_CHECK(entry.description.size() < kPluginDescriptionCapacity);
    QUIL_FUZZ_CHECK(entry.folder.size() < kPluginFolderCapacity);
    QUIL_FUZZ_CHECK(!entry.selected);
    // Highest rank first; a rank at the list's end or below keeps its place after all others.
    if (i > 0 && entry.priority > kEndPriority) {
      QUIL_FUZZ_CHECK(list[i - 1].priority >= entry.priority);
    }
    if (entry.folder == kFolder) {
      QUIL_FUZZ_CHECK(fuzzed == nullptr);
      fuzzed = &entry;
    }
  }

  const auto expected = ExpectedEntry(*fuzz.files, present, texts);
  QUIL_FUZZ_CHECK(expected.has_value() == (fuzzed != nullptr));
  if (expected) {
    QUIL_FUZZ_CHECK(fuzzed->variable == expected->variable);
    QUIL_FUZZ_CHECK(fuzzed->description == expected->description);
    QUIL_FUZZ_CHECK(fuzzed->priority == expected->priority);
  }
  return 0;
}
