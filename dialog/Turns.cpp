// The command turn and the skin's lock.
#include "dialog/Turns.h"

#include <string>

#include "core/App.h"
#include "dialog/MainDialog.h"
#include "dialog/Outcomes.h"

namespace quil {

CommandTurn::CommandTurn(App& app) : app_(app), taken_(!app.CommandRunning) {
  if (taken_) app_.CommandRunning = true;
}

CommandTurn::~CommandTurn() {
  if (!taken_) return;
  app_.CommandRunning = false;
  if (app_.CloseRequested) CloseDialog(app_);
}

SkinLock::SkinLock(App& app) : lock_(app.files.Lock(std::string(kSkinLockFile))) {
  if (lock_ || app.files.LastError() != FileError::SharingViolation) return;
  mayWrite_ = false;
  ShowOutcome(app, Outcome{}.Fail(Fault::SkinBusy));
}

}  // namespace quil
