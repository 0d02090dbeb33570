// The Windows program's ANSI code page: the system's own (CP_ACP), which may take two bytes for a
// character, converted by Windows itself.
#include <string>

#include "files/AnsiCodePage.h"
#include "files/win32/Win32.h"

namespace quil {

namespace {

constexpr bool IsLeadSurrogate(char32_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}
constexpr bool IsTrailSurrogate(char32_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}

}  // namespace

std::u32string AnsiToUnicode(std::string_view text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
  if (length <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), length);
  std::u32string out;
  for (std::size_t i = 0; i < wide.size(); ++i) {
    char32_t c = static_cast<char16_t>(wide[i]);
    if (IsLeadSurrogate(c) && i + 1 < wide.size() &&
        IsTrailSurrogate(static_cast<char16_t>(wide[i + 1]))) {
      c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<char16_t>(wide[++i]) - 0xDC00);
    }
    out += c;
  }
  return out;
}

std::string UnicodeToAnsi(std::u32string_view text) {
  std::wstring wide;
  for (const char32_t c : text) {
    if (c > 0xFFFF && c <= 0x10FFFF) {
      wide += static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
      wide += static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      wide += static_cast<wchar_t>(c > 0xFFFF ? U'?' : c);
    }
  }
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  // No best fit: a character the code page lacks becomes "?", never a look-alike.
  const int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), size, nullptr,
                                         0, nullptr, nullptr);
  if (length <= 0) return {};
  std::string out(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), size, out.data(), length, nullptr,
                      nullptr);
  return out;
}

}  // namespace quil
