// The active scheme's 48 colors, in three blocks of 16 that the color chooser shows as its custom
// colors: SkinBlock (0-15, colors.dtd), MessageBlock (16-31, colors.ini), WindowBlock (32-47,
// colors.dtd and mirrors). A color is 0x00BBGGRR, red in the low byte. Also the entries' names, as
// the files and the code call them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace quil {

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

// How far two colors stand apart for the eye: the ratio of their relative luminances (from sRGB,
// each plus 0.05), lighter over darker, from 1 (the same) to 21 (black and white).
double ContrastRatio(Color a, Color b);

// The entry's name as the files and the code call it; empty for the spare entries 37-41.
std::string_view EntryName(int entry);

}  // namespace quil
