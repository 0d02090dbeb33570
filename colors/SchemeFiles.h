// Which folders are color schemes, where a scheme's color files lie, how they are opened, and the
// two compound operations on them: loading a scheme (colors.dtd, then colors.ini) and saving the
// colors that changed. A scheme is the folder mods\<scheme>\ of the skin, with a copy in each
// named profile's folder.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/FileServices.h"

namespace quil {

struct AppState;

// The color files are read in lines of at most 399 characters; a longer line comes in pieces.
inline constexpr std::size_t kColorLineCapacity = 400;
// File names are formed in 400-byte buffers. A name that would not fit is refused, never cut: a cut
// name would be another file.
inline constexpr std::size_t kColorPathCapacity = 400;

// The scheme that the colors.dtd reader falls back to when no name is given and the scheme box is
// empty. The skin needs it: it can be neither hidden nor deleted from the dialog.
inline constexpr std::string_view kFallbackScheme = "green";

// The picture in every scheme's folder, which Trillian's skin viewer shows for the scheme.
inline constexpr std::string_view kSchemePicture = "Quil.bmp";
// A scheme's picture relative to the skin folder: "mods\<scheme>\Quil.bmp".
std::string SchemePictureFile(std::string_view scheme);
// The active scheme's picture as seen from the skin folder or any profile folder:
// "..\<skin>\mods\<scheme>\Quil.bmp".
std::string SchemePicturePath(const AppState& state);

// The folder of the color schemes, in the skin folder and in each named profile's folder.
inline constexpr std::string_view kSchemesFolder = "mods";
// A scheme's folder (or a pattern of them) relative to the skin folder or a profile folder:
// "mods\<scheme>".
std::string SchemeFolderPath(std::string_view scheme);

// True for an entry of "mods\*" that is a color scheme: a folder whose name has an exact ANSI
// form, not beginning with ".", not "all", and not beginning with "!" unless hidden folders are
// shown.
bool IsSchemeFolder(const DirEntry& entry, bool showHidden);
// The scheme folders under "mods\", in listing order; those beginning with "!" only with
// `showHidden`.
std::vector<std::string> SchemeFolders(FileServices& files, bool showHidden);

// The file `fileName` of the active scheme where the writers put it: the skin's own scheme folder
// for the profile "(default)", the profile's copy of it for a named profile. Nothing when the name
// does not fit.
std::optional<std::string> SchemeWriteTarget(const AppState& state, std::string_view fileName);
// The skin's own copy of a scheme's file: "mods\<scheme>\<fileName>". Nothing when it does not fit.
std::optional<std::string> SkinSchemeFile(std::string_view scheme, std::string_view fileName);
// The name with ".bak" appended, when it fits.
std::optional<std::string> BackupName(const std::string& path);

// Opens a scheme's file for reading the way the readers look for it: first in the active
// profile's folder (formed for "(default)" too, where it normally does not exist), then in the
// skin's own scheme folder. Null when neither opens.
std::unique_ptr<TextReader> OpenSchemeFileForReading(FileServices& files, const AppState& state,
                                                     std::string_view scheme,
                                                     std::string_view fileName);

// Reads on, line by line, to the next line that contains `key` (compared with case); false at the
// end of the file. The readers search forward only, so their keys must stand in the order in which
// they are looked for.
bool ReadLineContaining(TextReader& file, std::string_view key, std::string& line);

// Keeps the previous content of a color file as its backup before the file is rewritten, whole
// or not at all (KeepBackup of app/FileReplacement.h). A file that does not exist yet leaves no
// backup: an older one is deleted, so that it is not taken for the file's previous content. False
// when the backup could not be made: the file must then not be rewritten.
bool KeepSchemeBackup(FileServices& files, const std::string& target, const std::string& backup);

}  // namespace quil
