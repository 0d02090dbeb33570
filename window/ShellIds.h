// Identifiers of the controls that only the windows themselves address: the icon and the banner
// bitmap, and the Colors page's panels and column headers.
#pragma once

namespace quil {

inline constexpr int kIconResource = 500;
inline constexpr int kBannerBitmapResource = 501;

// Colors page: the colored panels behind the three groups and the "B" and "I" column headers.
inline constexpr int kContactListPanel = 11101;
inline constexpr int kMiscWindowsPanel = 1045;
inline constexpr int kTextColorsPanel = 1046;
inline constexpr int kBoldHeader = 1043;
inline constexpr int kItalicHeader = 1044;

}  // namespace quil
