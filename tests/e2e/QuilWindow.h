// The end-to-end driver's view of a running QuilConfig.exe: it starts the program in a skin folder,
// finds its dialog, pages, message boxes and color chooser among the desktop's windows, and works
// them only the way a user or an accessibility tool can (control ids, texts, focus, clicks, list
// selections, tab changes), reading texts with the wide messages. It also captures the dialog's
// pixels from the screen for the color checks.
#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/Ports.h"
#include "files/win32/Win32.h"

// The shell port's ChooseColor keeps its name in the files that see both.
#ifdef ChooseColor
#undef ChooseColor
#endif

namespace quil::e2e {

// How long one wait for the program may last. It is a bound, not a pause: every wait ends as soon
// as what it waits for holds, so a generous bound costs nothing on a fast machine and keeps a
// loaded one from failing.
inline constexpr std::chrono::milliseconds kWait{20000};

inline constexpr std::string_view kDialogTitle = "Quil Configuration Utility";
inline constexpr std::string_view kMessageCaption = "Quil Config";
inline constexpr std::string_view kChooserTitle = "Color";

// Polls `done` until it holds or `limit` has passed; true when it held.
bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds limit = kWait);

// One run of QuilConfig.exe. The process is ended (forcibly, if it still runs) when the object
// goes away, so that its skin folder can be removed.
class QuilProcess {
 public:
  // Starts the program (`program`, or the built QuilConfig.exe) with `folder` as its current
  // folder and `argument` (may be empty) as its first command-line argument.
  QuilProcess(const std::filesystem::path& folder, std::string_view argument = {},
              const std::filesystem::path& program = {});
  ~QuilProcess();
  QuilProcess(const QuilProcess&) = delete;
  QuilProcess& operator=(const QuilProcess&) = delete;

  bool Started() const { return process_.hProcess != nullptr; }
  bool Running() const;
  // The exit status once the process has ended within `limit`; nothing while it still runs.
  std::optional<DWORD> WaitExit(std::chrono::milliseconds limit = kWait);

  // The program's visible top-level windows of window class "#32770" titled `title`.
  HWND FindTopLevel(std::string_view title, bool visibleOnly = true) const;
  HWND WaitTopLevel(std::string_view title, std::chrono::milliseconds limit = kWait) const;

  // The main dialog once it is visible; null after `limit`.
  HWND WaitDialog(std::chrono::milliseconds limit = kWait) const {
    return WaitTopLevel(kDialogTitle, limit);
  }
  HANDLE Handle() const { return process_.hProcess; }

 private:
  PROCESS_INFORMATION process_{};
};

// Texts of windows in another process, read with the wide messages.
std::string WindowText(HWND window);
std::string ClassOf(HWND window);

// A message box of the program: its text and a way to press one of its buttons.
struct MessageBoxWindow {
  HWND window = nullptr;
  std::string text;
};
// Waits for a message box captioned "Quil Config" of the program.
std::optional<MessageBoxWindow> WaitMessageBox(const QuilProcess& process,
                                               std::chrono::milliseconds limit = kWait);
// Presses button `buttonId` (IDOK, IDYES, IDNO) of a message box and waits until it is gone.
// False when the box has no such button or does not close.
bool Press(const MessageBoxWindow& box, int buttonId);

// The main dialog and its three pages, addressed as the core addresses them: by page and control
// identifier.
class QuilDialog {
 public:
  QuilDialog(const QuilProcess& process, HWND main) : process_(process), main_(main) {}

  HWND Main() const { return main_; }
  HWND PageWindow(Page page) const;
  HWND Control(Page page, int id) const;
  // The edit field inside a combo box.
  HWND ComboEdit(Page page, int id) const;

  // Returns after the program has handled every message posted to it so far, or is inside a
  // message box's or chooser's own loop because of one of them, or has ended. It posts a marker
  // behind them and waits until the program has handled the marker; a program that does not
  // within kWait fails the test. (A sent message is no such marker: the program handles one sent
  // from another thread at its next look at the queue, before the posted messages still waiting.)
  void Sync() const;

  std::string Text(Page page, int id) const;
  // Sets a control's text with WM_SETTEXT, as a script or an accessibility tool does: on the
  // combo boxes' edit fields this is a commit of the new name. Returns once the program has
  // handled it, or has opened a message box while handling it (the send then completes when the
  // box is answered).
  void SetText(Page page, int id, std::string_view text) const;
  bool Checked(Page page, int id) const;
  bool Visible(Page page, int id) const;
  // Posts a click (BM_CLICK): the button takes the focus, then its command runs. Returns after
  // the program has handled it or has opened a message box or chooser for it.
  void Click(Page page, int id) const;
  // Moves the keyboard focus to a control, as the Tab key does (WM_NEXTDLGCTL to its dialog).
  void Focus(Page page, int id) const;
  HWND FocusedWindow() const;

  // Combo boxes: the edit field's text and the drop-down list's lines.
  std::string ComboText(Page page, int id) const { return WindowText(ComboEdit(page, id)); }
  std::vector<std::string> ComboLines(Page page, int id) const;
  // Types into a combo box's edit field: gives it the focus, selects its text and posts the
  // characters, without a commit. Returns once the field shows the typed text; fails the test
  // when it does not within kWait.
  void Type(Page page, int id, std::string_view text) const;
  // Presses and releases Enter in a combo box's edit field.
  void PressEnter(Page page, int id) const;
  // Picks line `index` of a combo box's drop-down list.
  void Pick(Page page, int id, int index) const;

  // The plugin list.
  std::vector<std::string> ListLines(Page page, int id) const;
  std::vector<int> SelectedLines(Page page, int id) const;
  void SelectLine(Page page, int id, int index, bool selected) const;

  // The tab control: its current selection, and a tab change as the keyboard makes it.
  int CurrentTab() const;
  int TabCount() const;
  void ShowTab(int index) const;
  // A tab's rectangle on the screen (the tab control's own answer, read from the program's
  // memory).
  std::optional<RECT> TabRect(int index) const;

  // Tells the dialog that its DPI is now `dpi`, as Windows does when the window moves to a screen
  // of another pixel density: WM_GETDPISCALEDSIZE asks for its size at that DPI, then
  // WM_DPICHANGED suggests a rectangle of that size at the window's place. Returns once the
  // program has handled it and what it posted itself meanwhile.
  void ChangeDpi(int dpi) const;

  // Posts a key press (down and up) to a control.
  void PressKey(Page page, int id, WPARAM virtualKey) const;
  // Posts a character message to the main dialog window itself; the caller waits for its effect.
  void PostCharToDialog(wchar_t c) const;
  // Posts the close command; the caller waits for the program to end.
  void Close() const;

 private:
  LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) const;
  // Posts a message to a window of the program, then waits as Sync() does.
  void PostAndSync(HWND window, UINT message, WPARAM wParam, LPARAM lParam) const;

  const QuilProcess& process_;
  HWND main_;
};

// The color chooser's current color, set through its red, green and blue edit fields.
bool SetChooserColor(HWND chooser, COLORREF color);

// A screen copy of a window, for the color checks.
class Capture {
 public:
  static Capture Of(HWND window);

  COLORREF At(int screenX, int screenY) const;
  // The color that covers most pixels of `screenRect` (clipped to the capture), with its share.
  std::pair<COLORREF, double> Dominant(const RECT& screenRect) const;
  int Count(const RECT& screenRect, COLORREF color) const;
  bool Empty() const { return pixels_.empty(); }
  bool SamePixels(const Capture& other) const {
    return EqualRect(&rect_, &other.rect_) && pixels_ == other.pixels_;
  }

 private:
  RECT rect_{};
  int width_ = 0;
  int height_ = 0;
  std::vector<COLORREF> pixels_;
};

RECT ScreenRect(HWND window);
RECT Inset(RECT rect, int dx, int dy);
std::string ColorText(COLORREF color);

}  // namespace quil::e2e
