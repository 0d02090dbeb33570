// The dialog templates' own layout, read from the program's resources, and a dialog laid out again
// from it at another DPI: what the dialog manager does once, when it makes a dialog, done again
// when the window has moved to a screen of another pixel density.
#pragma once

#include <string>
#include <vector>

#include "files/win32/Win32.h"

namespace quil {

// A rectangle in dialog units, as a template gives it: left, top, width, height.
struct DialogUnits {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// One template: its font, its own rectangle (a page's place in the main dialog) and its
// controls' identifiers and rectangles, in template order.
struct TemplateLayout {
  struct Control {
    int id = 0;
    DialogUnits rect;
  };
  int pointSize = 0;
  int weight = 0;
  bool italic = false;
  int charset = DEFAULT_CHARSET;
  std::wstring face;
  DialogUnits rect;
  std::vector<Control> controls;
};

// Reads extended dialog template `templateId` of `instance`. False, with `layout` untouched, when
// the resource is missing, is no extended template, names no font or ends early.
bool ReadTemplateLayout(HINSTANCE instance, int templateId, TemplateLayout& layout);

// The template's font at `dpi`, as the dialog manager makes it. The caller owns it.
HFONT CreateTemplateFont(const TemplateLayout& layout, int dpi);

// The dialog base units of `font` as the dialog manager measures them: the average width of the
// letters A to Z and a to z, and the cell height.
SIZE DialogBaseUnits(HFONT font);

// `units` in pixels at the base units `base`, as MapDialogRect turns them.
RECT DialogUnitsToPixels(const DialogUnits& units, SIZE base);

// Places the controls of `dialog` (made from `layout`) where the template puts them at the base
// units `base`, and gives each `font`, without drawing them. The controls are the first children
// of the dialog, in template order; it stops at the first that is not the template's next.
void LayOutControls(HWND dialog, const TemplateLayout& layout, SIZE base, HFONT font);

}  // namespace quil
