// Fuzz target: the colors.ini reader on a fuzzed colors.ini of the skin's scheme "green". Each
// of the 14 loaded entries holds the color line of its code found by one forward search, or 0
// from the first missing code on; the other entries stay as they were.
#include <cstddef>
#include <cstdint>

#include "base/Text.h"
#include "colors/ColorsIni.h"
#include "colors/SchemeFiles.h"
#include "tests/fuzz/FuzzSkin.h"

using namespace quil;
using namespace quil::fuzz;

namespace {

// A color line's value, apart from the product's parser: the numbers after the first "=",
// separated by runs of commas.
Color ExpectedLineColor(std::string_view line) {
  int components[3] = {0, 0, 0};
  const auto equals = line.find('=');
  if (equals != std::string_view::npos) {
    std::size_t at = equals + 1;
    for (int& component : components) {
      while (at < line.size() && line[at] == ',') ++at;
      if (at >= line.size()) break;
      const auto comma = line.find(',', at);
      const auto end = comma == std::string_view::npos ? line.size() : comma;
      component = LeadingInt(line.substr(at, end - at));
      at = end;
    }
  }
  return MakeColor(components[0], components[1], components[2]);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  EnterSkin();
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  WriteFile("mods/green/colors.ini", input);

  FuzzApp fuzz;
  fuzz.app.state.SetSchemeName("green");
  for (std::size_t e = 0; e < kColorEntryCount; ++e) {
    fuzz.app.colors[static_cast<int>(e)] = 0x123456;
  }
  QUIL_FUZZ_CHECK(ReadColorsIni(fuzz.app.files, fuzz.app.state, fuzz.app.colors).faults.empty());

  SchemeColors expected;
  expected.entries.fill(0x123456);
  const auto pieces = Pieces(TextOf(input), kColorLineCapacity);
  std::size_t at = 0;
  for (const MessageColorRow& row : MessageColorRows()) {
    if (row.loadsInto == MessageColorRow::kNoLoad) continue;
    const std::string key =
        "color_" + std::string(row.code) + "_" + std::string(row.sub) + "_color";
    while (at < pieces.size() && pieces[at].find(key) == std::string::npos) ++at;
    expected[row.loadsInto] = at < pieces.size() ? ExpectedLineColor(pieces[at++]) : 0;
  }
  QUIL_FUZZ_CHECK(fuzz.app.colors.entries == expected.entries);
  return 0;
}
