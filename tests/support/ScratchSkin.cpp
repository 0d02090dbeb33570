// The scratch skin folder and the test application.
#include "tests/support/ScratchSkin.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <utility>

#ifdef _WIN32
#include "files/win32/Win32.h"
#endif

namespace quil::test {

namespace fs = std::filesystem;

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
  // Wine 8 answers CreateSymbolicLinkW with success and makes nothing; its drive Z: is the host's
  // root, and it runs the host's programs, so the host's "ln" makes the link, in the link's folder
  // with a relative target. Wine shows such a link as a folder link (a reparse point).
  if (!fs::exists("Z:\\bin\\ln", error)) return false;
  std::wstring command = L"Z:\\bin\\ln -s \"" +
                         fs::relative(target, link.parent_path(), error).generic_wstring() +
                         L"\" \"" + link.filename().wstring() + L"\"";
  const std::wstring folder = link.parent_path().wstring();
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                      &startup, &process)) {
    return false;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  // Wine does not tie the host program's end to the handle: wait for the link itself, bounded.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  for (;;) {
    const DWORD attributes = GetFileAttributesW(link.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
      return true;
    }
    if (std::chrono::steady_clock::now() > deadline) return false;
    Sleep(10);
  }
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
