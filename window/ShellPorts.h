// The ports that the dialog's windows need beyond the shared Win32 ports: the controls with the
// commit handling of the two combo boxes kept for the edit fields' replaced window procedures, and
// the shell with its color chooser and image chooser.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/ControlIds.h"
#include "core/Ports.h"
#include "files/win32/Win32.h"
#include "window/Win32Ports.h"

// The shell port's ChooseColor keeps its name in the files that see both.
#ifdef ChooseColor
#undef ChooseColor
#endif

namespace quil {

// The dialog's controls. The commit handling of the profile box and of the scheme box is kept
// here, and run by the window procedure that replaces their edit fields' own. A commit message
// that reaches a field before its handling is registered is only passed on.
class ShellControls : public Win32DialogControls {
 public:
  ShellControls() = default;
  // The edit fields keep pointers into this object.
  ShellControls(const ShellControls&) = delete;
  ShellControls& operator=(const ShellControls&) = delete;

  // Keeps the handling; for the profile box it also replaces its edit field's window procedure.
  void SetCommitHandler(Page page, int id, CommitHandler commit) override;

  // Replaces the window procedure of the combo box's edit field (the profile box or the scheme
  // box) by the commit procedure, once; nothing while the box does not exist.
  void ReplaceEditProcedure(Page page, int id);

 private:
  // A combo box whose edit field commits: its handling, the field's own window procedure, and
  // whether a commit is running. The field keeps a pointer to it as its user data, where the
  // commit procedure finds it.
  struct CommitField {
    ShellControls& controls;
    Page page;
    int id;
    CommitHandler commit = {};
    WNDPROC previous = nullptr;
    bool busy = false;
  };

  CommitField* FieldOf(Page page, int id);
  static LRESULT CALLBACK CommitProcedure(HWND edit, UINT message, WPARAM wParam, LPARAM lParam);

  CommitField profileField_{*this, Page::Main, kProfileBox};
  CommitField schemeField_{*this, Page::Colors, kSchemeBox};
};

// ShellExecuteA for web addresses and files; the color chooser and the open-file dialog with the
// parameter blocks filled once when the main dialog starts.
class Win32Shell : public Shell {
 public:
  // Fills the two parameter blocks; the image chooser belongs to `mainWindow`, the color chooser to
  // no window, so that the dialog stays usable while it is open.
  void Prepare(HWND mainWindow);

  void Open(std::string_view target) override;
  std::uint32_t ChooseColor(std::uint32_t color, std::uint32_t* customColors) override;
  bool ChooseImage(std::string& path, std::string& title) override;

 private:
  CHOOSECOLORA colorParams_{};
  OPENFILENAMEA imageParams_{};
};

// What the entry point converts to ANSI from the first command-line argument: the arguments as
// ApplySwitches takes them.
std::vector<std::string> SwitchArguments();

}  // namespace quil
