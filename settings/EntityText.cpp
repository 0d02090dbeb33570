// Escaping of the texts the config.dtd writer puts into entity values, comments and SYSTEM
// literals, and the reader's way back.
#include "settings/EntityText.h"

#include <cstddef>
#include <utility>

#include "files/AnsiCodePage.h"

namespace quil {

namespace {

// The references a typed text gets inside an entity value. A character reference is expanded when
// the declaration is read, "&amp;" and "&lt;" only where the entity is used: in an attribute value
// a bare "<" is refused and in content it starts a tag, and a bare "&" starts a reference.
constexpr std::pair<char32_t, std::string_view> kWrittenReferences[] = {
    {U'&', "&amp;"}, {U'<', "&lt;"}, {U'"', "&#34;"}, {U'%', "&#37;"}};

// The predefined entities of XML, read back in hand-edited files too.
constexpr std::pair<char32_t, std::string_view> kPredefinedEntities[] = {
    {U'&', "&amp;"}, {U'<', "&lt;"}, {U'>', "&gt;"}, {U'"', "&quot;"}, {U'\'', "&apos;"}};

// The characters of XML 1.0; tab, line feed and carriage return are left to the callers.
bool IsXmlCharacter(char32_t c) {
  return (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
         (c >= 0x10000 && c <= 0x10FFFF);
}

// The character of the reference at the start of `text` ("&..."), and the reference's length; a
// length of 0 when `text` begins with no reference that stands for a character of XML.
std::pair<char32_t, std::size_t> ReferenceAt(std::string_view text) {
  for (const auto& [character, reference] : kPredefinedEntities) {
    if (text.substr(0, reference.size()) == reference) return {character, reference.size()};
  }
  if (text.size() < 4 || text[1] != '#') return {0, 0};
  const bool hex = text[2] == 'x';
  std::size_t at = hex ? 3 : 2;
  const std::size_t digitsStart = at;
  char32_t value = 0;
  for (; at < text.size() && text[at] != ';'; ++at) {
    const char d = text[at];
    int digit = -1;
    if (d >= '0' && d <= '9') digit = d - '0';
    if (hex && d >= 'a' && d <= 'f') digit = d - 'a' + 10;
    if (hex && d >= 'A' && d <= 'F') digit = d - 'A' + 10;
    if (digit < 0) return {0, 0};
    value = value * (hex ? 16 : 10) + static_cast<char32_t>(digit);
    if (value > 0x10FFFF) return {0, 0};
  }
  if (at == digitsStart || at == text.size()) return {0, 0};
  if (!IsXmlCharacter(value) && value != U'\t' && value != U'\n' && value != U'\r') return {0, 0};
  return {value, at + 1};
}

}  // namespace

std::string EscapeEntityText(std::string_view text) {
  std::string out;
  for (const char32_t c : AnsiToUnicode(text)) {
    bool escaped = false;
    for (const auto& [character, reference] : kWrittenReferences) {
      if (c == character) {
        out += reference;
        escaped = true;
      }
    }
    if (escaped) continue;
    if (c == U'\t' || c == U'\n' || c == U'\r') {
      out += ' ';
    } else if (!IsXmlCharacter(c)) {
      out += '?';
    } else if (c < 0x80) {
      out += static_cast<char>(c);
    } else {
      out += "&#" + std::to_string(static_cast<unsigned long>(c)) + ";";
    }
  }
  return out;
}

std::string UnescapeEntityText(std::string_view value) {
  std::string out;
  for (std::size_t i = 0; i < value.size();) {
    const auto [character, length] =
        value[i] == '&' ? ReferenceAt(value.substr(i)) : std::pair<char32_t, std::size_t>{0, 0};
    if (length == 0) {
      out += value[i++];
      continue;
    }
    out += character < 0x80 ? std::string(1, static_cast<char>(character))
                            : UnicodeToAnsi(std::u32string(1, character));
    i += length;
  }
  return out;
}

std::string_view WithoutPartialReference(std::string_view value) {
  // The longest reference without its ";": "&#1114111".
  constexpr std::size_t kLongestPartialReference = 9;
  const auto amp = value.rfind('&');
  if (amp == std::string_view::npos || value.find(';', amp) != std::string_view::npos ||
      value.size() - amp > kLongestPartialReference) {
    return value;
  }
  for (const char c : value.substr(amp + 1)) {
    const bool fits =
        (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '#';
    if (!fits) return value;
  }
  return value.substr(0, amp);
}

std::string EscapeCommentText(std::string_view text) {
  std::string out;
  for (const char c : EscapeEntityText(text)) {
    out += c == '-' && !out.empty() && out.back() == '-' ? std::string("&#45;") : std::string(1, c);
  }
  return out;
}

bool FitsSystemLiteral(std::string_view text) {
  for (const char c : text) {
    if (c < 0x20 || c > 0x7E || c == '"' || c == '%' || c == '#') return false;
  }
  return true;
}

bool FitsEntityName(std::string_view text) {
  for (const char c : text) {
    const bool fits = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                      c == '.' || c == '-' || c == '_';
    if (!fits) return false;
  }
  return true;
}

}  // namespace quil
