// The dialog's controls with the combo boxes' commit handling, the shell and its two choosers, and
// the conversion of the first command-line argument.
#include "window/ShellPorts.h"

#include <shellapi.h>

#include <utility>

#include "base/Text.h"
#include "core/ControlIds.h"
#include "dialog/MainDialog.h"
#include "window/DialogShell.h"

namespace quil {

namespace {

// The image chooser's filter list: pairs of a description and a pattern, ended by an empty pair.
constexpr char kImageFilters[] =
    "Bitmap files\0*.BMP\0GIF files\0*.GIF\0JPEG files files\0*.JPEG;*.JPG\0";
constexpr DWORD kCustomFilterCapacity = 40;

}  // namespace

void ShellControls::SetCommitHandler(Page page, int id, CommitHandler commit) {
  if (page == Page::Main && id == kProfileBox) {
    profileCommit_ = std::move(commit);
    InstallProfileEditProc();
  } else if (page == Page::Colors && id == kSchemeBox) {
    schemeCommit_ = std::move(commit);
  }
}

const DialogControls::CommitHandler* ShellControls::CommitFor(Page page, int id) const {
  const CommitHandler* commit = nullptr;
  if (page == Page::Main && id == kProfileBox) commit = &profileCommit_;
  if (page == Page::Colors && id == kSchemeBox) commit = &schemeCommit_;
  return commit && *commit ? commit : nullptr;
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
  // The chooser must not change the current folder: every path of the utility is relative to it.
  imageParams_.Flags =
      OFN_EXPLORER | OFN_LONGNAMES | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_NOCHANGEDIR;

  colorParams_ = {};
  colorParams_.lStructSize = sizeof colorParams_;
  colorParams_.hwndOwner = nullptr;
  colorParams_.rgbResult = 0;
  colorParams_.Flags = CC_RGBINIT | CC_FULLOPEN | CC_ANYCOLOR;
}

void Win32Shell::Open(std::string_view target) {
  const std::string what(target);
  ShellExecuteA(nullptr, "open", what.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

std::uint32_t Win32Shell::ChooseColor(std::uint32_t color, std::uint32_t* customColors) {
  static_assert(sizeof(COLORREF) == sizeof(std::uint32_t));
  colorParams_.rgbResult = color;
  // The block is the chooser's custom colors: a swatch the user changes changes the entry.
  colorParams_.lpCustColors = reinterpret_cast<COLORREF*>(customColors);
  if (!ChooseColorA(&colorParams_)) return color;
  return colorParams_.rgbResult;
}

bool Win32Shell::ChooseImage(std::string& path, std::string& title) {
  std::string file = Bounded(path, kPreviewPathCapacity);
  file.resize(kPreviewPathCapacity, '\0');
  std::string name = Bounded(title, kPreviewTitleCapacity);
  name.resize(kPreviewTitleCapacity, '\0');
  imageParams_.lpstrFile = file.data();
  imageParams_.lpstrFileTitle = name.data();
  const bool chosen = GetOpenFileNameA(&imageParams_) != FALSE;
  imageParams_.lpstrFile = nullptr;
  imageParams_.lpstrFileTitle = nullptr;
  if (!chosen) return false;
  path = file.c_str();
  title = name.c_str();
  return true;
}

std::vector<std::string> SwitchArguments() {
  std::vector<std::string> arguments(1);
  int count = 0;
  LPWSTR* words = CommandLineToArgvW(GetCommandLineW(), &count);
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
