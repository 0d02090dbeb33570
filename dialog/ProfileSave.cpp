// Save of the active profile: the questions and the profile box; the files are profiles/' to write.
#include "dialog/ProfileSave.h"

#include <string>

#include "base/Text.h"
#include "core/App.h"
#include "core/ControlIds.h"
#include "profiles/ProfileFolders.h"

namespace quil {

namespace {

// A profile that failed to save once is still new: its name is in the profile box already.
void AddProfileLine(App& app, const std::string& name) {
  const int count = app.controls.ListLineCount(Page::Main, kProfileBox);
  for (int i = 0; i < count; ++i) {
    if (EqualsNoCase(app.controls.ListLine(Page::Main, kProfileBox, i), name)) return;
  }
  app.controls.AddListLine(Page::Main, kProfileBox, name);
}

}  // namespace

bool ConfirmSave(App& app) {
  const AppState& s = app.state;
  return app.messages.Ask(
      s.ProfileIsNew
          ? Format("Profile \"%s\" not found:\nCreate a new profile?", {s.ProfileName})
          : Format("Are you sure you want to overwrite the '%s' profile?", {s.ProfileName}));
}

Outcome SaveProfile(App& app, const SkinSettings& settings, PluginSelection& selection) {
  AppState& s = app.state;
  if (s.ProfileIsNew) {
    // Without its folder nothing of the profile can be written: the save fails as a whole, and
    // the dialog keeps the user's edits for another try.
    if (!MakeProfileFolders(app.files, s)) {
      return Outcome{}.Fail(Fault::ConfigNotSaved, ProfileFolderPath(s));
    }
    AddProfileLine(app, s.ProfileName);
  }
  return WriteProfile(app.files, s, app.plugins, settings, selection);
}

}  // namespace quil
