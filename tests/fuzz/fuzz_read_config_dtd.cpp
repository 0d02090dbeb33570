// Fuzz target: the config.dtd reader on a fuzzed config.dtd of the skin folder. The file exists,
// so the reader must never end the program, and whatever it reads it must leave the plugin
// catalogue as it was apart from the selection.
#include <cstddef>
#include <cstdint>

#include "profiles/PluginCatalogue.h"
#include "settings/ConfigDtdReader.h"
#include "settings/SkinSettings.h"
#include "tests/fuzz/FuzzSkin.h"

using namespace quil;
using namespace quil::fuzz;

namespace {

// The sample skin's catalogue, scanned once.
const PluginList& SampleCatalogue() {
  static const PluginList catalogue = [] {
    FuzzApp fuzz;
    ScanPlugins(fuzz.app);
    return fuzz.app.plugins;
  }();
  return catalogue;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  EnterSkin();
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  WriteFile("config.dtd", input);

  FuzzApp fuzz;
  fuzz.app.plugins = SampleCatalogue();
  SetInitialOptionStates(fuzz.app.controls);
  const auto exit = RunUntilExit([&] { ReadConfigDtd(fuzz.app, "config.dtd"); });
  QUIL_FUZZ_CHECK(!exit);

  const PluginList& sample = SampleCatalogue();
  QUIL_FUZZ_CHECK(fuzz.app.plugins.size() == sample.size());
  for (std::size_t i = 0; i < sample.size(); ++i) {
    const PluginEntry& entry = fuzz.app.plugins[i];
    QUIL_FUZZ_CHECK(entry.variable == sample[i].variable && entry.folder == sample[i].folder);
    // Only a declaration that names the plugin's stem selects it.
    if (entry.selected) {
      QUIL_FUZZ_CHECK(input.find("_" + entry.variable) != std::string_view::npos);
    }
  }
  return 0;
}
