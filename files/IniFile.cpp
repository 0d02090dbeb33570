// INI files by the rules of the Windows private-profile lookup. Divisions: the conversion of
// Unicode files to the ANSI code page, the parse into sections and keys, and the lookup.
#include "files/IniFile.h"

#include <new>
#include <utility>

#include "base/Text.h"
#include "files/AnsiCodePage.h"
#include "files/FileServices.h"

namespace quil {

namespace {

// Blanks around names and values: space, tab, vertical tab, form feed, and the Ctrl-Z that old
// editors left at the end of a file. A carriage return or a line feed ends a line.
bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\x1a';
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// Names and values are held as zero-terminated strings: a NUL ends them.
std::string_view UpToNul(std::string_view text) {
  return text.substr(0, text.find('\0'));
}

// --- Unicode files -----------------------------------------------------------------------------

std::string FromUtf16(std::string_view bytes, bool bigEndian) {
  std::string text;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto first = static_cast<unsigned char>(bytes[i]);
    const auto second = static_cast<unsigned char>(bytes[i + 1]);
    text += UnicodeToWindows1252(bigEndian ? (first << 8 | second) : (second << 8 | first));
  }
  return text;
}

std::string FromUtf8(std::string_view bytes) {
  std::string text;
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    const int extra = lead < 0x80           ? 0
                      : (lead >> 5) == 0x06 ? 1
                      : (lead >> 4) == 0x0E ? 2
                      : (lead >> 3) == 0x1E ? 3
                                            : -1;
    // The bits of the lead byte that belong to the character, by the number of bytes that follow.
    constexpr unsigned char kLeadBits[] = {0x7F, 0x1F, 0x0F, 0x07};
    char32_t c = extra < 0 ? 0 : lead & kLeadBits[extra];
    bool valid = extra >= 0 && i + extra < bytes.size();
    for (int k = 1; valid && k <= extra; ++k) {
      const auto next = static_cast<unsigned char>(bytes[i + k]);
      valid = (next & 0xC0) == 0x80;
      c = c << 6 | (next & 0x3F);
    }
    if (!valid) {
      text += '?';  // a byte that starts no character
      ++i;
      continue;
    }
    i += static_cast<std::size_t>(extra) + 1;
    // A character beyond 16 bits is two UTF-16 code units, each without an ANSI character.
    if (c > 0xFFFF) {
      text += "??";
    } else {
      text += UnicodeToWindows1252(c);
    }
  }
  return text;
}

// The file's text in the ANSI code page.
std::string AnsiText(std::string_view bytes) {
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") return FromUtf8(bytes.substr(3));
  if (bytes.substr(0, 2) == "\xFF\xFE") return FromUtf16(bytes.substr(2), false);
  if (bytes.substr(0, 2) == "\xFE\xFF") return FromUtf16(bytes.substr(2), true);
  return std::string(bytes);
}

// --- Lookup ------------------------------------------------------------------------------------

// A value as the lookup copies it into a buffer of `capacity` bytes. Of a pair of enclosing quotes
// the opening one is always dropped, the closing one by dropping the last character copied when
// the rest fits the buffer, which cuts one character more from a value of exactly the buffer's
// size.
std::string CopyValue(std::string_view value, std::size_t capacity) {
  if (capacity == 0) return {};
  const bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                      value.back() == value.front();
  if (quoted) value.remove_prefix(1);
  std::string copy = Bounded(value, capacity);
  if (quoted && capacity >= value.size() && !copy.empty()) copy.pop_back();
  return copy;
}

}  // namespace

IniFile IniFile::Parse(std::string_view bytes) {
  const std::string text = AnsiText(bytes);
  const std::string_view rest = text;
  IniFile file;
  std::size_t start = 0;
  while (start < rest.size()) {
    std::size_t end = rest.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = rest.size();
    const std::string_view line = Trim(rest.substr(start, end - start));
    start = end + 1;
    if (line.empty()) continue;
    // A section runs from "[" to the line's last "]"; without one the line is a key line.
    if (line.front() == '[') {
      if (const auto close = line.rfind(']'); close != std::string_view::npos) {
        file.sections_.push_back({std::string(UpToNul(Trim(line.substr(1, close - 1)))), {}});
        continue;
      }
    }
    if (file.sections_.empty()) continue;  // keys before the first section are in none
    const auto equals = line.find('=');
    Key key{std::string(UpToNul(Trim(line.substr(0, equals)))), std::nullopt};
    if (equals != std::string_view::npos) {
      key.value = std::string(UpToNul(Trim(line.substr(equals + 1))));
    }
    file.sections_.back().keys.push_back(std::move(key));
  }
  return file;
}

std::string IniFile::Value(std::string_view section, std::string_view key,
                           std::string_view fallback, std::size_t capacity) const {
  section = Trim(section);
  key = Trim(key);
  for (const Section& s : sections_) {
    if (!EqualsNoCase(s.name, section)) continue;
    // Only the first section of the name counts, and in it the first line of the key.
    for (const Key& k : s.keys) {
      if (!EqualsNoCase(k.name, key)) continue;
      if (k.value) return CopyValue(*k.value, capacity);
      break;
    }
    break;
  }
  while (!fallback.empty() && fallback.back() == ' ') fallback.remove_suffix(1);
  return CopyValue(fallback, capacity);
}

IniFile ReadIniFile(FileServices& files, const std::string& path) {
  const std::optional<std::string> bytes = files.ReadBytes(path);
  if (!bytes) return IniFile();
  try {
    return IniFile::Parse(*bytes);
  } catch (const std::bad_alloc&) {
    return IniFile();  // memory that cannot be had makes the file as unreadable as a missing one
  }
}

}  // namespace quil
