// Saving a profile into the skin folder ("(default)") or into its sibling profile folder.
#include "profiles/ProfileFolders.h"

#include <vector>

#include "base/Paths.h"
#include "base/Text.h"
#include "colors/SchemeFiles.h"
#include "core/App.h"
#include "core/ControlIds.h"
#include "files/FileReplacement.h"
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

void WriteDescTxt(App& app, const std::string& profileFolder) {
  const bool isDefault = IsDefaultProfile(app.state.ProfileName);
  const bool copied = app.files.Copy("desc.txt", "desc.txt.bak", false);
  FileError failure = copied ? FileError::Other : app.files.LastError();
  // An old desc.txt.bak is no copy of today's description.
  auto skinDesc = copied ? app.files.OpenRead("desc.txt.bak") : nullptr;
  // Without the skin's own description there is no title to build on: the profile's desc.txt is
  // left as it is rather than written with empty lines.
  if (skinDesc) {
    FileReplacement desc(app.files, profileFolder + "desc.txt");
    failure = desc.Opened() ? FileError::None : app.files.LastError();
    if (desc.Opened()) {
      std::string title;
      skinDesc->ReadLine(title, kProfileLineCapacity);
      desc.Write(Format("Quil %s Profile >%s", {app.state.ProfileName, TitleDatePart(title)}));
      const std::string image = PreviewImageLine(app, app.state.PreviewImagePath);
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
            {app.state.ProfileName}));
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
    app.messages.Notice(kSharingViolationNotice);
  } else if (failure != FileError::None) {
    app.messages.Notice(kDescNotSaved);
  }
  skinDesc.reset();
  app.files.Delete("desc.txt.bak");
}

void WriteTrillianXml(App& app, const std::string& profileFolder) {
  auto skinXml = app.files.OpenRead("trillian.xml");
  FileReplacement xml(app.files, profileFolder + "trillian.xml");
  if (!skinXml || !xml.Opened()) {
    app.messages.Notice(kTrillianXmlNotSaved);
    return;
  }
  std::string line;
  while (skinXml->ReadLine(line, kProfileLineCapacity)) {
    if (StartsWithNoCase(line, kDoctypeKey)) {
      xml.Write(
          Format("<!DOCTYPE test SYSTEM \"..\\%s\\xml\\trillian.dtd\">\n", {app.state.SkinName()}));
    } else {
      xml.Write(line);
    }
  }
  if (xml.Commit() != FileReplacement::Result::Replaced) {
    app.messages.Notice(kTrillianXmlNotSaved);
  }
}

// Makes a new profile's folders: the profile folder, its schemes folder and the active scheme's
// folder in it; a folder that is there already counts as made. When one cannot be made (a file of
// its name is in the way, its name is no valid one, its path is too long), the folders made here
// are removed again and false is returned: a failed save leaves no half-made profile behind.
bool MakeProfileFolders(App& app, const std::string& profileFolder) {
  const std::string folders[] = {profileFolder, profileFolder + std::string(kSchemesFolder),
                                 profileFolder + SchemeFolderPath(app.state.SchemeName)};
  std::vector<std::string> made;
  for (const std::string& folder : folders) {
    if (app.files.MakeDirectory(folder)) {
      made.push_back(folder);
      continue;
    }
    const auto existing = app.files.Attributes(folder);
    if (existing && existing->isDirectory) continue;
    for (auto it = made.rbegin(); it != made.rend(); ++it) app.files.RemoveDirectory(*it);
    return false;
  }
  return true;
}

// A profile that failed to save once is still new: its name is in the profile box already.
void AddProfileLine(App& app, const std::string& name) {
  const int count = app.controls.ListLineCount(Page::Main, kProfileBox);
  for (int i = 0; i < count; ++i) {
    if (EqualsNoCase(app.controls.ListLine(Page::Main, kProfileBox, i), name)) return;
  }
  app.controls.AddListLine(Page::Main, kProfileBox, name);
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

std::string PreviewImageLine(App& app, const std::string& imagePath) {
  const std::string& skinFolder = app.state.WorkDir;
  const auto relative = [&](std::string_view path) {
    return Format("..\\%s%s", {app.state.SkinName(), path.substr(skinFolder.size())});
  };
  if (auto shortPath = app.files.ShortPath(imagePath)) {
    const std::string shortForm = Bounded(*shortPath, kProfileLineCapacity);
    if (LiesInside(shortForm, skinFolder, app.state.AnsiLeadBytes)) return relative(shortForm);
  }
  if (LiesInside(imagePath, skinFolder, app.state.AnsiLeadBytes)) return relative(imagePath);
  return imagePath;
}

Outcome SaveProfile(App& app, const SkinSettings& settings, PluginSelection& selection) {
  const Outcome declined{.done = false, .faults = {}};
  AppState& s = app.state;
  const std::string prefix = DirectoryPrefix(s);
  const std::string folder = ProfileFolderPath(s);
  if (s.ProfileIsNew) {
    if (!app.messages.Ask(
            Format("Profile \"%s\" not found:\nCreate a new profile?", {s.ProfileName}))) {
      return declined;
    }
    // Without its folder nothing of the profile can be written: the save fails as a whole, and
    // the dialog keeps the user's edits for another try.
    if (!MakeProfileFolders(app, folder)) {
      return Outcome{}.Fail(Fault::ConfigNotSaved, folder);
    }
    AddProfileLine(app, s.ProfileName);
  } else if (!app.messages.Ask(
                 Format("Are you sure you want to overwrite the '%s' profile?", {s.ProfileName}))) {
    return declined;
  } else if (!IsDefaultProfile(s.ProfileName)) {
    // An existing profile whose folder has gone, or is a file of that name, fails the same way.
    const auto existing = app.files.Attributes(folder);
    if (!existing || !existing->isDirectory) {
      return Outcome{}.Fail(Fault::ConfigNotSaved, folder);
    }
  }
  WriteDescTxt(app, folder);
  if (!IsDefaultProfile(s.ProfileName)) WriteTrillianXml(app, folder);
  return WriteConfigDtd(app.files, s, app.plugins, settings, selection, folder, prefix);
}

}  // namespace quil
