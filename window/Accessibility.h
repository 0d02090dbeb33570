// What a screen reader learns of the dialog's controls beyond what Windows' standard answer gives:
// a name for every control that has no text of its own to be named by, or whose label is not the
// control before it, and each color swatch's color as its value.
//
// Where a name can be the control's own text without changing a pixel, it is (the swatches whose
// label the painting draws in place of their text). Every other control listed answers a screen
// reader's request (WM_GETOBJECT) with Windows' standard object for the control, wrapped so that
// it gives the name and value. OLEACC and OLE32, which only a screen reader's requests need, are
// loaded on the first one, and COM started then (window/Com.h).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/App.h"
#include "files/win32/Win32.h"
#include "window/Win32Ports.h"

namespace quil {

class AccessibleControls {
 public:
  explicit AccessibleControls(const App& app) : app_(app) {}
  AccessibleControls(const AccessibleControls&) = delete;
  AccessibleControls& operator=(const AccessibleControls&) = delete;

  // Gives the controls of the dialog's windows their names and values. Once the windows exist and
  // the edit fields' own procedures are replaced.
  void Attach(const DialogWindows& windows);

  // The name and value that a control's wrapped object gives for the control itself; nothing
  // where Windows' standard object answers.
  std::optional<std::string> NameOf(HWND control) const;
  std::optional<std::string> ValueOf(HWND control) const;

 private:
  enum class Naming { Own, Text, StatusBold, StatusItalic, Label };
  struct Control {
    HWND window;
    WNDPROC previous;
    Naming naming;
    std::string text;  // the name, for Naming::Text
    bool swatch;       // a color button: its value is its color
  };

  void Wrap(HWND window, Naming naming, std::string text, bool swatch);
  const Control* Find(HWND window) const;
  LRESULT Answer(const Control& control, WPARAM flags);
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  const App& app_;
  std::vector<Control> controls_;
};

}  // namespace quil
