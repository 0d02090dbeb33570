// The pages' painting on real windows and a real device context: each owner-drawn button shows
// its background, swatch and label colors from the scheme, and each control-color request gets
// the scheme color its control stands for. Every scheme entry gets a color of its own, so a button
// painted from the wrong entry shows.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/App.h"
#include "core/ControlIds.h"
#include "files/win32/Win32.h"
#include "window/Painting.h"

// The shell port's ChooseColor keeps its name in the in-memory dialog's header.
#ifdef ChooseColor
#undef ChooseColor
#endif

#include "tests/support/MemoryDialog.h"

namespace quil::test {
namespace {

constexpr int kButtonWidth = 100;
constexpr int kButtonHeight = 20;

// A color for every entry that no other entry has.
Color EntryColor(int entry) {
  return MakeColor(40 + entry * 4, 200 - entry * 3, 10 + entry * 5);
}

class ShellPainting : public ::testing::Test {
 protected:
  ShellPainting() : app_(*files_, dialog_, dialog_, dialog_) {}

  void SetUp() override {
    for (int entry = 0; entry < static_cast<int>(kColorEntryCount); ++entry) {
      app_.colors[entry] = EntryColor(entry);
    }
    page_ = CreateWindowExA(0, "STATIC", "page", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr,
                            nullptr, nullptr, nullptr);
    ASSERT_TRUE(page_);
    screen_ = GetDC(nullptr);
    dc_ = CreateCompatibleDC(screen_);
    bitmap_ = CreateCompatibleBitmap(screen_, kButtonWidth, kButtonHeight);
    previous_ = SelectObject(dc_, bitmap_);
  }
  void TearDown() override {
    SelectObject(dc_, previous_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
    ReleaseDC(nullptr, screen_);
    DestroyWindow(page_);
    DeleteSharedBrush(painter_);
  }

  HWND Child(const char* cls, const char* text, DWORD style, int id) {
    return CreateWindowExA(0, cls, text, WS_CHILD | style, 0, 0, kButtonWidth, kButtonHeight, page_,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
  }

  // Paints owner-drawn button `id` into the bitmap, as a page paints it or (`main`) as the main
  // dialog does.
  void Paint(int id, const char* text, UINT state, bool main = false) {
    const HWND button = Child("BUTTON", text, BS_OWNERDRAW, id);
    ASSERT_TRUE(button);
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.CtlID = static_cast<UINT>(id);
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = state;
    item.hwndItem = button;
    item.hDC = dc_;
    item.rcItem = {0, 0, kButtonWidth, kButtonHeight};
    if (main) {
      DrawMainItem(painter_, item);
    } else {
      DrawPageItem(painter_, item);
    }
    DestroyWindow(button);
  }

  COLORREF Pixel(int x, int y) { return GetPixel(dc_, x, y); }
  std::vector<COLORREF> Pixels() {
    std::vector<COLORREF> pixels;
    for (int y = 0; y < kButtonHeight; ++y) {
      for (int x = 0; x < kButtonWidth; ++x) pixels.push_back(Pixel(x, y));
    }
    return pixels;
  }

  static Color BrushColor(HBRUSH brush) {
    LOGBRUSH info{};
    GetObject(brush, sizeof info, &info);
    return info.lbColor;
  }

  std::unique_ptr<FileServices> files_ = MakePlatformFileServices();
  MemoryDialog dialog_;
  App app_;
  DialogWindows windows_;
  Painter painter_{app_, windows_};
  HWND page_ = nullptr;
  HDC screen_ = nullptr;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
};

TEST_F(ShellPainting, ButtonsShowTheirEntries) {
  // The background is sampled just below the top edge, clear of the label, the outline and the
  // rounded corners; the swatch at its centre (where a button has none, the background shows).
  struct Case {
    int id;
    const char* text;
    UINT state;
    int background;
    int swatchX;
    int swatch;
  };
  // The label spans the whole button: nothing else to sample.
  constexpr int kLabelOnly = -1;
  const UINT focused = ODS_FOCUS;
  const UINT pressed = ODS_FOCUS | ODS_SELECTED;
  const std::vector<Case> cases = {
      {kHideSchemeButton, "&Hide", 0, border, 92, border},
      {kHideSchemeButton, "&Hide", focused, edt, 92, edt},
      {kHideSchemeButton, "&Hide", pressed, border, 92, border},
      // Hidden keyboard cues do not make a focused button unfocused.
      {kShowImageButton, "Show", focused | ODS_NOFOCUSRECT | ODS_NOACCEL, edt, 92, edt},
      {1100, "Background", 0, disp, 90, disp},
      {1101, "Online", 0, disp, 90, online},
      {1105, "Idle/Away", focused, disp, 90, grey},
      {1106, "Selected", 0, highlight, 90, highlight},
      {1107, "Hover", 0, mouseover, 90, mouseover},
      {1161, "Message Window", 0, displ, kLabelOnly, 0},
      {1163, "Console Window", 0, console, kLabelOnly, 0},
      {1160, "Titles", 0, edt, 77, tp},
      {1109, "", 0, bgtpl, 77, bgtpl},
      {1108, "", 0, bgtpl, 77, fgtpl},
      {1164, "", 0, edt, 77, editfg},
      {1200, "Nick", 0, displ, 84, MsgNick},
      {1206, "Links", 0, displ, 84, MsgLinks},
      {1208, "Error Messages", 0, displ, 84, MsgErrors},
      {1212, "Auto-history", 0, displ, 84, MsgAutoHistory},
      {1213, "Notices", 0, displ, 84, MsgNotices},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.id << " state " << c.state);
    Paint(c.id, c.text, c.state);
    EXPECT_EQ(Pixel(8, 1), EntryColor(c.background));
    if (c.swatchX != kLabelOnly) {
      EXPECT_EQ(Pixel(c.swatchX, kButtonHeight / 2), EntryColor(c.swatch));
    }
  }
}

// While Windows hides the keyboard cues (the item state's "no accelerator" flag, which Wine never
// sets), a label's access key is not underlined: "&Save" shows as "Save" does. With the cues shown,
// the underline adds pixels of the label's color.
TEST_F(ShellPainting, AccessKeysAreUnderlinedOnlyWhileTheCuesShow) {
  const struct {
    int id;
    const char* text;
    const char* plain;
    bool main;
  } cases[] = {{kSaveButton, "&Save", "Save", true}, {kHideSchemeButton, "&Hide", "Hide", false}};
  const COLORREF label = EntryColor(tp);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    Paint(c.id, c.plain, 0, c.main);
    const std::vector<COLORREF> plain = Pixels();
    ASSERT_GT(std::count(plain.begin(), plain.end(), label), 0) << "no label painted";
    Paint(c.id, c.text, ODS_NOACCEL, c.main);
    EXPECT_EQ(Pixels(), plain) << "the access key is underlined while the cues are hidden";
    Paint(c.id, c.text, 0, c.main);
    const std::vector<COLORREF> underlined = Pixels();
    int underline = 0;
    for (std::size_t i = 0; i < plain.size(); ++i) {
      if (underlined[i] == label && plain[i] != label) ++underline;
    }
    EXPECT_GT(underline, 2) << "no underline under the access key while the cues show";
  }
}

// With high contrast on, the buttons and controls take the system's colors; a swatch keeps the
// color it shows, outlined in the system's text color, and the banner keeps its white.
TEST_F(ShellPainting, HighContrastPaintsInSystemColorsAndSwatchesKeepTheirs) {
  painter_.highContrast = true;
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  const COLORREF text = GetSysColor(COLOR_WINDOWTEXT);

  Paint(kHideSchemeButton, "&Hide", 0);
  EXPECT_EQ(Pixel(8, 1), face);
  Paint(1101, "Online", 0);
  EXPECT_EQ(Pixel(8, 1), face);
  EXPECT_EQ(Pixel(90, kButtonHeight / 2), EntryColor(online));
  EXPECT_EQ(Pixel(kButtonWidth - 20, kButtonHeight / 2), text);
  Paint(1200, "Nick", 0);
  EXPECT_EQ(Pixel(8, 1), face);
  EXPECT_EQ(Pixel(84, kButtonHeight / 2), EntryColor(MsgNick));
  // A button whose whole face is the color it edits keeps it, outlined.
  Paint(1106, "Selected", 0);
  EXPECT_EQ(Pixel(8, 1), EntryColor(highlight));
  EXPECT_EQ(Pixel(8, 0), text);

  const HWND panel = Child("STATIC", "", 0, kContactListPanel);
  windows_.pages[PageIndex(Page::Colors)] = page_;
  EXPECT_EQ(BrushColor(PageControlColor(painter_, WM_CTLCOLORSTATIC, dc_, panel)),
            GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(BrushColor(PageControlColor(painter_, WM_CTLCOLOREDIT, dc_, panel)),
            GetSysColor(COLOR_WINDOW));
  DestroyWindow(panel);
  const HWND banner = Child("STATIC", "", 0, kBanner);
  EXPECT_EQ(BrushColor(MainControlColor(painter_, WM_CTLCOLORSTATIC, dc_, banner)),
            RGB(255, 255, 255));
  DestroyWindow(banner);
}

// The templates' font and the shell's dialog font resolve to fonts of those names, not to a
// fallback of other metrics: every measure of the dialog (its dialog units, the labels' room)
// comes from them.
TEST(DialogFonts, TheTemplatesFontsAreThere) {
  const HDC screen = GetDC(nullptr);
  // 8 points, as the templates ask.
  const int height = -MulDiv(8, GetDeviceCaps(screen, LOGPIXELSY), 72);
  for (const char* face : {"MS Sans Serif", "Tahoma"}) {
    SCOPED_TRACE(face);
    const HFONT font = CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                   OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                   DEFAULT_PITCH | FF_DONTCARE, face);
    ASSERT_TRUE(font);
    const HGDIOBJ displaced = SelectObject(screen, font);
    std::string shown(LF_FACESIZE, '\0');
    GetTextFaceA(screen, static_cast<int>(shown.size()), shown.data());
    shown.resize(std::strlen(shown.c_str()));
    SelectObject(screen, displaced);
    DeleteObject(font);
    EXPECT_EQ(shown, face) << "the font falls back to another face";
  }
  ReleaseDC(nullptr, screen);
}

TEST_F(ShellPainting, ControlColorsOfThePages) {
  const HWND colorsPage = page_;
  windows_.pages[PageIndex(Page::Colors)] = colorsPage;
  struct Case {
    UINT message;
    int id;
    int brush;
  };
  const std::vector<Case> cases = {
      {WM_CTLCOLOREDIT, kSchemeBox, edt},
      {WM_CTLCOLORBTN, 1100, edt},
      {WM_CTLCOLORSTATIC, kContactListPanel, disp},
      {WM_CTLCOLORSTATIC, 1121, disp},
      {WM_CTLCOLORSTATIC, 1145, disp},
      {WM_CTLCOLORSTATIC, kMiscWindowsPanel, border},
      {WM_CTLCOLORSTATIC, kTextColorsPanel, displ},
      {WM_CTLCOLORSTATIC, kBoldHeader, disp},
      {WM_CTLCOLORSTATIC, kItalicHeader, disp},
      {WM_CTLCOLORSTATIC, kImageLabel, edt},
      {WM_CTLCOLORSTATIC, 11002, edt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    const HWND control = Child("STATIC", "", 0, c.id);
    const HBRUSH brush = PageControlColor(painter_, c.message, dc_, control);
    ASSERT_TRUE(brush);
    EXPECT_EQ(BrushColor(brush), EntryColor(c.brush));
    // The answer is the shared brush, kept until the next painter runs.
    EXPECT_EQ(brush, painter_.sharedBrush);
    DestroyWindow(control);
  }

  // The same panel identifiers on another page are ordinary statics; lists keep their colors.
  windows_.pages[PageIndex(Page::Colors)] = nullptr;
  const HWND panel = Child("STATIC", "", 0, kTextColorsPanel);
  EXPECT_EQ(BrushColor(PageControlColor(painter_, WM_CTLCOLORSTATIC, dc_, panel)), EntryColor(edt));
  EXPECT_EQ(PageControlColor(painter_, WM_CTLCOLORLISTBOX, dc_, panel), nullptr);
  DestroyWindow(panel);
}

TEST_F(ShellPainting, ControlColorsOfTheMainDialog) {
  struct Case {
    UINT message;
    int id;
    Color brush;
  };
  const std::vector<Case> cases = {
      {WM_CTLCOLOREDIT, kProfileBox, EntryColor(edt)},
      {WM_CTLCOLORBTN, kDeleteProfileButton, EntryColor(border)},
      {WM_CTLCOLORBTN, kSaveButton, EntryColor(edt)},
      {WM_CTLCOLORDLG, 0, EntryColor(edt)},
      {WM_CTLCOLORSTATIC, kBanner, RGB(255, 255, 255)},
      {WM_CTLCOLORSTATIC, -1, EntryColor(border)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    const HWND control = Child("STATIC", "", 0, c.id);
    EXPECT_EQ(BrushColor(MainControlColor(painter_, c.message, dc_, control)), c.brush);
    DestroyWindow(control);
  }
}

}  // namespace
}  // namespace quil::test
