// The scratch skin folder and the test application.
#include "tests/support/ScratchSkin.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <functional>
#include <iterator>
#include <stdexcept>
#include <utility>

#ifdef _WIN32
#include "files/win32/Win32.h"
#endif

namespace quil::test {

namespace fs = std::filesystem;

namespace {

#ifdef _WIN32
// Runs a program of the host through Wine's drive Z: (the host's root) in `folder`, and waits,
// bounded, until `done` holds: Wine does not tie the host program's end to the process handle.
// False on Windows itself, which has no such drive, and when `done` does not come.
bool RunOnHost(std::wstring command, const fs::path& folder, const std::function<bool()>& done) {
  const std::wstring where = folder.wstring();
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, where.c_str(),
                      &startup, &process)) {
    return false;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    Sleep(10);
  }
  return true;
}

bool IsReparsePoint(const fs::path& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}
#endif

}  // namespace

ScratchSkin::ScratchSkin(bool copySample, const std::string& skinName)
    : previous_(fs::current_path()) {
  static std::atomic<int> counter{0};
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  skins_ = fs::temp_directory_path() /
           ("quil-skins-" + std::to_string(stamp) + "-" + std::to_string(counter++));
  skin_ = skins_ / skinName;
  fs::create_directories(skins_);
  if (copySample) {
    fs::copy(fs::path(QUIL_SAMPLE_SKIN), skin_, fs::copy_options::recursive);
  } else {
    fs::create_directories(skin_);
  }
  fs::current_path(skin_);
}

ScratchSkin::~ScratchSkin() {
  std::error_code ignored;
  fs::current_path(previous_, ignored);
#ifdef _WIN32
  for (const fs::path& link : hostLinks_) {
    if (!IsReparsePoint(link)) continue;
    RunOnHost(L"Z:\\bin\\rm -f \"" + link.filename().wstring() + L"\"", link.parent_path(),
              [&] { return !IsReparsePoint(link); });
  }
#endif
  // Read-only files would stop the removal on Windows.
  for (auto it = fs::recursive_directory_iterator(skins_, ignored);
       it != fs::recursive_directory_iterator(); it.increment(ignored)) {
    if (!it->is_symlink(ignored)) {
      fs::permissions(it->path(), fs::perms::owner_write, fs::perm_options::add, ignored);
    }
  }
  fs::remove_all(skins_, ignored);
}

std::string ScratchSkin::Read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void ScratchSkin::Write(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

bool ScratchSkin::MakeFolderLink(const fs::path& target, const fs::path& link) {
  std::error_code error;
  fs::create_directory_symlink(target, link, error);
  if (!error && fs::is_symlink(link, error)) return true;
#ifdef _WIN32
  // Wine 8 answers CreateSymbolicLinkW with success and makes nothing, but it runs the host's
  // programs: the host's "ln" makes the link, in the link's folder with a relative target. Wine
  // shows such a link as a folder link (a reparse point), and cannot remove it.
  const std::wstring command = L"Z:\\bin\\ln -s \"" +
                               fs::relative(target, link.parent_path(), error).generic_wstring() +
                               L"\" \"" + link.filename().wstring() + L"\"";
  if (!RunOnHost(command, link.parent_path(), [&] { return IsReparsePoint(link); })) return false;
  hostLinks_.push_back(link);
  return true;
#else
  return false;
#endif
}

TestApp::TestApp() : TestApp(MakePlatformFileServices()) {}

TestApp::TestApp(std::unique_ptr<FileServices> given)
    : files(std::move(given)), app(*files, dialog, dialog, dialog) {
  app.state.AnsiLeadBytes = files->AnsiLeadBytes();
  app.state.SetWorkDir(files->CurrentDirectory());
  app.shell = &shell;
}

}  // namespace quil::test
