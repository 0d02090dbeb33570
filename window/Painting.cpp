// Painting of the main dialog and the pages in the active scheme's colors.
//
// Pixel measures are given for 96 DPI and scaled to the dialog's DPI when drawn, so that at 96 DPI
// the painting is what it always was.
//
// The file, top to bottom:
// - sizes, colors and the drawing helpers every painter uses (scaling, a brush under the shared
//   brush rule, outlines, swatches, panels, labels);
// - the table of the pages' owner-drawn buttons (kButtonLooks), one row per group of buttons, with
//   the rectangles and fonts its rows name;
// - the DPI, the labels' font height and the banner picture;
// - the shared brush;
// - the main dialog: its paint message, its owner-drawn items and its control colors;
// - the pages: their owner-drawn buttons and their control colors;
// - the tab control's background.
#include "window/Painting.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

#include "colors/SchemeColors.h"
#include "core/ControlIds.h"

#include <commctrl.h>

namespace quil {

namespace {

// A control's own text is read into a buffer of this many bytes: at most 39 characters.
constexpr std::size_t kLabelCapacity = 40;
// The rounded rectangles' corner ellipses, in pixels.
constexpr int kCornerEllipse = 10;
// The outlines of swatches, panels and buttons, in pixels.
constexpr int kOutlineWidth = 1;
// The banner picture (the banner bitmap resource), in pixels.
constexpr int kBannerBitmapWidth = 116;
constexpr int kBannerBitmapHeight = 45;
// How far an unselected tab's fill reaches below its rectangle, in pixels.
constexpr int kTabFillBelow = 2;
// The labels' own fonts are this tall (cell height, in pixels) where the pages' font shows cells
// kDialogFontCellHeight tall (8-point MS Sans Serif at 96 DPI).
constexpr int kLabelFontHeight = 16;
constexpr int kDialogFontCellHeight = 13;
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
// Labels: one line, centred both ways; an ampersand underlines the letter after it (see DrawLabel).
constexpr UINT kLabelFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
// The semi-bold weight of a status button's label when its bold box is checked.
constexpr int kStatusBoldWeight = 600;
// The keyboard focus mark: a solid rectangle this far inside the item, as wide as an outline.
constexpr int kFocusMarkInset = 2;

std::string WindowText(HWND window, std::size_t capacity) {
  std::string text(capacity, '\0');
  const int length = GetWindowTextA(window, text.data(), static_cast<int>(capacity));
  text.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
  return text;
}

// A pixel measure given for 96 DPI, at the painter's DPI.
int Scaled(const Painter& painter, int pixels) {
  return MulDiv(pixels, painter.dpi, kBaseDpi);
}

SIZE BannerSize(const Painter& painter) {
  return {Scaled(painter, kBannerBitmapWidth), Scaled(painter, kBannerBitmapHeight)};
}

// The button has the focus and is not pressed. The keyboard-cue flags that newer systems add to
// the state (accelerators and focus rectangle hidden) say nothing about either.
bool ExactlyFocused(UINT state) {
  return (state & ~static_cast<UINT>(ODS_NOACCEL | ODS_NOFOCUSRECT)) == ODS_FOCUS;
}

// Whether the focus mark shows on an item that has the focus: not while Windows hides the
// keyboard cues (until the user presses a key, where the user asked for that). The item's state
// says so on systems that pass it on; the control's own cue state says so everywhere.
bool FocusMarkShown(HWND control, UINT state) {
  if (!(state & ODS_FOCUS) || (state & ODS_NOFOCUSRECT)) return false;
  return !(SendMessageA(control, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS);
}

// Black or white, whichever stands out more against `fill`: at least 4.5 to 1 whatever the fill.
COLORREF ContrastingColor(COLORREF fill) {
  return ContrastRatio(fill, kBlack) >= ContrastRatio(fill, kWhite) ? kBlack : kWhite;
}

// A system color, which stands in for the scheme's colors while high contrast is on.
COLORREF System(int index) {
  return GetSysColor(index);
}

// The outlines' color: black, or the system text color in high contrast.
COLORREF OutlineColor(const Painter& painter) {
  return painter.highContrast ? System(COLOR_WINDOWTEXT) : kBlack;
}

// Applies a brush of `color`, under the shared brush rule: created, selected, used by `draw`,
// deselected (the displaced object goes back) and deleted in one go.
template <typename Draw>
void WithBrush(Painter& painter, HDC dc, COLORREF color, Draw draw) {
  const HBRUSH brush = ReplaceSharedBrush(painter, color);
  const HGDIOBJ displaced = SelectObject(dc, brush);
  draw(brush);
  SelectObject(dc, displaced);
  DeleteSharedBrush(painter);
}

// Selects a pen of the outline's width and color, inside the shapes it outlines, for `draw`.
template <typename Draw>
void WithOutline(const Painter& painter, HDC dc, Draw draw, COLORREF color) {
  const HPEN pen = CreatePen(PS_INSIDEFRAME, Scaled(painter, kOutlineWidth), color);
  const HGDIOBJ displaced = SelectObject(dc, pen);
  draw();
  SelectObject(dc, displaced);
  DeleteObject(pen);
}

// A rounded rectangle filled with `color` and outlined.
void DrawRounded(Painter& painter, HDC dc, const RECT& r, COLORREF color) {
  const int corner = Scaled(painter, kCornerEllipse);
  WithBrush(painter, dc, color, [&](HBRUSH) {
    WithOutline(
        painter, dc, [&] { RoundRect(dc, r.left, r.top, r.right, r.bottom, corner, corner); },
        OutlineColor(painter));
  });
}

// The keyboard focus mark `inset` pixels (at 96 DPI) inside `r`, over `fill`: a rectangle in black
// or white, whichever stands out more against the fill.
void DrawFocusMark(const Painter& painter, HDC dc, const RECT& r, COLORREF fill,
                   int insetPixels = kFocusMarkInset) {
  const int inset = Scaled(painter, insetPixels);
  const RECT mark{r.left + inset, r.top + inset, r.right - inset, r.bottom - inset};
  if (mark.right <= mark.left || mark.bottom <= mark.top) return;
  const HGDIOBJ displaced = SelectObject(dc, GetStockObject(NULL_BRUSH));
  WithOutline(
      painter, dc, [&] { Rectangle(dc, mark.left, mark.top, mark.right, mark.bottom); },
      ContrastingColor(fill));
  SelectObject(dc, displaced);
}

// A button's background in `color`: outlined when the button is exactly focused, a plain fill
// otherwise.
void DrawPanel(Painter& painter, HDC dc, const RECT& r, COLORREF color, bool focused) {
  WithBrush(painter, dc, color, [&](HBRUSH brush) {
    if (focused) {
      WithOutline(
          painter, dc, [&] { Rectangle(dc, r.left, r.top, r.right, r.bottom); },
          OutlineColor(painter));
    } else {
      FillRect(dc, &r, brush);
    }
  });
}

// A label of an item in `state`. While Windows hides the access keys (until Alt is pressed, unless
// the user asked to see them always), the label shows without its access marks, as DT_HIDEPREFIX
// draws it; the marks are dropped here because Wine's DrawText ignores that flag.
void DrawLabel(HDC dc, std::string_view text, RECT r, COLORREF color, UINT state) {
  SetTextColor(dc, color);
  SetBkMode(dc, TRANSPARENT);
  if (state & ODS_NOACCEL) {
    const std::string plain = WithoutAccessMarks(text);
    DrawTextA(dc, plain.data(), static_cast<int>(plain.size()), &r, kLabelFormat | DT_NOPREFIX);
  } else {
    DrawTextA(dc, text.data(), static_cast<int>(text.size()), &r, kLabelFormat);
  }
}

RECT ClientRect(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  return r;
}

RECT LessRight(RECT r, int pixels) {
  r.right -= pixels;
  return r;
}

// How the pages' owner-drawn buttons look, one row per group of buttons.
enum class Background {
  FocusSwatch,  // a swatch over the item, `edt` when exactly focused and `border` otherwise
  Panel,        // a panel fill in `backgroundEntry`
};
enum class SwatchPlace {
  None,
  Status,      // right - 20, top, right, bottom
  Inset,       // right - 40, top + 5, right - 5, bottom - 5
  TextColors,  // right - 30, top + 2, right - 2, bottom - 2
};
enum class LabelFont { Control, Status };
enum class LabelArea { Item, Client, ClientLess25, ClientLess45, ItemLess35 };
// In place of an entry: the entry that the button edits.
constexpr int kOwnEntry = -1;

struct ButtonLook {
  int first;  // the group's identifiers, first to last
  int last;
  Background background;
  int backgroundEntry;
  SwatchPlace swatch;
  int swatchEntry;
  std::string_view label;  // empty: the control's own text
  int labelEntry;
  LabelFont font;
  LabelArea area;
};

// clang-format off
constexpr std::array<ButtonLook, 13> kButtonLooks{{
    {kHideSchemeButton, kDeleteSchemeButton, Background::FocusSwatch, 0, SwatchPlace::None, 0, {},
     tp, LabelFont::Control, LabelArea::Item},
    {kRedrawButton, kRedrawButton, Background::FocusSwatch, 0, SwatchPlace::None, 0, {},
     tp, LabelFont::Control, LabelArea::Item},
    {kDeletePluginsButton, kHidePluginsButton, Background::FocusSwatch, 0, SwatchPlace::None, 0, {},
     tp, LabelFont::Control, LabelArea::Item},
    {kChooseImageButton, kShowImageButton, Background::FocusSwatch, 0, SwatchPlace::None, 0, {},
     tp, LabelFont::Control, LabelArea::Item},
    {ColorButtonOf(disp), ColorButtonOf(disp), Background::Panel, disp, SwatchPlace::None, 0, {},
     online, LabelFont::Control, LabelArea::ClientLess25},
    {StatusButton(1), StatusButton(kStatusCount), Background::Panel, disp, SwatchPlace::Status,
     kOwnEntry, {}, kOwnEntry, LabelFont::Status, LabelArea::ClientLess25},
    {ColorButtonOf(highlight), ColorButtonOf(mouseover), Background::Panel, kOwnEntry,
     SwatchPlace::None, 0, {}, disp, LabelFont::Control, LabelArea::Client},
    {ColorButtonOf(displ), ColorButtonOf(console), Background::Panel, kOwnEntry,
     SwatchPlace::None, 0, {}, MsgText, LabelFont::Control, LabelArea::Client},
    {ColorButtonOf(tp), ColorButtonOf(tp), Background::Panel, edt, SwatchPlace::Inset, tp,
     "Titles", tp, LabelFont::Control, LabelArea::ClientLess45},
    {ColorButtonOf(bgtpl), ColorButtonOf(bgtpl), Background::Panel, bgtpl, SwatchPlace::None, 0,
     "Template Window", fgtpl, LabelFont::Control, LabelArea::ClientLess45},
    {ColorButtonOf(fgtpl), ColorButtonOf(fgtpl), Background::Panel, bgtpl, SwatchPlace::Inset,
     fgtpl, "Template Text", fgtpl, LabelFont::Control, LabelArea::ClientLess45},
    {ColorButtonOf(editfg), ColorButtonOf(editfg), Background::Panel, edt, SwatchPlace::Inset,
     editfg, "Nicklist/Editbox Text", editfg, LabelFont::Control, LabelArea::ClientLess45},
    {ColorButtonOf(MsgNick), ColorButtonOf(MsgNotices), Background::Panel, displ,
     SwatchPlace::TextColors, kOwnEntry, {}, kOwnEntry, LabelFont::Control, LabelArea::ItemLess35},
}};
// clang-format on

const ButtonLook* FindButtonLook(int id) {
  for (const ButtonLook& look : kButtonLooks) {
    if (id >= look.first && id <= look.last) return &look;
  }
  return nullptr;
}

RECT SwatchRect(const Painter& painter, SwatchPlace place, const RECT& r) {
  const auto s = [&](int pixels) { return Scaled(painter, pixels); };
  switch (place) {
    case SwatchPlace::Status:
      return {r.right - s(20), r.top, r.right, r.bottom};
    case SwatchPlace::Inset:
      return {r.right - s(40), r.top + s(5), r.right - s(5), r.bottom - s(5)};
    case SwatchPlace::TextColors:
      return {r.right - s(30), r.top + s(2), r.right - s(2), r.bottom - s(2)};
    case SwatchPlace::None:
      break;
  }
  return {};
}

RECT LabelRect(const Painter& painter, LabelArea area, const DRAWITEMSTRUCT& item) {
  switch (area) {
    case LabelArea::Item:
      return item.rcItem;
    case LabelArea::Client:
      return ClientRect(item.hwndItem);
    case LabelArea::ClientLess25:
      return LessRight(ClientRect(item.hwndItem), Scaled(painter, 25));
    case LabelArea::ClientLess45:
      return LessRight(ClientRect(item.hwndItem), Scaled(painter, 45));
    case LabelArea::ItemLess35:
      return LessRight(item.rcItem, Scaled(painter, 35));
  }
  return item.rcItem;
}

// The font of a status button's label for this paint: the labels' height, the default face,
// semi-bold and italic as its two check boxes say.
HFONT CreateStatusFont(const Painter& painter, int buttonId) {
  const int k = StatusOfButton(buttonId);
  const bool bold = painter.app.controls.IsChecked(Page::Colors, BoldStatusBox(k));
  const bool italic = painter.app.controls.IsChecked(Page::Colors, ItalicStatusBox(k));
  return CreateFontA(painter.labelFontHeight, 0, 0, 0, bold ? kStatusBoldWeight : FW_DONTCARE,
                     italic ? TRUE : FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, nullptr);
}

bool IsColorsPageControl(const Painter& painter, HWND control) {
  const HWND colors = painter.windows.Of(Page::Colors);
  return colors && GetParent(control) == colors;
}

}  // namespace

int WindowDpi(HWND window) {
  // Looked up rather than imported, so that the program still starts where it is missing.
  using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
  const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFunction>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
  if (getDpiForWindow) {
    const auto dpi = static_cast<int>(getDpiForWindow(window));
    if (dpi > 0) return dpi;
  }
  const HDC dc = GetDC(window);
  const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(window, dc);
  return dpi > 0 ? dpi : kBaseDpi;
}

// The cell height of the font of `window` as it shows, in pixels; 0 when it cannot be measured.
static int FontCellHeight(HWND window) {
  const auto font = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
  if (!font) return 0;
  const HDC dc = GetDC(window);
  const HGDIOBJ displaced = SelectObject(dc, font);
  TEXTMETRICA metrics{};
  const bool measured = GetTextMetricsA(dc, &metrics) && metrics.tmHeight > 0;
  SelectObject(dc, displaced);
  ReleaseDC(window, dc);
  return measured ? static_cast<int>(metrics.tmHeight) : 0;
}

int PaintingDpi(HWND dialog, int dpi) {
  const int cell = FontCellHeight(dialog);
  return cell > 0 ? std::min(dpi, MulDiv(kBaseDpi, cell, kDialogFontCellHeight)) : dpi;
}

int LabelFontHeight(HWND window) {
  const int cell = FontCellHeight(window);
  return cell > 0 ? MulDiv(kLabelFontHeight, cell, kDialogFontCellHeight) : kLabelFontHeight;
}

void MakeBanner(Painter& painter, HINSTANCE instance) {
  DeleteBanner(painter);
  const SIZE size = BannerSize(painter);
  const int resource = painter.dpi > kBaseDpi ? kBanner2xBitmapResource : kBannerBitmapResource;
  const auto art = static_cast<HBITMAP>(
      LoadImageA(instance, MAKEINTRESOURCEA(resource), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
  BITMAP artSize{};
  if (!art || !GetObjectA(art, sizeof artSize, &artSize) ||
      (artSize.bmWidth == size.cx && artSize.bmHeight == size.cy)) {
    painter.banner = art;
    return;
  }
  const HDC screen = GetDC(nullptr);
  const HDC from = CreateCompatibleDC(screen);
  const HDC to = CreateCompatibleDC(screen);
  painter.banner = CreateCompatibleBitmap(screen, size.cx, size.cy);
  const HGDIOBJ displacedFrom = SelectObject(from, art);
  const HGDIOBJ displacedTo = SelectObject(to, painter.banner);
  // Each pixel of the picture blends the pixels of the art it covers.
  SetStretchBltMode(to, HALFTONE);
  SetBrushOrgEx(to, 0, 0, nullptr);
  StretchBlt(to, 0, 0, size.cx, size.cy, from, 0, 0, artSize.bmWidth, artSize.bmHeight, SRCCOPY);
  SelectObject(to, displacedTo);
  SelectObject(from, displacedFrom);
  DeleteDC(to);
  DeleteDC(from);
  ReleaseDC(nullptr, screen);
  DeleteObject(art);
}

void DeleteBanner(Painter& painter) {
  if (painter.banner) DeleteObject(painter.banner);
  painter.banner = nullptr;
}

void DeleteSharedBrush(Painter& painter) {
  if (painter.sharedBrush) DeleteObject(painter.sharedBrush);
  // Forgotten at once: a deleted handle's value may soon name another object.
  painter.sharedBrush = nullptr;
}

HBRUSH ReplaceSharedBrush(Painter& painter, COLORREF color) {
  DeleteSharedBrush(painter);
  painter.sharedBrush = CreateSolidBrush(color);
  return painter.sharedBrush;
}

void PaintMainDialog(Painter& painter, HWND dialog) {
  DeleteSharedBrush(painter);
  PAINTSTRUCT paint{};
  const HDC dc = BeginPaint(dialog, &paint);

  const SIZE picture = BannerSize(painter);
  const HDC memory = CreateCompatibleDC(dc);
  const HGDIOBJ displaced = SelectObject(memory, painter.banner);
  BitBlt(dc, 0, 0, picture.cx, picture.cy, memory, 0, 0, SRCCOPY);
  SelectObject(memory, displaced);
  DeleteDC(memory);

  const LONG height = std::max(ClientRect(GetDlgItem(dialog, kBanner)).bottom, picture.cy);
  const RECT strip{0, picture.cy, picture.cx, height};
  if (strip.bottom > strip.top) FillRect(dc, &strip, ReplaceSharedBrush(painter, kWhite));
  EndPaint(dialog, &paint);
}

void PlaceBanner(const Painter& painter, HWND dialog) {
  // The banner fills the rest of the header's width, so it stretches with the dialog.
  const SIZE picture = BannerSize(painter);
  const RECT client = ClientRect(dialog);
  const HWND banner = GetDlgItem(dialog, kBanner);
  const LONG height = std::max(ClientRect(banner).bottom, picture.cy);
  const LONG width = std::max(client.right - picture.cx, LONG{0});
  SetWindowPos(banner, nullptr, picture.cx, 0, width, height,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void DrawMainItem(Painter& painter, const DRAWITEMSTRUCT& item) {
  const SchemeColors& c = painter.app.colors;
  const bool hc = painter.highContrast;
  DeleteSharedBrush(painter);
  if (item.CtlType == ODT_TAB) {
    const auto index = static_cast<int>(item.itemID);
    const HWND tab = item.hwndItem;
    const auto selected = static_cast<int>(SendMessageA(tab, TCM_GETCURSEL, 0, 0));
    RECT r = item.rcItem;
    COLORREF fill = 0;
    COLORREF text = 0;
    if (index == selected) {
      fill = hc ? System(COLOR_HIGHLIGHT) : c[edt];
      text = hc ? System(COLOR_HIGHLIGHTTEXT) : c[tp];
    } else {
      r.bottom += Scaled(painter, kTabFillBelow);
      fill = hc ? System(COLOR_BTNFACE) : c[border];
      text = hc ? System(COLOR_BTNTEXT) : c[tp];
    }
    FillRect(item.hDC, &r, ReplaceSharedBrush(painter, fill));
    if (index >= 0 && index < static_cast<int>(kPages.size())) {
      DrawLabel(item.hDC, WithoutAccessMarks(kPages[static_cast<std::size_t>(index)].tabText), r,
                text, item.itemState);
    }
    // The tab control tells its owner nothing about its focus: the strip has the focus, and the
    // tab with it is this one.
    const bool focus = GetFocus() == tab && SendMessageA(tab, TCM_GETCURFOCUS, 0, 0) == index;
    if (FocusMarkShown(tab, focus ? ODS_FOCUS : 0)) {
      DrawFocusMark(painter, item.hDC, item.rcItem, fill);
    }
    return;
  }
  const int id = static_cast<int>(item.CtlID);
  if (id != kDeleteProfileButton && id != kRestoreButton && id != kSaveButton) return;
  // "&Del" is the other way round from "&Restore" and "&Save".
  const bool focused = ExactlyFocused(item.itemState);
  const bool inBorder = (id == kDeleteProfileButton) == focused;
  const RECT& r = item.rcItem;
  const COLORREF fill = hc ? System(COLOR_BTNFACE) : inBorder ? c[border] : c[edt];
  DrawRounded(painter, item.hDC, r, fill);
  DrawLabel(item.hDC, WindowText(item.hwndItem, kLabelCapacity), r,
            hc ? System((item.itemState & ODS_DISABLED) ? COLOR_GRAYTEXT : COLOR_BTNTEXT) : c[tp],
            item.itemState);
  if (FocusMarkShown(item.hwndItem, item.itemState)) DrawFocusMark(painter, item.hDC, r, fill);
}

// Every edit field of the dialog and its pages: text in tp on WinEdt, brush edt; in high contrast
// the system's window text on its window color.
static HBRUSH EditFieldColors(Painter& painter, HDC dc) {
  const SchemeColors& c = painter.app.colors;
  const bool hc = painter.highContrast;
  SetTextColor(dc, hc ? System(COLOR_WINDOWTEXT) : c[tp]);
  SetBkColor(dc, hc ? System(COLOR_WINDOW) : c[WinEdt]);
  return ReplaceSharedBrush(painter, hc ? System(COLOR_WINDOW) : c[edt]);
}

// In high contrast every other control-color request gets the system's window text on its window
// color; only the banner keeps its black on white.
static HBRUSH HighContrastColors(Painter& painter, UINT message, HDC dc) {
  if (message == WM_CTLCOLOREDIT) return EditFieldColors(painter, dc);
  if (message != WM_CTLCOLORBTN && message != WM_CTLCOLORDLG && message != WM_CTLCOLORSTATIC) {
    return nullptr;
  }
  SetTextColor(dc, System(COLOR_WINDOWTEXT));
  SetBkColor(dc, System(COLOR_WINDOW));
  SetBkMode(dc, TRANSPARENT);
  return ReplaceSharedBrush(painter, System(COLOR_WINDOW));
}

HBRUSH MainControlColor(Painter& painter, UINT message, HDC dc, HWND control) {
  const SchemeColors& c = painter.app.colors;
  DeleteSharedBrush(painter);
  const bool banner = message == WM_CTLCOLORSTATIC && GetDlgCtrlID(control) == kBanner;
  if (painter.highContrast && !banner) return HighContrastColors(painter, message, dc);
  switch (message) {
    case WM_CTLCOLOREDIT:
      return EditFieldColors(painter, dc);
    case WM_CTLCOLORBTN:
      return ReplaceSharedBrush(painter,
                                GetDlgCtrlID(control) == kDeleteProfileButton ? c[border] : c[edt]);
    case WM_CTLCOLORDLG:
      return ReplaceSharedBrush(painter, c[edt]);
    case WM_CTLCOLORSTATIC:
      SetBkMode(dc, TRANSPARENT);
      if (banner) {
        SetTextColor(dc, kBlack);
        return ReplaceSharedBrush(painter, kWhite);
      }
      SetTextColor(dc, c[tp]);
      return ReplaceSharedBrush(painter, c[border]);
    default:
      return nullptr;  // the profile box's drop-down list keeps the system's colors
  }
}

void DrawPageItem(Painter& painter, const DRAWITEMSTRUCT& item) {
  const SchemeColors& c = painter.app.colors;
  const bool hc = painter.highContrast;
  const int id = static_cast<int>(item.CtlID);
  const ButtonLook* look = item.CtlType == ODT_BUTTON ? FindButtonLook(id) : nullptr;
  if (!look) return;
  const auto button = FindColorButton(id);
  const auto color = [&](int entry) {
    return entry == kOwnEntry ? (button ? c[button->entry] : 0) : c[entry];
  };
  const HDC dc = item.hDC;
  const bool focused = ExactlyFocused(item.itemState);

  // In high contrast a button shows the system's button colors, except where its whole face is the
  // color it edits: that face keeps its color, with a label in black or white.
  const bool faceIsItsColor =
      look->background == Background::Panel &&
      (look->backgroundEntry == kOwnEntry || (button && look->backgroundEntry == button->entry));
  COLORREF fill = 0;
  COLORREF text = color(look->labelEntry);
  if (look->background == Background::FocusSwatch) {
    fill = hc ? System(COLOR_BTNFACE) : focused ? c[edt] : c[border];
    DrawRounded(painter, dc, item.rcItem, fill);
  } else {
    fill = hc && !faceIsItsColor ? System(COLOR_BTNFACE) : color(look->backgroundEntry);
    DrawPanel(painter, dc, item.rcItem, fill, focused || (hc && faceIsItsColor));
  }
  if (hc) {
    text = faceIsItsColor ? ContrastingColor(fill) : System(COLOR_BTNTEXT);
    if (item.itemState & ODS_DISABLED) text = System(COLOR_GRAYTEXT);
  }
  if (look->swatch != SwatchPlace::None) {
    DrawRounded(painter, dc, SwatchRect(painter, look->swatch, item.rcItem),
                color(look->swatchEntry));
  }

  const std::string label =
      look->label.empty() ? WindowText(item.hwndItem, kLabelCapacity) : std::string(look->label);
  const RECT area = LabelRect(painter, look->area, item);
  if (look->font == LabelFont::Status) {
    const HFONT font = CreateStatusFont(painter, id);
    const HGDIOBJ displaced = SelectObject(dc, font);
    DrawLabel(dc, label, area, text, item.itemState);
    SelectObject(dc, displaced);
    DeleteObject(font);
  } else {
    DrawLabel(dc, label, area, text, item.itemState);
  }
  if (FocusMarkShown(item.hwndItem, item.itemState)) {
    // Around the label, clear of the swatch.
    RECT mark = item.rcItem;
    mark.right = std::min(mark.right, area.right);
    DrawFocusMark(painter, dc, mark, fill);
  }
}

HBRUSH PageControlColor(Painter& painter, UINT message, HDC dc, HWND control) {
  const SchemeColors& c = painter.app.colors;
  DeleteSharedBrush(painter);
  if (painter.highContrast) return HighContrastColors(painter, message, dc);
  switch (message) {
    case WM_CTLCOLOREDIT:
      return EditFieldColors(painter, dc);
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
      return ReplaceSharedBrush(painter, c[edt]);
    case WM_CTLCOLORSTATIC:
      break;
    default:
      return nullptr;  // the plugin list and the scheme box's list keep the system's colors
  }
  if (IsColorsPageControl(painter, control)) {
    const int id = GetDlgCtrlID(control);
    if (id == kContactListPanel || StatusOfBox(id)) return ReplaceSharedBrush(painter, c[disp]);
    if (id == kMiscWindowsPanel) return ReplaceSharedBrush(painter, c[border]);
    if (id == kTextColorsPanel) return ReplaceSharedBrush(painter, c[displ]);
    if (id == kBoldHeader || id == kItalicHeader) {
      SetTextColor(dc, c[online]);
      SetBkMode(dc, TRANSPARENT);
      return ReplaceSharedBrush(painter, c[disp]);
    }
  }
  SetTextColor(dc, c[tp]);
  SetBkMode(dc, TRANSPARENT);
  return ReplaceSharedBrush(painter, c[edt]);
}

void EraseTabBackground(Painter& painter, HWND tab, HDC dc) {
  const RECT r = ClientRect(tab);
  FillRect(dc, &r,
           ReplaceSharedBrush(
               painter, painter.highContrast ? System(COLOR_WINDOW) : painter.app.colors[edt]));
  DeleteSharedBrush(painter);
}

void DrawBoxFocus(Painter& painter, HWND box) {
  if (GetFocus() != box || !FocusMarkShown(box, ODS_FOCUS)) return;
  const HDC dc = GetDC(box);
  // Over the box's background, in the color its page gives it.
  LOGBRUSH background{};
  const HBRUSH brush = PageControlColor(painter, WM_CTLCOLORSTATIC, dc, box);
  GetObjectA(brush, sizeof background, &background);
  DeleteSharedBrush(painter);
  DrawFocusMark(painter, dc, ClientRect(box), background.lbColor, 0);
  ReleaseDC(box, dc);
}

bool HighContrastOn() {
  HIGHCONTRASTA state{};
  state.cbSize = sizeof state;
  return SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof state, &state, 0) &&
         (state.dwFlags & HCF_HIGHCONTRASTON);
}

std::string_view PaintedLabel(int id) {
  const ButtonLook* look = FindButtonLook(id);
  return look ? look->label : std::string_view{};
}

}  // namespace quil
