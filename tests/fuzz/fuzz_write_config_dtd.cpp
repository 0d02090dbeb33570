// Fuzz target: the config.dtd writer on a fuzzed template. The input is the default settings
// block of the default plugin; the settings are the sample profile's with a title, a font size and
// a scheme name typed from the input's bytes, and the plugin selection is derived from the input.
// Saved as "(default)", a template with every searched line must come out with only the searched
// lines' values and the scheme line changed up to the generated plugin section, and read back to
// the same settings; libxml2 must parse each typed text's declaration and expand the entity to
// exactly the text, in an attribute value and in content. Any other template must leave the
// previous config.dtd in place.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>

#include "base/Text.h"
#include "profiles/PluginCatalogue.h"
#include "settings/ConfigDtdReader.h"
#include "settings/ConfigDtdWriter.h"
#include "settings/EntityText.h"
#include "settings/SkinSettings.h"
#include "tests/fuzz/FuzzSkin.h"
#include "tests/support/XmlJudge.h"

using namespace quil;
using namespace quil::fuzz;

namespace {

// The three lines between the defaults header and the block.
constexpr std::string_view kBlockLead = "     ===============================\n-->\n\n";

// The sample profile's settings and the catalogue.
struct SampleProfile {
  SkinSettings settings;
  PluginList plugins;
};

const SampleProfile& Sample() {
  static const SampleProfile sample = [] {
    FuzzApp fuzz;
    fuzz.app.plugins = ScanPlugins(fuzz.app.files, fuzz.app.state.ShowHidden);
    SkinSettings settings;
    ReadConfigDtd(fuzz.app.files, "config.dtd", settings);
    return SampleProfile{settings, fuzz.app.plugins};
  }();
  return sample;
}

// The scheme folders the scheme line lists: folders under mods, neither hidden nor "all".
std::string SchemeList() {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator("mods")) {
    const std::string name = entry.path().filename().string();
    if (!entry.is_directory() || name[0] == '.' || name[0] == '!' || EqualsNoCase(name, "all")) {
      continue;
    }
    names.push_back(name);
  }
  std::sort(names.begin(), names.end(), LessNoCase);
  std::string list;
  for (const std::string& name : names) list += EscapeCommentText(name) + ",";
  return list;
}

// A text typed into a field: up to `length` bytes of the input from a point derived from it,
// without NUL, which no field holds.
std::string Typed(std::string_view input, std::uint32_t salt, std::size_t length) {
  if (input.empty()) return {};
  std::string text(input.substr(Mix(input, salt) % input.size(), length));
  std::erase(text, '\0');
  return text;
}

// A typed text as XML carries it: a tab or line break becomes a blank (as in an attribute value),
// and a control character, which XML cannot carry, "?".
std::string AsXmlCarriesIt(std::string_view text) {
  std::string carried;
  for (const char c : text) {
    carried += c == '\t' || c == '\n' || c == '\r' ? ' ' : (c > 0 && c < 0x20 ? '?' : c);
  }
  return carried;
}

// The same in UTF-8, as an XML parser gives it back.
std::string AsXmlGivesIt(std::string_view text) {
  return test::Utf8FromWindows1252(AsXmlCarriesIt(text));
}

const SkinOption& OptionOf(std::string_view entity) {
  return *std::find_if(SkinOptions().begin(), SkinOptions().end(),
                       [&](const SkinOption& o) { return o.entity == entity; });
}

// A searched line with `value` between its first two quotes; unchanged with fewer quotes.
std::string WithValue(const std::string& line, std::string_view value) {
  const auto first = line.find('"');
  const auto second = first == std::string::npos ? first : line.find('"', first + 1);
  if (second == std::string::npos) return line;
  return line.substr(0, first + 1) + std::string(value) + line.substr(second);
}

struct Key {
  std::string key;
  std::string value;
  bool read = true;  // the reader looks for the line too
};

// The value of a line as the reader takes it: between its first two quotes, or after a single
// quote to the end of the line.
std::string QuotedValue(std::string_view piece) {
  if (!piece.empty() && piece.back() == '\n') piece.remove_suffix(1);
  const auto first = piece.find('"');
  if (first == std::string_view::npos) return {};
  piece.remove_prefix(first + 1);
  return std::string(piece.substr(0, piece.find('"')));
}

// What the reader meets in the written file, in its pieces: the version's value, then the value
// of each key it looks for. Nothing when it would miss a line before `sectionStart`, where the
// generated plugin section begins. `strayPlugin` tells whether a plugin declaration follows the
// last option before that section.
std::optional<std::vector<std::string>> ReaderValues(std::string_view text,
                                                     std::size_t sectionStart,
                                                     const std::vector<Key>& keys,
                                                     bool& strayPlugin) {
  std::size_t at = 0;
  std::string_view piece;
  const auto next = [&](std::size_t capacity) {
    if (at >= sectionStart) return false;
    const auto end = text.find('\n', at);
    const std::size_t length =
        std::min((end == std::string_view::npos ? text.size() : end + 1) - at, capacity - 1);
    piece = text.substr(at, length);
    at += length;
    return true;
  };
  std::vector<std::string> values;
  do {
    if (!next(kTemplateLineCapacity)) return std::nullopt;
  } while (!StartsWithNoCase(piece, kSkinVersionKey));
  values.push_back(QuotedValue(piece));
  for (std::size_t k = 1; k < keys.size(); ++k) {
    if (!keys[k].read) continue;
    do {
      if (!next(kEntityLineCapacity)) return std::nullopt;
    } while (!StartsWithNoCase(piece, keys[k].key));
    values.push_back(QuotedValue(piece));
  }
  while (next(kEntityLineCapacity))
    strayPlugin = strayPlugin || StartsWithNoCase(piece, kModpackKey);
  return values;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  EnterSkin();
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  WriteFile("plugins/default/main.dtd",
            std::string(kDefaultsHeader) + "\n" + std::string(kBlockLead) + std::string(input));
  RestoreFile("config.dtd");
  RemoveFile("config.dtd.bak");
  const std::string previous = ReadFile("config.dtd");

  FuzzApp fuzz;
  fuzz.app.plugins = Sample().plugins;
  SkinSettings settings = Sample().settings;
  settings.skinVersion = 3;
  const SkinOption& title = OptionOf("contactname");
  const SkinOption& fontSize = OptionOf("smallfontsize");
  settings.contactTitle = Typed(input, 1, 24);
  settings.smallFontSize = Typed(input, 2, 2);
  settings.scheme = Typed(input, 3, 16);
  fuzz.app.state.SetSchemeName(*settings.scheme);
  const std::uint32_t mixed = Mix(input, 0);
  PluginSelection selection(fuzz.app.plugins.size());
  for (std::size_t i = 0; i < selection.size(); ++i) selection[i] = (mixed >> i) & 1;

  // The searched lines in order, with the values the writer gives them.
  const std::string scheme = *settings.scheme;
  std::vector<Key> keys = {{std::string(kSkinVersionKey) + "=", "3"},
                           {std::string(kQuilDirParameterKey), "", false},
                           {std::string(kQuilDirKey), "", false},
                           {std::string(kColorKey), EscapeEntityText(scheme)}};
  for (const SkinOption& option : SkinOptions()) {
    keys.push_back({EntityKey(option), OptionValue(settings, option), option.IsRead()});
  }

  const Outcome saved =
      WriteConfigDtd(fuzz.app.files, fuzz.app.state, fuzz.app.plugins, settings, selection, "", "");
  QUIL_FUZZ_CHECK(!FileExists("config.dtd.def"));
  QUIL_FUZZ_CHECK(ReadFile("config.dtd.bak") == previous);

  // The writer's walk: each key's line in turn, then the plugin section's header.
  const auto pieces = Pieces(TextOf(input), kTemplateLineCapacity);
  std::vector<std::size_t> matched;  // the piece of each key
  std::string expected;
  for (const std::string& piece : pieces) {
    if (matched.size() < keys.size() && StartsWithNoCase(piece, keys[matched.size()].key)) {
      const Key& key = keys[matched.size()];
      matched.push_back(&piece - pieces.data());
      expected += key.key == kColorKey ? "<!ENTITY % color \"" + key.value + "\">       <!-- " +
                                             SchemeList() + " skin color mods -->\n"
                                       : WithValue(piece, key.value);
      continue;
    }
    if (matched.size() == keys.size() && StartsWithNoCase(piece, kModpackHeader)) break;
    expected += piece;
  }

  const bool complete = matched.size() == keys.size();
  QUIL_FUZZ_CHECK(saved.done == complete);
  if (!complete) {
    QUIL_FUZZ_CHECK(saved.faults.size() == 1 && saved.faults[0].fault == Fault::ConfigIncomplete);
    QUIL_FUZZ_CHECK(ReadFile("config.dtd") == previous);
    return 0;
  }
  QUIL_FUZZ_CHECK(saved.faults.empty());
  const std::string written = TextOf(ReadFile("config.dtd"));
  QUIL_FUZZ_CHECK(written.compare(0, expected.size(), expected) == 0);
  QUIL_FUZZ_CHECK(written.compare(expected.size(), kModpackHeader.size(), kModpackHeader) == 0);

  // The typed texts as a conformant XML parser reads their declarations and expands them.
  const std::string typedTitle = settings.contactTitle;
  const std::string typedSize = settings.smallFontSize.substr(0, 2);
  const auto judged =
      test::JudgeEntities("<!ENTITY contactname \"" + OptionValue(settings, title) +
                              "\">\n<!ENTITY smallfontsize \"" + OptionValue(settings, fontSize) +
                              "\">\n<!ENTITY % color \"" + EscapeEntityText(scheme) + "\">",
                          "judge.xml", {"contactname", "smallfontsize"}, {"color"});
  QUIL_FUZZ_CHECK(judged.errors.empty());
  QUIL_FUZZ_CHECK(judged.inAttribute.at("contactname") == AsXmlGivesIt(typedTitle));
  QUIL_FUZZ_CHECK(judged.inContent.at("contactname") == AsXmlGivesIt(typedTitle));
  QUIL_FUZZ_CHECK(judged.inAttribute.at("smallfontsize") == AsXmlGivesIt(typedSize));
  QUIL_FUZZ_CHECK(judged.inContent.at("smallfontsize") == AsXmlGivesIt(typedSize));
  QUIL_FUZZ_CHECK(judged.parameter.at("color") == AsXmlGivesIt(scheme));

  // Read back when the reader, taking the written lines in its own pieces, meets every value the
  // writer put in (a hostile template can hide a searched line from it or show it another).
  bool strayPlugin = false;
  const auto seen = ReaderValues(written, expected.size(), keys, strayPlugin);
  bool readable = seen.has_value() && LeadingInt((*seen)[0]) == 3;
  for (std::size_t k = 1, v = 1; readable && k < keys.size(); ++k) {
    if (keys[k].read) readable = (*seen)[v++] == keys[k].value;
  }
  if (readable) {
    FuzzApp reader;
    SkinSettings back;
    QUIL_FUZZ_CHECK(ReadConfigDtd(reader.app.files, "config.dtd", back).done);
    QUIL_FUZZ_CHECK(back.skinVersion == 3);
    QUIL_FUZZ_CHECK(back.scheme == AsXmlCarriesIt(scheme));
    for (const SkinOption& option : SkinOptions()) {
      QUIL_FUZZ_CHECK(OptionValue(back, option) == OptionValue(settings, option));
    }
    // Every enabled plugin's stem comes back, and no other.
    for (const PluginEntry& entry : Sample().plugins) {
      if (strayPlugin) break;
      bool enabled = false;
      for (const PluginEntry& saved : fuzz.app.plugins) {
        enabled = enabled || (saved.selected && saved.variable == entry.variable);
      }
      const bool named =
          std::ranges::find(back.pluginStems, entry.variable) != back.pluginStems.end();
      QUIL_FUZZ_CHECK(named == enabled);
    }
  }
  return 0;
}
