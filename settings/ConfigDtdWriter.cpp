// The config.dtd writer.
#include "settings/ConfigDtdWriter.h"

#include <memory>
#include <utility>
#include <vector>

#include "base/Text.h"
#include "colors/SchemeFiles.h"
#include "core/AppState.h"
#include "core/PluginList.h"
#include "files/FileReplacement.h"
#include "settings/ConfigDtdReader.h"
#include "settings/EntityText.h"
#include "settings/SkinSettings.h"

namespace quil {

namespace {

constexpr const char* kSettingsDtd = "settings.dtd";
constexpr const char* kSettingsDtdText = "<!ENTITY % configdtd SYSTEM \"config.dtd\"> %configdtd;";

// Copies template lines until one begins with `key`, which is left in `line` and not copied.
// False when the template ends first.
bool CopyUntil(TextReader& tpl, TextWriter& out, std::string_view key, std::string& line) {
  while (tpl.ReadLine(line, kTemplateLineCapacity)) {
    if (StartsWithNoCase(line, key)) return true;
    out.Write(line);
  }
  return false;
}

bool WriteHeader(TextReader& tpl, TextWriter& out, const std::string& directoryPrefix) {
  const std::string skinFolder = EscapeEntityText(directoryPrefix);
  return ReplaceEntityValue(tpl, out, std::string(kSkinVersionKey) + "=", kWrittenSkinVersion) &&
         ReplaceEntityValue(tpl, out, kQuilDirParameterKey, skinFolder) &&
         ReplaceEntityValue(tpl, out, kQuilDirKey, skinFolder);
}

// The template's scheme line gives way to one naming the settings' scheme, with every listed scheme
// in its comment.
bool WriteSchemeLine(FileServices& files, const AppState& state, const SkinSettings& settings,
                     TextReader& tpl, TextWriter& out) {
  std::string line;
  if (!CopyUntil(tpl, out, kColorKey, line)) return false;
  std::string scheme = Format("<!ENTITY %% color \"", {});
  scheme += EscapeEntityText(settings.scheme.value_or(""));
  scheme += "\">       <!-- ";
  for (const std::string& folder : SchemeFolders(files, state.ShowHidden))
    scheme += EscapeCommentText(folder) + ",";
  scheme += " skin color mods -->\n";
  out.Write(scheme);
  return true;
}

bool WriteOptionLines(const SkinSettings& settings, TextReader& tpl, TextWriter& out) {
  const bool currentVersion = HasMinimizeAndTaskbarLines(settings.skinVersion);
  for (const SkinOption& option : SkinOptions()) {
    const std::string value = OptionValue(settings, option);
    if (option.FollowsSkinVersion() && !currentVersion) {
      // Written in place; the template's own lines for them pass through unchanged later.
      out.Write(OlderVersionLine(option, value));
    } else if (!ReplaceEntityValue(tpl, out, EntityKey(option), value)) {
      return false;
    }
  }
  return true;
}

// Which of the files that config.dtd binds in lie in a plugin's folder, file or folder alike.
struct PluginFiles {
  bool prefsXml = false;
  bool mainXml = false;
  bool mainDtd = false;
};

// One listing of the plugin's folder answers for all three names.
PluginFiles FindPluginFiles(FileServices& files, const PluginEntry& entry) {
  PluginFiles has;
  for (const DirEntry& found : files.List(PluginFolderPath(entry.folder) + "\\*")) {
    has.prefsXml = has.prefsXml || EqualsNoCase(found.name, "prefs.xml");
    has.mainXml = has.mainXml || EqualsNoCase(found.name, "main.xml");
    has.mainDtd = has.mainDtd || EqualsNoCase(found.name, "main.dtd");
  }
  return has;
}

// Whether config.dtd can bind the plugin: its variable makes entity names and its folder's path
// goes into SYSTEM literals, which take no references.
bool CanBind(const PluginEntry& entry, const std::string& directoryPrefix) {
  return FitsEntityName(entry.variable) &&
         FitsSystemLiteral(directoryPrefix + PluginFolderPath(entry.folder));
}

// Drops the template's tail from the Modpack header on and writes the plugin bindings in its place.
// An enabled plugin that config.dtd cannot bind is left out and unselected in `selection`; its
// description is added to `leftOut`.
void WriteModpackSection(FileServices& files, PluginList& plugins, PluginSelection& selection,
                         TextReader& tpl, TextWriter& out, const std::string& directoryPrefix,
                         std::vector<std::string>& leftOut) {
  std::string line;
  CopyUntil(tpl, out, kModpackHeader, line);  // a template without the header is copied whole
  out.Write(std::string(kModpackHeader) + "\n");
  out.Write("     ============================\n\n");
  out.Write("     DO NOT EDIT BELOW THIS LINE UNLESS YOU KNOW THAT YOU'RE DOING :)\n\n");
  out.Write("-->\n\n");

  // The enabled plugins, in catalogue order, with the files each of them has.
  std::vector<std::pair<const PluginEntry*, PluginFiles>> enabled;
  selection.resize(plugins.size());
  std::size_t index = 0;
  for (PluginEntry& entry : plugins) {
    entry.selected = selection[index];
    if (entry.selected && !CanBind(entry, directoryPrefix)) {
      entry.selected = false;
      selection[index] = false;
      leftOut.push_back(entry.description);
    }
    ++index;
    if (!entry.selected) continue;
    enabled.emplace_back(&entry, FindPluginFiles(files, entry));
    const std::string folder = EscapeEntityText(entry.folder);
    out.Write(Format("<!ENTITY %% modpack_%s \"%s\"> ", {entry.variable, folder}));
    out.Write(Format("<!ENTITY modpack_%s \"%s\">\n", {entry.variable, folder}));
  }
  out.Write("\n");

  for (const auto& [entry, has] : enabled) {
    if (has.prefsXml) {
      out.Write(Format("<!ENTITY modpack_%s_prefs SYSTEM \"%splugins\\%s\\prefs.xml\" >\n",
                       {entry->variable, directoryPrefix, entry->folder}));
    }
    if (has.mainXml) {
      out.Write(Format("<!ENTITY modpack_%s_XML SYSTEM \"%splugins\\%s\\main.xml\" >\n",
                       {entry->variable, directoryPrefix, entry->folder}));
    }
    if (has.mainDtd) {
      out.Write(Format(
          "<!ENTITY %% modpack_%s_dtd SYSTEM \"%splugins\\%s\\main.dtd\" > %%modpack_%s_dtd;\n",
          {entry->variable, directoryPrefix, entry->folder, entry->variable}));
    }
    out.Write("\n");
  }

  out.Write("<!ENTITY modpackXML '\n");
  for (const auto& [entry, has] : enabled) {
    if (has.mainXml) out.Write(Format("&modpack_%s_XML;\n", {entry->variable}));
  }
  out.Write("'>\n\n");
  out.Write("<!ENTITY modprefs '\n");
  for (const auto& [entry, has] : enabled) {
    if (has.prefsXml) out.Write(Format("&modpack_%s_prefs;\n", {entry->variable}));
  }
  out.Write("'>\n\n");
}

void WriteSettingsDtd(FileServices& files, Outcome& outcome) {
  FileReplacement out(files, std::string(kSettingsDtd));
  bool written = false;
  if (out.Opened()) {
    out.Write(kSettingsDtdText);
    written = out.Commit() == FileReplacement::Result::Replaced;
  }
  // The profile's config.dtd is complete; the skin only misses its entry point, so the save stands.
  if (!written) outcome.Report(Fault::SettingsDtdNotSaved, std::string(kSettingsDtd));
}

}  // namespace

bool ReplaceEntityValue(TextReader& tpl, TextWriter& out, std::string_view key,
                        std::string_view value) {
  std::string line;
  if (!CopyUntil(tpl, out, key, line)) return false;
  const auto first = line.find('"');
  const auto second = first == std::string::npos ? first : line.find('"', first + 1);
  if (second == std::string::npos) {
    out.Write(line);  // no quoted value to replace
  } else {
    out.Write(line.substr(0, first + 1) + std::string(value) + line.substr(second));
  }
  return true;
}

Outcome WriteConfigDtd(FileServices& files, const AppState& state, PluginList& plugins,
                       const SkinSettings& settings, PluginSelection& selection,
                       const std::string& profileFolderPath, const std::string& directoryPrefix) {
  const std::string configPath = profileFolderPath + std::string(kConfigDtd);
  const std::string backupPath = configPath + ".bak";
  const std::string templatePath = configPath + ".def";
  Outcome outcome;

  // A save never goes on without the backup it promises; there is none to make before the first.
  if (KeepBackup(files, configPath, backupPath) == BackupResult::Failed) {
    return outcome.Fail(Fault::ConfigNotSaved, backupPath);
  }
  // A template cut short (a full disk, an I/O error) fails this save; the program goes on with the
  // user's edits, so that the save can be tried again. Every other failure to make the template
  // is one the program cannot go on from.
  Outcome made = WriteDefaultConfig(files, templatePath);
  if (!made.done && made.faults.back().fault != Fault::DefaultsCutShort) return made;
  if (!made.done) {
    files.Delete(templatePath);
    return outcome.Fail(Fault::ConfigNotSaved, templatePath);
  }

  std::unique_ptr<TextReader> tpl = files.OpenRead(templatePath);
  if (!tpl) {
    files.Delete(templatePath);
    return outcome.Fail(Fault::ConfigTemplateUnreadable, templatePath);
  }
  // The new file is written beside config.dtd and replaces it only when complete, so a failed or
  // interrupted save leaves the previous settings in place (the same content as the backup).
  FileReplacement out(files, configPath);
  if (!out.Opened()) {
    tpl.reset();
    files.Delete(templatePath);
    return outcome.Fail(Fault::ConfigNotSaved, configPath);
  }

  const bool complete = WriteHeader(*tpl, out.Writer(), directoryPrefix) &&
                        WriteSchemeLine(files, state, settings, *tpl, out.Writer()) &&
                        WriteOptionLines(settings, *tpl, out.Writer());
  std::vector<std::string> leftOut;
  if (complete)
    WriteModpackSection(files, plugins, selection, *tpl, out.Writer(), directoryPrefix, leftOut);
  tpl.reset();
  // A file cut short by a failed write is as incomplete as one built from a short template.
  const auto result = complete ? out.Commit() : FileReplacement::Result::WriteFailed;
  out.Abandon();
  files.Delete(templatePath);

  if (result == FileReplacement::Result::Replaced) {
    if (IsDefaultProfile(state.ProfileName)) WriteSettingsDtd(files, outcome);
    if (!leftOut.empty()) {
      std::string names;
      for (const std::string& description : leftOut) names += description + "\n";
      outcome.Report(Fault::PluginsLeftOut, configPath, names);
    }
    return outcome;
  }
  return outcome.Fail(result == FileReplacement::Result::ReplaceFailed ? Fault::ConfigNotSaved
                                                                       : Fault::ConfigIncomplete,
                      configPath);
}

}  // namespace quil
