// Entry names, mirrors, color buttons and the flags of unsaved color changes.
#include "colors/SchemeColors.h"

#include "core/App.h"

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

void StoreSlot(SchemeColors& colors, ColorEntry slot, Color value) {
  colors[slot] = value;
  for (const Mirror& mirror : kMirrors) {
    if (mirror.source == slot) colors[mirror.copy] = value;
  }
}

void SetColorFlag(AppState& state, ColorFlag flag) {
  (flag == ColorFlag::ColorsDtd ? state.ColorsDtdDirty : state.ColorsIniDirty) = true;
}

std::optional<ColorButton> FindColorButton(int buttonId) {
  if (buttonId == kNoPutinfoButton) return std::nullopt;
  for (const ColorButtonGroup& group : kColorButtonGroups) {
    const int offset = buttonId - group.firstButton;
    if (offset >= 0 && offset < group.count) {
      return ColorButton{group.firstEntry + offset, group.block, group.flag};
    }
  }
  return std::nullopt;
}

bool StoreChosenColor(App& app, int buttonId, Color chosen) {
  const auto button = FindColorButton(buttonId);
  if (!button) return false;
  app.colors[button->entry] = chosen;
  app.controls.RedrawMain();
  SetColorFlag(app.state, button->flag);
  return true;
}

}  // namespace quil
