// How QuilConfig paints itself in the active scheme's colors: the main dialog's banner, tabs and
// buttons, the pages' owner-drawn buttons (the Colors page's live preview), the tab control's
// background and the answers to the control-color requests.
//
// Every painter follows the shared brush rule: it first deletes the brush that the painter's
// sharedBrush holds, then creates the brush it needs into sharedBrush. A brush handed back for a
// control-color request so stays valid until the next painter runs, and at most one such brush
// exists at a time.
#pragma once

#include "core/App.h"
#include "files/win32/Win32.h"
#include "window/Win32Ports.h"

namespace quil {

// What the painters of one dialog share: the scheme's colors and the check boxes they read, the
// dialog's windows (the Colors page's panels have colors of their own), the banner bitmap and the
// shared brush.
struct Painter {
  App& app;
  const DialogWindows& windows;
  HBITMAP banner = nullptr;
  HBRUSH sharedBrush = nullptr;
};

// Deletes the shared brush, if any, and forgets it.
void DeleteSharedBrush(Painter& painter);
// Replaces the shared brush by a new solid brush of `color` and returns it.
HBRUSH ReplaceSharedBrush(Painter& painter, COLORREF color);

// The main dialog's paint message: the banner bitmap, the banner moved to its place beside it and
// the white strip below the bitmap.
void PaintMainDialog(Painter& painter, HWND dialog);
// The main dialog's owner-drawn items: the tabs and the buttons "&Del", "&Restore" and "&Save".
void DrawMainItem(Painter& painter, const DRAWITEMSTRUCT& item);
// The main dialog's answer to a control-color request (WM_CTLCOLOR*).
HBRUSH MainControlColor(Painter& painter, UINT message, HDC dc, HWND control);

// The pages' owner-drawn buttons.
void DrawPageItem(Painter& painter, const DRAWITEMSTRUCT& item);
// A page's answer to a control-color request.
HBRUSH PageControlColor(Painter& painter, UINT message, HDC dc, HWND control);

// The tab control's background, erased in the dialog's color.
void EraseTabBackground(Painter& painter, HWND tab, HDC dc);

}  // namespace quil
