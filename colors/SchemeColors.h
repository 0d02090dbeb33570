// The fixed facts that tie the 48 scheme colors to the files and to the Colors page: the mirrors,
// the colors.dtd slots in the order the reader and writer visit them, the color buttons and the two
// flags that mark unsaved color changes.
#pragma once

#include <array>
#include <optional>

#include "core/ColorTable.h"
#include "core/ControlIds.h"

namespace quil {

struct AppState;

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
    {SkinColorButton(0), 10, disp, kSkinBlock, ColorFlag::ColorsDtd},
    {WindowColorButton(0), 5, tp, kWindowBlock, ColorFlag::ColorsDtd},
    {TextColorButton(0), 14, MsgNick, kMessageBlock, ColorFlag::ColorsIni},
}};
// MsgPutinfo has no button: the text-color group has a gap here.
inline constexpr int kNoPutinfoButton = TextColorButton(MsgPutinfo - MsgNick);

// The color button that edits `entry`; 0 for an entry without one.
constexpr int ColorButtonOf(int entry) {
  for (const ColorButtonGroup& group : kColorButtonGroups) {
    const int offset = entry - group.firstEntry;
    if (offset >= 0 && offset < group.count) {
      const int button = group.firstButton + offset;
      return button == kNoPutinfoButton ? 0 : button;
    }
  }
  return 0;
}

// What one color button edits.
struct ColorButton {
  int entry;
  int block;
  ColorFlag flag;
};

// The entry, block and flag of a color button; nothing for any other control.
std::optional<ColorButton> FindColorButton(int buttonId);

// The end of a color choice with button `buttonId`: the chooser's current color goes into the
// button's entry (after Cancel that is the entry's own value) and the button's flag is set, after
// Cancel too. False, with nothing changed, for a control that is no
// color button.
bool StoreChosenColor(SchemeColors& colors, AppState& state, int buttonId, Color chosen);

}  // namespace quil
