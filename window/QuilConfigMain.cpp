// The entry point of QuilConfig.exe: the first command-line argument's switch, then the main
// dialog until it is closed. The program works on the skin in its current folder.
//
// Exit status: 0 when the dialog was closed; 1 after an unrecoverable file failure (the file code
// ends the program itself); 2 when the dialog could not be made at all, after a message saying so
// where a message box can still show.
#include "base/Text.h"
#include "core/App.h"
#include "dialog/MainDialog.h"
#include "files/win32/Win32.h"
#include "window/DialogShell.h"
#include "window/Late.h"
#include "window/ShellPorts.h"
#include "window/Win32Ports.h"

#include <string>

namespace {
constexpr int kDialogNotMadeStatus = 2;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // Before any DLL is loaded: none may come from the skin's folder, where the program lies.
  quil::SearchDllsInSystemFolderOnly();
  const auto files = quil::MakePlatformFileServices();
  quil::ShellControls controls;
  quil::Win32MessageBoxes messages;
  quil::Win32ProgramExit exit;
  quil::Win32Shell shell;
  quil::App app(*files, controls, messages, exit);
  app.shell = &shell;

  quil::ApplySwitches(app.state, quil::SwitchArguments());

  quil::DialogData dialog(instance, app, controls, shell);
  controls.Attach(dialog.windows);
  DWORD error = 0;
  if (!quil::RunMainDialog(dialog, error)) {
    messages.Failure(
        quil::Format("Unable to create the dialog, error - %d", {std::to_string(error)}));
    return kDialogNotMadeStatus;
  }
  return 0;
}
