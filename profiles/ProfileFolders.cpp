// Saving a profile into the skin folder ("(default)") or into its sibling profile folder.
#include "profiles/ProfileFolders.h"

#include <vector>

#include "base/Paths.h"
#include "base/Text.h"
#include "colors/SchemeFiles.h"
#include "core/AppState.h"
#include "files/FileReplacement.h"
#include "files/FileServices.h"
#include "settings/ConfigDtdWriter.h"

namespace quil {

namespace {

// desc.txt and trillian.xml are read in lines of at most 399 characters.
constexpr std::size_t kProfileLineCapacity = 400;
constexpr std::string_view kUndated = " (undated)\n";
constexpr std::string_view kDoctypeKey = "<!DOCTYPE ";

// Whether `path` lies inside the folder `folder` (a full path without trailing backslash),
// compared without regard to case.
bool LiesInside(std::string_view path, std::string_view folder, const LeadBytes& lead) {
  return !folder.empty() && path.size() > folder.size() && path[folder.size()] == '\\' &&
         IsCharacterStart(path, folder.size(), lead) && StartsWithNoCase(path, folder);
}

void WriteDescTxt(FileServices& files, const AppState& state, const std::string& profileFolder,
                  Outcome& outcome) {
  const bool isDefault = IsDefaultProfile(state.ProfileName);
  const bool copied = files.Copy("desc.txt", "desc.txt.bak", false);
  FileError failure = copied ? FileError::Other : files.LastError();
  // An old desc.txt.bak is no copy of today's description.
  auto skinDesc = copied ? files.OpenRead("desc.txt.bak") : nullptr;
  // Without the skin's own description there is no title to build on: the profile's desc.txt is
  // left as it is rather than written with empty lines.
  if (skinDesc) {
    FileReplacement desc(files, profileFolder + "desc.txt");
    failure = desc.Opened() ? FileError::None : files.LastError();
    if (desc.Opened()) {
      std::string title;
      skinDesc->ReadLine(title, kProfileLineCapacity);
      desc.Write(Format("Quil %s Profile >%s", {state.ProfileName, TitleDatePart(title)}));
      const std::string image = PreviewImageLine(files, state, state.PreviewImagePath);
      if (isDefault) {
        std::string description;
        skinDesc->ReadLine(description, kProfileLineCapacity);
        // The description stays one line even when it was the skin file's last line.
        if (description.empty() || description.back() != '\n') description += '\n';
        desc.Write(Format("%s1\n", {description}));
      } else {
        desc.Write(Format(
            "A profile of the Quil skin.  To set preferences select the '%s' profile in the "
            "configuration utility in the main Quil directory.  If Trillian doesn't load, try the "
            "(default) profile.\n1\n",
            {state.ProfileName}));
      }
      desc.Write(image);
      desc.Write("\n3000\n700");
      switch (desc.Commit()) {
        case FileReplacement::Result::Replaced:
          break;
        case FileReplacement::Result::ReplaceFailed:
          failure = desc.ReplaceError();
          break;
        case FileReplacement::Result::WriteFailed:
          failure = FileError::Other;
          break;
      }
    }
  }
  // Trillian keeps desc.txt open while it shows the skin chooser; any other failure is named too,
  // so that a desc.txt left as it was is never taken for a saved one.
  if (failure == FileError::SharingViolation) {
    outcome.Report(Fault::DescHeld, profileFolder + "desc.txt");
  } else if (failure != FileError::None) {
    outcome.Report(Fault::DescNotSaved, profileFolder + "desc.txt");
  }
  skinDesc.reset();
  files.Delete("desc.txt.bak");
}

void WriteTrillianXml(FileServices& files, const AppState& state, const std::string& profileFolder,
                      Outcome& outcome) {
  auto skinXml = files.OpenRead("trillian.xml");
  FileReplacement xml(files, profileFolder + "trillian.xml");
  if (!skinXml || !xml.Opened()) {
    outcome.Report(Fault::TrillianXmlNotSaved, profileFolder + "trillian.xml");
    return;
  }
  std::string line;
  while (skinXml->ReadLine(line, kProfileLineCapacity)) {
    if (StartsWithNoCase(line, kDoctypeKey)) {
      xml.Write(
          Format("<!DOCTYPE test SYSTEM \"..\\%s\\xml\\trillian.dtd\">\n", {state.SkinName()}));
    } else {
      xml.Write(line);
    }
  }
  if (xml.Commit() != FileReplacement::Result::Replaced) {
    outcome.Report(Fault::TrillianXmlNotSaved, profileFolder + "trillian.xml");
  }
}

}  // namespace

std::string TitleDatePart(std::string_view titleLine) {
  const auto first = titleLine.find('>');
  if (first == std::string_view::npos) return std::string(kUndated);
  std::string_view rest = titleLine.substr(first + 1);
  if (WithoutLineBreak(rest).empty()) return std::string(kUndated);
  const auto second = rest.find('>');
  if (second != std::string_view::npos) rest = rest.substr(0, second);
  std::string part(rest);
  // A ">" right after the first one leaves an empty date: it is still one line.
  if (part.empty() || part.back() != '\n') part += '\n';
  return part;
}

std::string PreviewImageLine(FileServices& files, const AppState& state,
                             const std::string& imagePath) {
  const std::string& skinFolder = state.WorkDir;
  const auto relative = [&](std::string_view path) {
    return Format("..\\%s%s", {state.SkinName(), path.substr(skinFolder.size())});
  };
  if (auto shortPath = files.ShortPath(imagePath)) {
    const std::string shortForm = Bounded(*shortPath, kProfileLineCapacity);
    if (LiesInside(shortForm, skinFolder, state.AnsiLeadBytes)) return relative(shortForm);
  }
  if (LiesInside(imagePath, skinFolder, state.AnsiLeadBytes)) return relative(imagePath);
  return imagePath;
}

bool MakeProfileFolders(FileServices& files, const AppState& state) {
  const std::string profileFolder = ProfileFolderPath(state);
  const std::string folders[] = {profileFolder, profileFolder + std::string(kSchemesFolder),
                                 profileFolder + SchemeFolderPath(state.SchemeName)};
  std::vector<std::string> made;
  for (const std::string& folder : folders) {
    if (files.MakeDirectory(folder)) {
      made.push_back(folder);
      continue;
    }
    const auto existing = files.Attributes(folder);
    if (existing && existing->isDirectory) continue;
    for (auto it = made.rbegin(); it != made.rend(); ++it) files.RemoveDirectory(*it);
    return false;
  }
  return true;
}

Outcome WriteProfile(FileServices& files, const AppState& state, PluginList& plugins,
                     const SkinSettings& settings, PluginSelection& selection) {
  const std::string folder = ProfileFolderPath(state);
  if (!IsDefaultProfile(state.ProfileName)) {
    // A profile whose folder has gone, or is a file of that name, cannot be written at all.
    const auto existing = files.Attributes(folder);
    if (!existing || !existing->isDirectory) return Outcome{}.Fail(Fault::ConfigNotSaved, folder);
  }
  Outcome outcome;
  WriteDescTxt(files, state, folder, outcome);
  if (!IsDefaultProfile(state.ProfileName)) WriteTrillianXml(files, state, folder, outcome);
  outcome.Add(
      WriteConfigDtd(files, state, plugins, settings, selection, folder, DirectoryPrefix(state)));
  return outcome;
}

}  // namespace quil
