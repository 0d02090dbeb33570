// The one way the Win32 code includes <windows.h>: without the min and max macros, and without the
// RemoveDirectory macro, which would otherwise rename FileServices::RemoveDirectory to
// RemoveDirectoryA in every file that sees both.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#ifdef RemoveDirectory
#undef RemoveDirectory
#endif

#include <optional>
#include <string>

namespace quil {

// Calls a "fill this buffer" function of KERNEL32 that answers with the length it needs when the
// buffer is too small; nothing when it fails.
template <typename Char, typename Fill>
std::optional<std::basic_string<Char>> FillString(Fill fill) {
  std::basic_string<Char> buffer(MAX_PATH, Char{});
  for (int attempt = 0; attempt < 3; ++attempt) {
    const DWORD length = fill(buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return std::nullopt;
    if (length < buffer.size()) {
      buffer.resize(length);
      return buffer;
    }
    buffer.assign(length + 1, Char{});  // too small: `length` counts the terminator
  }
  return std::nullopt;
}

// The current folder as it is, in its wide form; nothing when it cannot be read.
inline std::optional<std::wstring> CurrentDirectoryWide() {
  return FillString<wchar_t>(
      [](wchar_t* buffer, DWORD size) { return GetCurrentDirectoryW(size, buffer); });
}

}  // namespace quil
