// Fuzz target: the extraction of the default template from a fuzzed default plugin. With the
// defaults header present the template is exactly the text after the header and three further
// lines; without it the extraction fails for want of the block and leaves no template behind.
#include <cstddef>
#include <cstdint>

#include "base/Text.h"
#include "settings/ConfigDtdReader.h"
#include "tests/fuzz/FuzzSkin.h"

using namespace quil;
using namespace quil::fuzz;

namespace {

constexpr const char* kTemplate = "config.dtd.def";

// The expected template: the pieces after the header and three more, or nothing without header.
std::optional<std::string> ExpectedTemplate(std::string_view mainDtd) {
  const auto pieces = Pieces(TextOf(mainDtd), kTemplateLineCapacity);
  std::size_t at = 0;
  while (at < pieces.size() && !StartsWithNoCase(pieces[at], kDefaultsHeader)) ++at;
  if (at == pieces.size()) return std::nullopt;
  std::string text;
  for (at += 4; at < pieces.size(); ++at) text += pieces[at];
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  EnterSkin();
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  WriteFile("plugins/default/main.dtd", input);
  RemoveFile(kTemplate);

  FuzzApp fuzz;
  const Outcome made = WriteDefaultConfig(fuzz.app.files, kTemplate);
  const auto expected = ExpectedTemplate(input);
  if (expected) {
    QUIL_FUZZ_CHECK(made.done && made.faults.empty());
    QUIL_FUZZ_CHECK(ReadFile(kTemplate) == BytesOf(*expected));
  } else {
    QUIL_FUZZ_CHECK(!made.done && made.faults.size() == 1);
    QUIL_FUZZ_CHECK(made.faults[0].fault == Fault::DefaultBlockMissing);
    QUIL_FUZZ_CHECK(!FileExists(kTemplate));
  }
  RemoveFile(kTemplate);
  return 0;
}
