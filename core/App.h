// The application object: the process-wide state that the parts of the utility share, and the
// ports through which they reach files, the dialog, message boxes and the end of the program.
// One App is made by the Win32 shell (or by a test) and handed to the dialog's operations and the
// profile folders; the color and settings files get only the file services and the values they
// use, and return outcomes (core/Outcome.h) that the dialog turns into messages.
#pragma once

#include "core/AppState.h"
#include "core/ColorTable.h"
#include "core/PluginList.h"
#include "core/Ports.h"
#include "files/FileServices.h"

namespace quil {

struct App {
  App(FileServices& files, DialogControls& controls, MessageBoxes& messages, ProgramExit& exit)
      : files(files), controls(controls), messages(messages), exit(exit) {}

  AppState state;
  SchemeColors colors;
  PluginList plugins;

  FileServices& files;
  DialogControls& controls;
  MessageBoxes& messages;
  ProgramExit& exit;
  // The shell and the choosers; set before the dialog starts (the page commands use it).
  Shell* shell = nullptr;
  // A command of the dialog is running (dialog/Turns.h): another one is dropped, and a close
  // request waits for its end.
  bool CommandRunning = false;
  bool CloseRequested = false;
};

}  // namespace quil
