// INI files, read once and then looked up by section and key, by the rules of the Windows
// private-profile lookup (GetPrivateProfileStringA), so that both builds read a plugin.ini alike
// and a file is not read and parsed again for every key.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quil {

class FileServices;

class IniFile {
 public:
  // A file that does not exist: every lookup gives its fallback.
  IniFile() = default;

  // The file from its bytes as they lie on disk. Text in the ANSI code page; a file that begins
  // with a UTF-8 or UTF-16 byte-order mark is converted to it (Windows-1252, a character it lacks
  // becoming "?").
  static IniFile Parse(std::string_view bytes);

  // What GetPrivateProfileStringA copies into a buffer of `capacity` bytes: the value of `key` in
  // the first section named `section` (both without regard to case and without surrounding
  // blanks), without its surrounding blanks and without one pair of enclosing quotes; `fallback`
  // (without trailing spaces and enclosing quotes) when the section, the key or its "=" is missing.
  // At most capacity - 1 characters.
  std::string Value(std::string_view section, std::string_view key, std::string_view fallback,
                    std::size_t capacity) const;

 private:
  struct Key {
    std::string name;
    std::optional<std::string> value;  // nothing for a line without "="
  };
  struct Section {
    std::string name;
    std::vector<Key> keys;
  };
  std::vector<Section> sections_;
};

// Reads the INI file at `path` once; a file that cannot be read gives an IniFile without sections.
IniFile ReadIniFile(FileServices& files, const std::string& path);

}  // namespace quil
