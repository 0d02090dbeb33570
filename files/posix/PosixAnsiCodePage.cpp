// The portable build's ANSI code page: Windows-1252, as the Windows program has it on a Western
// system.
#include "files/AnsiCodePage.h"

namespace quil {

std::u32string AnsiToUnicode(std::string_view text) {
  std::u32string out;
  out.reserve(text.size());
  for (const char c : text) out += Windows1252ToUnicode(static_cast<unsigned char>(c));
  return out;
}

std::string UnicodeToAnsi(std::u32string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char32_t c : text) out += UnicodeToWindows1252(c);
  return out;
}

}  // namespace quil
