// The pages as the view of the skin settings.
#include "dialog/SettingsPages.h"

#include <cstddef>
#include <unordered_set>

#include "core/App.h"
#include "core/ControlIds.h"
#include "dialog/MainDialog.h"
#include "dialog/Outcomes.h"
#include "settings/ConfigDtdReader.h"

namespace quil {

namespace {

// Shows one option's field in its control(s). Check boxes and radio buttons are set explicitly,
// checked or unchecked.
void ShowOption(DialogControls& controls, const SkinOption& option, const SkinSettings& settings) {
  switch (option.encoding) {
    case Encoding::Flag:
      controls.SetChecked(option.page, option.control, settings.*option.flag);
      break;
    case Encoding::Radio:
      controls.SetChecked(option.page, option.onControl, settings.*option.flag);
      controls.SetChecked(option.page, option.control, !(settings.*option.flag));
      break;
    case Encoding::Text:
    case Encoding::FirstTwo:
      controls.SetText(option.page, option.control, settings.*option.text);
      break;
  }
}

}  // namespace

void SetInitialOptionStates(DialogControls& controls) {
  const SkinSettings initial;
  for (const SkinOption& option : SkinOptions()) {
    if (option.encoding == Encoding::Radio) {
      controls.SetChecked(option.page, option.control, false);
      controls.SetChecked(option.page, option.onControl, false);
    } else {
      ShowOption(controls, option, initial);
    }
  }
}

SkinSettings ShownSettings(App& app) {
  SkinSettings settings;
  settings.skinVersion = app.state.SkinVersion;
  settings.scheme = app.controls.GetText(Page::Colors, kSchemeBox, kControlTextCapacity);
  for (const SkinOption& option : SkinOptions()) {
    switch (option.encoding) {
      case Encoding::Flag:
        settings.*option.flag = app.controls.IsChecked(option.page, option.control);
        break;
      case Encoding::Radio:
        settings.*option.flag = app.controls.IsChecked(option.page, option.onControl);
        break;
      case Encoding::Text:
      case Encoding::FirstTwo:
        settings.*option.text =
            app.controls.GetText(option.page, option.control, kControlTextCapacity);
        break;
    }
  }
  return settings;
}

void ShowSettings(App& app, const SkinSettings& settings) {
  app.state.SkinVersion = settings.skinVersion;
  if (settings.scheme) {
    // The box shows the scheme once it is active; a scheme whose colors cannot be read has put the
    // active one back into the box, and that stays active.
    if (CommitScheme(app, *settings.scheme)) {
      app.controls.SetText(Page::Colors, kSchemeBox, *settings.scheme);
    }
    app.state.SetSchemeName(app.controls.GetText(Page::Colors, kSchemeBox, kControlTextCapacity));
  }
  for (const SkinOption& option : SkinOptions()) {
    if (option.IsRead()) ShowOption(app.controls, option, settings);
  }
  const std::unordered_set<std::string> stems(settings.pluginStems.begin(),
                                              settings.pluginStems.end());
  for (PluginEntry& entry : app.plugins) entry.selected = stems.contains(entry.variable);
}

bool LoadSettings(App& app, const std::string& fileName) {
  SkinSettings settings = ShownSettings(app);
  settings.scheme.reset();
  const bool complete = ShowOutcome(app, ReadConfigDtd(app.files, fileName, settings));
  ShowSettings(app, settings);
  return complete;
}

PluginSelection ShownPluginSelection(App& app) {
  PluginSelection selection(app.plugins.size());
  for (std::size_t i = 0; i < selection.size(); ++i) {
    selection[i] = app.controls.IsListLineSelected(Page::Plugins, kPluginList, static_cast<int>(i));
  }
  return selection;
}

void ShowPluginSelection(App& app, const PluginSelection& selection) {
  for (std::size_t i = 0; i < selection.size(); ++i) {
    const int line = static_cast<int>(i);
    if (!selection[i] && app.controls.IsListLineSelected(Page::Plugins, kPluginList, line)) {
      app.controls.SelectListLine(Page::Plugins, kPluginList, line, false);
    }
  }
}

void ApplyFontPreset(DialogControls& controls, FontPreset preset) {
  SkinSettings sizes;
  quil::ApplyFontPreset(sizes, preset);
  for (const SkinOption& option : SkinOptions()) {
    if (option.encoding == Encoding::FirstTwo) ShowOption(controls, option, sizes);
  }
}

}  // namespace quil
