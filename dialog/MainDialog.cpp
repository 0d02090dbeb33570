// The dialog's behaviour in portable code.
#include "dialog/MainDialog.h"

#include "base/Paths.h"
#include "base/Text.h"
#include "colors/SchemeColors.h"
#include "colors/SchemeFiles.h"
#include "core/App.h"
#include "core/ControlIds.h"
#include "dialog/ListCommands.h"
#include "dialog/Outcomes.h"
#include "dialog/ProfileLoading.h"
#include "dialog/ProfileSave.h"
#include "dialog/SchemeColorFiles.h"
#include "dialog/SettingsPages.h"
#include "dialog/Turns.h"
#include "files/FileReplacement.h"
#include "profiles/Lists.h"
#include "profiles/PluginCatalogue.h"
#include "profiles/ProfileFolders.h"
#include "settings/ConfigDtdReader.h"
#include "settings/SkinSettings.h"

namespace quil {

namespace {

constexpr std::string_view kRestoreQuestion =
    "This will delete your settings on the (default) profile and restore the default "
    "settings.\n\nAre you sure?";
// The longest name of one folder, and the longest path, that the file systems allow (MAX_PATH
// less its terminator).
constexpr std::size_t kMaxFolderNameLength = 255;
constexpr std::size_t kMaxPathLength = 259;
// The longest name of a file that a save writes directly in the profile folder.
constexpr std::string_view kLongestProfileFile = "\\config.dtd.def.new";
// The kinds of file the image chooser offers: "Show" opens no other.
constexpr std::string_view kImageExtensions[] = {".bmp", ".gif", ".jpg", ".jpeg"};
constexpr std::string_view kImageNotShown =
    "The image '%s' is not shown: only a .bmp, .gif, .jpg or .jpeg file on this computer is "
    "opened";

bool FitsAsProfileFolder(const AppState& state, std::string_view name) {
  const std::size_t folderName = state.SkinName().size() + kProfileInfix.size() + name.size();
  const std::size_t longestPath =
      state.WorkDir.size() + kProfileInfix.size() + name.size() + kLongestProfileFile.size();
  return folderName <= kMaxFolderNameLength && longestPath <= kMaxPathLength;
}

// Puts the scheme folder's pristine copy of a color file in place of the file. A folder without
// the pristine copy keeps its file.
void RestoreSchemeFile(App& app, const std::string& scheme, std::string_view file,
                       std::string_view pristine) {
  const std::string folder = SchemeFolderPath(scheme) + "\\";
  if (!app.files.Attributes(folder + std::string(pristine))) return;
  if (!ReplaceWithCopy(app.files, folder + std::string(pristine), folder + std::string(file))) {
    app.messages.Failure(Format("Unable to restore %s", {folder + std::string(file)}));
  }
}

void ChooseColor(App& app, int buttonId) {
  const auto button = FindColorButton(buttonId);
  if (!button || !app.shell) return;
  const Color chosen =
      app.shell->ChooseColor(app.colors[button->entry], app.colors.Block(button->block));
  EndColorChoice(app, buttonId, chosen);
}

void ChooseImage(App& app) {
  if (!app.shell) return;
  std::string path = app.state.PreviewImagePath;
  std::string title = app.state.PreviewImageTitle;
  if (!app.shell->ChooseImage(path, title)) return;
  app.state.SetPreviewImagePath(path);
  app.state.SetPreviewImageTitle(title);
  app.controls.SetText(Page::General, kImageLabel, app.state.PreviewImageTitle);
}

// "Show" opens the preview image with its file type's default action, but only a path on this
// computer (no "\\server\..." network path, nor a "\\?\" or "\\.\" device path) to a kind of
// image the image chooser offers. A profile's desc.txt names the image, and profiles are passed
// around: a program named there would run on one click, and a network path would hand the user's
// credentials to another machine.
void ShowPreviewImage(App& app) {
  if (!app.shell) return;
  const std::string& path = app.state.PreviewImagePath;
  const LeadBytes& lead = app.state.AnsiLeadBytes;
  const auto isSeparator = [&](std::size_t at) {
    return path.size() > at && (path[at] == '\\' || path[at] == '/');
  };
  const bool hasDrive =
      path.size() > 1 && path[1] == ':' && LowerAscii(path[0]) >= 'a' && LowerAscii(path[0]) <= 'z';
  // A colon other than the drive's would name a stream of another file.
  const std::size_t colon = FindCharacter(path.substr(hasDrive ? 2 : 0), ":", lead);
  const bool local =
      !path.empty() && !(isSeparator(0) && isSeparator(1)) && colon == std::string::npos;
  bool isImage = false;
  for (const std::string_view offered : kImageExtensions) {
    if (EqualsNoCase(Extension(path, lead), offered)) isImage = true;
  }
  if (!local || !isImage) {
    app.messages.Notice(Format(kImageNotShown, {path}));
    return;
  }
  app.shell->Open(path);
}

}  // namespace

void ApplySwitches(AppState& state, const std::vector<std::string>& arguments) {
  if (arguments.size() < 2 || arguments[1].size() >= kSwitchCapacity) return;
  if (EqualsNoCase(arguments[1], "/showhidden")) state.ShowHidden = true;
  if (EqualsNoCase(arguments[1], "/restore")) state.RestoreOnStart = true;
}

void StartUp(App& app) {
  // A close request during the start-up's messages waits for its end, as during a command.
  const CommandTurn turn(app);
  AppState& s = app.state;
  s.AnsiLeadBytes = app.files.AnsiLeadBytes();
  const std::string current = app.files.CurrentDirectory();
  // A look-alike of the folder's path would name another folder: the program ends before it
  // reads or writes anything.
  if (current.empty() && app.files.LastError() == FileError::NoExactName) {
    app.messages.Failure("The skin's folder path holds characters this program cannot use");
    app.exit.Exit(1);
  }
  s.SetWorkDir(WithoutTrailingBackslashes(current, s.AnsiLeadBytes));
  if (s.SkinName().empty()) {
    app.messages.Failure("QuilConfig must be started from the skin's folder");
    app.exit.Exit(1);
  }

  const std::string skin(s.SkinName());
  const auto profiles = app.files.List(SiblingProfileFolder(skin, "*"));
  app.controls.SetListRedraw(Page::Main, kProfileBox, false);
  app.controls.AddListLine(Page::Main, kProfileBox, kDefaultProfile);
  app.controls.SetText(Page::Main, kProfileBox, kDefaultProfile);
  s.SetProfileName(kDefaultProfile);
  for (const DirEntry& entry : profiles) {
    if (!entry.attributes.isDirectory || !entry.exactName) continue;
    if (entry.name.size() < skin.size() + kProfileInfix.size()) continue;
    app.controls.AddListLine(Page::Main, kProfileBox,
                             entry.name.substr(skin.size() + kProfileInfix.size()));
  }
  app.controls.SetListRedraw(Page::Main, kProfileBox, true);

  // A commit that the user makes (Enter, or leaving the field) is a command of its own; one that a
  // command makes by setting the box's text runs within that command, which holds the turn.
  app.controls.SetCommitHandler(Page::Colors, kSchemeBox, [&app](std::string_view c) {
    const CommandTurn turn(app);
    return CommitScheme(app, c);
  });
  ReloadProfile(app, true);
  app.controls.SetCommitHandler(Page::Main, kProfileBox, [&app](std::string_view c) {
    const CommandTurn turn(app);
    return CommitProfile(app, c);
  });
  if (s.RestoreOnStart) Restore(app);
}

void Save(App& app) {
  if (!ConfirmSave(app)) return;
  // The question is answered before the skin is locked, so that another copy of the utility can
  // save meanwhile; what is saved is what the pages show once the lock is held.
  const SkinLock lock(app);
  if (!lock) return;
  PluginSelection selection = ShownPluginSelection(app);
  const bool saved = ShowOutcome(app, SaveProfile(app, ShownSettings(app), selection));
  // A plugin the file could not bind is no longer enabled.
  ShowPluginSelection(app, selection);
  if (!saved) return;
  // A new profile stays new until its color files are written too, so that the next save, after
  // the failure was reported, writes them.
  if (SaveSchemeColors(app)) app.state.ProfileIsNew = false;
}

void Restore(App& app) {
  if (!app.messages.Ask(kRestoreQuestion)) return;
  const SkinLock lock(app);
  if (!lock) return;
  // The defaults replace config.dtd in one step; it is never missing on the way. Like every other
  // failure to write the defaults, one that happens part way ends the program. The user asked for
  // the defaults, so a config.dtd made read-only gets them too, as the color files do.
  if (app.files.Attributes(std::string(kConfigDtd)).value_or(FileAttributes{}).isReadOnly) {
    app.files.ClearReadOnly(std::string(kConfigDtd));
  }
  ShowOutcome(app, WriteDefaultConfig(app.files, std::string(kConfigDtd)));
  for (const std::string& scheme : SchemeFolders(app.files, app.state.ShowHidden)) {
    RestoreSchemeFile(app, scheme, "colors.dtd", "colors_default.dtd");
    RestoreSchemeFile(app, scheme, "colors.ini", "colors_default.ini");
  }
  app.state.SetProfileName(kDefaultProfile);
  app.controls.SetText(Page::Main, kProfileBox, app.state.ProfileName);
  app.state.ColorsDtdDirty = false;
  app.state.ColorsIniDirty = false;
  ReloadProfile(app, false);
  app.controls.RedrawMain();
}

void DeleteProfile(App& app) {
  AppState& s = app.state;
  if (IsDefaultProfile(s.ProfileName)) {
    app.messages.Notice("Cannot delete default profile");
    return;
  }
  if (!app.messages.Ask(
          Format("Are you sure you want to delete the '%s' profile?", {s.ProfileName}))) {
    return;
  }
  const SkinLock lock(app);
  if (!lock) return;
  RemoveDirectoryTree(app, AbsoluteProfileFolder(s));
  // A profile folder that stayed keeps its line and stays the active profile; the user has seen
  // why it could not be removed.
  if (app.files.Attributes(AbsoluteProfileFolder(s))) return;
  const int count = app.controls.ListLineCount(Page::Main, kProfileBox);
  for (int i = 0; i < count; ++i) {
    if (EqualsNoCase(app.controls.ListLine(Page::Main, kProfileBox, i), s.ProfileName)) {
      app.controls.DeleteListLine(Page::Main, kProfileBox, i);
      break;
    }
  }
  app.controls.SetText(Page::Main, kProfileBox, kDefaultProfile);
}

void OpenWebPage(App& app) {
  if (app.shell) app.shell->Open(kSkinWebAddress);
}

void CloseDialog(App& app) {
  if (app.CommandRunning) {
    app.CloseRequested = true;
    return;
  }
  FreePluginList(app.plugins);
  app.controls.EndDialog();
}

void MainCommand(App& app, int id) {
  const CommandTurn turn(app);
  if (!turn) return;
  switch (id) {
    case kSaveButton:
      Save(app);
      break;
    case kRestoreButton:
      Restore(app);
      break;
    case kDeleteProfileButton:
      DeleteProfile(app);
      break;
    case kBanner:
      OpenWebPage(app);
      break;
    default:
      break;  // among them the Escape key's cancel command: the dialog stays open
  }
}

bool CommitProfile(App& app, std::string_view text) {
  AppState& s = app.state;
  const std::string candidate = Bounded(text, kNameCapacity);
  if (EqualsNoCase(candidate, s.ProfileName)) return true;
  // The name becomes part of a folder name: one that could lead outside the skins folder, or that
  // leaves no room for the profile's files within the longest name and path the file system
  // allows, is refused.
  if ((!candidate.empty() && !IsSingleFolderName(candidate, s.AnsiLeadBytes)) ||
      !FitsAsProfileFolder(s, candidate)) {
    app.messages.Notice(Format("'%s' is not a valid profile name", {candidate}));
    app.controls.SetText(Page::Main, kProfileBox, s.ProfileName);
    return false;
  }
  s.SetProfileName(candidate);
  if (!IsDefaultProfile(s.ProfileName)) {
    const auto found = app.files.List(SiblingProfileFolder(s.SkinName(), s.ProfileName));
    s.ProfileIsNew = found.empty();
    app.controls.Show(Page::Main, kRestoreButton, false);
  } else {
    s.ProfileIsNew = false;
    app.controls.Show(Page::Main, kRestoreButton, true);
  }
  if (!s.ProfileIsNew) {
    ReloadProfile(app, false);
    s.ColorsDtdDirty = false;
    s.ColorsIniDirty = false;
    app.controls.RedrawMain();
  }
  return true;
}

bool CommitScheme(App& app, std::string_view text) {
  AppState& s = app.state;
  const std::string candidate = Bounded(text, kNameCapacity);
  if (EqualsNoCase(candidate, s.SchemeName)) return true;
  app.controls.SetText(Page::General, kImageLabel, kSchemePicture);
  LoadSchemeColors(app, candidate);
  s.ColorsDtdDirty = false;
  // The scheme's own preview picture in the skin folder: its path there joined onto the skin
  // folder's full path (GetFullPathNameA would refuse a result of 260 characters or more). A path
  // too long for the field keeps the previous one.
  if (const std::string full = s.WorkDir + "\\" + SchemePictureFile(s.SchemeName);
      full.size() < kPreviewPathCapacity) {
    s.SetPreviewImagePath(full);
  }
  app.controls.RedrawMain();
  // Loading the colors has put the active scheme back into the box when it could not read the
  // candidate's colors; Save takes the scheme from the box, so it must never show another.
  return EqualsNoCase(s.SchemeName, candidate);
}

void PageCommand(App& app, int id) {
  const CommandTurn turn(app);
  if (!turn) return;
  if (FindColorButton(id)) {
    ChooseColor(app, id);
    return;
  }
  // A status's italic or bold box changes the look of the status's button.
  if (const int status = StatusOfBox(id)) {
    app.controls.RedrawControl(Page::Colors, StatusButton(status));
    return;
  }
  switch (id) {
    case kHideSchemeButton:
      HideScheme(app);
      break;
    case kDeleteSchemeButton:
      DeleteScheme(app);
      break;
    case kSmallFontsRadio:
      ApplyFontPreset(app.controls, FontPreset::Small);
      break;
    case kLargeFontsRadio:
      ApplyFontPreset(app.controls, FontPreset::Large);
      break;
    case kDeletePluginsButton:
      DeletePlugins(app);
      break;
    case kHidePluginsButton:
      HidePlugins(app);
      break;
    case kChooseImageButton:
      ChooseImage(app);
      break;
    case kShowImageButton:
      ShowPreviewImage(app);
      break;
    case kRedrawButton:
      app.controls.RedrawMain();
      break;
    default:
      break;
  }
}

}  // namespace quil
