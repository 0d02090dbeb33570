// Functions of DLLs that the program loads when it first needs them rather than at its start, and
// the rule of where DLLs come from.
//
// The program lies in the skin's folder and runs there, and skins come from the internet: a DLL
// of a system DLL's name in that folder must never be loaded. Every DLL that the program loads
// itself comes from the system folder, and the folders that Windows would otherwise search for the
// DLLs that other DLLs load (the program's folder, the current folder, PATH) are given up at start.
#pragma once

#include <string>

#include "files/win32/Win32.h"

namespace quil {

// The system folder's path fits into this many bytes.
inline constexpr std::size_t kSystemFolderCapacity = MAX_PATH;

// Loads a DLL of the system folder by its file name; null when there is none.
inline HMODULE LoadSystemDll(const char* dll) {
  if (const HMODULE module = LoadLibraryExA(dll, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {
    return module;
  }
  // Windows 7 without its update KB2533623 knows no search flags and refuses the call: the DLL
  // is loaded by its full path instead.
  std::string path(kSystemFolderCapacity, '\0');
  const UINT length = GetSystemDirectoryA(path.data(), static_cast<UINT>(path.size()));
  if (length == 0 || length >= path.size()) return nullptr;
  path.resize(length);
  path += '\\';
  path += dll;
  return LoadLibraryA(path.c_str());
}

// From here on DLLs are looked for in the system folder only, the program's own folder included
// in what is given up; where Windows lacks SetDefaultDllDirectories (Windows 7 without
// KB2533623), at least the current folder is left out of the search. Called first at start.
inline void SearchDllsInSystemFolderOnly() {
  using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
  const HMODULE kernel = GetModuleHandleA("kernel32.dll");
  const FARPROC found = kernel ? GetProcAddress(kernel, "SetDefaultDllDirectories") : nullptr;
  const auto setDefault =
      reinterpret_cast<SetDefaultDllDirectoriesFunction>(reinterpret_cast<void (*)()>(found));
  if (setDefault && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
  SetDllDirectoryA("");
}

// Function `name` of the system DLL `dll`, the DLL loaded on the first call and kept for the rest
// of the run. Nothing when the DLL or the function cannot be found.
template <typename Function>
Function Late(const char* dll, const char* name) {
  const HMODULE module = LoadSystemDll(dll);
  const FARPROC found = module ? GetProcAddress(module, name) : nullptr;
  // Through the generic function pointer type, which stands for any function.
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

}  // namespace quil
