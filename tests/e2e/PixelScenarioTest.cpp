// End-to-end color checks: the real dialog, copied from the screen, must show the active scheme's
// colors where the program paints them (dialog and tab backgrounds, tabs, buttons, the Colors
// page's preview buttons and header labels), follow a scheme switch, and show a color picked in the
// chooser. The expected colors come from the scratch skin's scheme files, read by the core. At 144
// and 192 DPI the same checks hold, the banner picture fills its area (also after the DPI changes)
// and no label is cut off more than at 96 DPI.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "core/ControlIds.h"
#include "tests/e2e/Scenario.h"

namespace quil::e2e {
namespace {

// How long the screen may take to show what the program painted (a bound: the checks end as soon
// as the screen shows it).
constexpr std::chrono::milliseconds kPaintWait{10000};

// A measure of the painting given in pixels at 96 DPI, at `dpi`.
int Scaled(int pixels, int dpi) {
  return MulDiv(pixels, dpi, 96);
}

// The DPI that the program's painting scales to at `dpi`, by the program's rule: that DPI, or less
// where the dialog's font, 8-point MS Sans Serif, shows smaller than the DPI asks for (its largest
// bitmap size), 96 DPI standing for its 13-pixel cells.
int PaintingDpi(int dpi) {
  const HDC screen = GetDC(nullptr);
  const HFONT font = CreateFontA(-MulDiv(8, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                 DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                 DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "MS Sans Serif");
  const HGDIOBJ displaced = SelectObject(screen, font);
  TEXTMETRICA metrics{};
  GetTextMetricsA(screen, &metrics);
  SelectObject(screen, displaced);
  DeleteObject(font);
  ReleaseDC(nullptr, screen);
  return std::min(dpi, MulDiv(96, metrics.tmHeight, 13));
}

// A region of the dialog and the color it must show: as the color covering most of it (a fill),
// or among its pixels (a label).
struct Look {
  std::string what;
  RECT rect;
  Color color;
  bool fill = true;
};

RECT ClientOnScreen(HWND window) {
  RECT rect{};
  GetClientRect(window, &rect);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

// Checks the looks on screen copies until all hold or the paint wait is over; then reports each
// that does not hold.
void ExpectLooks(const QuilDialog& dialog, const std::vector<Look>& looks,
                 const std::string& when) {
  std::vector<std::string> failures;
  SetForegroundWindow(dialog.Main());
  WaitFor(
      [&] {
        failures.clear();
        const Capture capture = Capture::Of(dialog.Main());
        for (const Look& look : looks) {
          if (look.fill) {
            const auto [color, share] = capture.Dominant(look.rect);
            if (color != look.color) {
              failures.push_back(look.what + ": expected the fill " + ColorText(look.color) +
                                 ", the region shows mostly " + ColorText(color) + " (" +
                                 std::to_string(static_cast<int>(share * 100)) + "%)");
            }
          } else if (capture.Count(look.rect, look.color) < 3) {
            failures.push_back(look.what + ": no pixel of the label color " +
                               ColorText(look.color) + "; the region shows mostly " +
                               ColorText(capture.Dominant(look.rect).first));
          }
        }
        return failures.empty();
      },
      kPaintWait);
  for (const std::string& failure : failures) ADD_FAILURE() << when << ": " << failure;
}

// The main dialog: background, tab area, tabs and its three buttons. `focused` is the button that
// has the focus, 0 for none.
std::vector<Look> MainLooks(const QuilDialog& dialog, const SchemeColors& c, int focused) {
  std::vector<Look> looks;
  const RECT client = ClientOnScreen(dialog.Main());
  const RECT tab = ScreenRect(dialog.Control(Page::Main, kTabControl));
  looks.push_back({"dialog background left of the tabs",
                   {client.left + 1, tab.top + 10, tab.left - 1, tab.bottom - 10},
                   c[edt]});
  const int selected = dialog.CurrentTab();
  for (int i = 0; i < 3; ++i) {
    const auto item = dialog.TabRect(i);
    if (!item) {
      looks.push_back({"tab " + std::to_string(i) + " has no rectangle", {}, c[edt]});
      continue;
    }
    looks.push_back({"tab " + std::to_string(i) + (i == selected ? " (selected)" : ""),
                     Inset(*item, 4, 3), i == selected ? c[edt] : c[border]});
    if (i == 2) {
      looks.push_back({"tab control background right of the tabs",
                       {item->right + 6, item->top + 3, tab.right - 6, item->bottom - 3},
                       c[edt]});
    }
  }
  // "&Del" is drawn the other way round from "&Restore" and "&Save".
  const struct {
    int id;
    const char* name;
    bool inverse;
  } buttons[] = {{kRestoreButton, "&Restore", false},
                 {kSaveButton, "&Save", false},
                 {kDeleteProfileButton, "&Del", true}};
  for (const auto& b : buttons) {
    const bool isFocused = b.id == focused;
    const bool bordered = isFocused == b.inverse;
    looks.push_back({std::string(b.name) + (isFocused ? " (focused)" : ""),
                     Inset(ScreenRect(dialog.Control(Page::Main, b.id)), 4, 4),
                     bordered ? c[border] : c[edt]});
  }
  return looks;
}

// Where a color button shows its entry beside its panel fill, relative to its rectangle.
enum class Swatch { None, Status, Window, Text };

struct ColorsPageButton {
  int id;
  int panel;
  Swatch swatch;
  int swatchEntry;
};

// The Colors page's preview buttons: the panel fill each shows and the entry its swatch shows.
constexpr ColorsPageButton kPreviewButtons[] = {
    {1100, disp, Swatch::None, 0},
    {1101, disp, Swatch::Status, online},
    {1102, disp, Swatch::Status, ltgrey},
    {1103, disp, Swatch::Status, bright},
    {1104, disp, Swatch::Status, attn},
    {1105, disp, Swatch::Status, grey},
    {1106, highlight, Swatch::None, 0},
    {1107, mouseover, Swatch::None, 0},
    {1160, edt, Swatch::Window, tp},
    {1109, bgtpl, Swatch::None, 0},
    {1108, bgtpl, Swatch::Window, fgtpl},
    {1161, displ, Swatch::None, 0},
    {1162, chan, Swatch::None, 0},
    {1163, console, Swatch::None, 0},
    {1164, edt, Swatch::Window, editfg},
    {1200, displ, Swatch::Text, MsgNick},
    {1201, displ, Swatch::Text, MsgMyNick},
    {1202, displ, Swatch::Text, MsgText},
    {1203, displ, Swatch::Text, MsgMyText},
    {1204, displ, Swatch::Text, MsgAction},
    {1205, displ, Swatch::Text, MsgMyAction},
    {1206, displ, Swatch::Text, MsgLinks},
    {1208, displ, Swatch::Text, MsgErrors},
    {1209, displ, Swatch::Text, MsgServer},
    {1210, displ, Swatch::Text, MsgTopic},
    {1211, displ, Swatch::Text, MsgModes},
    {1212, displ, Swatch::Text, MsgAutoHistory},
    {1213, displ, Swatch::Text, MsgNotices},
};

// The swatch's rectangle inside a button's rectangle at `dpi`, less its outline and rounded
// corners.
RECT SwatchRect(Swatch swatch, const RECT& b, int dpi) {
  const auto s = [dpi](int pixels) { return Scaled(pixels, dpi); };
  switch (swatch) {
    case Swatch::Status:
      return Inset({b.right - s(20), b.top, b.right, b.bottom}, s(4), s(4));
    case Swatch::Window:
      return Inset({b.right - s(40), b.top + s(5), b.right - s(5), b.bottom - s(5)}, s(4), s(2));
    case Swatch::Text:
      return Inset({b.right - s(30), b.top + s(2), b.right - s(2), b.bottom - s(2)}, s(4), s(3));
    case Swatch::None:
      break;
  }
  return b;
}

std::vector<Look> ColorsPageLooks(const QuilDialog& dialog, const SchemeColors& c, int dpi = 96) {
  std::vector<Look> looks;
  for (const ColorsPageButton& button : kPreviewButtons) {
    const RECT r = ScreenRect(dialog.Control(Page::Colors, button.id));
    const std::string name = "button " + std::to_string(button.id);
    RECT panel = Inset(r, 2, 2);
    if (button.swatch != Swatch::None) {
      const RECT swatch = SwatchRect(button.swatch, r, dpi);
      panel.right = swatch.left - 6;
      looks.push_back({name + " swatch", swatch, c[button.swatchEntry]});
    }
    looks.push_back({name + " panel", panel, c[button.panel]});
  }
  for (const int label : {1043, 1044}) {
    const RECT r = ScreenRect(dialog.Control(Page::Colors, label));
    const std::string name = "header label " + std::to_string(label);
    looks.push_back({name + " background", r, c[disp]});
    looks.push_back({name + " text", r, c[online], false});
  }
  return looks;
}

std::vector<Look> AllLooks(const QuilDialog& dialog, const SchemeColors& c, int focused,
                           int dpi = 96) {
  std::vector<Look> looks = MainLooks(dialog, c, focused);
  const std::vector<Look> page = ColorsPageLooks(dialog, c, dpi);
  looks.insert(looks.end(), page.begin(), page.end());
  return looks;
}

int LineOf(const std::vector<std::string>& lines, std::string_view text) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i] == text) return static_cast<int>(i);
  }
  return -1;
}

class E2EPixels : public Scenario {};

TEST_F(E2EPixels, DialogPaintsInTheActiveSchemeAndFollowsASwitch) {
  QuilDialog* dialog = Start();
  ASSERT_TRUE(dialog);
  const SchemeColors green = SchemeOnDisk("green");
  const SchemeColors blue = SchemeOnDisk("Blue");
  const SchemeColors aqua = SchemeOnDisk("aqua");
  // The checks below can only see a switch between schemes that differ where they look.
  for (const int entry : {edt, border, disp, online, displ, tp}) {
    ASSERT_NE(green[entry], blue[entry]) << EntryName(entry);
    ASSERT_NE(blue[entry], aqua[entry]) << EntryName(entry);
  }

  dialog->Focus(Page::Main, kProfileBox);
  ExpectLooks(*dialog, MainLooks(*dialog, green, 0), "green, General page");
  dialog->Focus(Page::Main, kSaveButton);
  ExpectLooks(*dialog, MainLooks(*dialog, green, kSaveButton), "green, Save focused");

  // Another page shown leaves the focus where it is, outside the pages.
  dialog->ShowTab(1);
  ExpectLooks(*dialog, AllLooks(*dialog, green, kSaveButton), "green, Colors page");

  dialog->Type(Page::Colors, kSchemeBox, "Blue");
  dialog->PressEnter(Page::Colors, kSchemeBox);
  EXPECT_EQ(dialog->ComboText(Page::Colors, kSchemeBox), "Blue");
  ExpectLooks(*dialog, AllLooks(*dialog, blue, 0), "Blue typed");

  const int aquaLine = LineOf(dialog->ComboLines(Page::Colors, kSchemeBox), "aqua");
  ASSERT_GE(aquaLine, 0);
  dialog->Pick(Page::Colors, kSchemeBox, aquaLine);
  EXPECT_EQ(dialog->ComboText(Page::Colors, kSchemeBox), "aqua");
  ExpectLooks(*dialog, AllLooks(*dialog, aqua, 0), "aqua picked");
  EXPECT_EQ(dialog->Text(Page::General, kImageLabel), "Quil.bmp");

  dialog->Click(Page::Main, kSaveButton);
  Answer("Are you sure you want to overwrite the '(default)' profile?", IDYES);
  EXPECT_NE(Read("config.dtd").find("<!ENTITY % color \"aqua\">"), std::string::npos)
      << Read("config.dtd");
  CloseAndExpectExit(0);
}

// Closes the color chooser with OK or Cancel.
bool CloseChooser(HWND chooser, int button) {
  PostMessageW(GetDlgItem(chooser, button), BM_CLICK, 0, 0);
  return WaitFor([&] { return !IsWindow(chooser) || !IsWindowVisible(chooser); });
}

TEST_F(E2EPixels, ColorChooserCancelledThenConfirmedAndSaved) {
  QuilDialog* dialog = Start();
  ASSERT_TRUE(dialog);
  dialog->ShowTab(1);
  const SchemeColors before = SchemeOnDisk("green");
  const std::string save = "Are you sure you want to overwrite the '(default)' profile?";

  // Cancel keeps the color but marks colors.dtd for the next Save.
  dialog->Click(Page::Colors, 1101);
  HWND chooser = process_->WaitTopLevel(kChooserTitle);
  ASSERT_TRUE(chooser) << "the color chooser did not open";
  ASSERT_TRUE(CloseChooser(chooser, IDCANCEL));
  dialog->Sync();
  dialog->Click(Page::Main, kSaveButton);
  Answer(save, IDYES);
  EXPECT_TRUE(Exists("mods/green/colors.dtd.bak"));
  EXPECT_FALSE(Exists("mods/green/colors.ini.bak")) << "no text color was chosen";
  EXPECT_EQ(SchemeOnDisk("green").entries, before.entries);

  // A confirmed color shows on its button at once and is saved.
  const Color chosen = RGB(12, 34, 56);
  ASSERT_NE(before[online], chosen);
  dialog->Click(Page::Colors, 1101);
  chooser = process_->WaitTopLevel(kChooserTitle);
  ASSERT_TRUE(chooser) << "the color chooser did not open again";
  ASSERT_TRUE(SetChooserColor(chooser, chosen)) << "the chooser has no red, green, blue fields";
  ASSERT_TRUE(CloseChooser(chooser, IDOK));
  dialog->Sync();
  SchemeColors expected = before;
  expected[online] = chosen;
  ExpectLooks(*dialog, ColorsPageLooks(*dialog, expected), "after choosing Online");
  dialog->Click(Page::Main, kSaveButton);
  Answer(save, IDYES);
  EXPECT_EQ(SchemeOnDisk("green").entries, expected.entries);

  // A text color, even cancelled, makes Save write colors.ini.
  dialog->Click(Page::Colors, 1202);
  chooser = process_->WaitTopLevel(kChooserTitle);
  ASSERT_TRUE(chooser);
  ASSERT_TRUE(CloseChooser(chooser, IDCANCEL));
  dialog->Sync();
  dialog->Click(Page::Main, kSaveButton);
  Answer(save, IDYES);
  EXPECT_TRUE(Exists("mods/green/colors.ini.bak"));
  // colors.ini carries the server messages' color in the line that is read as MsgPutinfo.
  expected[MsgPutinfo] = expected[MsgServer];
  EXPECT_EQ(SchemeOnDisk("green").entries, expected.entries);
  CloseAndExpectExit(0);
}

// The banner picture covers the top left corner of the dialog at its size for `dpi` (116 by 45
// pixels at 96 DPI): the band along its foot runs from dark blue at its left edge to gold at its
// right edge, the banner's white continues to its right, and no band shows below it.
void ExpectBannerFills(const QuilDialog& dialog, int dpi) {
  const RECT client = ClientOnScreen(dialog.Main());
  const int right = client.left + Scaled(116, dpi);
  const int foot = client.top + Scaled(45, dpi) - Scaled(2, dpi);
  // The band's colors as resources/make_art.py draws them.
  const COLORREF blue = RGB(16, 40, 120);
  const COLORREF gold = RGB(255, 220, 90);
  struct Spot {
    const char* what;
    int x;
    int y;
    COLORREF color;
    bool same;  // the spot shows the color, or shows anything but it
  };
  const Spot spots[] = {
      {"the band's left end", client.left + 1, foot, blue, true},
      {"the band's right end", right - 2, foot, gold, true},
      {"the banner right of the picture", right + 1, foot, RGB(255, 255, 255), true},
      {"below the picture", client.left + 1, client.top + Scaled(45, dpi) + 1, blue, false},
  };
  // The picture is stretched smoothly: its colors come within this much of the art's.
  const auto similar = [](COLORREF a, COLORREF b) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= 40 &&
           std::abs(GetGValue(a) - GetGValue(b)) <= 40 &&
           std::abs(GetBValue(a) - GetBValue(b)) <= 40;
  };
  std::vector<std::string> failures;
  WaitFor(
      [&] {
        failures.clear();
        const Capture capture = Capture::Of(dialog.Main());
        for (const Spot& spot : spots) {
          const COLORREF shown = capture.At(spot.x, spot.y);
          if (similar(shown, spot.color) != spot.same) {
            failures.push_back(std::string(spot.what) + " shows " + ColorText(shown) +
                               (spot.same ? ", expected about " : ", expected other than ") +
                               ColorText(spot.color));
          }
        }
        return failures.empty();
      },
      kPaintWait);
  for (const std::string& failure : failures) ADD_FAILURE() << dpi << " DPI, banner: " << failure;
}

// Where a label's text shows that it is cut off: the edges of its room that a text too long for
// the room reaches. A centered or right-aligned line reaches the left edge, a left-aligned line the
// right edge (in the middle third of the room's height, where a line's letters are and a button's
// rounded corners are not), wrapped lines the bottom edge.
enum Edge : unsigned { kLeftEdge = 1, kRightEdge = 2, kBottomEdge = 4 };

struct Label {
  std::string name;  // page and text
  RECT room;         // on the screen
  unsigned edges;
  // Rows at the top and bottom of the room that its side edges are not judged in: a painted
  // button's rounded corners reach into a low button's middle third.
  int corners = 0;
};

std::string PageName(Page page) {
  switch (page) {
    case Page::Main:
      return "main";
    case Page::General:
      return "General";
    case Page::Colors:
      return "Colors";
    case Page::Plugins:
      return "Plugins";
  }
  return "?";
}

// The labels of a page, or of the main dialog with its tabs: statics, check boxes, radio buttons
// and owner-drawn buttons that have a text. Owner-drawn labels are centered; their room is the
// button less its outline, a tab's the tab less its frame. Group boxes are left out: their frame
// runs through the edges of their room.
std::vector<Label> LabelsOf(const QuilDialog& dialog, Page page, int dpi) {
  std::vector<Label> labels;
  constexpr int kTabFrame = 2;
  for (HWND child = GetWindow(dialog.PageWindow(page), GW_CHILD); child;
       child = GetWindow(child, GW_HWNDNEXT)) {
    const std::string text = WindowText(child);
    if (text.empty() || !IsWindowVisible(child)) continue;
    const std::string kind = ClassOf(child);
    const auto style = static_cast<DWORD>(GetWindowLongA(child, GWL_STYLE));
    RECT room = ClientOnScreen(child);
    unsigned edges = 0;
    int corners = 0;
    if (kind == "Static") {
      const DWORD align = style & SS_TYPEMASK;
      if (align != SS_LEFT && align != SS_CENTER && align != SS_RIGHT) continue;
      if (!(style & SS_CENTERIMAGE)) {
        edges = kBottomEdge | (align == SS_CENTER ? kLeftEdge : 0u);
      } else {
        edges = align == SS_LEFT ? kRightEdge : kLeftEdge;
      }
    } else if (kind == "Button") {
      const DWORD type = style & BS_TYPEMASK;
      if (type == BS_OWNERDRAW) {
        edges = kLeftEdge;
        room = Inset(room, Scaled(1, dpi), 0);
        corners = Scaled(5, dpi);  // half the corners' 10-pixel ellipse
      } else if (type == BS_AUTOCHECKBOX || type == BS_AUTORADIOBUTTON) {
        edges = kRightEdge;
      } else {
        continue;
      }
    } else {
      continue;
    }
    labels.push_back({PageName(page) + " \"" + text + "\"", room, edges, corners});
  }
  if (page == Page::Main) {
    for (int i = 0; i < dialog.TabCount(); ++i) {
      if (const auto tab = dialog.TabRect(i)) {
        labels.push_back({"tab " + std::to_string(i), Inset(*tab, kTabFrame, 0), kLeftEdge});
      }
    }
  }
  return labels;
}

// Labels whose text reaches an edge of its room at 96 DPI, where the templates give them no more
// room than their text needs: "Use &Profile:" fills its one line, the hint beside the profile box
// its two (the descender of its last "p" on the bottom row), the header "B" its column with its
// underline; two are cut off by their templates, in MS Sans Serif as on Windows; "Recent Online",
// semi-bold, is cut off in the platform's default face, which under Wine is wider than the
// templates' font.
const std::set<std::string> kReachingAt96 = {
    "main \"Use &Profile:\"",
    "main \"Type a new name in the box to create a new profile\"",
    "General \"Show medium icons in container\"",
    "General \"Min container height (>170)\"",
    "Colors \"B\"",
    "Colors \"Recent Online\"",
};
// Labels that the templates cut off above 96 DPI only: MS Sans Serif's larger bitmap sizes are
// wider, against its dialog units, than its 8-point size at 96 DPI, and "System fonts" wraps.
const std::set<std::string> kReachingAbove96 = {
    "General \"System fonts\"",
};

// No label is cut off more than at 96 DPI: only the labels whose text reaches an edge of its room
// at 96 DPI may do so, and at 96 DPI those do (so that the list stays true).
void ExpectLabelsAsAt96(const QuilDialog& dialog, Page page, int dpi) {
  std::vector<std::string> failures;
  WaitFor(
      [&] {
        failures.clear();
        const Capture capture = Capture::Of(dialog.Main());
        for (const Label& label : LabelsOf(dialog, page, PaintingDpi(dpi))) {
          const RECT& r = label.room;
          const auto [background, share] = capture.Dominant(r);
          if (share >= 1.0) {
            failures.push_back(label.name + " shows no text");
            continue;
          }
          const auto inked = [&](RECT line) {
            return capture.Count(line, background) <
                   (line.right - line.left) * (line.bottom - line.top);
          };
          const LONG third = std::max<LONG>((r.bottom - r.top) / 3, label.corners);
          const LONG top = std::min(r.top + third, (r.top + r.bottom) / 2);
          const LONG bottom = std::max(r.bottom - third, top + 1);
          const bool reaches =
              ((label.edges & kLeftEdge) && inked({r.left, top, r.left + 1, bottom})) ||
              ((label.edges & kRightEdge) && inked({r.right - 1, top, r.right, bottom})) ||
              ((label.edges & kBottomEdge) && inked({r.left, r.bottom - 1, r.right, r.bottom}));
          const bool listed = kReachingAt96.count(label.name) > 0;
          const bool allowed = listed || (dpi > 96 && kReachingAbove96.count(label.name) > 0);
          if (reaches && !allowed) {
            failures.push_back(label.name + " is cut off: its text reaches an edge of its room");
          } else if (!reaches && listed && dpi == 96) {
            failures.push_back(label.name +
                               " is listed as reaching an edge at 96 DPI but does not");
          }
        }
        return failures.empty();
      },
      kPaintWait);
  for (const std::string& failure : failures) {
    ADD_FAILURE() << dpi << " DPI, " << PageName(page) << ": " << failure;
  }
}

// Where each control of the dialog is: the main dialog's client area, then every child of the main
// dialog (the pages among them) and of each page, named by its parent, its place among its
// siblings, its class and identifier, with its rectangle in the main dialog's client coordinates.
struct Place {
  std::string name;
  RECT rect;
};

std::vector<Place> LayoutOf(const QuilDialog& dialog) {
  const HWND main = dialog.Main();
  POINT origin{0, 0};
  ClientToScreen(main, &origin);
  RECT client{};
  GetClientRect(main, &client);
  std::vector<Place> places{{"main client area", client}};
  const auto add = [&](HWND parent, const std::string& where) {
    int index = 0;
    for (HWND child = GetWindow(parent, GW_CHILD); child;
         child = GetWindow(child, GW_HWNDNEXT), ++index) {
      RECT r = ScreenRect(child);
      OffsetRect(&r, -origin.x, -origin.y);
      places.push_back({where + " #" + std::to_string(index) + " " + ClassOf(child) + " " +
                            std::to_string(GetDlgCtrlID(child)),
                        r});
    }
  };
  add(main, "main");
  for (const Page page : {Page::General, Page::Colors, Page::Plugins}) {
    add(dialog.PageWindow(page), PageName(page));
  }
  return places;
}

// The file in which the scaling test at `dpi` keeps the layout of a start at that DPI, for the test
// of a DPI change, which runs in another Wine prefix and cannot start the program at that DPI.
std::filesystem::path LayoutFile(int dpi) {
  return std::filesystem::path(QUIL_LAYOUT_DIR) / ("start-at-" + std::to_string(dpi) + ".txt");
}

void WriteLayout(int dpi, const std::vector<Place>& places) {
  std::ofstream file(LayoutFile(dpi), std::ios::trunc);
  for (const Place& place : places) {
    file << place.rect.left << ' ' << place.rect.top << ' ' << place.rect.right << ' '
         << place.rect.bottom << ' ' << place.name << '\n';
  }
  ASSERT_TRUE(file.good()) << "the layout could not be written to " << LayoutFile(dpi);
}

std::vector<Place> ReadLayout(int dpi) {
  std::vector<Place> places;
  std::ifstream file(LayoutFile(dpi));
  Place place;
  while (file >> place.rect.left >> place.rect.top >> place.rect.right >> place.rect.bottom &&
         std::getline(file >> std::ws, place.name)) {
    places.push_back(place);
  }
  return places;
}

// The differences between two layouts of the same controls: a control missing, or a rectangle
// more than 1 pixel off in any coordinate.
std::vector<std::string> LayoutDifferences(const std::vector<Place>& shown,
                                           const std::vector<Place>& expected) {
  std::vector<std::string> differences;
  if (shown.size() != expected.size()) {
    differences.push_back(std::to_string(shown.size()) + " controls, expected " +
                          std::to_string(expected.size()));
  }
  const auto text = [](const RECT& r) {
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " +
           std::to_string(r.right) + ", " + std::to_string(r.bottom) + ")";
  };
  for (std::size_t i = 0; i < std::min(shown.size(), expected.size()); ++i) {
    const RECT& a = shown[i].rect;
    const RECT& b = expected[i].rect;
    if (shown[i].name != expected[i].name) {
      differences.push_back(shown[i].name + " where " + expected[i].name + " belongs");
    } else if (std::abs(a.left - b.left) > 1 || std::abs(a.top - b.top) > 1 ||
               std::abs(a.right - b.right) > 1 || std::abs(a.bottom - b.bottom) > 1) {
      differences.push_back(shown[i].name + " is at " + text(a) + ", expected " + text(b));
    }
  }
  return differences;
}

// The dialog at the DPI of the Wine prefix that the test runs in: ctest runs each instance in a
// prefix of its own whose LogPixels is the instance's DPI (QUIL_DPI, scripts/lib.sh). Each keeps
// the layout of its start for the DPI change test.
class E2EDpi : public Scenario, public ::testing::WithParamInterface<int> {};

TEST_P(E2EDpi, BannerFillsColorsHoldAndNoLabelIsCutMoreThanAt96) {
  const int dpi = GetParam();
  const HDC screen = GetDC(nullptr);
  const int screenDpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  ASSERT_EQ(screenDpi, dpi) << "the Wine prefix's screen is at " << screenDpi
                            << " DPI: run the test with QUIL_DPI=" << dpi << " (ctest sets it)";
  QuilDialog* dialog = Start();
  ASSERT_TRUE(dialog);
  const SchemeColors green = SchemeOnDisk("green");
  const std::string at = std::to_string(dpi) + " DPI, ";

  WriteLayout(dpi, LayoutOf(*dialog));
  const int painting = PaintingDpi(dpi);
  dialog->Focus(Page::Main, kProfileBox);
  ExpectBannerFills(*dialog, painting);
  ExpectLooks(*dialog, MainLooks(*dialog, green, 0), at + "General page");
  ExpectLabelsAsAt96(*dialog, Page::Main, dpi);
  ExpectLabelsAsAt96(*dialog, Page::General, dpi);
  dialog->ShowTab(1);
  ExpectLooks(*dialog, AllLooks(*dialog, green, 0, painting), at + "Colors page");
  ExpectLabelsAsAt96(*dialog, Page::Colors, dpi);

  // A move to a screen of half the DPI and back: the picture is made for each DPI, and the
  // dialog, laid out again and with its fonts made anew, shows as before.
  const Capture before = Capture::Of(dialog->Main());
  dialog->ChangeDpi(dpi / 2);
  ExpectBannerFills(*dialog, PaintingDpi(dpi / 2));
  dialog->ChangeDpi(dpi);
  EXPECT_TRUE(WaitFor([&] { return Capture::Of(dialog->Main()).SamePixels(before); }, kPaintWait))
      << at << "the dialog does not show what it showed before a DPI change and back";

  dialog->ShowTab(2);
  ExpectLabelsAsAt96(*dialog, Page::Plugins, dpi);
  CloseAndExpectExit(0);
}

// A DPI change while the dialog runs lays it all out again, the pages' controls too: under Wine,
// in the project's prefix at 96 DPI, the dialog told of a change to 144 and to 192 DPI shows every
// control where a start at that DPI puts it (as the scaling test at that DPI kept it), within
// 1 pixel, and back at 96 DPI where its own start put them, the banner 45 pixels tall again.
class E2EDpiChange : public Scenario {};

TEST_F(E2EDpiChange, TheDialogIsLaidOutAsAStartAtTheNewDpi) {
  const HDC screen = GetDC(nullptr);
  ASSERT_EQ(GetDeviceCaps(screen, LOGPIXELSY), 96) << "run in the project's prefix, at 96 DPI";
  ReleaseDC(nullptr, screen);
  QuilDialog* dialog = Start();
  ASSERT_TRUE(dialog);
  const std::vector<Place> at96 = LayoutOf(*dialog);
  const auto expectLayout = [&](const std::vector<Place>& expected, const std::string& when) {
    std::vector<std::string> differences;
    WaitFor([&] {
      differences = LayoutDifferences(LayoutOf(*dialog), expected);
      return differences.empty();
    });
    for (const std::string& difference : differences) ADD_FAILURE() << when << ": " << difference;
  };
  for (const int dpi : {144, 192}) {
    const std::vector<Place> start = ReadLayout(dpi);
    ASSERT_FALSE(start.empty()) << "no layout of a start at " << dpi << " DPI in "
                                << LayoutFile(dpi) << ": the scaling test at " << dpi
                                << " DPI keeps it (ctest runs it first)";
    dialog->ChangeDpi(dpi);
    expectLayout(start, "changed to " + std::to_string(dpi) + " DPI");
    dialog->ChangeDpi(96);
    expectLayout(at96, "changed from " + std::to_string(dpi) + " DPI back to 96 DPI");
  }
  CloseAndExpectExit(0);
}

INSTANTIATE_TEST_SUITE_P(Dpi, E2EDpi, ::testing::Values(QUIL_TEST_DPIS),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return std::to_string(info.param);
                         });

}  // namespace
}  // namespace quil::e2e
