// The entry point of QuilConfig.exe: the first command-line argument's switch, then the main
// dialog until it is closed. The program works on the skin in its current folder.
#include "core/App.h"
#include "dialog/MainDialog.h"
#include "files/win32/Win32.h"
#include "window/DialogShell.h"
#include "window/ShellPorts.h"
#include "window/Win32Ports.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
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
  quil::RunMainDialog(dialog);
  return 0;
}
