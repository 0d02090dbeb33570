// The active scheme's 48 colors, in three blocks of 16 that the color chooser shows as its custom
// colors: SkinBlock (0-15, colors.dtd), MessageBlock (16-31, colors.ini), WindowBlock (32-47,
// colors.dtd and mirrors). A color is 0x00BBGGRR, red in the low byte. Also the fixed facts that
// tie the entries to the files and to the Colors page: the entry names, the mirrors, the colors.dtd
// slots in the order the reader and writer visit them, the color buttons and the two flags that
// mark unsaved color changes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace quil {

struct App;
struct AppState;

using Color = std::uint32_t;

// clang-format off
enum ColorEntry : int {
  disp = 0, online, ltgrey, bright, attn, grey, highlight, mouseover, fgtpl, bgtpl,
  BtFlat, BtOver, BtPush, BtDisabled, edt, border,
  MsgNick = 16, MsgMyNick, MsgText, MsgMyText, MsgAction, MsgMyAction, MsgLinks, MsgPutinfo,
  MsgErrors, MsgServer, MsgTopic, MsgModes, MsgAutoHistory, MsgNotices, MsgEdt, MsgBorder,
  tp = 32, displ, chan, console, editfg,
  // Entries 37-41 are spare: never loaded or saved, changed only as custom swatches.
  WinBtFlat = 42, WinBtOver, WinBtPush, WinBtDisabled, WinEdt, WinBorder,
};
// clang-format on

inline constexpr std::size_t kColorEntryCount = 48;
inline constexpr std::size_t kBlockSize = 16;
inline constexpr int kSkinBlock = 0;
inline constexpr int kMessageBlock = 16;
inline constexpr int kWindowBlock = 32;

struct SchemeColors {
  std::array<Color, kColorEntryCount> entries{};

  Color& operator[](int entry) { return entries[static_cast<std::size_t>(entry)]; }
  Color operator[](int entry) const { return entries[static_cast<std::size_t>(entry)]; }
  // The 16 entries of the block that starts at `first`, as the chooser's custom colors.
  Color* Block(int first) { return entries.data() + first; }
};

// A color from three components, each cut to its low 8 bits.
constexpr Color MakeColor(int red, int green, int blue) {
  return static_cast<Color>(red & 0xFF) | (static_cast<Color>(green & 0xFF) << 8) |
         (static_cast<Color>(blue & 0xFF) << 16);
}
constexpr int RedOf(Color c) {
  return static_cast<int>(c & 0xFF);
}
constexpr int GreenOf(Color c) {
  return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int BlueOf(Color c) {
  return static_cast<int>((c >> 16) & 0xFF);
}

// The entry's name as the files and the code call it; empty for the spare entries 37-41.
std::string_view EntryName(int entry);

// A mirror holds a copy of a colors.dtd slot in another block, so that the chooser's custom
// swatches and the page's edit boxes see it. The colors.dtd reader sets mirrors; no file stores
// them.
struct Mirror {
  ColorEntry source;
  ColorEntry copy;
};
inline constexpr std::array<Mirror, 8> kMirrors{{
    {edt, MsgEdt},
    {edt, WinEdt},
    {border, MsgBorder},
    {border, WinBorder},
    {BtFlat, WinBtFlat},
    {BtOver, WinBtOver},
    {BtPush, WinBtPush},
    {BtDisabled, WinBtDisabled},
}};

// Stores a loaded colors.dtd slot into its entry and into the entry's mirrors.
void StoreSlot(SchemeColors& colors, ColorEntry slot, Color value);

// The 21 colors.dtd slots in the order in which the reader and the writer walk the file. A slot's
// name in the file is its entry's name.
// clang-format off
inline constexpr std::array<ColorEntry, 21> kColorsDtdSlots{
    disp, border, edt, tp, bgtpl, fgtpl, attn, bright, grey, ltgrey, online,
    BtFlat, BtOver, BtPush, BtDisabled, displ, chan, console, editfg, highlight, mouseover,
};
// clang-format on

// The two flags of AppState that mark unsaved color changes, one per color file.
enum class ColorFlag { ColorsDtd, ColorsIni };

void SetColorFlag(AppState& state, ColorFlag flag);

// The color buttons of the Colors page in three groups: button firstButton + i edits entry
// firstEntry + i with the block at `block` as the chooser's custom colors and sets `flag`.
struct ColorButtonGroup {
  int firstButton;
  int count;
  int firstEntry;
  int block;
  ColorFlag flag;
};
inline constexpr std::array<ColorButtonGroup, 3> kColorButtonGroups{{
    {1100, 10, disp, kSkinBlock, ColorFlag::ColorsDtd},
    {1160, 5, tp, kWindowBlock, ColorFlag::ColorsDtd},
    {1200, 14, MsgNick, kMessageBlock, ColorFlag::ColorsIni},
}};
// MsgPutinfo has no button: the text-color group has a gap here.
inline constexpr int kNoPutinfoButton = 1207;

// What one color button edits.
struct ColorButton {
  int entry;
  int block;
  ColorFlag flag;
};

// The entry, block and flag of a color button; nothing for any other control.
std::optional<ColorButton> FindColorButton(int buttonId);

// The end of a color choice with button `buttonId`: the chooser's current color goes into the
// button's entry (after Cancel that is the entry's own value), the main window is redrawn and the
// button's flag is set, after Cancel too. False, with nothing changed, for a control that is no
// color button.
bool StoreChosenColor(App& app, int buttonId, Color chosen);

}  // namespace quil
