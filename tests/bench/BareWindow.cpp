// The bare window of the start-up benchmark: QuilConfig's own dialog templates and nothing else.
// It shows the main dialog with the three pages created and the tabs filled, as QuilConfig does,
// but reads no file and paints nothing of its own, so its start-up time is what the windows alone
// cost.
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "core/ControlIds.h"
#include "window/Pages.h"

namespace {

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
      HWND first = nullptr;
      for (std::size_t i = 0; i < quil::kPages.size(); ++i) {
        std::string text(quil::kPages[i].tabText);
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = text.data();
        SendMessageA(tab, TCM_INSERTITEMA, i + 1, reinterpret_cast<LPARAM>(&item));
      }
      for (const quil::PageRow& row : quil::kPages) {
        const HWND page = CreatePage(dialog, row.templateId);
        if (!first) first = page;
      }
      ShowWindow(first, SW_SHOW);
      SetFocus(GetWindow(first, GW_CHILD));
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
