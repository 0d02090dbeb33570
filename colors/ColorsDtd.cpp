// The colors.dtd reader and writer.
#include "colors/ColorsDtd.h"

#include <array>
#include <optional>
#include <string>

#include "base/Text.h"
#include "colors/SchemeFiles.h"
#include "core/AppState.h"
#include "files/FileReplacement.h"

namespace quil {

namespace {

constexpr std::string_view kColorsDtd = "colors.dtd";
constexpr std::string_view kColorsDefaultDtd = "colors_default.dtd";

// A slot line carries its three components between its first six double quotes.
constexpr std::size_t kSlotQuotes = 6;

// The positions of the first six double quotes of `line`; `found` says how many there are.
std::array<std::size_t, kSlotQuotes> QuotePositions(std::string_view line, std::size_t& found) {
  std::array<std::size_t, kSlotQuotes> quotes{};
  found = 0;
  for (std::size_t at = line.find('"'); at != std::string_view::npos && found < kSlotQuotes;
       at = line.find('"', at + 1)) {
    quotes[found++] = at;
  }
  return quotes;
}

// Copies template lines to `out` up to the first line that contains the bare slot name, and
// writes that line with the color's components in place of the old ones. False when the template
// ends first or the slot's line has fewer than six double quotes.
bool RewriteSlot(TextReader& templ, TextWriter& out, std::string_view slotName, Color color) {
  std::string line;
  while (templ.ReadLine(line, kColorLineCapacity)) {
    if (line.find(slotName) == std::string::npos) {
      out.Write(line);
      continue;
    }
    std::size_t found = 0;
    const auto q = QuotePositions(line, found);
    if (found < kSlotQuotes) return false;
    const std::string_view text = line;
    std::string rewritten(text.substr(0, q[0]));
    const auto component = [&rewritten](int value) {
      rewritten += '"';
      rewritten += std::to_string(value);
      rewritten += '"';
    };
    component(RedOf(color));
    rewritten += text.substr(q[1] + 1, q[2] - q[1] - 1);
    component(GreenOf(color));
    rewritten += text.substr(q[3] + 1, q[4] - q[3] - 1);
    component(BlueOf(color));
    rewritten += text.substr(q[5] + 1);
    out.Write(rewritten);
    return true;
  }
  return false;
}

}  // namespace

Color SlotLineColor(std::string_view line) {
  std::size_t found = 0;
  const auto q = QuotePositions(line, found);
  const auto after = [&](std::size_t quote) {
    return quote < found ? LeadingInt(line.substr(q[quote] + 1)) : 0;
  };
  return MakeColor(after(0), after(2), after(4));
}

Outcome ReadColorsDtd(FileServices& files, AppState& state, SchemeColors& colors,
                      std::string_view schemeName) {
  std::string name(schemeName);
  if (name.empty()) name = kFallbackScheme;
  // The scheme that is read is the one that becomes active, so the name is held as SchemeName
  // holds it.
  name = Bounded(name, kNameCapacity);

  const auto file = OpenSchemeFileForReading(files, state, name, kColorsDtd);
  if (!file) return Outcome{}.Fail(Fault::ColorFilesUnreadable, SchemeFolderPath(name));
  state.SetSchemeName(name);

  // One pass from the top: a slot whose line is missing leaves the file at its end, so it and
  // every later slot read as 0.
  std::string line;
  for (const ColorEntry slot : kColorsDtdSlots) {
    const std::string key = Format(" %sRed ", {EntryName(slot)});
    StoreSlot(colors, slot, ReadLineContaining(*file, key, line) ? SlotLineColor(line) : 0);
  }
  return {};
}

Outcome WriteColorsDtd(FileServices& files, const AppState& state, const SchemeColors& colors) {
  Outcome outcome;
  const auto target = SchemeWriteTarget(state, kColorsDtd);
  const auto backup = target ? BackupName(*target) : std::nullopt;
  if (!backup)
    return outcome.Fail(Fault::ColorsDtdTemplateUnreadable, SchemeFolderPath(state.SchemeName));
  if (!KeepSchemeBackup(files, *target, *backup))
    return outcome.Fail(Fault::ColorsDtdNotSaved, *backup);

  // The template is the previous file; a profile without its own file starts from the skin's,
  // which becomes its backup.
  auto templ = files.OpenRead(*backup);
  if (!templ) {
    const auto skinCopy = SkinSchemeFile(state.SchemeName, kColorsDtd);
    if (skinCopy && ReplaceWithCopy(files, *skinCopy, *backup)) {
      templ = files.OpenRead(*backup);
    }
  }
  if (!templ) return outcome.Fail(Fault::ColorsDtdTemplateUnreadable, *backup);

  FileReplacement out(files, *target);
  if (!out.Opened()) return outcome.Fail(Fault::ColorsDtdNotSaved, *target);

  bool complete = true;
  for (const ColorEntry slot : kColorsDtdSlots) {
    if (!RewriteSlot(*templ, out.Writer(), EntryName(slot), colors[slot])) {
      complete = false;
      break;
    }
  }

  if (!complete) {
    out.Abandon();
    return outcome.Fail(Fault::ColorsDtdTemplateIncomplete, *backup);
  }

  std::string line;
  while (templ->ReadLine(line, kColorLineCapacity)) out.Write(line);
  templ.reset();
  if (out.Commit() != FileReplacement::Result::Replaced) {
    return outcome.Fail(Fault::ColorsDtdNotSaved, *target);
  }
  return outcome;
}

void RestoreDefaultColorsDtd(FileServices& files, const AppState& state) {
  const auto target = SchemeWriteTarget(state, kColorsDtd);
  const auto pristine = SkinSchemeFile(state.SchemeName, kColorsDefaultDtd);
  if (target && pristine) ReplaceWithCopy(files, *pristine, *target);
}

}  // namespace quil
