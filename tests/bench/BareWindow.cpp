// The bare window of the start-up benchmark: QuilConfig's own dialog templates and nothing else.
// It shows the main dialog with the three pages created and the tabs filled, as QuilConfig does,
// but reads no file and paints nothing of its own, so its start-up time is what the windows alone
// cost.
#include <windows.h>

#include <commctrl.h>

#include <array>

#include "core/ControlIds.h"

namespace {

constexpr std::array<const char*, 3> kTabTexts{"&General", "Colors", "Plugins"};

INT_PTR CALLBACK PageProc(HWND, UINT message, WPARAM, LPARAM) {
  return message == WM_INITDIALOG ? TRUE : FALSE;
}

HWND CreatePage(HWND dialog, int templateId) {
  const HWND page = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId),
                                       dialog, PageProc, 0);
  if (page) SetWindowLongPtrA(page, GWLP_ID, templateId);
  return page;
}

INT_PTR CALLBACK MainProc(HWND dialog, UINT message, WPARAM, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: {
      const HWND tab = GetDlgItem(dialog, quil::kTabControl);
      for (std::size_t i = 0; i < kTabTexts.size(); ++i) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(kTabTexts[i]);
        SendMessageA(tab, TCM_INSERTITEMA, i + 1, reinterpret_cast<LPARAM>(&item));
      }
      const HWND general = CreatePage(dialog, quil::kGeneralTemplate);
      CreatePage(dialog, quil::kColorsTemplate);
      CreatePage(dialog, quil::kPluginsTemplate);
      ShowWindow(general, SW_SHOW);
      SetFocus(GetWindow(general, GW_CHILD));
      return TRUE;
    }
    case WM_CLOSE:
      EndDialog(dialog, 0);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  InitCommonControls();
  DialogBoxParamA(instance, MAKEINTRESOURCEA(quil::kMainDialog), nullptr, MainProc, 0);
  return 0;
}
