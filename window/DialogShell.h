// The windows of QuilConfig: the main dialog's procedure, the page procedure of the three settings
// pages, page switching, and the replaced window procedure of the tab control. The behaviour
// behind them is the portable dialog's (dialog/MainDialog.h); these procedures route the messages
// to it and paint.
#pragma once

#include <array>

#include "core/App.h"
#include "files/win32/Win32.h"
#include "window/Accessibility.h"
#include "window/DialogLayout.h"
#include "window/Pages.h"
#include "window/Painting.h"
#include "window/ShellPorts.h"
#include "window/Win32Ports.h"

namespace quil {

// What one run of the dialog keeps: handed to the main dialog as its creation parameter and on to
// each page as the page's own, and kept as the user data of those windows, where every window
// procedure of the dialog finds it. It must outlive the dialog.
struct DialogData {
  DialogData(HINSTANCE instance, App& app, ShellControls& controls, Win32Shell& shell)
      : instance(instance), app(app), controls(controls), shell(shell) {}
  DialogData(const DialogData&) = delete;
  DialogData& operator=(const DialogData&) = delete;

  HINSTANCE instance;
  App& app;
  ShellControls& controls;
  Win32Shell& shell;
  DialogWindows windows;
  Painter painter{app, windows};
  AccessibleControls accessible{app};
  // The tab control's own window procedure, which the dialog's replaces.
  WNDPROC previousTabProc = nullptr;
  // The fonts of the Colors page's column headers "B" (bold, underlined) and "I" (also italic),
  // sized from the page's font.
  HFONT boldHeaderFont = nullptr;
  HFONT italicHeaderFont = nullptr;
  // The templates of the main dialog (first) and of the pages (in the order of kPages), by which
  // the dialog is laid out again when its DPI changes; false when one could not be read. The
  // fonts made for the last DPI change, one for each template, which the dialog and its pages
  // then answer for their own; none until the first.
  std::array<TemplateLayout, kPages.size() + 1> layouts;
  bool layoutsRead = false;
  std::array<HFONT, kPages.size() + 1> dpiFonts{};
};

// Runs the main dialog modally, without an owner window, until it is closed, and returns true.
// Returns false, with Windows' error code in `error`, when the dialog could not be made at all (no
// display to show it on, say). The controls must be attached to data.windows.
bool RunMainDialog(DialogData& data, DWORD& error);

}  // namespace quil
