// Path helpers that walk characters, not bytes. On a double-byte ANSI code page (932, 936, 949,
// 950) a lead byte and the trail byte after it are one character, and a trail byte can be 0x5C,
// the backslash: a search for "\" byte by byte would cut a name in the middle of a character.
// Every search for a path separator or a name boundary goes through these helpers, with the lead
// bytes of the code page the names are in (the file services say which those are).
#pragma once

#include <bitset>
#include <cstddef>
#include <string_view>

namespace quil {

// Which bytes of an ANSI code page begin a two-byte character. Made empty, it is the rule of a
// single-byte code page such as 1252, where every byte is a character of its own.
class LeadBytes {
 public:
  // Marks the bytes first..last (both included) as lead bytes.
  void AddRange(unsigned char first, unsigned char last);
  bool IsLead(char byte) const { return lead_[static_cast<unsigned char>(byte)]; }
  bool IsSingleByte() const { return lead_.none(); }

 private:
  std::bitset<256> lead_;
};

// The position after the character that begins at `at`: a lead byte with the byte after it is one
// character; a lead byte at the end of the text stands alone.
std::size_t NextCharacter(std::string_view text, std::size_t at, const LeadBytes& lead);

// Whether a character begins at `at` (or `at` is the end of the text), so that the text can be
// cut there without splitting a character.
bool IsCharacterStart(std::string_view text, std::size_t at, const LeadBytes& lead);

// The position of the first (or last) character that is one of the single-byte characters of
// `set`, never a trail byte; npos when there is none.
std::size_t FindCharacter(std::string_view text, std::string_view set, const LeadBytes& lead);
std::size_t FindLastCharacter(std::string_view text, std::string_view set, const LeadBytes& lead);

// The last component of a path: what follows its last backslash, the whole path without one.
std::string_view LastComponent(std::string_view path, const LeadBytes& lead);

// The path without the backslashes it ends with (a trail byte 0x5C is no backslash).
std::string_view WithoutTrailingBackslashes(std::string_view path, const LeadBytes& lead);

// The extension of the path's last component, from its last "." (".bmp"); empty when it has none.
std::string_view Extension(std::string_view path, const LeadBytes& lead);

// The last character of the text (one or two bytes); empty for an empty text.
std::string_view LastCharacter(std::string_view text, const LeadBytes& lead);

}  // namespace quil
