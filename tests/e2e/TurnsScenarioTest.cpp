// One thing at a time, with real mouse input (SendInput): a double-click on Save is one Save, a
// click on the dialog under one of its message boxes or under the color chooser runs nothing, a
// close request then waits for the command's end, and the per-plugin questions name each selected
// plugin once. Then two copies of the utility on one skin save at the same moment, round after
// round: the skin's files are always all those of one copy's Save.
#include <algorithm>
#include <atomic>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "core/ControlIds.h"
#include "tests/e2e/Scenario.h"

namespace quil::e2e {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kOverwriteDefault =
    "Are you sure you want to overwrite the '(default)' profile?";
constexpr std::string_view kRestoreQuestion =
    "This will delete your settings on the (default) profile and restore the default "
    "settings.\n\nAre you sure?";
// The color chooser's Cancel button.
constexpr int kChooserCancel = IDCANCEL;
// The rounds of two overlapping Saves.
constexpr int kOverlapRounds = 30;

POINT CenterOf(const RECT& r) {
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// The middle of the largest part of `control` that `cover` (a box or chooser on top of the dialog)
// leaves in view; none when it hides the whole control. Nothing is moved to uncover it: a window
// moved while the window manager is still placing it is put back where it was placed, for a moment
// that a click can fall into.
std::optional<POINT> UncoveredPoint(HWND control, HWND cover) {
  const RECT c = ScreenRect(control);
  const RECT hidden = ScreenRect(cover);
  RECT overlap{};
  if (!IntersectRect(&overlap, &c, &hidden)) return CenterOf(c);
  const RECT parts[] = {{c.left, c.top, overlap.left, c.bottom},
                        {overlap.right, c.top, c.right, c.bottom},
                        {c.left, c.top, c.right, overlap.top},
                        {c.left, overlap.bottom, c.right, c.bottom}};
  const RECT* best = nullptr;
  long bestArea = 0;
  for (const RECT& part : parts) {
    const long area = std::max(0L, part.right - part.left) * std::max(0L, part.bottom - part.top);
    if (area > bestArea) {
      best = &part;
      bestArea = area;
    }
  }
  if (!best) return std::nullopt;
  return CenterOf(*best);
}

// Under Wine, the cursor is the X pointer. SetCursorPos moves it, and the program that owns the
// window under it hears of that from X (an EnterNotify) and reports the pointer at that point as a
// mouse move of its own. A report it makes late, of where the pointer was before (where the last
// click was, or where a window opened under it), takes the cursor back there, and presses given
// meanwhile fall on the old point. So a click first moves the pointer, waits until a report from a
// program (not an injected move) gives the new point, and only then presses: a program hears of
// the pointer in order, so after that report no older one can follow. The reports are watched with
// a low-level mouse hook on a thread of its own, which runs the message loop that such a hook
// needs. The move is SetCursorPos, not SendInput: while a low-level hook is set, Wine does not move
// the X pointer for an injected move.
class PointerReports {
 public:
  PointerReports() {
    thread_ = std::thread([this] { Run(); });
    WaitFor([&] { return started_.load(); });
  }
  ~PointerReports() {
    PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
    thread_.join();
  }
  bool Hooked() const { return hooked_; }

  // Moves the pointer to `at` and waits until a program has reported it there.
  bool MoveTo(POINT at) {
    POINT now{};
    GetCursorPos(&now);
    // Already there: every report still to come gives this point too.
    if (now.x == at.x && now.y == at.y) return true;
    wanted_x_ = at.x;
    wanted_y_ = at.y;
    seen_ = false;
    SetCursorPos(at.x, at.y);
    return WaitFor([&] { return seen_.load(); });
  }

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM message, LPARAM data) {
    if (code == HC_ACTION && instance_) {
      const auto* event = reinterpret_cast<const MSLLHOOKSTRUCT*>(data);
      if (!(event->flags & LLMHF_INJECTED) && event->pt.x == instance_->wanted_x_ &&
          event->pt.y == instance_->wanted_y_) {
        instance_->seen_ = true;
      }
    }
    return CallNextHookEx(nullptr, code, message, data);
  }
  void Run() {
    threadId_ = GetCurrentThreadId();
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the queue, for the WM_QUIT to come
    instance_ = this;
    const HHOOK hook = SetWindowsHookExW(WH_MOUSE_LL, Hook, GetModuleHandleW(nullptr), 0);
    hooked_ = hook != nullptr;
    started_ = true;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    if (hook) UnhookWindowsHookEx(hook);
    instance_ = nullptr;
  }

  static inline PointerReports* instance_ = nullptr;
  std::thread thread_;
  DWORD threadId_ = 0;
  std::atomic<bool> started_{false};
  std::atomic<bool> hooked_{false};
  std::atomic<LONG> wanted_x_{-1};
  std::atomic<LONG> wanted_y_{-1};
  std::atomic<bool> seen_{false};
};

class E2ETurns : public Scenario {
 protected:
  // Clicks the left mouse button `clicks` times at a point of the screen, as the mouse does: the
  // pointer moves there, then the presses follow at once (two make a double-click). False, with a
  // failure, when no program reported the pointer there.
  bool ClickAt(POINT at, int clicks = 1) {
    if (!pointer_.Hooked()) {
      ADD_FAILURE() << "the mouse hook could not be set";
      return false;
    }
    if (!pointer_.MoveTo(at)) {
      ADD_FAILURE() << "no program reported the pointer at " << at.x << "," << at.y;
      return false;
    }
    std::vector<INPUT> presses;
    for (int i = 0; i < clicks; ++i) {
      for (const DWORD flag : {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}) {
        INPUT input{};
        input.type = INPUT_MOUSE;
        input.mi.dwFlags = flag;
        presses.push_back(input);
      }
    }
    SendInput(static_cast<UINT>(presses.size()), presses.data(), sizeof(INPUT));
    return true;
  }
  // Clicks the part of `control` that `cover` leaves in view.
  bool ClickBeside(HWND control, HWND cover) {
    const auto at = UncoveredPoint(control, cover);
    if (!at) {
      ADD_FAILURE() << "\"" << WindowText(cover) << "\" hides the whole of \""
                    << WindowText(control) << "\"";
      return false;
    }
    return ClickAt(*at);
  }
  // Clicks a button of a box with the mouse and waits until the box has gone. Input is handled in
  // the order it was given, so once the box has gone, every click given before has been handled.
  bool ClickAway(HWND box, int id) {
    const POINT at = CenterOf(ScreenRect(GetDlgItem(box, id)));
    if (!ClickAt(at)) return false;
    if (WaitFor([&] { return !IsWindow(box) || !IsWindowVisible(box); })) return true;
    POINT cursor{};
    GetCursorPos(&cursor);
    const HWND under = WindowFromPoint(at);
    ADD_FAILURE() << "the box \"" << WindowText(GetDlgItem(box, 0xFFFF))
                  << "\" stayed after a click at " << at.x << "," << at.y << " on its button " << id
                  << "; the cursor is at " << cursor.x << "," << cursor.y << ", over \""
                  << WindowText(under) << "\" ("
                  << (GetAncestor(under, GA_ROOT) == box ? "the box" : "not the box") << ")";
    return false;
  }
  bool DialogShown() const {
    return process_->Running() && IsWindow(dialog_->Main()) && IsWindowVisible(dialog_->Main());
  }

  PointerReports pointer_;
};

TEST_F(E2ETurns, ADoubleClickIsOnePressAndNothingRunsUnderABoxOrChooser) {
  {
    SCOPED_TRACE("a double-click on Save");
    QuilDialog* dialog = Start();
    ASSERT_TRUE(dialog);
    const std::string before = Read("config.dtd");
    dialog->Click(Page::General, kButtonScrollBox);
    ASSERT_TRUE(ClickAt(CenterOf(ScreenRect(dialog->Control(Page::Main, kSaveButton))), 2));
    const auto box = WaitMessageBox(*process_);
    ASSERT_TRUE(box) << "the double-click asked nothing";
    EXPECT_EQ(box->text, kOverwriteDefault);
    ASSERT_TRUE(ClickAway(box->window, IDYES)) << "the question did not close on Yes";
    dialog->Sync();
    ExpectNoMessageBox();
    EXPECT_NE(Read("config.dtd"), before) << "Save wrote nothing";
    EXPECT_EQ(Read("config.dtd.bak"), before)
        << "the backup does not hold the settings from before";
    CloseAndExpectExit(0);
  }
  {
    SCOPED_TRACE("a click on Save and a close under Restore's question");
    QuilDialog* dialog = Start();
    ASSERT_TRUE(dialog);
    const std::string before = Read("config.dtd");
    const HWND save = dialog->Control(Page::Main, kSaveButton);
    dialog->Click(Page::Main, kRestoreButton);
    const auto box = ExpectMessageBox(kRestoreQuestion);
    ASSERT_TRUE(box);
    ASSERT_TRUE(ClickBeside(save, box->window));
    dialog->Close();
    dialog->Sync();
    EXPECT_TRUE(DialogShown()) << "the dialog closed under Restore's question";
    // Had the click on Save run, its question would now be on top and take this answer.
    ASSERT_TRUE(ClickAway(box->window, IDNO));
    ExpectExit(0);  // the close, carried out once Restore had ended
    EXPECT_EQ(Read("config.dtd"), before);
  }
  {
    SCOPED_TRACE("a click on Save and a close under the color chooser");
    QuilDialog* dialog = Start();
    ASSERT_TRUE(dialog);
    const std::string before = Read("config.dtd");
    const HWND save = dialog->Control(Page::Main, kSaveButton);
    dialog->ShowTab(1);
    dialog->Click(Page::Colors, 1101);
    const HWND chooser = process_->WaitTopLevel(kChooserTitle);
    ASSERT_TRUE(chooser) << "the color chooser did not open";
    ASSERT_TRUE(ClickBeside(save, chooser));
    dialog->Close();
    dialog->Sync();
    EXPECT_TRUE(DialogShown()) << "the dialog closed under the color chooser";
    ASSERT_TRUE(ClickAway(chooser, kChooserCancel)) << "the chooser did not close on Cancel";
    EXPECT_EQ(process_->FindTopLevel(kMessageCaption), nullptr) << "Save ran under the chooser";
    ExpectExit(0);
    EXPECT_EQ(Read("config.dtd"), before);
  }
  {
    SCOPED_TRACE("every plugin selected, Del, a second Del and a close under the first question");
    QuilDialog* dialog = Start();
    ASSERT_TRUE(dialog);
    dialog->ShowTab(2);
    const std::vector<std::string> plugins = dialog->ListLines(Page::Plugins, kPluginList);
    ASSERT_GE(plugins.size(), 2u);
    for (std::size_t i = 0; i < plugins.size(); ++i) {
      dialog->SelectLine(Page::Plugins, kPluginList, static_cast<int>(i), true);
    }
    std::vector<fs::path> folders;
    for (const auto& entry : fs::directory_iterator(SkinPath("plugins"))) {
      folders.push_back(entry.path());
    }
    const HWND del = dialog->Control(Page::Plugins, kDeletePluginsButton);
    dialog->Click(Page::Plugins, kDeletePluginsButton);
    for (std::size_t i = 0; i < plugins.size(); ++i) {
      const auto box = ExpectMessageBox(
          "Are you sure you want to delete the following plugin?\n\n" + plugins[i]);
      ASSERT_TRUE(box) << "question " << i + 1 << " of " << plugins.size();
      if (i == 0) {
        ASSERT_TRUE(ClickBeside(del, box->window));
        dialog->Close();
        dialog->Sync();
      }
      EXPECT_TRUE(DialogShown()) << "the dialog closed under question " << i + 1;
      ASSERT_TRUE(ClickAway(box->window, IDNO));
    }
    ExpectExit(0);
    for (const fs::path& folder : folders) EXPECT_TRUE(fs::exists(folder)) << folder;
  }
}

// The skin folder's own files as they are now, scratch files included, without the backup of
// config.dtd (which holds what the other copy saved before).
std::map<std::string, std::string> SkinFiles(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (!entry.is_regular_file() || entry.path().filename() == "config.dtd.bak") continue;
    files[entry.path().filename().string()] = test::ScratchSkin::Read(entry.path());
  }
  return files;
}

// What libxml2's own command-line parser (xmllint, run as the Unix program it is) reports of
// config.dtd: the file is read as the external subset of a document beside it, with every entity
// declared in it expanded and every file it names loaded (backslashes made slashes, as Windows
// reads them). Empty when it reports nothing.
std::string JudgeConfigDtd(const fs::path& skinFolder) {
  const auto unixName = reinterpret_cast<char* (*)(LPCWSTR)>(reinterpret_cast<void (*)()>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (!unixName) return "not running under Wine: no Unix path for the judge";
  std::string config = test::ScratchSkin::Read(skinFolder / "config.dtd");
  std::replace(config.begin(), config.end(), '\\', '/');
  test::ScratchSkin::Write(skinFolder / "judged-config.dtd", config);
  test::ScratchSkin::Write(skinFolder / "judged.xml",
                           "<!DOCTYPE judged [<!ENTITY % config SYSTEM \"judged-config.dtd\"> "
                           "%config;]>\n<judged/>\n");
  char* folder = unixName(skinFolder.wstring().c_str());
  if (!folder) return "no Unix path for the skin folder";
  const std::string unixFolder = folder;
  HeapFree(GetProcessHeap(), 0, folder);
  std::string command = "Z:\\bin\\sh -c \"cd '" + unixFolder +
                        "' && { xmllint --noout --noent --loaddtd judged.xml > judged.txt 2>&1 || "
                        "echo xmllint failed >> judged.txt; }; echo done > judged.end\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION judge{};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                      nullptr, &startup, &judge)) {
    return "the judge could not be started";
  }
  CloseHandle(judge.hThread);
  CloseHandle(judge.hProcess);
  // A Unix program's end is not seen through its handle: it leaves a file when it is done.
  if (!WaitFor([&] { return fs::exists(skinFolder / "judged.end"); })) {
    return "the judge did not finish";
  }
  const std::string verdict = test::ScratchSkin::Read(skinFolder / "judged.txt");
  for (const char* name : {"judged-config.dtd", "judged.xml", "judged.txt", "judged.end"}) {
    fs::remove(skinFolder / name);
  }
  return verdict;
}

TEST_F(E2ETurns, TwoCopiesSavingOneSkinAtOnceTakeTurns) {
  QuilProcess first(skin_.skinFolder());
  QuilProcess second(skin_.skinFolder());
  const HWND firstMain = first.WaitDialog();
  const HWND secondMain = second.WaitDialog();
  ASSERT_TRUE(firstMain && secondMain) << "the two copies did not both show their dialog";
  const QuilDialog copies[2] = {QuilDialog(first, firstMain), QuilDialog(second, secondMain)};
  const QuilProcess* processes[2] = {&first, &second};
  copies[0].SetText(Page::General, kContactTitleEdit, "First copy");
  copies[1].SetText(Page::General, kContactTitleEdit, "Second copy");
  copies[1].Click(Page::General, kButtonScrollBox);

  // What each copy's Save writes, on its own.
  std::map<std::string, std::string> alone[2];
  for (int c = 0; c < 2; ++c) {
    copies[c].Click(Page::Main, kSaveButton);
    const auto box = WaitMessageBox(*processes[c]);
    ASSERT_TRUE(box && box->text == kOverwriteDefault);
    ASSERT_TRUE(Press(*box, IDYES));
    copies[c].Sync();
    alone[c] = SkinFiles(skin_.skinFolder());
    EXPECT_EQ(JudgeConfigDtd(skin_.skinFolder()), "") << "copy " << c + 1 << "'s config.dtd";
  }
  ASSERT_NE(alone[0].at("config.dtd"), alone[1].at("config.dtd"));

  for (int round = 1; round <= kOverlapRounds; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    MessageBoxWindow boxes[2];
    for (int c = 0; c < 2; ++c) {
      copies[c].Click(Page::Main, kSaveButton);
      const auto box = WaitMessageBox(*processes[c]);
      ASSERT_TRUE(box) << "copy " << c + 1 << " asked nothing";
      ASSERT_EQ(box->text, kOverwriteDefault);
      boxes[c] = *box;
    }
    // Both answered at the same moment.
    for (const MessageBoxWindow& box : boxes) {
      PostMessageW(GetDlgItem(box.window, IDYES), BM_CLICK, 0, 0);
    }
    for (int c = 0; c < 2; ++c) {
      ASSERT_TRUE(WaitFor([&] { return !IsWindow(boxes[c].window); }))
          << "copy " << c + 1 << "'s question did not close";
      copies[c].Sync();
      const HWND box = processes[c]->FindTopLevel(kMessageCaption);
      ASSERT_EQ(box, nullptr) << "copy " << c + 1 << " says \""
                              << WindowText(GetDlgItem(box, 0xFFFF)) << "\"";
    }
    const auto files = SkinFiles(skin_.skinFolder());
    ASSERT_TRUE(files == alone[0] || files == alone[1])
        << "the skin's files are not all those of one copy's Save";
  }
  EXPECT_EQ(JudgeConfigDtd(skin_.skinFolder()), "");
  for (const QuilDialog& copy : copies) copy.Close();
  EXPECT_EQ(first.WaitExit(), std::optional<DWORD>(0));
  EXPECT_EQ(second.WaitExit(), std::optional<DWORD>(0));
}

}  // namespace
}  // namespace quil::e2e
