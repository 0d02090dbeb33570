// Saving a profile: the create or overwrite question, the folders of a new profile, the profile's
// desc.txt (what Trillian's skin chooser shows) and trillian.xml, then config.dtd.
#pragma once

#include <string>
#include <string_view>

#include "settings/ConfigDtdWriter.h"

namespace quil {

struct App;

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
std::string PreviewImageLine(App& app, const std::string& imagePath);

// Save of `settings` with the plugins of `selection` (see WriteConfigDtd): done when the user
// confirmed and config.dtd was written completely. A profile folder that cannot be made, or has
// gone, fails it with ConfigNotSaved before anything is written; a question answered No leaves it
// not done with nothing reported.
Outcome SaveProfile(App& app, const SkinSettings& settings, PluginSelection& selection);

}  // namespace quil
