// Fuzz target: the colors.dtd writer on a fuzzed template, the "(default)" profile's colors.dtd
// of the scheme "green", with 21 slot colors derived from the input. A template with every slot
// line comes out with only the three numbers of each slot line changed, and the reader gives the
// written colors back; any other template is kept as the backup and the scheme's default file
// takes its place.
#include <cstddef>
#include <cstdint>

#include "colors/ColorsDtd.h"
#include "colors/SchemeFiles.h"
#include "dialog/SchemeColorFiles.h"
#include "tests/fuzz/ColorOracle.h"
#include "tests/fuzz/FuzzSkin.h"

using namespace quil;
using namespace quil::fuzz;

namespace {

constexpr const char* kTarget = "mods/green/colors.dtd";
constexpr const char* kBackup = "mods/green/colors.dtd.bak";
constexpr const char* kDefault = "mods/green/colors_default.dtd";

// The slot line with the color's components in place of the text between its first six quotes.
std::string Rewritten(const std::string& line, Color color) {
  const auto q = QuotesOf(line);
  const auto quoted = [](int value) { return "\"" + std::to_string(value) + "\""; };
  return line.substr(0, q[0]) + quoted(RedOf(color)) + line.substr(q[1] + 1, q[2] - q[1] - 1) +
         quoted(GreenOf(color)) + line.substr(q[3] + 1, q[4] - q[3] - 1) + quoted(BlueOf(color)) +
         line.substr(q[5] + 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  EnterSkin();
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  WriteFile(kTarget, input);
  RemoveFile(kBackup);

  FuzzApp fuzz;
  fuzz.app.state.SetSchemeName("green");
  std::array<Color, kColorsDtdSlots.size()> colors{};
  for (std::size_t s = 0; s < colors.size(); ++s) {
    colors[s] = Mix(input, static_cast<std::uint32_t>(s)) & 0xFFFFFF;
    fuzz.app.colors[kColorsDtdSlots[s]] = colors[s];
  }
  const bool written = SaveColorsDtd(fuzz.app);

  // Where the writer finds each slot: the next line that holds the bare slot name.
  auto pieces = Pieces(TextOf(input), kColorLineCapacity);
  bool complete = true;
  bool readable = true;  // every slot line fits one line of the reader and holds its key
  std::size_t at = 0;
  for (std::size_t s = 0; s < colors.size() && complete; ++s) {
    const std::string_view name = EntryName(kColorsDtdSlots[s]);
    while (at < pieces.size() && pieces[at].find(name) == std::string::npos) ++at;
    complete = at < pieces.size() && QuotesOf(pieces[at]).size() >= 6;
    if (!complete) break;
    pieces[at] = Rewritten(pieces[at], colors[s]);
    // The rewritten line still holds the reader's key (a value may stand where the key stood).
    readable = readable && pieces[at].find(" " + std::string(name) + "Red ") != std::string::npos &&
               pieces[at].size() < kColorLineCapacity && pieces[at].back() == '\n';
    ++at;
  }

  QUIL_FUZZ_CHECK(written == complete);
  QUIL_FUZZ_CHECK(ReadFile(kBackup) == input);
  if (complete) {
    QUIL_FUZZ_CHECK(fuzz.dialog.messages.empty());
    std::string expected;
    for (const std::string& piece : pieces) expected += piece;
    QUIL_FUZZ_CHECK(ReadFile(kTarget) == BytesOf(expected));
    if (readable) {
      FuzzApp reader;
      ReadColorsDtd(reader.app.files, reader.app.state, reader.app.colors, "green");
      for (std::size_t s = 0; s < colors.size(); ++s) {
        QUIL_FUZZ_CHECK(reader.app.colors[kColorsDtdSlots[s]] == colors[s]);
      }
    }
  } else {
    QUIL_FUZZ_CHECK(OnlyFailure(fuzz.dialog,
                                "Unable to write a complete colors.dtd file... \n(old file "
                                "probably corrupt)\n...restoring backup"));
    const std::string pristine = ReadFile(kDefault);
    QUIL_FUZZ_CHECK(ReadFile(kTarget) == pristine);
    const auto reloaded = ExpectedSlots(Pieces(TextOf(pristine), kColorLineCapacity));
    for (std::size_t s = 0; s < colors.size(); ++s) {
      QUIL_FUZZ_CHECK(fuzz.app.colors[kColorsDtdSlots[s]] == reloaded[s]);
    }
  }
  return 0;
}
