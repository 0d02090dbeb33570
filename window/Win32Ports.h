// The Win32 implementations of the ports of core/Ports.h: message boxes with MessageBoxA, the end
// of the program with ExitProcess, and the dialog's controls addressed through the windows of the
// main dialog and its three pages.
#pragma once

#include <array>
#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <utility>

#include "core/Ports.h"
#include "files/win32/Win32.h"
#include "window/Pages.h"

namespace quil {

// The windows of one dialog: the main dialog and its pages (in the order of kPages), each known
// once its creation has returned.
struct DialogWindows {
  HWND main = nullptr;
  std::array<HWND, kPages.size()> pages{};

  // The window of `page`: the main dialog's for Page::Main.
  HWND Of(Page page) const {
    if (page == Page::Main) return main;
    const std::size_t index = PageIndex(page);
    return index < pages.size() ? pages[index] : nullptr;
  }
};

// Message boxes without an owner window, captioned "Quil Config".
class Win32MessageBoxes : public MessageBoxes {
 public:
  void Notice(std::string_view text) override;
  void Failure(std::string_view text) override;
  bool Ask(std::string_view text) override;
  void Plain(std::string_view text) override;
};

// Ends the process at once with the status as its exit code.
class Win32ProgramExit : public ProgramExit {
 public:
  [[noreturn]] void Exit(int status) override;
};

// The controls of the main dialog and its pages. A page whose window does not exist (yet) has no
// controls: setting does nothing, reading gives empty text, unchecked boxes and empty lists.
// Combo boxes and list boxes are told apart by their window class, so the same calls serve the
// profile box, the scheme box and the plugin list. A control's text is set with WM_SETTEXT, which
// reaches the commit handling of a combo box's edit field as the user's choice does. The commit
// handling itself (SetCommitHandler) belongs to the dialog's windows, which replace the edit
// fields' window procedures (ShellControls).
class Win32DialogControls : public DialogControls {
 public:
  // The windows, which must outlive this object; until Attach is called no page exists.
  void Attach(const DialogWindows& windows) { windows_ = &windows; }

  void SetText(Page page, int id, std::string_view text) override;
  std::string GetText(Page page, int id, std::size_t capacity = kControlTextCapacity) override;
  void SetChecked(Page page, int id, bool checked) override;
  bool IsChecked(Page page, int id) override;
  void ClearList(Page page, int id) override;
  int AddListLine(Page page, int id, std::string_view text) override;
  void DeleteListLine(Page page, int id, int index) override;
  int ListLineCount(Page page, int id) override;
  std::string ListLine(Page page, int id, int index) override;
  bool IsListLineSelected(Page page, int id, int index) override;
  void SelectListLine(Page page, int id, int index, bool selected) override;
  void Show(Page page, int id, bool visible) override;
  void Focus(Page page, int id) override;
  void SetListRedraw(Page page, int id, bool redraw) override;
  void RedrawControl(Page page, int id) override;
  void RedrawMain() override;
  void EndDialog() override;

 protected:
  // The window of a page, and of a control on it; null while it does not exist.
  HWND PageWindow(Page page) const;
  HWND Control(Page page, int id) const;

 private:
  const DialogWindows* windows_ = nullptr;
  // The controls found so far, by their page's window and their identifier.
  mutable std::map<std::pair<HWND, int>, HWND> controls_;
};

}  // namespace quil
