// The config.dtd reader and the extraction of the default template.
#include "settings/ConfigDtdReader.h"

#include <memory>
#include <vector>

#include "base/Text.h"
#include "files/FileReplacement.h"
#include "settings/EntityText.h"
#include "settings/SkinSettings.h"

namespace quil {

namespace {

// The number of lines between the defaults header and the block itself.
constexpr int kLinesAfterDefaultsHeader = 3;

// Reads pieces of `capacity` - 1 characters until one begins with `key`; false at the end of the
// file.
bool FindLine(TextReader& in, std::string_view key, std::size_t capacity, std::string& line) {
  while (in.ReadLine(line, capacity)) {
    if (StartsWithNoCase(line, key)) return true;
  }
  return false;
}

// A plugin declaration names its plugin by the text after the line's first underscore up to the
// next blank (or the end of the line).
std::string_view PluginStem(std::string_view line) {
  line = WithoutLineBreak(line);
  const auto underscore = line.find('_');
  if (underscore == std::string_view::npos) return {};
  const std::string_view rest = line.substr(underscore + 1);
  return rest.substr(0, rest.find(' '));
}

// The stems of the plugin declarations from here to the end of the file.
void ReadPluginStems(TextReader& in, std::vector<std::string>& stems) {
  std::string line;
  while (FindLine(in, kModpackKey, kEntityLineCapacity, line)) {
    stems.emplace_back(PluginStem(line));
  }
}

// The value of an option's line as far as it was read: a line longer than the piece loses its
// closing quote and may end inside a reference, which is then dropped.
std::string ReadValue(std::string_view line) {
  std::string value = EntityValue(line);
  const std::string_view text = WithoutLineBreak(line);
  const auto first = text.find('"');
  if (first != std::string_view::npos && text.find('"', first + 1) == std::string_view::npos) {
    value.resize(WithoutPartialReference(value).size());
  }
  return value;
}

}  // namespace

std::string EntityValue(std::string_view line) {
  line = WithoutLineBreak(line);
  const auto first = line.find('"');
  if (first == std::string_view::npos) return {};
  const std::string_view rest = line.substr(first + 1);
  return std::string(rest.substr(0, rest.find('"')));
}

Outcome ReadConfigDtd(FileServices& files, const std::string& fileName, SkinSettings& settings) {
  Outcome outcome;
  std::unique_ptr<TextReader> in = files.OpenRead(fileName);
  if (!in) {
    outcome.Report(Fault::ConfigUnreadable, fileName);
    in = files.OpenRead(std::string(kDefaultPluginFile));
    if (!in) return outcome.Fail(Fault::DefaultsUnreadable, std::string(kDefaultPluginFile));
  }

  std::string line;
  if (FindLine(*in, kSkinVersionKey, kTemplateLineCapacity, line)) {
    settings.skinVersion = LeadingInt(EntityValue(line));
  } else {
    in->Rewind();
    outcome.Report(Fault::VersionUnknown, fileName);
  }

  bool found = FindLine(*in, kColorKey, kEntityLineCapacity, line);
  if (found) settings.scheme = UnescapeEntityText(ReadValue(line));
  for (const SkinOption& option : SkinOptions()) {
    if (!found) break;
    if (!option.IsRead()) continue;
    if (option.FollowsSkinVersion() && !HasMinimizeAndTaskbarLines(settings.skinVersion)) {
      ApplyOptionValue(settings, option, option.olderVersionValue);
      continue;
    }
    found = FindLine(*in, EntityKey(option), kEntityLineCapacity, line);
    if (found) ApplyOptionValue(settings, option, ReadValue(line));
  }

  settings.pluginStems.clear();
  if (found) ReadPluginStems(*in, settings.pluginStems);
  outcome.done = found;
  return outcome;
}

Outcome WriteDefaultConfig(FileServices& files, const std::string& fileName) {
  Outcome outcome;
  std::unique_ptr<TextReader> in = files.OpenRead(std::string(kDefaultPluginFile));
  // The block replaces the file only once it is complete: a failure or a crash on the way leaves
  // the previous file as it was.
  FileReplacement out(files, fileName);
  if (!out.Opened()) {
    outcome.Fail(Fault::DefaultsNotCreated, fileName);
  } else if (!in) {
    outcome.Fail(Fault::DefaultPluginUnreadable, std::string(kDefaultPluginFile));
  } else {
    std::string line;
    if (!FindLine(*in, kDefaultsHeader, kTemplateLineCapacity, line)) {
      outcome.Fail(Fault::DefaultBlockMissing, std::string(kDefaultPluginFile));
    } else {
      for (int i = 0; i < kLinesAfterDefaultsHeader; ++i) in->ReadLine(line, kTemplateLineCapacity);
      while (in->ReadLine(line, kTemplateLineCapacity)) out.Write(line);
      in.reset();
      if (out.Commit() != FileReplacement::Result::Replaced) {
        outcome.Fail(Fault::DefaultsCutShort, fileName);
      }
      return outcome;
    }
  }
  in.reset();
  out.Abandon();
  return outcome;
}

}  // namespace quil
