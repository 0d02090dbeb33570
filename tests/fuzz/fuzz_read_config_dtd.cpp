// Fuzz target: the config.dtd reader on a fuzzed config.dtd of the skin folder. The file exists,
// so the reader may report no more than a missing version line (nothing that ends the program),
// and every plugin stem it reads must be named in the file.
#include <cstddef>
#include <cstdint>

#include "settings/ConfigDtdReader.h"
#include "settings/SkinSettings.h"
#include "tests/fuzz/FuzzSkin.h"

using namespace quil;
using namespace quil::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  EnterSkin();
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  WriteFile("config.dtd", input);

  FuzzApp fuzz;
  SkinSettings settings;
  for (const FaultReport& report : ReadConfigDtd(fuzz.app.files, "config.dtd", settings).faults) {
    QUIL_FUZZ_CHECK(report.fault == Fault::VersionUnknown);
  }
  // Only a declaration that names the plugin's stem enables it.
  for (const std::string& stem : settings.pluginStems) {
    QUIL_FUZZ_CHECK(input.find("_" + stem) != std::string_view::npos);
  }
  return 0;
}
