// Fuzz target: the colors.dtd reader on a fuzzed colors.dtd of the skin's scheme "green". The
// file opens, so the reader makes the scheme active without a message, and every slot and
// mirror holds what the file's slot line says.
#include <cstddef>
#include <cstdint>

#include "colors/ColorsDtd.h"
#include "colors/SchemeFiles.h"
#include "tests/fuzz/ColorOracle.h"
#include "tests/fuzz/FuzzSkin.h"

using namespace quil;
using namespace quil::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  EnterSkin();
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  WriteFile("mods/green/colors.dtd", input);

  FuzzApp fuzz;
  fuzz.app.state.SetSchemeName("Blue");
  QUIL_FUZZ_CHECK(
      ReadColorsDtd(fuzz.app.files, fuzz.app.state, fuzz.app.colors, "green").faults.empty());
  QUIL_FUZZ_CHECK(fuzz.app.state.SchemeName == "green");

  const auto expected = ExpectedSlots(Pieces(TextOf(input), kColorLineCapacity));
  for (std::size_t s = 0; s < kColorsDtdSlots.size(); ++s) {
    QUIL_FUZZ_CHECK(fuzz.app.colors[kColorsDtdSlots[s]] == expected[s]);
  }
  for (const Mirror& mirror : kMirrors) {
    QUIL_FUZZ_CHECK(fuzz.app.colors[mirror.copy] == fuzz.app.colors[mirror.source]);
  }
  return 0;
}
