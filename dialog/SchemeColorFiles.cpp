// Loading and saving a scheme's colors from the dialog.
#include "dialog/SchemeColorFiles.h"

#include <string>

#include "colors/ColorsDtd.h"
#include "colors/ColorsIni.h"
#include "colors/SchemeColors.h"
#include "core/App.h"
#include "core/ControlIds.h"
#include "dialog/Outcomes.h"

namespace quil {

bool LoadColorsDtd(App& app, std::string_view schemeName) {
  std::string name(schemeName);
  if (name.empty()) name = app.controls.GetText(Page::Colors, kSchemeBox, kControlTextCapacity);
  if (ShowOutcome(app, ReadColorsDtd(app.files, app.state, app.colors, name))) return true;
  app.controls.SetText(Page::Colors, kSchemeBox, app.state.SchemeName);
  return false;
}

void LoadSchemeColors(App& app, std::string_view schemeName) {
  LoadColorsDtd(app, schemeName);
  ShowOutcome(app, ReadColorsIni(app.files, app.state, app.colors));
}

bool SaveColorsDtd(App& app) {
  const Outcome outcome = WriteColorsDtd(app.files, app.state, app.colors);
  if (ShowOutcome(app, outcome)) return true;
  if (!outcome.faults.empty() &&
      outcome.faults.back().fault == Fault::ColorsDtdTemplateIncomplete) {
    RestoreDefaultColorsDtd(app.files, app.state);
    LoadColorsDtd(app, {});
    app.controls.RedrawMain();
  }
  return false;
}

bool SaveSchemeColors(App& app) {
  bool written = true;
  if (app.state.ColorsDtdDirty || app.state.ProfileIsNew) written = SaveColorsDtd(app);
  if (app.state.ColorsIniDirty || app.state.ProfileIsNew) {
    written = ShowOutcome(app, WriteColorsIni(app.files, app.state, app.colors)) && written;
  }
  return written;
}

bool EndColorChoice(App& app, int buttonId, Color chosen) {
  if (!StoreChosenColor(app.colors, app.state, buttonId, chosen)) return false;
  app.controls.RedrawMain();
  return true;
}

}  // namespace quil
