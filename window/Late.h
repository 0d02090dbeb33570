// Functions of DLLs that the program loads when it first needs them rather than at its start.
#pragma once

#include "files/win32/Win32.h"

namespace quil {

// Function `name` of `dll`, the DLL loaded on the first call and kept for the rest of the run.
// Nothing when the DLL or the function cannot be found.
template <typename Function>
Function Late(const char* dll, const char* name) {
  const HMODULE module = LoadLibraryA(dll);
  const FARPROC found = module ? GetProcAddress(module, name) : nullptr;
  // Through the generic function pointer type, which stands for any function.
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

}  // namespace quil
