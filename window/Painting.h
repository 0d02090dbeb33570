// How QuilConfig paints itself in the active scheme's colors: the main dialog's banner, tabs and
// buttons, the pages' owner-drawn buttons (the Colors page's live preview), the tab control's
// background and the answers to the control-color requests.
//
// Every painter follows the shared brush rule: it first deletes the brush that the painter's
// sharedBrush holds, then creates the brush it needs into sharedBrush. A brush handed back for a
// control-color request so stays valid until the next painter runs, and at most one such brush
// exists at a time.
#pragma once

#include <string_view>

#include "core/App.h"
#include "files/win32/Win32.h"
#include "window/Win32Ports.h"

namespace quil {

// The DPI for which the painting's pixel measures are given; at any other DPI they are scaled.
inline constexpr int kBaseDpi = USER_DEFAULT_SCREEN_DPI;

// What the painters of one dialog share: the scheme's colors and the check boxes they read, the
// dialog's windows (the Colors page's panels have colors of their own), the dialog's DPI and the
// height of the labels' own fonts, the banner picture made for that DPI and the shared brush.
//
// While high contrast is on, the painters use the system's colors (window, text, button face,
// highlight, gray text) in place of the scheme's. The swatches keep their colors, which are what
// they show, with outlines in the system's text color; the banner keeps its look.
//
// An owner-drawn item with the keyboard focus (the buttons, the swatches and the tab strip) shows a
// focus mark inside it, in black or white, whichever stands out more against its fill, unless
// Windows hides the keyboard cues. While it hides them, the labels' access keys are not underlined
// either (the item's state says so).
struct Painter {
  App& app;
  const DialogWindows& windows;
  bool highContrast = false;
  int dpi = kBaseDpi;
  int labelFontHeight = 0;  // see LabelFontHeight; 0, the default height, until it is set
  HBITMAP banner = nullptr;
  HBRUSH sharedBrush = nullptr;
};

// The DPI of `window`, which the painting scales to: the window's own where Windows tells the
// windows of a program apart (Windows 10 version 1607 on), the screen's before.
int WindowDpi(HWND window);
// The DPI that the painting of `dialog` (the main dialog) scales to at window DPI `dpi`: that DPI,
// unless the dialog's font shows smaller than it asks for (a bitmap font has a largest size, and
// the dialog, laid out in that font's units, stays smaller too); then the DPI at which that font
// has the size it shows, so that what the program draws keeps fitting the controls.
int PaintingDpi(HWND dialog, int dpi);
// The cell height of the fonts that the program makes for labels (the status buttons' labels, the
// Colors page's column headers), sized from the font of `window`, a page, as it shows: 16 pixels
// where that font's cells are 13 pixels tall (8 points at 96 DPI), and in proportion otherwise. A
// bitmap font has a largest size, which the labels follow at a DPI that asks for more.
int LabelFontHeight(HWND window);
// Makes the banner picture for the painter's DPI from the program's art, in place of the previous
// one: the art drawn at 96 DPI up to that DPI, the art drawn at twice the size above it, each
// stretched smoothly where the DPI asks for another size.
void MakeBanner(Painter& painter, HINSTANCE instance);
// Deletes the banner picture, if any, and forgets it.
void DeleteBanner(Painter& painter);

// Deletes the shared brush, if any, and forgets it.
void DeleteSharedBrush(Painter& painter);
// Replaces the shared brush by a new solid brush of `color` and returns it.
HBRUSH ReplaceSharedBrush(Painter& painter, COLORREF color);

// The main dialog's paint message: the banner picture and the white strip below it.
void PaintMainDialog(Painter& painter, HWND dialog);
// Moves the banner (the header's text) to its place beside the picture, as wide as the rest of the
// dialog: when the dialog is made, sized, or its picture made for another DPI.
void PlaceBanner(const Painter& painter, HWND dialog);
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

// The focus mark of a check box without text, around which Windows draws no focus: along the
// box's edge, over what Windows drew, while the box has the focus and the cues show.
void DrawBoxFocus(Painter& painter, HWND box);

// Whether the user has turned high contrast on.
bool HighContrastOn();
// The label that the pages' painting gives owner-drawn button `id` in place of its own text;
// empty where it paints the button's text.
std::string_view PaintedLabel(int id);

}  // namespace quil
