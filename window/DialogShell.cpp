// The main dialog, the pages and the replaced window procedures: message routing to the portable
// core, page switching, and the start-up of the windows.
#include "window/DialogShell.h"

#include <array>
#include <string>
#include <string_view>

#include "core/ControlIds.h"
#include "dialog/MainDialog.h"
#include "window/Painting.h"

#include <commctrl.h>

namespace quil {

namespace {

ShellContext* gContext = nullptr;

// The tabs' texts, inserted in this order.
constexpr std::array<std::string_view, 3> kTabTexts{"&General", "Colors", "Plugins"};
// The header fonts' weight: bold.
constexpr int kHeaderWeight = 700;

App& TheApp() {
  return *gContext->app;
}

HWND AsWindow(Handle handle) {
  return reinterpret_cast<HWND>(handle);
}

Handle AsHandle(HWND window) {
  return reinterpret_cast<Handle>(window);
}

// The edit field of a combo box with an edit field.
HWND ComboEdit(HWND combo) {
  return combo ? FindWindowExA(combo, nullptr, "Edit", nullptr) : nullptr;
}

// Puts `procedure` in place of the window's procedure and returns the one it replaced.
Handle ReplaceProcedure(HWND window, WNDPROC procedure) {
  return static_cast<Handle>(
      SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
}

LRESULT Forward(Handle previous, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcA(reinterpret_cast<WNDPROC>(previous), window, message, wParam, lParam);
}

// The commit rule of the profile box's and the scheme box's edit fields. A set-text commits the
// text being set, taken before the field stores it; losing the focus and releasing Enter commit
// the box's current text as read into a name's buffer. Then the message goes on to the field's
// own procedure. A commit that shows a message box takes the focus away from the field; that
// loss of focus is no second commit (`busy`), but a set-text during a commit always is one.
LRESULT CommitThenForward(Page page, int id, Handle previous, bool& busy, HWND edit, UINT message,
                          WPARAM wParam, LPARAM lParam) {
  const bool enter = message == WM_KEYUP && wParam == VK_RETURN;
  const auto* registered = gContext->controls->CommitFor(page, id);
  if (registered && message == WM_SETTEXT) {
    const DialogControls::CommitHandler commit = *registered;
    const std::string candidate = lParam ? reinterpret_cast<const char*>(lParam) : "";
    const bool wasBusy = busy;
    busy = true;
    commit(candidate);
    busy = wasBusy;
  } else if (registered && !busy && (message == WM_KILLFOCUS || enter)) {
    const DialogControls::CommitHandler commit = *registered;
    busy = true;
    commit(gContext->controls->GetText(page, id, kNameCapacity));
    busy = false;
  }
  return Forward(previous, edit, message, wParam, lParam);
}

bool gProfileCommitBusy = false;
bool gSchemeCommitBusy = false;

HFONT CreateHeaderFont(bool italic) {
  return CreateFontA(0, 0, 0, 0, kHeaderWeight, italic ? TRUE : FALSE, TRUE, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH | FF_DONTCARE, nullptr);
}

void DeleteHeaderFonts() {
  if (gContext->boldHeaderFont) DeleteObject(gContext->boldHeaderFont);
  if (gContext->italicHeaderFont) DeleteObject(gContext->italicHeaderFont);
  gContext->boldHeaderFont = nullptr;
  gContext->italicHeaderFont = nullptr;
}

// A page's initialisation. The pages are made General, Colors, Plugins, and a page's handle is
// known only once its creation has returned: the scheme box's edit procedure and the header fonts
// take effect during the Plugins page's initialisation, the first moment the Colors page is known.
void InitPage() {
  AppState& s = TheApp().state;
  const HWND colors = AsWindow(s.ColorsPage);
  if (!colors) return;
  if (!s.PreviousSchemeEditProc) {
    if (const HWND edit = ComboEdit(GetDlgItem(colors, kSchemeBox))) {
      s.PreviousSchemeEditProc = ReplaceProcedure(edit, SchemeEditProc);
    }
  }
  if (!gContext->boldHeaderFont) {
    gContext->boldHeaderFont = CreateHeaderFont(false);
    gContext->italicHeaderFont = CreateHeaderFont(true);
    SendDlgItemMessageA(colors, kBoldHeader, WM_SETFONT,
                        reinterpret_cast<WPARAM>(gContext->boldHeaderFont), FALSE);
    SendDlgItemMessageA(colors, kItalicHeader, WM_SETFONT,
                        reinterpret_cast<WPARAM>(gContext->italicHeaderFont), FALSE);
  }
}

Handle CreatePage(HWND dialog, int templateId) {
  const HWND page =
      CreateDialogParamA(gContext->instance, MAKEINTRESOURCEA(templateId), dialog, PageProc, 0);
  if (page) SetWindowLongPtrA(page, GWLP_ID, templateId);
  return AsHandle(page);
}

void InitMainDialog(HWND dialog) {
  App& app = TheApp();
  AppState& s = app.state;
  InitCommonControls();
  s.MainWindow = AsHandle(dialog);

  const HINSTANCE instance = gContext->instance;
  const auto smallIcon =
      LoadImageA(instance, MAKEINTRESOURCEA(kIconResource), IMAGE_ICON,
                 GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0);
  SendMessageA(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
  const HICON largeIcon = LoadIconA(instance, MAKEINTRESOURCEA(kIconResource));
  SendMessageA(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(largeIcon));
  s.BannerBitmap =
      reinterpret_cast<Handle>(LoadBitmapA(instance, MAKEINTRESOURCEA(kBannerBitmapResource)));

  // Inserted at positions 1, 2 and 3 of the empty control, the tabs land at indices 0, 1 and 2.
  const HWND tab = GetDlgItem(dialog, kTabControl);
  for (std::size_t i = 0; i < kTabTexts.size(); ++i) {
    std::string text(kTabTexts[i]);
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = text.data();
    SendMessageA(tab, TCM_INSERTITEMA, i + 1, reinterpret_cast<LPARAM>(&item));
  }

  s.GeneralPage = CreatePage(dialog, kGeneralTemplate);
  s.ColorsPage = CreatePage(dialog, kColorsTemplate);
  s.PluginsPage = CreatePage(dialog, kPluginsTemplate);
  PageSwitch(0);

  gContext->shell->Prepare(dialog);
  StartUp(app);
  s.PreviousTabProc = ReplaceProcedure(tab, TabEraseProc);
}

INT_PTR BrushResult(HBRUSH brush) {
  return reinterpret_cast<INT_PTR>(brush);
}

}  // namespace

void UseShellContext(ShellContext& context) {
  gContext = &context;
}

void RunMainDialog() {
  DialogBoxParamA(gContext->instance, MAKEINTRESOURCEA(kMainDialog), nullptr, MainDialogProc, 0);
  DeleteHeaderFonts();
}

void PageSwitch(int index) {
  const AppState& s = TheApp().state;
  const std::array<Handle, 3> pages{s.GeneralPage, s.ColorsPage, s.PluginsPage};
  for (const Handle page : pages) {
    if (page) ShowWindow(AsWindow(page), SW_HIDE);
  }
  if (index < 0 || index >= static_cast<int>(pages.size())) return;
  const HWND page = AsWindow(pages[static_cast<std::size_t>(index)]);
  if (!page) return;
  ShowWindow(page, SW_SHOW);
  SetFocus(GetWindow(page, GW_CHILD));
}

void InstallProfileEditProc() {
  AppState& s = TheApp().state;
  if (s.PreviousProfileEditProc) return;
  const HWND edit = ComboEdit(GetDlgItem(AsWindow(s.MainWindow), kProfileBox));
  if (edit) s.PreviousProfileEditProc = ReplaceProcedure(edit, ProfileEditProc);
}

INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!gContext) return FALSE;
  App& app = TheApp();
  switch (message) {
    case WM_INITDIALOG:
      InitMainDialog(dialog);
      return TRUE;  // the dialog manager gives the focus to the first tab stop
    case WM_COMMAND:
      // Whatever the notification code; the Escape key's cancel command does nothing.
      MainCommand(app, LOWORD(wParam));
      return TRUE;
    case WM_NOTIFY: {
      const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
      if (header.idFrom == static_cast<UINT_PTR>(kTabControl) && header.code == TCN_SELCHANGE) {
        PageSwitch(static_cast<int>(SendMessageA(header.hwndFrom, TCM_GETCURSEL, 0, 0)));
      }
      return TRUE;
    }
    case WM_DRAWITEM:
      DrawMainItem(app, *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_PAINT:
      PaintMainDialog(app, dialog);
      return TRUE;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
      return BrushResult(MainControlColor(app, message, reinterpret_cast<HDC>(wParam),
                                          reinterpret_cast<HWND>(lParam)));
    case WM_CHAR:
      app.messages.Plain("Key pressed");
      return TRUE;
    case WM_CLOSE:
      CloseDialog(app);
      EndDialog(dialog, 0);
      return TRUE;
    default:
      return FALSE;
  }
}

INT_PTR CALLBACK PageProc(HWND, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!gContext) return FALSE;
  App& app = TheApp();
  switch (message) {
    case WM_INITDIALOG:
      InitPage();
      return TRUE;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
      return BrushResult(PageControlColor(app, message, reinterpret_cast<HDC>(wParam),
                                          reinterpret_cast<HWND>(lParam)));
    case WM_DRAWITEM:
      DrawPageItem(app, *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_COMMAND:
      PageCommand(app, LOWORD(wParam));
      return TRUE;
    case WM_CLOSE:
      DeleteHeaderFonts();
      return TRUE;
    default:
      return FALSE;
  }
}

LRESULT CALLBACK TabEraseProc(HWND tab, UINT message, WPARAM wParam, LPARAM lParam) {
  App& app = TheApp();
  if (message == WM_ERASEBKGND) {
    EraseTabBackground(app, tab, reinterpret_cast<HDC>(wParam));
    return 1;
  }
  return Forward(app.state.PreviousTabProc, tab, message, wParam, lParam);
}

LRESULT CALLBACK ProfileEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
  return CommitThenForward(Page::Main, kProfileBox, TheApp().state.PreviousProfileEditProc,
                           gProfileCommitBusy, edit, message, wParam, lParam);
}

LRESULT CALLBACK SchemeEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
  return CommitThenForward(Page::Colors, kSchemeBox, TheApp().state.PreviousSchemeEditProc,
                           gSchemeCommitBusy, edit, message, wParam, lParam);
}

}  // namespace quil
