// Reading the skin settings from a config.dtd (or from the default plugin's template), and
// extracting the default template from the default plugin. Neither parses DTD: both find lines by
// the text they begin with, searching only forward through the file.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "core/Outcome.h"
#include "files/FileServices.h"

namespace quil {

struct SkinSettings;

// A profile's settings file, in the skin folder for "(default)" and in the profile's folder else.
inline constexpr std::string_view kConfigDtd = "config.dtd";

// The skin's base plugin, whose main.dtd carries the default settings block.
inline constexpr std::string_view kDefaultPluginFile = "plugins\\default\\main.dtd";
// The line after which, three lines further on, the default settings block begins (36 characters).
inline constexpr std::string_view kDefaultsHeader = "     | CONFIG.DTD default settings |";

// The entity searches read lines into 80 bytes: pieces of at most 79 characters.
inline constexpr std::size_t kEntityLineCapacity = 80;
// The version search, the template extraction and the writer read lines into 400 bytes.
inline constexpr std::size_t kTemplateLineCapacity = 400;

// The value of a matched entity line: the text between its first two double quotes. With only one
// quote, the text after it to the end of the line; with none, empty.
std::string EntityValue(std::string_view line);

// Reads `fileName` into `settings`: the skin version, the scheme, every option and the stems of the
// enabled plugins. When the file cannot be opened it reports so (ConfigUnreadable) and reads the
// default plugin's main.dtd instead; when that cannot be opened either, it fails with
// DefaultsUnreadable and reads nothing. A file without a version line is reported
// (VersionUnknown) and read from its top. Done when every option line was found; not done when the
// file ended before one of them, in which case that option and every later one keep their values.
// A version or scheme line not found keeps the field as it was; the plugin stems are always those
// of this file.
Outcome ReadConfigDtd(FileServices& files, const std::string& fileName, SkinSettings& settings);

// Replaces `fileName` with the default settings block of the default plugin, in one step. Fails
// with DefaultsNotCreated when the file cannot be created, DefaultPluginUnreadable or
// DefaultBlockMissing when the default plugin cannot be opened or holds no default block, and
// DefaultsCutShort when writing the block failed part way (a full disk, an I/O error, a failed
// flush); on every failure `fileName` keeps its old content.
Outcome WriteDefaultConfig(FileServices& files, const std::string& fileName);

}  // namespace quil
