// Identifiers of the dialog templates and of the controls that the portable core addresses.
#pragma once

namespace quil {

// Dialog templates.
inline constexpr int kMainDialog = 101;
inline constexpr int kColorsTemplate = 102;
inline constexpr int kGeneralTemplate = 103;
inline constexpr int kPluginsTemplate = 104;

// Main dialog.
inline constexpr int kBanner = 11000;
inline constexpr int kRestoreButton = 5005;
inline constexpr int kSaveButton = 5006;
inline constexpr int kTabControl = 300;
inline constexpr int kProfileBox = 5004;
inline constexpr int kDeleteProfileButton = 5003;

// General page.
inline constexpr int kImageLabel = 5000;
inline constexpr int kChooseImageButton = 5001;
inline constexpr int kShowImageButton = 5002;
inline constexpr int kSmallFontsRadio = 1003;
inline constexpr int kLargeFontsRadio = 1004;

// Colors page.
inline constexpr int kSchemeBox = 1002;
inline constexpr int kDeleteSchemeButton = 1001;
inline constexpr int kHideSchemeButton = 1000;
inline constexpr int kRedrawButton = 5007;

// Plugins page.
inline constexpr int kPluginList = 1082;
inline constexpr int kDeletePluginsButton = 1083;
inline constexpr int kHidePluginsButton = 1084;

}  // namespace quil
