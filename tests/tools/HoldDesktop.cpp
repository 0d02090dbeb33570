// quil-hold-desktop.exe, a helper of the test command: keeps Wine's desktop process in use while
// the tests run. Wine starts that process for the first program that needs the desktop and ends it
// a few seconds after the last one has gone. Started by a test, it would inherit that test's output
// and ctest would wait for it to end, for minutes. The test command starts this program first, with
// its output going nowhere; it waits for messages until the wineserver ends it, so one desktop
// process serves every test.
#include "files/win32/Win32.h"

int main() {
  // Asking for the desktop window connects this process to the desktop and starts its process.
  if (!GetDesktopWindow()) return 1;
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
  return 0;
}
