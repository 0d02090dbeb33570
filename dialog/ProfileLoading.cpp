// Loading the active profile into the pages.
#include "dialog/ProfileLoading.h"

#include "base/Paths.h"
#include "base/Text.h"
#include "colors/SchemeFiles.h"
#include "core/App.h"
#include "core/ControlIds.h"
#include "dialog/ListCommands.h"
#include "dialog/SchemeColorFiles.h"
#include "dialog/SettingsPages.h"
#include "profiles/Lists.h"
#include "profiles/PluginCatalogue.h"
#include "settings/ConfigDtdReader.h"

namespace quil {

namespace {

// The image label and PreviewImagePath take at most 399 characters of the image path; the lines
// of a profile's desc.txt are read in pieces of that size too.
constexpr std::size_t kImageLineCapacity = 400;

// Where an unreadable config.dtd goes, beside itself.
constexpr std::string_view kSetAsideSuffix = ".bad";
constexpr const char* kNotSetAside =
    "The settings file %s cannot be read, and it could not be set aside as %s.\n\nIt is left "
    "as it is, and the default settings are shown. Saving keeps the file as its backup (.bak).";

// The image that Trillian's skin viewer shows for the active profile: the fourth line of the
// profile's desc.txt, or the active scheme's own picture when there is none.
std::string FindPreviewImage(App& app) {
  if (auto desc = app.files.OpenRead(ReaderProfileFolderPath(app.state) + "desc.txt")) {
    std::string line;
    int read = 0;
    while (read < 4 && desc->ReadLine(line, kImageLineCapacity)) ++read;
    if (read == 4) return std::string(WithoutLineBreak(line));
  }
  return SchemePicturePath(app.state);
}

}  // namespace

void ReloadProfile(App& app, bool fullScan) {
  if (fullScan) {
    app.controls.SetListRedraw(Page::Colors, kSchemeBox, false);
    for (const std::string& scheme : SchemeFolders(app.files, app.state.ShowHidden)) {
      app.controls.AddListLine(Page::Colors, kSchemeBox, scheme);
    }
    app.controls.SetListRedraw(Page::Colors, kSchemeBox, true);
    app.plugins = ScanPlugins(app.files, app.state.ShowHidden);
  }
  const std::string settings = ProfileFolderPath(app.state) + std::string(kConfigDtd);
  if (!LoadSettings(app, settings)) {
    // The unreadable file is set aside for the user, in place of an earlier one, read-only or not
    // (deleting clears the attribute); the second read then falls back to the default plugin's
    // settings. A file that cannot be set aside stays where it is and is never deleted: the user
    // is told, and the defaults are read directly.
    const std::string setAside = settings + std::string(kSetAsideSuffix);
    app.files.Delete(setAside);
    const bool moved = app.files.Move(settings, setAside);
    if (!moved) app.messages.Notice(Format(kNotSetAside, {settings, setAside}));
    if (!LoadSettings(app, moved ? settings : std::string(kDefaultPluginFile))) {
      app.messages.Failure("Unable to read default plugin");
      app.exit.Exit(1);
    }
  }
  FillPluginListBox(app);

  const std::string image = FindPreviewImage(app);
  app.controls.SetText(Page::General, kImageLabel,
                       Bounded(LastComponent(image, app.state.AnsiLeadBytes), kImageLineCapacity));
  app.state.SetPreviewImagePath(
      Bounded(app.files.FullPath(image).value_or(image), kImageLineCapacity));

  std::string scheme = app.controls.GetText(Page::Colors, kSchemeBox);
  if (scheme.empty()) scheme = kFallbackScheme;
  LoadSchemeColors(app, scheme);
  // A profile naming a scheme without colors has fallen back to another one, which the box shows:
  // Save writes the scheme named there.
  if (!EqualsNoCase(app.controls.GetText(Page::Colors, kSchemeBox), app.state.SchemeName)) {
    app.controls.SetText(Page::Colors, kSchemeBox, app.state.SchemeName);
  }
}

}  // namespace quil
