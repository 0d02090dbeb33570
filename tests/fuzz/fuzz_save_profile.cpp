// Fuzz target: Save's copies of the skin's desc.txt and trillian.xml. The input's first byte
// says whether "(default)" (bit 0 set) or a new profile "Fuzz" is saved and whether the skin's
// desc.txt (bit 1) and trillian.xml (bit 2) are missing; the rest holds the two files, separated
// by "@@@@". The profile's desc.txt must be the six lines built from the skin's title and
// description, its trillian.xml the skin's with only the DOCTYPE line changed; a missing skin
// file is reported and leaves the profile's copy unwritten.
#include <cstddef>
#include <cstdint>

#include "base/Text.h"
#include "dialog/ProfileSave.h"
#include "profiles/ProfileFolders.h"
#include "settings/SkinSettings.h"
#include "tests/fuzz/FuzzSkin.h"

using namespace quil;
using namespace quil::fuzz;

namespace {

constexpr std::size_t kLineCapacity = 400;
constexpr const char* kProfile = "Fuzz";
constexpr const char* kProfileFolder = "Quil_profile_Fuzz";

std::string DatePart(std::string_view title) {
  const std::string undated = " (undated)\n";
  const auto first = title.find('>');
  if (first == std::string_view::npos) return undated;
  std::string_view rest = title.substr(first + 1);
  if (rest.empty() || rest == "\n") return undated;
  rest = rest.substr(0, rest.find('>'));
  std::string part(rest);
  if (part.empty() || part.back() != '\n') part += '\n';
  return part;
}

std::string ExpectedDesc(std::string_view skinDesc, bool isDefault) {
  const auto pieces = Pieces(TextOf(skinDesc), kLineCapacity);
  const std::string name = isDefault ? std::string(kDefaultProfile) : kProfile;
  std::string text = "Quil " + name + " Profile >" + DatePart(pieces.empty() ? "" : pieces[0]);
  if (isDefault) {
    std::string description = pieces.size() > 1 ? pieces[1] : "";
    if (description.empty() || description.back() != '\n') description += '\n';
    text += description + "1\n";
  } else {
    text += "A profile of the Quil skin.  To set preferences select the '" + name +
            "' profile in the configuration utility in the main Quil directory.  If Trillian "
            "doesn't load, try the (default) profile.\n1\n";
  }
  return text + "\n3000\n700";  // no preview image: an empty image line
}

std::string ExpectedXml(std::string_view skinXml) {
  std::string text;
  for (const std::string& piece : Pieces(TextOf(skinXml), kLineCapacity)) {
    text += StartsWithNoCase(piece, "<!DOCTYPE ")
                ? "<!DOCTYPE test SYSTEM \"..\\Quil\\xml\\trillian.dtd\">\n"
                : piece;
  }
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  EnterSkin();
  const std::uint8_t flags = size > 0 ? data[0] : 0;
  const bool isDefault = flags & 1;
  const std::string_view rest(reinterpret_cast<const char*>(data) + (size > 0 ? 1 : 0),
                              size > 0 ? size - 1 : 0);
  auto parts = SplitInput(rest, "@@@@", 2);
  parts.resize(2);
  std::optional<std::string_view> skinDesc, skinXml;
  if (!(flags & 2)) skinDesc = parts[0];
  if (!(flags & 4)) skinXml = parts[1];

  // The files a save changes, back as the sample has them.
  RemoveTree(kProfileFolder);
  for (const char* file : {"config.dtd", "config.dtd.bak", "settings.dtd"}) RestoreFile(file);
  skinDesc ? WriteFile("desc.txt", *skinDesc) : RemoveFile("desc.txt");
  skinXml ? WriteFile("trillian.xml", *skinXml) : RemoveFile("trillian.xml");

  FuzzApp fuzz;
  fuzz.app.state.SetSchemeName("green");
  if (!isDefault) {
    fuzz.app.state.SetProfileName(kProfile);
    fuzz.app.state.ProfileIsNew = true;
  }
  Outcome outcome;
  const SkinSettings settings{.scheme = "green"};
  PluginSelection none;
  const auto exit = RunUntilExit([&] { outcome = SaveProfile(fuzz.app, settings, none); });
  QUIL_FUZZ_CHECK(!exit && outcome.done);
  // Nothing is shown (the outcome is the caller's to show), and only a missing skin file is
  // reported; the save goes on.
  QUIL_FUZZ_CHECK(fuzz.dialog.messages.empty());
  std::vector<Fault> reported;
  for (const FaultReport& report : outcome.faults) reported.push_back(report.fault);
  std::vector<Fault> expected;
  if (!skinDesc) expected.push_back(Fault::DescNotSaved);
  if (!isDefault && !skinXml) expected.push_back(Fault::TrillianXmlNotSaved);
  QUIL_FUZZ_CHECK(reported == expected);

  const std::string folder = isDefault ? "" : std::string("../") + kProfileFolder + "/";
  if (skinDesc) {
    QUIL_FUZZ_CHECK(ReadFile(folder + "desc.txt") == BytesOf(ExpectedDesc(*skinDesc, isDefault)));
  } else {
    QUIL_FUZZ_CHECK(!FileExists(folder + "desc.txt"));
  }
  QUIL_FUZZ_CHECK(!FileExists("desc.txt.bak"));
  if (!isDefault) {
    if (skinXml) {
      QUIL_FUZZ_CHECK(ReadFile(folder + "trillian.xml") == BytesOf(ExpectedXml(*skinXml)));
    } else {
      QUIL_FUZZ_CHECK(!FileExists(folder + "trillian.xml"));
    }
  } else if (skinXml) {
    QUIL_FUZZ_CHECK(ReadFile("trillian.xml") == *skinXml);
  }
  return 0;
}
