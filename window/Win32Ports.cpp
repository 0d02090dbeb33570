// Message boxes, the end of the program and the dialog's controls on Win32.
#include "window/Win32Ports.h"

#include "base/Text.h"
#include "files/win32/Win32.h"

namespace quil {

namespace {

constexpr const char* kCaption = "Quil Config";

// Without an owner window, but task-modal: Windows disables every top-level window of the thread
// while the box is open, so that the dialog takes no click, key or close under it.
int ShowMessage(std::string_view text, UINT style) {
  const std::string message(text);
  return MessageBoxA(nullptr, message.c_str(), kCaption, style | MB_TASKMODAL);
}

// True for a combo box, false for a list box (or anything else, which then ignores the messages).
bool IsComboBox(HWND control) {
  char className[32] = {};
  GetClassNameA(control, className, sizeof className);
  return EqualsNoCase(className, "ComboBox");
}

}  // namespace

void Win32MessageBoxes::Notice(std::string_view text) {
  ShowMessage(text, MB_OK | MB_ICONINFORMATION);
}
void Win32MessageBoxes::Failure(std::string_view text) {
  ShowMessage(text, MB_OK | MB_ICONERROR);
}
bool Win32MessageBoxes::Ask(std::string_view text) {
  return ShowMessage(text, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}
void Win32MessageBoxes::Plain(std::string_view text) {
  ShowMessage(text, MB_OK);
}

void Win32ProgramExit::Exit(int status) {
  ExitProcess(static_cast<UINT>(status));
}

HWND Win32DialogControls::PageWindow(Page page) const {
  return windows_ ? windows_->Of(page) : nullptr;
}

HWND Win32DialogControls::Control(Page page, int id) const {
  const HWND window = PageWindow(page);
  if (!window) return nullptr;
  // GetDlgItem asks the window system for all of the page's children each time. A control lives as
  // long as its page, so it is looked up once; a remembered window that is no longer that control
  // of that page is looked up again.
  HWND& control = controls_[{window, id}];
  if (!control || !IsWindow(control) || GetParent(control) != window ||
      GetDlgCtrlID(control) != id) {
    control = GetDlgItem(window, id);
  }
  return control;
}

void Win32DialogControls::SetText(Page page, int id, std::string_view text) {
  const HWND control = Control(page, id);
  if (!control) return;
  const std::string value(text);
  // Setting a text costs the window system many times what reading it costs, and loading a profile
  // sets every option's field: a field that already shows the text is left as it is. A combo box's
  // text is always set, since its edit field commits what is set.
  if (!IsComboBox(control)) {
    std::string shown(value.size() + 2, '\0');
    const int length = GetWindowTextA(control, shown.data(), static_cast<int>(shown.size()));
    shown.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    if (shown == value) return;
  }
  SetWindowTextA(control, value.c_str());
}

std::string Win32DialogControls::GetText(Page page, int id, std::size_t capacity) {
  const HWND control = Control(page, id);
  if (!control || capacity == 0) return {};
  std::string text(capacity, '\0');
  const int length = GetWindowTextA(control, text.data(), static_cast<int>(capacity));
  text.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
  return text;
}

void Win32DialogControls::SetChecked(Page page, int id, bool checked) {
  const HWND control = Control(page, id);
  if (control) SendMessageA(control, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool Win32DialogControls::IsChecked(Page page, int id) {
  const HWND control = Control(page, id);
  return control && SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32DialogControls::ClearList(Page page, int id) {
  const HWND control = Control(page, id);
  if (!control) return;
  SendMessageA(control, IsComboBox(control) ? CB_RESETCONTENT : LB_RESETCONTENT, 0, 0);
}

int Win32DialogControls::AddListLine(Page page, int id, std::string_view text) {
  const HWND control = Control(page, id);
  if (!control) return -1;
  const std::string line(text);
  const LRESULT index = SendMessageA(control, IsComboBox(control) ? CB_ADDSTRING : LB_ADDSTRING, 0,
                                     reinterpret_cast<LPARAM>(line.c_str()));
  return index < 0 ? -1 : static_cast<int>(index);
}

void Win32DialogControls::DeleteListLine(Page page, int id, int index) {
  const HWND control = Control(page, id);
  if (!control) return;
  SendMessageA(control, IsComboBox(control) ? CB_DELETESTRING : LB_DELETESTRING,
               static_cast<WPARAM>(index), 0);
}

int Win32DialogControls::ListLineCount(Page page, int id) {
  const HWND control = Control(page, id);
  if (!control) return 0;
  const LRESULT count =
      SendMessageA(control, IsComboBox(control) ? CB_GETCOUNT : LB_GETCOUNT, 0, 0);
  return count < 0 ? 0 : static_cast<int>(count);
}

std::string Win32DialogControls::ListLine(Page page, int id, int index) {
  const HWND control = Control(page, id);
  if (!control) return {};
  const bool combo = IsComboBox(control);
  const LRESULT length =
      SendMessageA(control, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length < 0) return {};
  std::string line(static_cast<std::size_t>(length) + 1, '\0');
  const LRESULT got =
      SendMessageA(control, combo ? CB_GETLBTEXT : LB_GETTEXT, static_cast<WPARAM>(index),
                   reinterpret_cast<LPARAM>(line.data()));
  line.resize(got < 0 ? 0 : static_cast<std::size_t>(got));
  return line;
}

bool Win32DialogControls::IsListLineSelected(Page page, int id, int index) {
  const HWND control = Control(page, id);
  if (!control) return false;
  if (IsComboBox(control)) return SendMessageA(control, CB_GETCURSEL, 0, 0) == index;
  return SendMessageA(control, LB_GETSEL, static_cast<WPARAM>(index), 0) > 0;
}

void Win32DialogControls::SelectListLine(Page page, int id, int index, bool selected) {
  const HWND control = Control(page, id);
  if (!control) return;
  if (IsComboBox(control)) {
    SendMessageA(control, CB_SETCURSEL,
                 selected ? static_cast<WPARAM>(index) : static_cast<WPARAM>(-1), 0);
    return;
  }
  // The plugin list allows several lines to be selected at once.
  SendMessageA(control, LB_SETSEL, selected ? TRUE : FALSE, static_cast<LPARAM>(index));
}

void Win32DialogControls::Show(Page page, int id, bool visible) {
  const HWND control = Control(page, id);
  if (control) ShowWindow(control, visible ? SW_SHOW : SW_HIDE);
}

void Win32DialogControls::Focus(Page page, int id) {
  const HWND control = Control(page, id);
  if (control) SetFocus(control);
}

void Win32DialogControls::SetListRedraw(Page page, int id, bool redraw) {
  const HWND control = Control(page, id);
  if (!control) return;
  // Without redrawing, a list box neither paints a line nor updates its scroll bar per line.
  SendMessageA(control, WM_SETREDRAW, redraw ? TRUE : FALSE, 0);
  if (redraw) {
    RedrawWindow(control, nullptr, nullptr,
                 RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
  }
}

void Win32DialogControls::RedrawControl(Page page, int id) {
  const HWND control = Control(page, id);
  if (control) RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void Win32DialogControls::RedrawMain() {
  const HWND main = PageWindow(Page::Main);
  if (main) {
    RedrawWindow(main, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  }
}

void Win32DialogControls::EndDialog() {
  const HWND main = PageWindow(Page::Main);
  if (main) ::EndDialog(main, 0);
}

}  // namespace quil
