// The scheme folders, the paths of a scheme's color files, and loading and saving a scheme.
#include "colors/SchemeFiles.h"

#include "base/Text.h"
#include "core/AppState.h"
#include "files/FileReplacement.h"

namespace quil {

namespace {

std::optional<std::string> Fitting(std::string path) {
  if (path.size() >= kColorPathCapacity) return std::nullopt;
  return path;
}

std::optional<std::string> SchemeFile(std::string_view folder, std::string_view scheme,
                                      std::string_view fileName) {
  return Fitting(Format("%s%s\\%s", {folder, SchemeFolderPath(scheme), fileName}));
}

}  // namespace

std::string SchemeFolderPath(std::string_view scheme) {
  return Format("%s\\%s", {kSchemesFolder, scheme});
}

bool IsSchemeFolder(const DirEntry& entry, bool showHidden) {
  const std::string& name = entry.name;
  if (!entry.attributes.isDirectory || name.empty()) return false;
  // A name with no exact ANSI form cannot be opened by any path the utility forms.
  if (!entry.exactName) return false;
  if (name[0] == '.') return false;
  if (EqualsNoCase(name, "all")) return false;
  if (name[0] == '!' && !showHidden) return false;
  return true;
}

std::vector<std::string> SchemeFolders(FileServices& files, bool showHidden) {
  std::vector<std::string> names;
  for (const DirEntry& entry : files.List(SchemeFolderPath("*"))) {
    if (IsSchemeFolder(entry, showHidden)) names.push_back(entry.name);
  }
  return names;
}

std::optional<std::string> SchemeWriteTarget(const AppState& state, std::string_view fileName) {
  return SchemeFile(ProfileFolderPath(state), state.SchemeName, fileName);
}

std::optional<std::string> SkinSchemeFile(std::string_view scheme, std::string_view fileName) {
  return SchemeFile({}, scheme, fileName);
}

std::string SchemePictureFile(std::string_view scheme) {
  return SchemeFolderPath(scheme) + "\\" + std::string(kSchemePicture);
}

std::string SchemePicturePath(const AppState& state) {
  return SkinFolderFromProfile(state.SkinName()) + SchemePictureFile(state.SchemeName);
}

std::optional<std::string> BackupName(const std::string& path) {
  return Fitting(path + ".bak");
}

std::unique_ptr<TextReader> OpenSchemeFileForReading(FileServices& files, const AppState& state,
                                                     std::string_view scheme,
                                                     std::string_view fileName) {
  const std::string profileFolder = ReaderProfileFolderPath(state);
  for (const std::string_view folder : {std::string_view(profileFolder), std::string_view()}) {
    if (const auto path = SchemeFile(folder, scheme, fileName)) {
      if (auto reader = files.OpenRead(*path)) return reader;
    }
  }
  return nullptr;
}

bool ReadLineContaining(TextReader& file, std::string_view key, std::string& line) {
  while (file.ReadLine(line, kColorLineCapacity)) {
    if (line.find(key) != std::string::npos) return true;
  }
  return false;
}

bool KeepSchemeBackup(FileServices& files, const std::string& target, const std::string& backup) {
  switch (KeepBackup(files, target, backup)) {
    case BackupResult::Kept:
      return true;
    case BackupResult::NothingToKeep:
      files.Delete(backup);
      return true;
    case BackupResult::Failed:
      break;
  }
  return false;
}

}  // namespace quil
