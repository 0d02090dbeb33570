// The identifiers of QuilConfig's resources, dialog templates and controls: the one list that the
// templates (resources/Dialogs.rc, resources/QuilConfig.rc) and the code share. The resource
// compiler reads the macros; the code reads the typed constants and helpers after them, which are
// defined from the same macros. Controls without an identifier of their own use -1.
#pragma once

// Resources: icon group (the dialog's large and small icon) and the banner bitmap, drawn for 96 DPI
// and at twice that size.
#define QUIL_ICON_RESOURCE 500
#define QUIL_BANNER_BITMAP_RESOURCE 501
#define QUIL_BANNER_2X_BITMAP_RESOURCE 502

// Dialog templates.
#define QUIL_MAIN_DIALOG 101
#define QUIL_COLORS_TEMPLATE 102
#define QUIL_GENERAL_TEMPLATE 103
#define QUIL_PLUGINS_TEMPLATE 104

// Main dialog.
#define QUIL_BANNER 11000
#define QUIL_RESTORE_BUTTON 5005
#define QUIL_SAVE_BUTTON 5006
#define QUIL_TAB_CONTROL 300
#define QUIL_PROFILE_BOX 5004
#define QUIL_DELETE_PROFILE_BUTTON 5003

// General page: the group boxes.
#define QUIL_GENERAL_OPTIONS_GROUP 11004
#define QUIL_POSITIONS_GROUP 11031
#define QUIL_FONT_SIZES_GROUP 11003
// General page: the option controls.
#define QUIL_BUTTON_SCROLL_BOX 1005
#define QUIL_REMOVE_CONNECTION_BOX 1031
#define QUIL_CONTACT_TITLE_EDIT 1006
#define QUIL_HIDE_MINIMIZE_BOX 1032
#define QUIL_MEDIUM_ICONS_BOX 1033
#define QUIL_BUDDY_ICON_CLOSED_BOX 1007
#define QUIL_NICKLIST_WIDTH_EDIT 1008
#define QUIL_EDITBOX_HEIGHT_EDIT 1009
#define QUIL_SAVE_EDITBOX_BOX 1010
#define QUIL_SCROLLBARS_HIDDEN_BOX 1011
#define QUIL_SAVE_SCROLLBAR_BOX 1012
#define QUIL_TRILLYBAR_HEIGHT_EDIT 1013
#define QUIL_CONTAINER_HEIGHT_EDIT 1014
#define QUIL_SMALL_FONTS_RADIO 1003
#define QUIL_LARGE_FONTS_RADIO 1004
#define QUIL_SMALL_FONT_SIZE_EDIT 1015
#define QUIL_NORMAL_FONT_SIZE_EDIT 1016
#define QUIL_CONTACT_FONT_SIZE_EDIT 1017
#define QUIL_HUGE_FONT_SIZE_EDIT 1019
#define QUIL_TITLE_FONT_SIZE_EDIT 1020
#define QUIL_BOLD_TITLES_BOX 1021
#define QUIL_BAR_TITLE_FONT_SIZE_EDIT 1022
#define QUIL_BOLD_ROLLUP_TITLES_BOX 1023
// General page: the skin-viewer image.
#define QUIL_IMAGE_LABEL 5000
#define QUIL_CHOOSE_IMAGE_BUTTON 5001
#define QUIL_SHOW_IMAGE_BUTTON 5002

// Colors page: the scheme box and its buttons.
#define QUIL_SCHEME_LABEL 11002
#define QUIL_SCHEME_BOX 1002
#define QUIL_DELETE_SCHEME_BUTTON 1001
#define QUIL_HIDE_SCHEME_BUTTON 1000
#define QUIL_REDRAW_BUTTON 5007
// Colors page: the colored panels behind the three groups and the "B" and "I" column headers.
#define QUIL_CONTACT_LIST_PANEL 11101
#define QUIL_MISC_WINDOWS_PANEL 1045
#define QUIL_TEXT_COLORS_PANEL 1046
#define QUIL_BOLD_HEADER 1043
#define QUIL_ITALIC_HEADER 1044
// Colors page: the color buttons in three groups, by the block of colors they edit; button i of a
// group edits the group's i-th color (colors/SchemeColors.h). Skin color buttons 1 to 5 are the
// status buttons (Online, Offline, Recent Online, Recent Offline, Idle/Away).
#define QUIL_SKIN_COLOR_BUTTON(i) (1100 + (i))
#define QUIL_WINDOW_COLOR_BUTTON(i) (1160 + (i))
#define QUIL_TEXT_COLOR_BUTTON(i) (1200 + (i))
// Colors page: the italic and bold check boxes beside status button k (1 to 5).
#define QUIL_ITALIC_STATUS_BOX(k) (1120 + (k))
#define QUIL_BOLD_STATUS_BOX(k) (1140 + (k))

// Plugins page.
#define QUIL_PLUGIN_LIST 1082
#define QUIL_DELETE_PLUGINS_BUTTON 1083
#define QUIL_HIDE_PLUGINS_BUTTON 1084

#ifndef RC_INVOKED

namespace quil {

inline constexpr int kIconResource = QUIL_ICON_RESOURCE;
inline constexpr int kBannerBitmapResource = QUIL_BANNER_BITMAP_RESOURCE;
inline constexpr int kBanner2xBitmapResource = QUIL_BANNER_2X_BITMAP_RESOURCE;

inline constexpr int kMainDialog = QUIL_MAIN_DIALOG;
inline constexpr int kColorsTemplate = QUIL_COLORS_TEMPLATE;
inline constexpr int kGeneralTemplate = QUIL_GENERAL_TEMPLATE;
inline constexpr int kPluginsTemplate = QUIL_PLUGINS_TEMPLATE;

inline constexpr int kBanner = QUIL_BANNER;
inline constexpr int kRestoreButton = QUIL_RESTORE_BUTTON;
inline constexpr int kSaveButton = QUIL_SAVE_BUTTON;
inline constexpr int kTabControl = QUIL_TAB_CONTROL;
inline constexpr int kProfileBox = QUIL_PROFILE_BOX;
inline constexpr int kDeleteProfileButton = QUIL_DELETE_PROFILE_BUTTON;

inline constexpr int kButtonScrollBox = QUIL_BUTTON_SCROLL_BOX;
inline constexpr int kRemoveConnectionBox = QUIL_REMOVE_CONNECTION_BOX;
inline constexpr int kContactTitleEdit = QUIL_CONTACT_TITLE_EDIT;
inline constexpr int kHideMinimizeBox = QUIL_HIDE_MINIMIZE_BOX;
inline constexpr int kMediumIconsBox = QUIL_MEDIUM_ICONS_BOX;
inline constexpr int kBuddyIconClosedBox = QUIL_BUDDY_ICON_CLOSED_BOX;
inline constexpr int kNicklistWidthEdit = QUIL_NICKLIST_WIDTH_EDIT;
inline constexpr int kEditboxHeightEdit = QUIL_EDITBOX_HEIGHT_EDIT;
inline constexpr int kSaveEditboxBox = QUIL_SAVE_EDITBOX_BOX;
inline constexpr int kScrollbarsHiddenBox = QUIL_SCROLLBARS_HIDDEN_BOX;
inline constexpr int kSaveScrollbarBox = QUIL_SAVE_SCROLLBAR_BOX;
inline constexpr int kTrillybarHeightEdit = QUIL_TRILLYBAR_HEIGHT_EDIT;
inline constexpr int kContainerHeightEdit = QUIL_CONTAINER_HEIGHT_EDIT;
inline constexpr int kSmallFontsRadio = QUIL_SMALL_FONTS_RADIO;
inline constexpr int kLargeFontsRadio = QUIL_LARGE_FONTS_RADIO;
inline constexpr int kSmallFontSizeEdit = QUIL_SMALL_FONT_SIZE_EDIT;
inline constexpr int kNormalFontSizeEdit = QUIL_NORMAL_FONT_SIZE_EDIT;
inline constexpr int kContactFontSizeEdit = QUIL_CONTACT_FONT_SIZE_EDIT;
inline constexpr int kHugeFontSizeEdit = QUIL_HUGE_FONT_SIZE_EDIT;
inline constexpr int kTitleFontSizeEdit = QUIL_TITLE_FONT_SIZE_EDIT;
inline constexpr int kBoldTitlesBox = QUIL_BOLD_TITLES_BOX;
inline constexpr int kBarTitleFontSizeEdit = QUIL_BAR_TITLE_FONT_SIZE_EDIT;
inline constexpr int kBoldRollupTitlesBox = QUIL_BOLD_ROLLUP_TITLES_BOX;
inline constexpr int kImageLabel = QUIL_IMAGE_LABEL;
inline constexpr int kChooseImageButton = QUIL_CHOOSE_IMAGE_BUTTON;
inline constexpr int kShowImageButton = QUIL_SHOW_IMAGE_BUTTON;

inline constexpr int kSchemeBox = QUIL_SCHEME_BOX;
inline constexpr int kDeleteSchemeButton = QUIL_DELETE_SCHEME_BUTTON;
inline constexpr int kHideSchemeButton = QUIL_HIDE_SCHEME_BUTTON;
inline constexpr int kRedrawButton = QUIL_REDRAW_BUTTON;
inline constexpr int kContactListPanel = QUIL_CONTACT_LIST_PANEL;
inline constexpr int kMiscWindowsPanel = QUIL_MISC_WINDOWS_PANEL;
inline constexpr int kTextColorsPanel = QUIL_TEXT_COLORS_PANEL;
inline constexpr int kBoldHeader = QUIL_BOLD_HEADER;
inline constexpr int kItalicHeader = QUIL_ITALIC_HEADER;

constexpr int SkinColorButton(int i) {
  return QUIL_SKIN_COLOR_BUTTON(i);
}
constexpr int WindowColorButton(int i) {
  return QUIL_WINDOW_COLOR_BUTTON(i);
}
constexpr int TextColorButton(int i) {
  return QUIL_TEXT_COLOR_BUTTON(i);
}

// The five statuses of the contact list, k = 1 to 5: a color button and two check boxes each.
inline constexpr int kStatusCount = 5;
constexpr int StatusButton(int k) {
  return SkinColorButton(k);
}
constexpr int ItalicStatusBox(int k) {
  return QUIL_ITALIC_STATUS_BOX(k);
}
constexpr int BoldStatusBox(int k) {
  return QUIL_BOLD_STATUS_BOX(k);
}
// The status k whose button `id` is; 0 for any other control.
constexpr int StatusOfButton(int id) {
  for (int k = 1; k <= kStatusCount; ++k) {
    if (id == StatusButton(k)) return k;
  }
  return 0;
}
// The status k whose italic or bold check box `id` is; 0 for any other control.
constexpr int StatusOfBox(int id) {
  for (int k = 1; k <= kStatusCount; ++k) {
    if (id == ItalicStatusBox(k) || id == BoldStatusBox(k)) return k;
  }
  return 0;
}

inline constexpr int kPluginList = QUIL_PLUGIN_LIST;
inline constexpr int kDeletePluginsButton = QUIL_DELETE_PLUGINS_BUTTON;
inline constexpr int kHidePluginsButton = QUIL_HIDE_PLUGINS_BUTTON;

}  // namespace quil

#endif  // RC_INVOKED
