// Path helpers that walk the characters of an ANSI text.
#include "base/Paths.h"

namespace quil {

void LeadBytes::AddRange(unsigned char first, unsigned char last) {
  for (unsigned int byte = first; byte <= last; ++byte) lead_.set(byte);
}

std::size_t NextCharacter(std::string_view text, std::size_t at, const LeadBytes& lead) {
  if (at >= text.size()) return text.size();
  return (lead.IsLead(text[at]) && at + 1 < text.size()) ? at + 2 : at + 1;
}

bool IsCharacterStart(std::string_view text, std::size_t at, const LeadBytes& lead) {
  std::size_t i = 0;
  while (i < at && i < text.size()) i = NextCharacter(text, i, lead);
  return i == at;
}

std::size_t FindCharacter(std::string_view text, std::string_view set, const LeadBytes& lead) {
  for (std::size_t i = 0; i < text.size(); i = NextCharacter(text, i, lead)) {
    const bool single = NextCharacter(text, i, lead) == i + 1;
    if (single && set.find(text[i]) != std::string_view::npos) return i;
  }
  return std::string_view::npos;
}

std::size_t FindLastCharacter(std::string_view text, std::string_view set, const LeadBytes& lead) {
  std::size_t found = std::string_view::npos;
  for (std::size_t i = 0; i < text.size(); i = NextCharacter(text, i, lead)) {
    const bool single = NextCharacter(text, i, lead) == i + 1;
    if (single && set.find(text[i]) != std::string_view::npos) found = i;
  }
  return found;
}

std::string_view LastComponent(std::string_view path, const LeadBytes& lead) {
  const std::size_t slash = FindLastCharacter(path, "\\", lead);
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string_view WithoutTrailingBackslashes(std::string_view path, const LeadBytes& lead) {
  std::size_t end = 0;  // after the last character that is no backslash
  for (std::size_t i = 0; i < path.size();) {
    const std::size_t next = NextCharacter(path, i, lead);
    if (next != i + 1 || path[i] != '\\') end = next;
    i = next;
  }
  return path.substr(0, end);
}

std::string_view Extension(std::string_view path, const LeadBytes& lead) {
  const std::string_view name = LastComponent(path, lead);
  const std::size_t dot = FindLastCharacter(name, ".", lead);
  return dot == std::string_view::npos ? std::string_view{} : name.substr(dot);
}

std::string_view LastCharacter(std::string_view text, const LeadBytes& lead) {
  std::size_t last = 0;
  for (std::size_t i = 0; i < text.size(); i = NextCharacter(text, i, lead)) last = i;
  return text.substr(last);
}

}  // namespace quil
