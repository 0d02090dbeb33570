// redirect: asks the shell to open skinconfig.bat in the current folder and ends with the shell's
// answer as its exit code (above 32 when the batch file was started, else the shell's error code,
// 2 when there is no skinconfig.bat). It has no window, shows no message and ignores its command
// line.
// First: <windows.h>, as the program's Win32 code includes it.
#include "window/Com.h"
#include "window/Late.h"

#include <shellapi.h>

#include <cstdint>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // The launcher lies in the skin's folder, as QuilConfig.exe does: no DLL may come from there.
  quil::SearchDllsInSystemFolderOnly();
  // The shell's open action may run in a shell extension, which wants COM on this thread.
  quil::UseCom();
  const HINSTANCE result =
      ShellExecuteA(nullptr, "open", "skinconfig.bat", nullptr, nullptr, SW_SHOWNORMAL);
  return static_cast<int>(reinterpret_cast<std::intptr_t>(result));
}
