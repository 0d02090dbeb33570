// Writing a profile: the folders of a new profile, the profile's desc.txt (what Trillian's skin
// chooser shows) and trillian.xml, then config.dtd. The questions before a save are the dialog's.
#pragma once

#include <string>
#include <string_view>

#include "settings/ConfigDtdWriter.h"

namespace quil {

struct AppState;
class FileServices;

inline constexpr std::string_view kSharingViolationNotice =
    "Unable to write desc.txt file due to sharing violation\n\nThis is probably due to Trillian "
    "being open.\n\nThe settings should work but changes won't be reflected in the skinviewer.";

// The profile's desc.txt or trillian.xml could not be written (for another reason than the sharing
// violation above); the save goes on with config.dtd.
inline constexpr std::string_view kDescNotSaved = "Unable to save desc.txt";
inline constexpr std::string_view kTrillianXmlNotSaved = "Unable to save trillian.xml";

// The date part of the skin's title line: the text after its first ">" up to the next ">" or the
// end of the line, always ending with a line break; " (undated)\n" when nothing follows a ">" or
// there is none.
std::string TitleDatePart(std::string_view titleLine);

// The image line of a profile's desc.txt for the image at `imagePath` (a full path): an image
// inside the skin folder is written as "..\<skin>\" and the rest of its path, in short form when
// the short form lies in the skin folder too, so that it resolves from every profile folder; an
// image elsewhere keeps its full path.
std::string PreviewImageLine(FileServices& files, const AppState& state,
                             const std::string& imagePath);

// Makes the active profile's folders for a new profile: the profile folder, its schemes folder and
// the active scheme's folder in it; a folder that is there already counts as made. When one cannot
// be made (a file of its name is in the way, its name is no valid one, its path is too long), the
// folders made here are removed again and false is returned: a failed save leaves no half-made
// profile behind.
bool MakeProfileFolders(FileServices& files, const AppState& state);

// Writes the active profile with `settings` and the plugins of `selection` (see WriteConfigDtd):
// its desc.txt, for a named profile its trillian.xml, then config.dtd. Done when config.dtd was
// written completely. A named profile whose folder has gone, or is a file, fails with
// ConfigNotSaved before anything is written. A desc.txt held by another program (DescHeld) or not
// written (DescNotSaved), and a trillian.xml not written (TrillianXmlNotSaved), are reported and
// the save goes on.
Outcome WriteProfile(FileServices& files, const AppState& state, PluginList& plugins,
                     const SkinSettings& settings, PluginSelection& selection);

}  // namespace quil
