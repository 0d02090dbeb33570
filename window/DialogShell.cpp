// The main dialog, the pages and the tab control's replaced window procedure: message routing to
// the portable dialog, page switching, and the start-up of the windows.
#include "window/DialogShell.h"

#include <array>
#include <string>
#include <string_view>

#include "core/ControlIds.h"
#include "dialog/MainDialog.h"
#include "window/Late.h"
#include "window/Painting.h"

#include <commctrl.h>

namespace quil {

namespace {

// The header fonts' weight: bold.
constexpr int kHeaderWeight = 700;
// SetDialogDpiChangeBehavior's flag that turns all of the dialog manager's own rescaling off.
constexpr int kDialogRescalingOff = 0x0001;

// The dialog's record, kept as the user data of the main dialog and of each page.
DialogData* DataOf(HWND window) {
  return reinterpret_cast<DialogData*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

// Keeps the record handed over as a window's creation parameter (WM_INITDIALOG's lParam) with the
// window, and returns it.
DialogData& KeepData(HWND window, LPARAM creationParameter) {
  SetWindowLongPtrA(window, GWLP_USERDATA, creationParameter);
  return *DataOf(window);
}

// The window procedures of the pages, of the tab control and of the bold and italic boxes,
// defined below.
INT_PTR CALLBACK PageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK TabEraseProc(HWND tab, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK StatusBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam);
// The window property under which a bold or italic box keeps the procedure its own replaces.
constexpr char kPreviousBoxProc[] = "QuilPreviousBoxProc";

HFONT CreateHeaderFont(bool italic, int height) {
  return CreateFontA(height, 0, 0, 0, kHeaderWeight, italic ? TRUE : FALSE, TRUE, FALSE,
                     DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH | FF_DONTCARE, nullptr);
}

void DeleteHeaderFonts(DialogData& data) {
  if (data.boldHeaderFont) DeleteObject(data.boldHeaderFont);
  if (data.italicHeaderFont) DeleteObject(data.italicHeaderFont);
  data.boldHeaderFont = nullptr;
  data.italicHeaderFont = nullptr;
}

// Sizes the labels' own fonts from the Colors page's font: the status labels' (made as they are
// painted) and the header fonts, which are made anew and set on the headers; the previous header
// fonts are deleted once replaced.
void MakeLabelFonts(DialogData& data) {
  const HWND colors = data.windows.Of(Page::Colors);
  const int height = LabelFontHeight(colors);
  data.painter.labelFontHeight = height;
  const HFONT bold = CreateHeaderFont(false, height);
  const HFONT italic = CreateHeaderFont(true, height);
  SendDlgItemMessageA(colors, kBoldHeader, WM_SETFONT, reinterpret_cast<WPARAM>(bold), FALSE);
  SendDlgItemMessageA(colors, kItalicHeader, WM_SETFONT, reinterpret_cast<WPARAM>(italic), FALSE);
  DeleteHeaderFonts(data);
  data.boldHeaderFont = bold;
  data.italicHeaderFont = italic;
}

// A page's initialisation. The pages are made in the order of their tabs, and a page's handle is
// known only once its creation has returned: the scheme box's edit procedure and the header fonts
// take effect during the initialisation of the page after the Colors page, the first moment the
// Colors page is known.
void InitPage(DialogData& data) {
  if (!data.windows.Of(Page::Colors)) return;
  data.controls.ReplaceEditProcedure(Page::Colors, kSchemeBox);
  if (!data.boldHeaderFont) MakeLabelFonts(data);
}

// Turns the dialog manager's own rescaling on a DPI change off for `dialog` (Windows 10 version
// 1703 on; looked up, as it is missing before): it rescales a dialog's own children only, not the
// pages' controls, and Wine has none. The program lays the whole dialog out itself (LayOutForDpi),
// so that nothing is scaled twice.
void TurnOffDialogRescaling(HWND dialog) {
  using SetBehavior = BOOL(WINAPI*)(HWND, int, int);
  static const auto setBehavior = Late<SetBehavior>("user32.dll", "SetDialogDpiChangeBehavior");
  if (setBehavior) setBehavior(dialog, kDialogRescalingOff, kDialogRescalingOff);
}

// The window of template `index` of data.layouts: the main dialog, or a page.
HWND LayoutWindow(const DialogData& data, std::size_t index) {
  return index == 0 ? data.windows.main : data.windows.pages[index - 1];
}

// The main dialog's client area at `dpi`: its template's, in the base units of its font at that
// DPI.
SIZE MainClientSize(const DialogData& data, int dpi) {
  const HFONT font = CreateTemplateFont(data.layouts[0], dpi);
  const SIZE base = DialogBaseUnits(font);
  DeleteObject(font);
  const DialogUnits& units = data.layouts[0].rect;
  const RECT r = DialogUnitsToPixels({0, 0, units.width, units.height}, base);
  return {r.right - r.left, r.bottom - r.top};
}

// The main dialog's window size at `dpi`: its client area with the frame around it at that DPI,
// as Windows says it will be (version 1607 on), or at the system's DPI where it cannot say.
SIZE MainWindowSize(const DialogData& data, int dpi) {
  const SIZE client = MainClientSize(data, dpi);
  RECT r{0, 0, client.cx, client.cy};
  const HWND dialog = data.windows.main;
  const auto style = static_cast<DWORD>(GetWindowLongA(dialog, GWL_STYLE));
  const auto exStyle = static_cast<DWORD>(GetWindowLongA(dialog, GWL_EXSTYLE));
  using AdjustForDpi = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
  static const auto adjustForDpi = Late<AdjustForDpi>("user32.dll", "AdjustWindowRectExForDpi");
  if (!adjustForDpi || !adjustForDpi(&r, style, FALSE, exStyle, static_cast<UINT>(dpi))) {
    AdjustWindowRectEx(&r, style, FALSE, exStyle);
  }
  return {r.right - r.left, r.bottom - r.top};
}

// Moves the main dialog to the rectangle that Windows suggests for its new DPI. Where its frame
// turns out other than Windows said it would be (Wine keeps the frame of the system's DPI), the
// window is then sized so that its client area is the template's at that DPI, as at a start.
void MoveToSuggested(const DialogData& data, const RECT& suggested, int dpi) {
  const HWND dialog = data.windows.main;
  SetWindowPos(dialog, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  if (!data.layoutsRead) return;
  const SIZE wanted = MainClientSize(data, dpi);
  RECT client{};
  RECT window{};
  GetClientRect(dialog, &client);
  GetWindowRect(dialog, &window);
  if (client.right == wanted.cx && client.bottom == wanted.cy) return;
  SetWindowPos(dialog, nullptr, 0, 0, window.right - window.left + wanted.cx - client.right,
               window.bottom - window.top + wanted.cy - client.bottom,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Lays the main dialog's controls, the pages and their controls out again from their templates at
// `dpi`, as the dialog manager lays them out when it makes the dialog: with each template's font
// made at that DPI and the base units measured on it. The fonts they had before are deleted.
void LayOutForDpi(DialogData& data, int dpi) {
  if (!data.layoutsRead) return;
  for (std::size_t i = 0; i < data.layouts.size(); ++i) {
    const HWND window = LayoutWindow(data, i);
    if (!window) continue;
    const TemplateLayout& layout = data.layouts[i];
    const HFONT font = CreateTemplateFont(layout, dpi);
    const SIZE base = DialogBaseUnits(font);
    if (i > 0) {
      const RECT r = DialogUnitsToPixels(layout.rect, base);
      SetWindowPos(window, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    }
    LayOutControls(window, layout, base, font);
    if (data.dpiFonts[i]) DeleteObject(data.dpiFonts[i]);
    data.dpiFonts[i] = font;
  }
}

// The font that a DPI change made for `window` (the main dialog or a page), which it answers for
// its own in place of the one the dialog manager made; none before the first change.
HFONT DpiFontOf(const DialogData& data, HWND window) {
  for (std::size_t i = 0; i < data.dpiFonts.size(); ++i) {
    if (LayoutWindow(data, i) == window) return data.dpiFonts[i];
  }
  return nullptr;
}

// A dialog procedure's answer `result` to a message whose result is not its return value.
INT_PTR MessageResult(HWND window, LRESULT result) {
  SetWindowLongPtrA(window, DWLP_MSGRESULT, result);
  return TRUE;
}

// Scales what the program draws in pixels of its own to the dialog's new DPI: the banner picture,
// the banner beside it and the labels' fonts; then the whole dialog is painted again.
void FollowDpi(DialogData& data, int dpi) {
  data.painter.dpi = PaintingDpi(data.windows.main, dpi);
  MakeBanner(data.painter, data.instance);
  PlaceBanner(data.painter, data.windows.main);
  if (data.windows.Of(Page::Colors)) MakeLabelFonts(data);
  RedrawWindow(data.windows.main, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

HWND CreatePage(DialogData& data, HWND dialog, int templateId) {
  const HWND page = CreateDialogParamA(data.instance, MAKEINTRESOURCEA(templateId), dialog,
                                       PageProc, reinterpret_cast<LPARAM>(&data));
  if (page) {
    SetWindowLongPtrA(page, GWLP_ID, templateId);
    TurnOffDialogRescaling(page);
  }
  return page;
}

// Hides the pages and shows the page of tab `index` (its row in kPages). The keyboard focus stays
// where it is (on the tab strip, the arrows go on from tab to tab), unless it was on a page now
// hidden or nowhere: then it goes to the shown page's first control that takes it.
void PageSwitch(const DialogWindows& windows, int index) {
  const HWND focus = GetFocus();
  bool focusHidden = !focus;
  for (const HWND page : windows.pages) {
    if (!page) continue;
    if (focus && IsChild(page, focus)) focusHidden = true;
    ShowWindow(page, SW_HIDE);
  }
  if (index < 0 || index >= static_cast<int>(windows.pages.size())) return;
  const HWND page = windows.pages[static_cast<std::size_t>(index)];
  if (!page) return;
  ShowWindow(page, SW_SHOW);
  if (focusHidden) {
    const HWND first = GetNextDlgTabItem(page, nullptr, FALSE);
    SetFocus(first ? first : page);
  }
}

// Whether `window` is a button that the program paints itself (an owner-drawn button).
bool IsPaintedButton(HWND window) {
  return window && SendMessageA(window, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON &&
         (GetWindowLongA(window, GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW;
}

// Has the painted buttons of `window` (the main dialog or a page) drawn anew when the keyboard
// cues change: their access keys' underlines and their focus marks follow the cues.
void RepaintPaintedButtons(HWND window) {
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (IsPaintedButton(child)) InvalidateRect(child, nullptr, FALSE);
  }
}

// The dialog whose keys the key filter handles, and the filter. Only one dialog runs at a time.
HWND keyDialog = nullptr;
HHOOK keyFilter = nullptr;

bool KeyDown(int virtualKey) {
  return GetKeyState(virtualKey) < 0;
}

// Shows the page `step` tabs after (before, for a negative step) the current one, wrapping
// around, as a click on its tab would.
void StepPage(HWND dialog, int step) {
  const HWND tab = GetDlgItem(dialog, kTabControl);
  const auto count = static_cast<int>(kPages.size());
  const auto current = static_cast<int>(SendMessageA(tab, TCM_GETCURSEL, 0, 0));
  const int next = ((current < 0 ? 0 : current) + step % count + count) % count;
  SendMessageA(tab, TCM_SETCURFOCUS, static_cast<WPARAM>(next), 0);
}

// The dialog's own keys, before the dialog manager sees them: Ctrl+Tab and Ctrl+PageDown show the
// next page, Ctrl+Shift+Tab and Ctrl+PageUp the previous one, from anywhere in the dialog; Enter
// on a button the program paints itself presses it, as Space does. True when the key was one of
// them.
bool HandleDialogKey(const MSG& message) {
  if (message.message != WM_KEYDOWN || !keyDialog || !message.hwnd ||
      GetAncestor(message.hwnd, GA_ROOT) != keyDialog) {
    return false;
  }
  const auto key = static_cast<int>(message.wParam);
  const bool control = KeyDown(VK_CONTROL) && !KeyDown(VK_MENU);
  if (control && (key == VK_TAB || key == VK_NEXT || key == VK_PRIOR)) {
    const bool back = key == VK_PRIOR || (key == VK_TAB && KeyDown(VK_SHIFT));
    StepPage(keyDialog, back ? -1 : 1);
    return true;
  }
  if (key == VK_RETURN && !control && !KeyDown(VK_MENU)) {
    const HWND focus = GetFocus();
    if (!IsPaintedButton(focus)) return false;
    // A held key repeats its key-down messages: one press is one click.
    const bool repeated = (message.lParam & (1L << 30)) != 0;
    if (!repeated) {
      PostMessageA(GetParent(focus), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(focus), BN_CLICKED),
                   reinterpret_cast<LPARAM>(focus));
    }
    return true;
  }
  return false;
}

// Sees each message of the dialog's message loop before the dialog manager does.
LRESULT CALLBACK KeyFilter(int code, WPARAM wParam, LPARAM lParam) {
  if (code == MSGF_DIALOGBOX && HandleDialogKey(*reinterpret_cast<const MSG*>(lParam))) return 1;
  return CallNextHookEx(keyFilter, code, wParam, lParam);
}

void InitMainDialog(DialogData& data, HWND dialog) {
  App& app = data.app;
  InitCommonControls();
  data.windows.main = dialog;

  const HINSTANCE instance = data.instance;
  const auto smallIcon =
      LoadImageA(instance, MAKEINTRESOURCEA(kIconResource), IMAGE_ICON,
                 GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0);
  SendMessageA(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
  const HICON largeIcon = LoadIconA(instance, MAKEINTRESOURCEA(kIconResource));
  SendMessageA(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(largeIcon));
  TurnOffDialogRescaling(dialog);
  data.layoutsRead = ReadTemplateLayout(instance, kMainDialog, data.layouts[0]);
  for (std::size_t i = 0; i < kPages.size(); ++i) {
    data.layoutsRead =
        data.layoutsRead && ReadTemplateLayout(instance, kPages[i].templateId, data.layouts[i + 1]);
  }
  data.painter.dpi = PaintingDpi(dialog, WindowDpi(dialog));
  data.painter.highContrast = HighContrastOn();
  MakeBanner(data.painter, instance);
  PlaceBanner(data.painter, dialog);

  // Inserted at positions 1, 2, 3, ... of the empty control, the tabs land at indices 0, 1, 2, ...
  const HWND tab = GetDlgItem(dialog, kTabControl);
  for (std::size_t i = 0; i < kPages.size(); ++i) {
    std::string text(kPages[i].tabText);
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = text.data();
    SendMessageA(tab, TCM_INSERTITEMA, i + 1, reinterpret_cast<LPARAM>(&item));
  }

  for (std::size_t i = 0; i < kPages.size(); ++i) {
    data.windows.pages[i] = CreatePage(data, dialog, kPages[i].templateId);
  }
  PageSwitch(data.windows, 0);

  data.shell.Prepare(dialog);
  StartUp(app);
  data.previousTabProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(tab, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TabEraseProc)));
  data.accessible.Attach(data.windows);
  const HWND colors = data.windows.Of(Page::Colors);
  for (int k = 1; k <= kStatusCount; ++k) {
    for (const int id : {BoldStatusBox(k), ItalicStatusBox(k)}) {
      const HWND box = GetDlgItem(colors, id);
      if (!box) continue;
      SetPropA(box, kPreviousBoxProc,
               reinterpret_cast<HANDLE>(SetWindowLongPtrA(
                   box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&StatusBoxProc))));
    }
  }
  keyDialog = dialog;
  keyFilter = SetWindowsHookExA(WH_MSGFILTER, KeyFilter, nullptr, GetCurrentThreadId());
}

// A notification from a control: a new tab chosen shows its page.
void OnNotify(DialogData& data, const NMHDR& header) {
  if (header.idFrom == static_cast<UINT_PTR>(kTabControl) && header.code == TCN_SELCHANGE) {
    PageSwitch(data.windows, static_cast<int>(SendMessageA(header.hwndFrom, TCM_GETCURSEL, 0, 0)));
  }
}

INT_PTR BrushResult(HBRUSH brush) {
  return reinterpret_cast<INT_PTR>(brush);
}

INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    InitMainDialog(KeepData(dialog, lParam), dialog);
    return TRUE;  // the dialog manager gives the focus to the first tab stop
  }
  DialogData* data = DataOf(dialog);
  if (!data) return FALSE;  // a message before WM_INITDIALOG
  App& app = data->app;
  Painter& painter = data->painter;
  switch (message) {
    case WM_COMMAND:
      // A click (BN_CLICKED, which is a static's STN_CLICKED too, and what Enter and Escape send):
      // the second click of a double-click (BN_DOUBLECLICKED) is no second press. The Escape
      // key's cancel command does nothing.
      if (HIWORD(wParam) == BN_CLICKED) MainCommand(app, LOWORD(wParam));
      return TRUE;
    case WM_NOTIFY:
      OnNotify(*data, *reinterpret_cast<const NMHDR*>(lParam));
      return TRUE;
    case WM_DRAWITEM:
      DrawMainItem(painter, *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_PAINT:
      PaintMainDialog(painter, dialog);
      return TRUE;
    case WM_SIZE:
      PlaceBanner(painter, dialog);
      return FALSE;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
      return BrushResult(MainControlColor(painter, message, reinterpret_cast<HDC>(wParam),
                                          reinterpret_cast<HWND>(lParam)));
    case WM_GETDPISCALEDSIZE:
      // The size that Windows then suggests with WM_DPICHANGED: the template's at the new DPI.
      if (!data->layoutsRead) return FALSE;
      *reinterpret_cast<SIZE*>(lParam) = MainWindowSize(*data, static_cast<int>(LOWORD(wParam)));
      return MessageResult(dialog, TRUE);
    case WM_DPICHANGED: {
      // The new DPI and the suggested rectangle come with the message: the dialog moves there and
      // lays itself out again, the same way on every system.
      const int dpi = HIWORD(wParam);
      MoveToSuggested(*data, *reinterpret_cast<const RECT*>(lParam), dpi);
      LayOutForDpi(*data, dpi);
      FollowDpi(*data, dpi);
      return TRUE;
    }
    case WM_GETFONT:
      if (const HFONT font = DpiFontOf(*data, dialog)) {
        return MessageResult(dialog, reinterpret_cast<LRESULT>(font));
      }
      return FALSE;
    case WM_SETTINGCHANGE:
    case WM_SYSCOLORCHANGE: {
      // High contrast turned on or off, or the system colors (which it paints with) changed. A
      // common control keeps its own copy of the system colors, which only this message renews:
      // the tab control, the dialog's one common control, gets it before the redraw.
      if (message == WM_SYSCOLORCHANGE) {
        SendDlgItemMessageA(dialog, kTabControl, WM_SYSCOLORCHANGE, wParam, lParam);
      }
      const bool was = painter.highContrast;
      painter.highContrast = HighContrastOn();
      if (message == WM_SYSCOLORCHANGE || painter.highContrast != was) {
        RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
      }
      return FALSE;
    }
    case WM_UPDATEUISTATE:
      // Windows passes the new cues on to the children; their labels follow.
      RepaintPaintedButtons(dialog);
      return FALSE;
    case WM_CHAR:
      app.messages.Plain("Key pressed");
      return TRUE;
    case WM_CLOSE:
      CloseDialog(app);
      return TRUE;
    default:
      return FALSE;
  }
}

INT_PTR CALLBACK PageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    InitPage(KeepData(page, lParam));
    return TRUE;
  }
  DialogData* data = DataOf(page);
  if (!data) return FALSE;  // a message before WM_INITDIALOG
  Painter& painter = data->painter;
  switch (message) {
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
      return BrushResult(PageControlColor(painter, message, reinterpret_cast<HDC>(wParam),
                                          reinterpret_cast<HWND>(lParam)));
    case WM_DRAWITEM:
      DrawPageItem(painter, *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_COMMAND:
      // Only a click, as on the main dialog.
      if (HIWORD(wParam) == BN_CLICKED) PageCommand(data->app, LOWORD(wParam));
      return TRUE;
    case WM_UPDATEUISTATE:
      RepaintPaintedButtons(page);
      return FALSE;
    case WM_GETFONT:
      if (const HFONT font = DpiFontOf(*data, page)) {
        return MessageResult(page, reinterpret_cast<LRESULT>(font));
      }
      return FALSE;
    case WM_CLOSE:
      DeleteHeaderFonts(*data);
      return TRUE;
    default:
      return FALSE;
  }
}

// The tab control's procedure: its background in the dialog's color, and its tabs painted anew
// when its focus or keyboard cues change, which decide the focus mark; all else its own. It lives
// on the main dialog, whose record it finds there.
LRESULT CALLBACK TabEraseProc(HWND tab, UINT message, WPARAM wParam, LPARAM lParam) {
  DialogData& data = *DataOf(GetParent(tab));
  if (message == WM_ERASEBKGND) {
    EraseTabBackground(data.painter, tab, reinterpret_cast<HDC>(wParam));
    return 1;
  }
  const LRESULT result = CallWindowProcA(data.previousTabProc, tab, message, wParam, lParam);
  if (message == WM_SETFOCUS || message == WM_KILLFOCUS || message == WM_UPDATEUISTATE) {
    // Only the tabs themselves: the control's display area lies over the page, which its own
    // painting would cover.
    const auto count =
        static_cast<int>(CallWindowProcA(data.previousTabProc, tab, TCM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      RECT item{};
      if (CallWindowProcA(data.previousTabProc, tab, TCM_GETITEMRECT, static_cast<WPARAM>(i),
                          reinterpret_cast<LPARAM>(&item))) {
        InvalidateRect(tab, &item, FALSE);
      }
    }
  }
  return result;
}

// A bold or italic box's procedure: Windows draws the focus of a check box around its text, and
// these have none, so the dialog draws a focus mark along the box's edge after Windows has drawn
// it, and has the box drawn anew when its focus or keyboard cues change. All else is its own.
LRESULT CALLBACK StatusBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto previous = reinterpret_cast<WNDPROC>(GetPropA(box, kPreviousBoxProc));
  if (!previous) return DefWindowProcA(box, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    RemovePropA(box, kPreviousBoxProc);
    return CallWindowProcA(previous, box, message, wParam, lParam);
  }
  const LRESULT result = CallWindowProcA(previous, box, message, wParam, lParam);
  switch (message) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_UPDATEUISTATE:
      InvalidateRect(box, nullptr, TRUE);
      break;
    // Where the box draws itself: painted, checked, pressed or released.
    case WM_PAINT:
    case BM_SETCHECK:
    case BM_SETSTATE:
    case WM_KEYUP:
    case WM_LBUTTONUP:
      if (DialogData* data = DataOf(GetParent(box))) DrawBoxFocus(data->painter, box);
      break;
    default:
      break;
  }
  return result;
}

}  // namespace

bool RunMainDialog(DialogData& data, DWORD& error) {
  const INT_PTR result = DialogBoxParamA(data.instance, MAKEINTRESOURCEA(kMainDialog), nullptr,
                                         MainDialogProc, reinterpret_cast<LPARAM>(&data));
  error = result == -1 ? GetLastError() : 0;
  if (keyFilter) UnhookWindowsHookEx(keyFilter);
  keyFilter = nullptr;
  keyDialog = nullptr;
  DeleteHeaderFonts(data);
  DeleteBanner(data.painter);
  for (HFONT& font : data.dpiFonts) {
    if (font) DeleteObject(font);
    font = nullptr;
  }
  return result != -1;
}

}  // namespace quil
