// redirect.exe started as the shell would start it, in a scratch folder as its current folder: it
// opens skinconfig.bat there and ends at once with the shell's answer as its exit code.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "files/win32/Win32.h"

namespace quil::test {
namespace {

namespace fs = std::filesystem;

// Long enough for Wine to start a process; a launcher that waited for anything (a message box,
// the batch file) would not end within it.
constexpr DWORD kLauncherTimeoutMs = 60000;
constexpr DWORD kStillRunning = 0x7fffffff;

class Launcher : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("quil-launcher-" +
               std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    fs::create_directories(folder_);
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }

  // Runs redirect.exe in the scratch folder with `arguments`; its exit code, or kStillRunning
  // when it did not end in time (it is then ended).
  DWORD Run(const std::string& arguments) {
    std::string commandLine = "\"" QUIL_REDIRECT_EXE "\"";
    if (!arguments.empty()) commandLine += " " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const std::string folder = folder_.string();
    if (!CreateProcessA(QUIL_REDIRECT_EXE, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &process)) {
      ADD_FAILURE() << "CreateProcessA failed with " << GetLastError();
      return kStillRunning;
    }
    DWORD exitCode = kStillRunning;
    if (WaitForSingleObject(process.hProcess, kLauncherTimeoutMs) == WAIT_OBJECT_0) {
      GetExitCodeProcess(process.hProcess, &exitCode);
    } else {
      TerminateProcess(process.hProcess, kStillRunning);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return exitCode;
  }

  void WriteBatch(const std::string& text) {
    std::ofstream(folder_ / "skinconfig.bat", std::ios::binary) << text;
  }

  // Waits until the batch file has left its mark in the folder.
  bool WaitForFile(const std::string& name) {
    for (int i = 0; i < 200; ++i) {
      if (fs::exists(folder_ / name)) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
  }

  fs::path folder_;
};

constexpr DWORD kShellFileNotFound = 2;
constexpr DWORD kShellStarted = 32;  // the shell's results above this mean success

TEST_F(Launcher, WithoutTheBatchFileEndsAtOnceWithFileNotFound) {
  for (const char* arguments : {"", "/restore", "/showhidden extra \"quoted words\""}) {
    EXPECT_EQ(Run(arguments), kShellFileNotFound) << "arguments: " << arguments;
  }
}

TEST_F(Launcher, StartsTheBatchFileOfItsCurrentFolder) {
  // The batch file proves that it ran in the launcher's folder by leaving a file there.
  WriteBatch("@echo off\r\necho started> started.txt\r\nexit\r\n");
  const DWORD exitCode = Run("");
  EXPECT_GT(exitCode, kShellStarted);
  EXPECT_NE(exitCode, kStillRunning);
  EXPECT_TRUE(WaitForFile("started.txt"));
}

TEST_F(Launcher, ArgumentsChangeNothing) {
  WriteBatch("@echo off\r\nexit\r\n");
  for (const char* arguments : {"/restore", "skinconfig.bat other.bat", "\"a b\" c"}) {
    const DWORD exitCode = Run(arguments);
    EXPECT_GT(exitCode, kShellStarted) << "arguments: " << arguments;
    EXPECT_NE(exitCode, kStillRunning) << "arguments: " << arguments;
  }
}

}  // namespace
}  // namespace quil::test
