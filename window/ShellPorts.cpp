// The dialog's controls with the combo boxes' commit handling, the shell and its two choosers, and
// the conversion of the first command-line argument.
#include "window/ShellPorts.h"

#include <shellapi.h>

#include <string>
#include <utility>

#include "base/Text.h"
#include "core/AppState.h"
#include "dialog/MainDialog.h"
#include "window/Com.h"
#include "window/Late.h"

namespace quil {

namespace {

// The image chooser's filter list: pairs of a description and a pattern, ended by an empty pair.
constexpr char kImageFilters[] =
    "Bitmap files\0*.BMP\0GIF files\0*.GIF\0JPEG files files\0*.JPEG;*.JPG\0";
constexpr DWORD kCustomFilterCapacity = 40;

// SHELL32 and COMDLG32, with the DLLs they load in turn, take a noticeable part of the program's
// start, and only the switches, the shell's open action and the two choosers need them: each
// function is found on its first use (Late).

// Whether the command line holds anything after the program's name, which CommandLineToArgvW
// takes as running to the next quote when it begins with one, else to the first blank.
bool HasArguments(const wchar_t* line) {
  if (*line == L'"') {
    ++line;
    while (*line && *line++ != L'"') {
    }
  } else {
    while (*line && *line != L' ' && *line != L'\t') ++line;
  }
  while (*line == L' ' || *line == L'\t') ++line;
  return *line != L'\0';
}

}  // namespace

ShellControls::CommitField* ShellControls::FieldOf(Page page, int id) {
  for (CommitField* field : {&profileField_, &schemeField_}) {
    if (field->page == page && field->id == id) return field;
  }
  return nullptr;
}

void ShellControls::SetCommitHandler(Page page, int id, CommitHandler commit) {
  CommitField* field = FieldOf(page, id);
  if (!field) return;
  field->commit = std::move(commit);
  if (field == &profileField_) ReplaceEditProcedure(page, id);
}

void ShellControls::ReplaceEditProcedure(Page page, int id) {
  CommitField* field = FieldOf(page, id);
  if (!field || field->previous) return;
  const HWND combo = Control(page, id);
  const HWND edit = combo ? FindWindowExA(combo, nullptr, "Edit", nullptr) : nullptr;
  if (!edit) return;
  // The field's own procedure leaves the user data to the application.
  SetWindowLongPtrA(edit, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(field));
  field->previous = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CommitProcedure)));
}

// The commit rule of the profile box's and the scheme box's edit fields. A set-text commits the
// text being set, taken before the field stores it; losing the focus and releasing Enter commit
// the box's current text as read into a name's buffer. Then the message goes on to the field's
// own procedure, except a set-text whose name the commit refused: the field keeps the active name
// that the commit put back. A commit that shows a message box takes the focus away from the field;
// that loss of focus is no second commit (`busy`), but a set-text during a commit always is one.
// Nor is the loss of focus when a message box or chooser disables the dialog: the name is not
// committed in the middle of another command, and the field commits when it loses the focus later.
LRESULT CALLBACK ShellControls::CommitProcedure(HWND edit, UINT message, WPARAM wParam,
                                                LPARAM lParam) {
  CommitField& field = *reinterpret_cast<CommitField*>(GetWindowLongPtrA(edit, GWLP_USERDATA));
  const bool enter = message == WM_KEYUP && wParam == VK_RETURN;
  if (field.commit && message == WM_SETTEXT) {
    const CommitHandler commit = field.commit;
    const std::string candidate = lParam ? reinterpret_cast<const char*>(lParam) : "";
    const bool wasBusy = field.busy;
    field.busy = true;
    const bool taken = commit(candidate);
    field.busy = wasBusy;
    if (!taken) return TRUE;
  } else if (field.commit && !field.busy && (message == WM_KILLFOCUS || enter) &&
             IsWindowEnabled(GetAncestor(edit, GA_ROOT))) {
    const CommitHandler commit = field.commit;
    field.busy = true;
    commit(field.controls.GetText(field.page, field.id, kNameCapacity));
    field.busy = false;
  }
  return CallWindowProcA(field.previous, edit, message, wParam, lParam);
}

void Win32Shell::Prepare(HWND mainWindow) {
  imageParams_ = {};
  imageParams_.lStructSize = sizeof imageParams_;
  imageParams_.hwndOwner = mainWindow;
  imageParams_.lpstrFilter = kImageFilters;
  imageParams_.lpstrCustomFilter = nullptr;
  imageParams_.nMaxCustFilter = kCustomFilterCapacity;
  imageParams_.nFilterIndex = 1;
  imageParams_.nMaxFile = static_cast<DWORD>(kPreviewPathCapacity);
  imageParams_.nMaxFileTitle = static_cast<DWORD>(kPreviewTitleCapacity);
  imageParams_.lpstrInitialDir = nullptr;
  imageParams_.lpstrTitle = "Select image...";
  imageParams_.lpstrDefExt = "bmp";
  // The chooser must not change the current folder: every path of the utility is relative to it
  // (ChooseImage puts it back too).
  imageParams_.Flags =
      OFN_EXPLORER | OFN_LONGNAMES | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_NOCHANGEDIR;

  colorParams_ = {};
  colorParams_.lStructSize = sizeof colorParams_;
  // Owned by the main dialog, as the image chooser is: the dialog takes no input while it is open.
  colorParams_.hwndOwner = mainWindow;
  colorParams_.rgbResult = 0;
  colorParams_.Flags = CC_RGBINIT | CC_FULLOPEN | CC_ANYCOLOR;
}

void Win32Shell::Open(std::string_view target) {
  static const auto shellExecute = Late<decltype(&ShellExecuteA)>("shell32.dll", "ShellExecuteA");
  if (!shellExecute) return;
  // The action may run in a shell extension, which needs COM on this thread.
  UseCom();
  const std::string what(target);
  shellExecute(nullptr, "open", what.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

std::uint32_t Win32Shell::ChooseColor(std::uint32_t color, std::uint32_t* customColors) {
  static_assert(sizeof(COLORREF) == sizeof(std::uint32_t));
  colorParams_.rgbResult = color;
  // The block is the chooser's custom colors: a swatch the user changes changes the entry.
  colorParams_.lpCustColors = reinterpret_cast<COLORREF*>(customColors);
  static const auto chooseColor = Late<decltype(&ChooseColorA)>("comdlg32.dll", "ChooseColorA");
  if (!chooseColor || !chooseColor(&colorParams_)) return color;
  return colorParams_.rgbResult;
}

bool Win32Shell::ChooseImage(std::string& path, std::string& title) {
  std::string file = Bounded(path, kPreviewPathCapacity);
  file.resize(kPreviewPathCapacity, '\0');
  std::string name = Bounded(title, kPreviewTitleCapacity);
  name.resize(kPreviewTitleCapacity, '\0');
  imageParams_.lpstrFile = file.data();
  imageParams_.lpstrFileTitle = name.data();
  static const auto getOpenFileName =
      Late<decltype(&GetOpenFileNameA)>("comdlg32.dll", "GetOpenFileNameA");
  // Every path of the utility is relative to the current folder, and the chooser may change it
  // whatever its flags say (OFN_NOCHANGEDIR does not hold for an open-file chooser): it is put
  // back, however the chooser ends.
  const std::optional<std::wstring> folder = CurrentDirectoryWide();
  const bool chosen = getOpenFileName && getOpenFileName(&imageParams_) != FALSE;
  if (folder) SetCurrentDirectoryW(folder->c_str());
  imageParams_.lpstrFile = nullptr;
  imageParams_.lpstrFileTitle = nullptr;
  if (!chosen) return false;
  path = file.c_str();
  title = name.c_str();
  return true;
}

std::vector<std::string> SwitchArguments() {
  std::vector<std::string> arguments(1);
  const wchar_t* line = GetCommandLineW();
  if (!HasArguments(line)) return arguments;
  static const auto splitLine =
      Late<decltype(&CommandLineToArgvW)>("shell32.dll", "CommandLineToArgvW");
  int count = 0;
  LPWSTR* words = splitLine ? splitLine(line, &count) : nullptr;
  if (!words) return arguments;
  if (count >= 2) {
    // An argument whose ANSI form does not fit the buffer is no switch: it is left out.
    std::string first(kSwitchCapacity, '\0');
    const int length = WideCharToMultiByte(CP_ACP, 0, words[1], -1, first.data(),
                                           static_cast<int>(first.size()), nullptr, nullptr);
    if (length > 0) {
      first.resize(static_cast<std::size_t>(length - 1));
      arguments.push_back(std::move(first));
    }
  }
  LocalFree(words);
  return arguments;
}

}  // namespace quil
