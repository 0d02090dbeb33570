// Mirrors, color buttons and the flags of unsaved color changes.
#include "colors/SchemeColors.h"

#include "core/AppState.h"

namespace quil {

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

bool StoreChosenColor(SchemeColors& colors, AppState& state, int buttonId, Color chosen) {
  const auto button = FindColorButton(buttonId);
  if (!button) return false;
  colors[button->entry] = chosen;
  SetColorFlag(state, button->flag);
  return true;
}

}  // namespace quil
