// quil-show-page.exe, a helper of the run script: finds the running QuilConfig dialog by its title
// and shows one of its pages as a click on the tab would ("0" General, "1" Colors, "2" Plugins), or
// closes the dialog ("close"). Exit status 0 when the dialog was found and the request handled.
#include <cstdlib>
#include <string>

#include "core/ControlIds.h"
#include "files/win32/Win32.h"

#include <commctrl.h>

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  const HWND dialog = FindWindowA("#32770", "Quil Configuration Utility");
  if (!dialog) return 1;
  const std::string request = argv[1];
  if (request == "close") {
    PostMessageA(dialog, WM_CLOSE, 0, 0);
    return 0;
  }
  const HWND tab = GetDlgItem(dialog, quil::kTabControl);
  if (!tab || request.size() != 1 || request[0] < '0' || request[0] > '2') return 2;
  // The tab control changes its selection and tells the dialog, as a click on the tab does.
  SendMessageA(tab, TCM_SETCURFOCUS, static_cast<WPARAM>(request[0] - '0'), 0);
  return SendMessageA(tab, TCM_GETCURSEL, 0, 0) == request[0] - '0' ? 0 : 1;
}
