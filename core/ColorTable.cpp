// The entries' names and the colors' contrast.
#include "core/ColorTable.h"

#include <algorithm>
#include <cmath>

namespace quil {

namespace {

// clang-format off
constexpr std::array<std::string_view, kColorEntryCount> kEntryNames{
    // SkinBlock
    "disp", "online", "ltgrey", "bright", "attn", "grey", "highlight", "mouseover",
    "fgtpl", "bgtpl", "BtFlat", "BtOver", "BtPush", "BtDisabled", "edt", "border",
    // MessageBlock
    "MsgNick", "MsgMyNick", "MsgText", "MsgMyText", "MsgAction", "MsgMyAction", "MsgLinks",
    "MsgPutinfo", "MsgErrors", "MsgServer", "MsgTopic", "MsgModes", "MsgAutoHistory",
    "MsgNotices", "MsgEdt", "MsgBorder",
    // WindowBlock, with the spare entries 37-41
    "tp", "displ", "chan", "console", "editfg", "", "", "", "", "",
    "WinBtFlat", "WinBtOver", "WinBtPush", "WinBtDisabled", "WinEdt", "WinBorder",
};
// clang-format on

}  // namespace

std::string_view EntryName(int entry) {
  if (entry < 0 || entry >= static_cast<int>(kColorEntryCount)) return {};
  return kEntryNames[static_cast<std::size_t>(entry)];
}

namespace {

double RelativeLuminance(Color color) {
  const auto linear = [](int component) {
    const double c = component / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * linear(RedOf(color)) + 0.7152 * linear(GreenOf(color)) +
         0.0722 * linear(BlueOf(color));
}

}  // namespace

double ContrastRatio(Color a, Color b) {
  const double la = RelativeLuminance(a);
  const double lb = RelativeLuminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

}  // namespace quil
