// Hiding and deleting schemes and plugins: the questions, the folder operations and the lists
// brought up to date.
#include "dialog/ListCommands.h"

#include "base/Text.h"
#include "colors/SchemeFiles.h"
#include "core/App.h"
#include "core/ControlIds.h"
#include "dialog/Outcomes.h"
#include "dialog/Turns.h"
#include "profiles/Lists.h"
#include "profiles/PluginCatalogue.h"

namespace quil {

namespace {

enum class Removal { Hide, Delete };

void RemoveScheme(App& app, Removal how) {
  const std::string name = app.controls.GetText(Page::Colors, kSchemeBox);
  if (!IsSingleFolderName(name, app.state.AnsiLeadBytes)) {
    app.messages.Notice(Format("'%s' is not a color scheme", {name}));
    return;
  }
  int found = -1;
  const int count = app.controls.ListLineCount(Page::Colors, kSchemeBox);
  for (int i = 0; i < count; ++i) {
    if (EqualsNoCase(app.controls.ListLine(Page::Colors, kSchemeBox, i), name)) {
      found = i;
      break;
    }
  }
  if (EqualsNoCase(name, kFallbackScheme)) {
    app.messages.Notice(
        how == Removal::Hide
            ? "It is NOT recommended that you hide the Green scheme\nRemoving this scheme may "
              "cause the config util and skin to crash unrecoverably\n\nIf you really want to "
              "hide it, rename the mods\\green directory to mods\\!green by hand"
            : "It is NOT recommended that you delete the Green scheme\nRemoving this scheme may "
              "cause the config util and skin to crash unrecoverably\n\nIf you really want to "
              "delete it, delete the mods\\green directory by hand");
    return;
  }
  const char* question = how == Removal::Hide
                             ? "Are you sure you want to hide the following color scheme?\n\n%s"
                             : "Are you sure you want to delete the following color scheme?\n\n%s";
  if (!app.messages.Ask(Format(question, {name}))) return;
  const SkinLock lock(app);
  if (!lock) return;
  if (how == Removal::Hide) {
    if (!app.files.Move(SchemeFolderPath(name), SchemeFolderPath("!" + name))) {
      app.messages.Failure(Format("Unable to hide the color scheme '%s'", {name}));
    }
  } else {
    RemoveDirectoryTree(app, SchemeFolderPath(name));
  }
  // The line leaves the list only with its folder. A folder that stayed (a file in it that could
  // not be deleted, a shipped folder the user may not change) keeps its line and stays active;
  // the user has seen why.
  if (app.files.Attributes(SchemeFolderPath(name))) return;
  if (found >= 0) app.controls.DeleteListLine(Page::Colors, kSchemeBox, found);
  // The first remaining scheme becomes the box's text, and so the active scheme.
  app.controls.SetText(Page::Colors, kSchemeBox,
                       app.controls.ListLine(Page::Colors, kSchemeBox, 0));
  app.controls.Focus(Page::Colors, kSchemeBox);
}

void RemovePlugins(App& app, Removal how) {
  const char* question =
      how == Removal::Hide
          ? "Are you sure you want to hide the following plugin?\n\n%s\n\nTo show the plugin in "
            "the future, delete the '!' in front of the folder name in the plugins folder"
          : "Are you sure you want to delete the following plugin?\n\n%s";
  // The plugins to ask about are taken before the first question, and the questions walk this
  // copy: nothing that happens while a question is open can change what they name.
  int line = 0;
  PluginList chosen;
  for (PluginEntry& entry : app.plugins) {
    entry.selected = app.controls.IsListLineSelected(Page::Plugins, kPluginList, line++);
    if (entry.selected) chosen.push_back(entry);
  }
  for (const PluginEntry& entry : chosen) {
    if (!app.messages.Ask(Format(question, {entry.description}))) continue;
    if (!IsSingleFolderName(entry.folder, app.state.AnsiLeadBytes)) continue;
    const SkinLock lock(app);
    if (!lock) break;
    if (how == Removal::Hide) {
      if (!app.files.Move(PluginFolderPath(entry.folder), PluginFolderPath("!" + entry.folder))) {
        app.messages.Failure(Format("Unable to hide the plugin '%s'", {entry.description}));
      }
    } else {
      RemoveDirectoryTree(app, PluginFolderPath(entry.folder));
    }
  }
  app.plugins = ScanPlugins(app.files, app.state.ShowHidden);
  FillPluginListBox(app);
}

}  // namespace

void FillPluginListBox(App& app) {
  app.controls.SetListRedraw(Page::Plugins, kPluginList, false);
  app.controls.ClearList(Page::Plugins, kPluginList);
  int line = 0;
  for (const PluginEntry& entry : app.plugins) {
    app.controls.AddListLine(Page::Plugins, kPluginList, entry.description);
    // A line is added unselected.
    if (entry.selected) app.controls.SelectListLine(Page::Plugins, kPluginList, line, true);
    ++line;
  }
  app.controls.SetListRedraw(Page::Plugins, kPluginList, true);
}

void RemoveDirectoryTree(App& app, const std::string& path) {
  ShowOutcome(app, RemoveFolderTree(app.files, app.state.AnsiLeadBytes, path));
}

void HideScheme(App& app) {
  RemoveScheme(app, Removal::Hide);
}
void DeleteScheme(App& app) {
  RemoveScheme(app, Removal::Delete);
}
void HidePlugins(App& app) {
  RemovePlugins(app, Removal::Hide);
}
void DeletePlugins(App& app) {
  RemovePlugins(app, Removal::Delete);
}

}  // namespace quil
