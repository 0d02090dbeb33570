// The entries' names.
#include "core/ColorTable.h"

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

}  // namespace quil
