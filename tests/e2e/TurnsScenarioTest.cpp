// One thing at a time, with real mouse input (SendInput): a double-click on Save is one Save, a
// click on the dialog under one of its message boxes or under the color chooser runs nothing, a
// close request then waits for the command's end, and the per-plugin questions name each selected
// plugin once. Then two copies of the utility on one skin save at the same moment, round after
// round: the skin's files are always all those of one copy's Save.
#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
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

POINT CenterOf(HWND window) {
  const RECT r = ScreenRect(window);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// Clicks the left mouse button `clicks` times at a point of the screen, as the mouse does: the
// pointer moves there, then the presses follow at once (two make a double-click).
void ClickAt(POINT at, int clicks = 1) {
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  std::vector<INPUT> inputs(1);
  inputs[0].type = INPUT_MOUSE;
  inputs[0].mi.dx = MulDiv(at.x, 65535, width - 1);
  inputs[0].mi.dy = MulDiv(at.y, 65535, height - 1);
  inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  for (int i = 0; i < clicks; ++i) {
    for (const DWORD flag : {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}) {
      INPUT input{};
      input.type = INPUT_MOUSE;
      input.mi.dwFlags = flag;
      inputs.push_back(input);
    }
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// Clicks a button of a window with the mouse. Input is handled in the order it was given, so once
// its effect shows, every click given before it has been handled too.
void ClickButton(HWND window, int id) {
  ClickAt(CenterOf(GetDlgItem(window, id)));
}

// Moves a box or chooser into a corner of the screen where it covers none of the dialog, or at
// least not `uncovered` (the control that the next click aims at), and waits until it is there.
bool MoveOff(HWND window, HWND uncovered) {
  const RECT w = ScreenRect(window);
  const int width = w.right - w.left;
  const int height = w.bottom - w.top;
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
  const POINT corners[] = {{0, 0},
                           {screenWidth - width, 0},
                           {0, screenHeight - height},
                           {screenWidth - width, screenHeight - height}};
  for (const RECT keep : {ScreenRect(GetAncestor(uncovered, GA_ROOT)), ScreenRect(uncovered)}) {
    for (const POINT corner : corners) {
      const RECT there{corner.x, corner.y, corner.x + width, corner.y + height};
      RECT overlap{};
      if (IntersectRect(&overlap, &there, &keep)) continue;
      SetWindowPos(window, nullptr, corner.x, corner.y, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      return WaitFor([&] {
        const RECT now = ScreenRect(window);
        RECT covered{};
        return !IntersectRect(&covered, &now, &keep);
      });
    }
  }
  return false;
}

class E2ETurns : public Scenario {
 protected:
  // Waits for the next message box, checks its text and moves it off `uncovered`.
  std::optional<MessageBoxWindow> BoxOff(std::string_view expectedText, HWND uncovered) {
    const auto box = WaitMessageBox(*process_);
    if (!box) {
      ADD_FAILURE() << "no message box \"" << expectedText << "\" appeared";
      return std::nullopt;
    }
    EXPECT_EQ(box->text, expectedText);
    EXPECT_TRUE(MoveOff(box->window, uncovered)) << "the box could not be moved off the control";
    return box;
  }
  // Clicks a button of a box with the mouse and waits until the box has gone.
  bool ClickAway(HWND box, int id) {
    ClickButton(box, id);
    return WaitFor([&] { return !IsWindow(box) || !IsWindowVisible(box); });
  }
  bool DialogShown() const {
    return process_->Running() && IsWindow(dialog_->Main()) && IsWindowVisible(dialog_->Main());
  }
};

TEST_F(E2ETurns, ADoubleClickIsOnePressAndNothingRunsUnderABoxOrChooser) {
  {
    SCOPED_TRACE("a double-click on Save");
    QuilDialog* dialog = Start();
    ASSERT_TRUE(dialog);
    const std::string before = Read("config.dtd");
    dialog->Click(Page::General, kButtonScrollBox);
    ClickAt(CenterOf(dialog->Control(Page::Main, kSaveButton)), 2);
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
    const auto box = BoxOff(kRestoreQuestion, save);
    ASSERT_TRUE(box);
    ClickAt(CenterOf(save));
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
    ASSERT_TRUE(MoveOff(chooser, save)) << "the chooser could not be moved off Save";
    ClickAt(CenterOf(save));
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
      const auto box =
          BoxOff("Are you sure you want to delete the following plugin?\n\n" + plugins[i], del);
      ASSERT_TRUE(box) << "question " << i + 1 << " of " << plugins.size();
      if (i == 0) {
        ClickAt(CenterOf(del));
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
