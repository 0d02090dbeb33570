// The benchmark driver, run under Wine by scripts/bench.sh. Two measurements:
//
//   quil_bench start RUNS NAME1 PROGRAM1 FOLDER1 NAME2 PROGRAM2 FOLDER2
//     Starts the two programs in turn, RUNS times each, each in its folder (a skin folder, made
//     its current folder), and times each start from the process's creation until its dialog is
//     visible and answers a message; then closes it. The order alternates from run to run, so that
//     both meet the same load of the machine. Prints each one's median and the ratio of the
//     medians.
//
//   quil_bench save RUNS FOLDER
//     In FOLDER, a skin, starts the utility's core on an in-memory dialog and times Save of the
//     "(default)" profile against copying the files that Save writes, alternately, RUNS times
//     each. Prints the medians and their ratio.
//
// The last line of each measurement is "medians <first> <second>", in milliseconds, for the
// script.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "core/App.h"
#include "dialog/MainDialog.h"
#include "dialog/SettingsPages.h"
#include "tests/support/MemoryDialog.h"

namespace {

constexpr const char* kDialogTitle = "Quil Configuration Utility";
// Runs made before the timed ones, so that the first timed run finds the files in the cache.
constexpr int kWarmUpRuns = 2;
// How long a start, a message round trip or a close may take before the run counts as failed.
constexpr DWORD kLimitMs = 60000;
// The files that Save of "(default)" leaves written; Save writes each through a temporary file
// and keeps the previous config.dtd as its backup.
constexpr const char* kSavedFiles[] = {"desc.txt", "config.dtd", "config.dtd.bak", "settings.dtd"};
constexpr const char* kCopySuffix = ".benchcopy";

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
         static_cast<double>(frequency.QuadPart);
}

LARGE_INTEGER Now() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now;
}

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "quil_bench: %s\n", what.c_str());
  std::fflush(stderr);
  std::exit(1);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

struct Series {
  std::string name;
  std::vector<double> times;
};

void Report(const Series& first, const Series& second) {
  for (const Series* s : {&first, &second}) {
    std::printf("  %-28s median %8.1f ms   (min %.1f, max %.1f, %zu runs)\n", s->name.c_str(),
                Median(s->times), *std::min_element(s->times.begin(), s->times.end()),
                *std::max_element(s->times.begin(), s->times.end()), s->times.size());
  }
  const double a = Median(first.times);
  const double b = Median(second.times);
  std::printf("  ratio %.2f\n", b > 0 ? a / b : 0.0);
  std::printf("medians %.1f %.1f\n", a, b);
  std::fflush(stdout);
}

struct Search {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK FindDialog(HWND window, LPARAM param) {
  auto& search = *reinterpret_cast<Search*>(param);
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  if (processId != search.processId || !IsWindowVisible(window)) return TRUE;
  char className[16] = {};
  char title[64] = {};
  GetClassNameA(window, className, sizeof className);
  GetWindowTextA(window, title, sizeof title);
  if (std::string(className) != "#32770" || std::string(title) != kDialogTitle) return TRUE;
  search.found = window;
  return FALSE;
}

// One start of `program` in `folder`: the milliseconds until its dialog showed and answered.
double TimeStart(const std::string& program, const std::string& folder) {
  std::string commandLine = "\"" + program + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  const LARGE_INTEGER start = Now();
  if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.c_str(), &startup, &process)) {
    Fail("cannot start " + program + " (error " + std::to_string(GetLastError()) + ")");
  }
  Search search{process.dwProcessId, nullptr};
  for (;;) {
    EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search));
    if (search.found) break;
    if (WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0) {
      Fail(program + " ended before its dialog showed");
    }
    if (Milliseconds(start, Now()) > kLimitMs) {
      TerminateProcess(process.hProcess, 1);
      Fail(program + ": the dialog did not show (a message box may be waiting)");
    }
    Sleep(1);
  }
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutA(search.found, WM_NULL, 0, 0, SMTO_NORMAL, kLimitMs, &answer)) {
    TerminateProcess(process.hProcess, 1);
    Fail(program + ": the dialog does not answer messages");
  }
  const double elapsed = Milliseconds(start, Now());

  PostMessageA(search.found, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process.hProcess, kLimitMs) != WAIT_OBJECT_0) {
    TerminateProcess(process.hProcess, 1);
    Fail(program + " did not end when its dialog was closed");
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return elapsed;
}

struct Contender {
  Series series;
  std::string program;
  std::string folder;
};

int Start(int runs, Contender first, Contender second) {
  for (int run = -kWarmUpRuns; run < runs; ++run) {
    // Alternate which one goes first, so that neither always follows the other.
    const bool firstGoesFirst = run % 2 == 0;
    for (int turn = 0; turn < 2; ++turn) {
      Contender& c = (turn == 0) == firstGoesFirst ? first : second;
      const double ms = TimeStart(c.program, c.folder);
      if (run >= 0) c.series.times.push_back(ms);
    }
  }
  Report(first.series, second.series);
  return 0;
}

double Timed(const std::function<void()>& work) {
  const LARGE_INTEGER start = Now();
  work();
  return Milliseconds(start, Now());
}

int Save(int runs, const std::string& folder) {
  if (!SetCurrentDirectoryA(folder.c_str())) Fail("cannot enter " + folder);
  const auto files = quil::MakePlatformFileServices();
  quil::test::MemoryDialog dialog;
  quil::test::MemoryShell shell;
  quil::App app(*files, dialog, dialog, dialog);
  app.shell = &shell;
  quil::SetInitialOptionStates(dialog);
  quil::StartUp(app);
  if (!dialog.messages.empty())
    Fail("the skin gave a message at start: " + dialog.messages[0].text);

  Series save{"Save of \"(default)\"", {}};
  Series copy{"copying the files it writes", {}};
  const auto saveOnce = [&] {
    dialog.messages.clear();
    dialog.Answer({true});  // "Are you sure you want to overwrite the '(default)' profile?"
    quil::Save(app);
    if (dialog.messages.size() != 1) Fail("Save gave a message: " + dialog.messages.back().text);
  };
  const auto copyOnce = [&] {
    for (const char* file : kSavedFiles) {
      const std::string target = std::string(file) + kCopySuffix;
      if (!CopyFileA(file, target.c_str(), FALSE)) Fail(std::string("cannot copy ") + file);
    }
  };
  for (int run = -kWarmUpRuns; run < runs; ++run) {
    const bool saveFirst = run % 2 == 0;
    for (int turn = 0; turn < 2; ++turn) {
      const bool isSave = (turn == 0) == saveFirst;
      const double ms = Timed(isSave ? std::function<void()>(saveOnce) : copyOnce);
      if (run >= 0) (isSave ? save : copy).times.push_back(ms);
    }
  }
  for (const char* file : kSavedFiles) DeleteFileA((std::string(file) + kCopySuffix).c_str());
  Report(save, copy);
  return 0;
}

int Usage() {
  std::fprintf(stderr,
               "usage: quil_bench start RUNS NAME1 PROGRAM1 FOLDER1 NAME2 PROGRAM2 FOLDER2\n"
               "       quil_bench save RUNS FOLDER\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  _setmode(_fileno(stdout), _O_BINARY);  // the script reads plain line feeds
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() < 3) return Usage();
  const int runs = std::atoi(args[1].c_str());
  if (runs < 1) return Usage();
  if (args[0] == "start" && args.size() == 8) {
    return Start(runs, {{args[2], {}}, args[3], args[4]}, {{args[5], {}}, args[6], args[7]});
  }
  if (args[0] == "save" && args.size() == 3) return Save(runs, args[2]);
  return Usage();
}
