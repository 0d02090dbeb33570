// The end-to-end driver: starting QuilConfig.exe, finding its windows, working its controls from
// outside the process, and copying its pixels from the screen.
#include "tests/e2e/QuilWindow.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <map>
#include <memory>
#include <thread>

#include "core/ControlIds.h"

namespace quil::e2e {

namespace {

using Clock = std::chrono::steady_clock;
constexpr UINT kSendTimeoutMs = 5000;
constexpr int kMessageTextId = 0xFFFF;  // the text of a message box
// The color chooser's edit fields for the red, green and blue components.
constexpr int kChooserRed = 706;
constexpr int kChooserGreen = 707;
constexpr int kChooserBlue = 708;
constexpr std::size_t kTextCapacity = 4096;
// The edit field that carries Sync()'s marker: the contact-list title on the General page, which
// exists for the dialog's whole life. The marker is a text limit far above any text the program
// or a test puts there, so it changes nothing the program does; the previous limit is put back.
constexpr int kMarkerEdit = 1006;
constexpr WPARAM kMarkerLimits[2] = {0x40000000, 0x40000001};

// The driver reads the program's windows and copies the screen in the screen's own pixels: it is
// DPI aware, as the program is, so that Windows converts no coordinates between the two.
[[maybe_unused]] const bool kDpiAware = SetProcessDPIAware() != FALSE;

std::wstring Widen(std::string_view text) {
  if (text.empty()) return {};
  const int n =
      MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
  return wide;
}

std::string Narrow(std::wstring_view text) {
  if (text.empty()) return {};
  const int n = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr,
                                    0, nullptr, nullptr);
  std::string narrow(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), narrow.data(), n,
                      nullptr, nullptr);
  return narrow;
}

LRESULT SendTo(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL | SMTO_ABORTIFHUNG,
                           kSendTimeoutMs, &result)) {
    return 0;
  }
  return static_cast<LRESULT>(result);
}

struct WindowSearch {
  DWORD processId;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<WindowSearch*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == search->processId) search->found.push_back(window);
  return TRUE;
}

// Top-level windows of a process.
std::vector<HWND> TopLevelWindows(DWORD processId) {
  WindowSearch search{processId, {}};
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND FindChildOfClass(HWND parent, const char* className) {
  return FindWindowExA(parent, nullptr, className, nullptr);
}

// Memory inside the program, for the control messages that answer through a pointer.
class RemoteBuffer {
 public:
  RemoteBuffer(HANDLE process, std::size_t size) : process_(process) {
    address_ = VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  }
  ~RemoteBuffer() {
    if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
  }
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;
  LPARAM Address() const { return reinterpret_cast<LPARAM>(address_); }
  bool Read(void* into, std::size_t size) const {
    SIZE_T done = 0;
    return address_ && ReadProcessMemory(process_, address_, into, size, &done) && done == size;
  }
  bool Write(const void* from, std::size_t size) const {
    SIZE_T done = 0;
    return address_ && WriteProcessMemory(process_, address_, from, size, &done) && done == size;
  }

 private:
  HANDLE process_;
  void* address_ = nullptr;
};

}  // namespace

bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  const auto end = Clock::now() + limit;
  for (;;) {
    if (done()) return true;
    if (Clock::now() >= end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
}

QuilProcess::QuilProcess(const std::filesystem::path& folder, std::string_view argument,
                         const std::filesystem::path& program) {
  // Wide, so that a folder whose name has no ANSI form is started in as it is.
  std::filesystem::path file =
      program.empty() ? std::filesystem::path(QUIL_QUILCONFIG_EXE) : program;
  const std::wstring exe = file.make_preferred().wstring();
  std::wstring commandLine = L"\"" + exe + L"\"";
  if (!argument.empty()) commandLine += L" " + Widen(argument);
  const std::wstring currentFolder = folder.wstring();
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      currentFolder.c_str(), &startup, &process_)) {
    process_ = {};
  }
}

QuilProcess::~QuilProcess() {
  if (!Started()) return;
  if (Running()) {
    TerminateProcess(process_.hProcess, 99);
    WaitForSingleObject(process_.hProcess, static_cast<DWORD>(kWait.count()));
  }
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
}

bool QuilProcess::Running() const {
  return Started() && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> QuilProcess::WaitExit(std::chrono::milliseconds limit) {
  if (!Started()) return std::nullopt;
  if (WaitForSingleObject(process_.hProcess, static_cast<DWORD>(limit.count())) != WAIT_OBJECT_0) {
    return std::nullopt;
  }
  DWORD status = 0;
  GetExitCodeProcess(process_.hProcess, &status);
  return status;
}

HWND QuilProcess::FindTopLevel(std::string_view title, bool visibleOnly) const {
  if (!Started()) return nullptr;
  for (HWND window : TopLevelWindows(process_.dwProcessId)) {
    if (visibleOnly && !IsWindowVisible(window)) continue;
    if (ClassOf(window) == "#32770" && WindowText(window) == title) return window;
  }
  return nullptr;
}

HWND QuilProcess::WaitTopLevel(std::string_view title, std::chrono::milliseconds limit) const {
  HWND found = nullptr;
  WaitFor([&] { return (found = FindTopLevel(title)) != nullptr || !Running(); }, limit);
  return found;
}

std::string WindowText(HWND window) {
  if (!window) return {};
  std::wstring buffer(kTextCapacity, L'\0');
  const LRESULT n =
      SendTo(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
  buffer.resize(static_cast<std::size_t>(std::max<LRESULT>(n, 0)));
  return Narrow(buffer);
}

std::string ClassOf(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

std::optional<MessageBoxWindow> WaitMessageBox(const QuilProcess& process,
                                               std::chrono::milliseconds limit) {
  HWND box = process.WaitTopLevel(kMessageCaption, limit);
  if (!box) return std::nullopt;
  // The box's text is set while the box is created; give it the moment it needs.
  HWND text = nullptr;
  WaitFor([&] { return (text = GetDlgItem(box, kMessageTextId)) != nullptr; });
  return MessageBoxWindow{box, WindowText(text)};
}

bool Press(const MessageBoxWindow& box, int buttonId) {
  HWND button = GetDlgItem(box.window, buttonId);
  if (!button) return false;
  PostMessageW(button, BM_CLICK, 0, 0);
  return WaitFor([&] { return !IsWindow(box.window) || !IsWindowVisible(box.window); });
}

LRESULT QuilDialog::Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) const {
  return SendTo(window, message, wParam, lParam);
}

HWND QuilDialog::PageWindow(Page page) const {
  switch (page) {
    case Page::Main:
      return main_;
    case Page::General:
      return GetDlgItem(main_, kGeneralTemplate);
    case Page::Colors:
      return GetDlgItem(main_, kColorsTemplate);
    case Page::Plugins:
      return GetDlgItem(main_, kPluginsTemplate);
  }
  return nullptr;
}

HWND QuilDialog::Control(Page page, int id) const {
  HWND parent = PageWindow(page);
  return parent ? GetDlgItem(parent, id) : nullptr;
}

HWND QuilDialog::ComboEdit(Page page, int id) const {
  return FindChildOfClass(Control(page, id), "Edit");
}

void QuilDialog::Sync() const {
  HWND edit = Control(Page::General, kMarkerEdit);
  if (!edit || !process_.Running()) return;
  const auto limit = [&] { return static_cast<WPARAM>(Send(edit, EM_GETLIMITTEXT, 0, 0)); };
  const WPARAM previous = limit();
  const WPARAM marker = previous == kMarkerLimits[0] ? kMarkerLimits[1] : kMarkerLimits[0];
  // Posted messages are handled in the order they were posted, by whichever message loop the
  // program runs at the time, so the marker is handled after everything posted before it.
  PostMessageW(edit, EM_SETLIMITTEXT, marker, 0);
  const bool handled = WaitFor([&] { return !process_.Running() || limit() == marker; });
  if (!handled) {
    ADD_FAILURE() << "the program did not handle the messages posted to it within " << kWait.count()
                  << " ms";
    return;
  }
  if (process_.Running()) Send(edit, EM_SETLIMITTEXT, previous, 0);
}

void QuilDialog::PostAndSync(HWND window, UINT message, WPARAM wParam, LPARAM lParam) const {
  PostMessageW(window, message, wParam, lParam);
  Sync();
}

std::string QuilDialog::Text(Page page, int id) const {
  return WindowText(Control(page, id));
}

void QuilDialog::SetText(Page page, int id, std::string_view text) const {
  HWND control = Control(page, id);
  if (ClassOf(control) == "ComboBox") control = ComboEdit(page, id);
  // WM_SETTEXT carries a pointer, so it can only be sent, and a send returns only when the
  // program's handler does: after any message box that the commit shows has been answered. So
  // it is sent from a thread of its own, and this returns when that send has returned or the
  // program shows a message box. The thread owns what it uses; it ends when the send does.
  auto done = std::make_shared<std::atomic<bool>>(false);
  std::thread([control, wide = Widen(text), done] {
    SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    done->store(true);
  }).detach();
  const bool handled = WaitFor([&] {
    return done->load() || !process_.Running() || process_.FindTopLevel(kMessageCaption) != nullptr;
  });
  if (!handled) {
    ADD_FAILURE() << "the program did not handle the text \"" << text << "\" set on control " << id
                  << " within " << kWait.count() << " ms";
  }
  Sync();
}

bool QuilDialog::Checked(Page page, int id) const {
  return Send(Control(page, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool QuilDialog::Visible(Page page, int id) const {
  HWND control = Control(page, id);
  return control && IsWindowVisible(control);
}

void QuilDialog::Click(Page page, int id) const {
  PostAndSync(Control(page, id), BM_CLICK, 0, 0);
}

void QuilDialog::Focus(Page page, int id) const {
  // Posted, as the dialog manager expects it: the control losing the focus may commit and show a
  // message box.
  PostAndSync(PageWindow(page), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Control(page, id)), TRUE);
}

HWND QuilDialog::FocusedWindow() const {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  const DWORD thread = GetWindowThreadProcessId(main_, nullptr);
  return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

std::vector<std::string> QuilDialog::ComboLines(Page page, int id) const {
  HWND combo = Control(page, id);
  std::vector<std::string> lines;
  const LRESULT count = Send(combo, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    std::wstring buffer(kTextCapacity, L'\0');
    const LRESULT n =
        Send(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buffer.data()));
    buffer.resize(static_cast<std::size_t>(std::max<LRESULT>(n, 0)));
    lines.push_back(Narrow(buffer));
  }
  return lines;
}

void QuilDialog::Type(Page page, int id, std::string_view text) const {
  // The user first clicks into the box: the edit field gets the focus (and loses it later).
  Focus(page, id);
  HWND edit = ComboEdit(page, id);
  Send(edit, EM_SETSEL, 0, -1);
  // Typed characters arrive as posted messages; the field shows them once the program has
  // handled them all.
  for (wchar_t c : Widen(text)) PostMessageW(edit, WM_CHAR, c, 1);
  std::string shown;
  if (!WaitFor([&] { return (shown = WindowText(edit)) == text; })) {
    ADD_FAILURE() << "the box " << id << " did not show the typed text \"" << text << "\" within "
                  << kWait.count() << " ms; it shows \"" << shown << "\"";
  }
  Sync();
}

void QuilDialog::PressEnter(Page page, int id) const {
  HWND edit = ComboEdit(page, id);
  PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 0x001C0001);
  PostAndSync(edit, WM_KEYUP, VK_RETURN, static_cast<LPARAM>(0xC01C0001u));
}

void QuilDialog::Pick(Page page, int id, int index) const {
  PostAndSync(Control(page, id), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

std::vector<std::string> QuilDialog::ListLines(Page page, int id) const {
  HWND list = Control(page, id);
  std::vector<std::string> lines;
  const LRESULT count = Send(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    std::wstring buffer(kTextCapacity, L'\0');
    const LRESULT n =
        Send(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buffer.data()));
    buffer.resize(static_cast<std::size_t>(std::max<LRESULT>(n, 0)));
    lines.push_back(Narrow(buffer));
  }
  return lines;
}

std::vector<int> QuilDialog::SelectedLines(Page page, int id) const {
  HWND list = Control(page, id);
  std::vector<int> selected;
  const LRESULT count = Send(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    if (Send(list, LB_GETSEL, static_cast<WPARAM>(i), 0) > 0)
      selected.push_back(static_cast<int>(i));
  }
  return selected;
}

void QuilDialog::SelectLine(Page page, int id, int index, bool selected) const {
  Send(Control(page, id), LB_SETSEL, selected ? TRUE : FALSE, index);
}

int QuilDialog::CurrentTab() const {
  return static_cast<int>(Send(Control(Page::Main, kTabControl), TCM_GETCURSEL, 0, 0));
}

int QuilDialog::TabCount() const {
  return static_cast<int>(Send(Control(Page::Main, kTabControl), TCM_GETITEMCOUNT, 0, 0));
}

void QuilDialog::ShowTab(int index) const {
  // The tab control tells its parent about the change itself, inside the program.
  Send(Control(Page::Main, kTabControl), TCM_SETCURFOCUS, static_cast<WPARAM>(index), 0);
  Sync();
}

std::optional<RECT> QuilDialog::TabRect(int index) const {
  HWND tab = Control(Page::Main, kTabControl);
  RemoteBuffer buffer(process_.Handle(), sizeof(RECT));
  if (!Send(tab, TCM_GETITEMRECT, static_cast<WPARAM>(index), buffer.Address())) {
    return std::nullopt;
  }
  RECT rect{};
  if (!buffer.Read(&rect, sizeof rect)) return std::nullopt;
  MapWindowPoints(tab, nullptr, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

void QuilDialog::ChangeDpi(int dpi) const {
  RECT window{};
  GetWindowRect(main_, &window);
  // As Windows does: it asks the window for its size at the new DPI, keeps the present size when
  // the window gives none, and suggests a rectangle of that size where the window is.
  SIZE size{window.right - window.left, window.bottom - window.top};
  RemoteBuffer scaled(process_.Handle(), sizeof size);
  if (scaled.Write(&size, sizeof size) &&
      Send(main_, WM_GETDPISCALEDSIZE, static_cast<WPARAM>(dpi), scaled.Address())) {
    scaled.Read(&size, sizeof size);
  }
  const RECT rect{window.left, window.top, window.left + size.cx, window.top + size.cy};
  RemoteBuffer suggested(process_.Handle(), sizeof rect);
  if (!suggested.Write(&rect, sizeof rect)) {
    ADD_FAILURE() << "the suggested rectangle could not be written into the program";
    return;
  }
  const auto both = static_cast<WORD>(dpi);
  Send(main_, WM_DPICHANGED, MAKEWPARAM(both, both), suggested.Address());
  Sync();
}

void QuilDialog::PressKey(Page page, int id, WPARAM virtualKey) const {
  HWND control = Control(page, id);
  PostMessageW(control, WM_KEYDOWN, virtualKey, 1);
  PostAndSync(control, WM_KEYUP, virtualKey, static_cast<LPARAM>(0xC0000001u));
}

void QuilDialog::PostCharToDialog(wchar_t c) const {
  PostMessageW(main_, WM_CHAR, c, 1);
}

void QuilDialog::Close() const {
  PostMessageW(main_, WM_CLOSE, 0, 0);
}

bool SetChooserColor(HWND chooser, COLORREF color) {
  const std::pair<int, int> components[] = {
      {kChooserRed, GetRValue(color)},
      {kChooserGreen, GetGValue(color)},
      {kChooserBlue, GetBValue(color)},
  };
  for (const auto& [id, value] : components) {
    HWND edit = GetDlgItem(chooser, id);
    if (!edit) return false;
    const std::wstring text = std::to_wstring(value);
    SendTo(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
  return true;
}

Capture Capture::Of(HWND window) {
  Capture capture;
  if (!GetWindowRect(window, &capture.rect_)) return capture;
  capture.width_ = capture.rect_.right - capture.rect_.left;
  capture.height_ = capture.rect_.bottom - capture.rect_.top;
  if (capture.width_ <= 0 || capture.height_ <= 0) return capture;

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = capture.width_;
  info.bmiHeader.biHeight = -capture.height_;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap && bits) {
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, capture.width_, capture.height_, screen, capture.rect_.left,
           capture.rect_.top, SRCCOPY);
    GdiFlush();
    const auto* pixels = static_cast<const std::uint8_t*>(bits);
    capture.pixels_.resize(static_cast<std::size_t>(capture.width_) * capture.height_);
    for (std::size_t i = 0; i < capture.pixels_.size(); ++i) {
      const std::uint8_t* p = pixels + i * 4;  // blue, green, red, unused
      capture.pixels_[i] = RGB(p[2], p[1], p[0]);
    }
    SelectObject(memory, previous);
  }
  if (bitmap) DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return capture;
}

COLORREF Capture::At(int screenX, int screenY) const {
  const int x = screenX - rect_.left;
  const int y = screenY - rect_.top;
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
  return pixels_[static_cast<std::size_t>(y) * width_ + x];
}

std::pair<COLORREF, double> Capture::Dominant(const RECT& screenRect) const {
  std::map<COLORREF, int> counts;
  int total = 0;
  for (int y = screenRect.top; y < screenRect.bottom; ++y) {
    for (int x = screenRect.left; x < screenRect.right; ++x) {
      const COLORREF c = At(x, y);
      if (c == CLR_INVALID) continue;
      ++counts[c];
      ++total;
    }
  }
  if (total == 0) return {CLR_INVALID, 0.0};
  const auto best =
      std::max_element(counts.begin(), counts.end(),
                       [](const auto& a, const auto& b) { return a.second < b.second; });
  return {best->first, static_cast<double>(best->second) / total};
}

int Capture::Count(const RECT& screenRect, COLORREF color) const {
  int n = 0;
  for (int y = screenRect.top; y < screenRect.bottom; ++y) {
    for (int x = screenRect.left; x < screenRect.right; ++x) n += At(x, y) == color ? 1 : 0;
  }
  return n;
}

RECT ScreenRect(HWND window) {
  RECT rect{};
  if (window) GetWindowRect(window, &rect);
  return rect;
}

RECT Inset(RECT rect, int dx, int dy) {
  InflateRect(&rect, -dx, -dy);
  return rect;
}

std::string ColorText(COLORREF color) {
  if (color == CLR_INVALID) return "(outside the capture)";
  char text[32];
  std::snprintf(text, sizeof text, "(%d, %d, %d)", GetRValue(color), GetGValue(color),
                GetBValue(color));
  return text;
}

}  // namespace quil::e2e
