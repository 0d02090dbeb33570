// The one process-wide record of the utility: the skin folder, the active profile and scheme, the
// switches and the flags that say what Save must write. Also the rules by which a profile name
// becomes a folder path.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "base/Paths.h"

namespace quil {

// Capacities of the record's texts, terminator included. Texts stored into the record are cut to
// capacity - 1 bytes, as the fixed buffers of the skin's tools hold them.
inline constexpr std::size_t kWorkDirCapacity = 260;
inline constexpr std::size_t kNameCapacity = 256;  // ProfileName, SchemeName, a candidate name
inline constexpr std::size_t kPreviewPathCapacity = 512;
inline constexpr std::size_t kPreviewTitleCapacity = 128;

inline constexpr std::string_view kDefaultProfile = "(default)";

struct AppState {
  std::string WorkDir;            // full path of the skin folder, no trailing backslash
  std::string ProfileName;        // "(default)" or a profile's name
  std::string SchemeName;         // name of the active folder under "mods"
  int SkinVersion = 0;            // version of the settings file last read
  std::string PreviewImagePath;   // image shown by Trillian's skin viewer for the profile
  std::string PreviewImageTitle;  // file-name part chosen in the image chooser
  bool ColorsDtdDirty = false;
  bool ColorsIniDirty = false;
  bool ProfileIsNew = false;
  bool ShowHidden = false;
  bool RestoreOnStart = false;
  // The lead bytes of the ANSI code page the names are in, from the file services at start-up:
  // every search for a backslash or a name boundary walks characters by them.
  LeadBytes AnsiLeadBytes;

  // The skin folder's name: everything after the last backslash of WorkDir.
  std::string_view SkinName() const;

  void SetWorkDir(std::string_view path);
  void SetProfileName(std::string_view name);
  void SetSchemeName(std::string_view name);
  void SetPreviewImagePath(std::string_view path);
  void SetPreviewImageTitle(std::string_view title);
};

// The profile "(default)" is recognised by a case-sensitive comparison.
bool IsDefaultProfile(std::string_view profileName);

// A named profile's folder lies beside the skin folder, named after the skin, this infix and the
// profile: "<skin>_profile_<name>".
inline constexpr std::string_view kProfileInfix = "_profile_";
// The folder of profile `profileName` (or a pattern of names) as seen from the skin folder:
// "..\<skin>_profile_<name>", without a trailing backslash.
std::string SiblingProfileFolder(std::string_view skinName, std::string_view profileName);
// The skin folder as seen from a profile folder: "..\<skin>\".
std::string SkinFolderFromProfile(std::string_view skinName);

// Where the profile's desc.txt, trillian.xml, config.dtd and mods copy lie, relative to the skin
// folder: empty for "(default)", else "..\<skin>_profile_<name>\".
std::string ProfileFolderPath(const AppState& state);
// The path from the profile folder back to the skin folder: empty for "(default)", else
// "..\<skin>\".
std::string DirectoryPrefix(const AppState& state);
// The profile folder path formed for any profile, "(default)" too: the readers of the colors and of
// the preview image try it first and fall back to the skin's own files.
std::string ReaderProfileFolderPath(const AppState& state);
// The sibling folder of a named profile as an absolute path: WorkDir, kProfileInfix and the name.
std::string AbsoluteProfileFolder(const AppState& state);

}  // namespace quil
