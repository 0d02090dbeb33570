// The Win32 dialog port on real controls made for the test (a sorted combo box with an edit field,
// a multiple-selection list box, a check box): it must behave as the in-memory dialog the portable
// tests use, commit handling of the combo box's edit field (its replaced procedure) included. The
// shell port opens a file with COM started on its thread as the shell wants it.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "core/App.h"
#include "core/ControlIds.h"
#include "files/win32/Win32.h"
#include "window/ShellPorts.h"

// After the shell's ports, which keep the name ChooseColor free of the Windows macro.
#include "tests/support/MemoryDialog.h"

namespace quil::test {
namespace {

constexpr int kCheckBox = kSmallFontsRadio;

HWND Child(HWND parent, const char* cls, DWORD style, int id) {
  return CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE | style, 0, 0, 200, 200, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
}

class Win32Controls : public ::testing::Test {
 protected:
  Win32Controls() : app_(*files_, controls_, dialog_, dialog_) {}

  void SetUp() override {
    main_ = CreateWindowExA(0, "STATIC", "main", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr,
                            nullptr, nullptr, nullptr);
    plugins_ = CreateWindowExA(0, "STATIC", "plugins", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr,
                               nullptr, nullptr, nullptr);
    ASSERT_TRUE(main_ && plugins_);
    profileBox_ = Child(main_, "COMBOBOX", CBS_DROPDOWN | CBS_SORT | CBS_AUTOHSCROLL, kProfileBox);
    Child(plugins_, "LISTBOX", LBS_MULTIPLESEL, kPluginList);
    Child(plugins_, "BUTTON", BS_AUTOCHECKBOX, kCheckBox);
    windows_.main = main_;
    windows_.pages[PageIndex(Page::Plugins)] = plugins_;
    controls_.Attach(windows_);
  }
  void TearDown() override {
    DestroyWindow(main_);
    DestroyWindow(plugins_);
  }

  std::vector<std::string> Lines(Page page, int id) {
    std::vector<std::string> lines;
    for (int i = 0; i < controls_.ListLineCount(page, id); ++i) {
      lines.push_back(controls_.ListLine(page, id, i));
    }
    return lines;
  }
  HWND ProfileEdit() { return FindWindowExA(profileBox_, nullptr, "Edit", nullptr); }
  LONG_PTR ProfileEditProcedure() { return GetWindowLongPtrA(ProfileEdit(), GWLP_WNDPROC); }

  HWND main_ = nullptr;
  HWND plugins_ = nullptr;
  HWND profileBox_ = nullptr;
  std::unique_ptr<FileServices> files_ = MakePlatformFileServices();
  MemoryDialog dialog_;  // message boxes and the end of the program
  DialogWindows windows_;
  ShellControls controls_;
  App app_;
};

TEST_F(Win32Controls, ListsOfComboAndListBoxes) {
  // The sorted combo box places lines without regard to case; the list box keeps their order.
  struct Case {
    Page page;
    int id;
    std::vector<int> indexes;
    std::vector<std::string> lines;
  };
  const std::vector<Case> cases = {
      {Page::Main, kProfileBox, {0, 0, 1, 1}, {"(default)", "alpha", "Beta", "zulu"}},
      {Page::Plugins, kPluginList, {0, 1, 2, 3}, {"zulu", "(default)", "Beta", "alpha"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    std::vector<int> indexes;
    for (const char* line : {"zulu", "(default)", "Beta", "alpha"}) {
      indexes.push_back(controls_.AddListLine(c.page, c.id, line));
    }
    EXPECT_EQ(indexes, c.indexes);
    EXPECT_EQ(Lines(c.page, c.id), c.lines);
    controls_.DeleteListLine(c.page, c.id, 1);
    EXPECT_EQ(controls_.ListLineCount(c.page, c.id), 3);
    controls_.ClearList(c.page, c.id);
    EXPECT_EQ(controls_.ListLineCount(c.page, c.id), 0);
  }
}

TEST_F(Win32Controls, SelectionChecksAndTexts) {
  for (const char* line : {"a", "b", "c"}) controls_.AddListLine(Page::Plugins, kPluginList, line);
  controls_.SelectListLine(Page::Plugins, kPluginList, 0, true);
  controls_.SelectListLine(Page::Plugins, kPluginList, 2, true);
  controls_.SelectListLine(Page::Plugins, kPluginList, 0, false);
  EXPECT_FALSE(controls_.IsListLineSelected(Page::Plugins, kPluginList, 0));
  EXPECT_FALSE(controls_.IsListLineSelected(Page::Plugins, kPluginList, 1));
  EXPECT_TRUE(controls_.IsListLineSelected(Page::Plugins, kPluginList, 2));

  controls_.SetChecked(Page::Plugins, kCheckBox, true);
  EXPECT_TRUE(controls_.IsChecked(Page::Plugins, kCheckBox));
  controls_.SetChecked(Page::Plugins, kCheckBox, false);
  EXPECT_FALSE(controls_.IsChecked(Page::Plugins, kCheckBox));

  controls_.SetText(Page::Main, kProfileBox, "Evening profile");
  EXPECT_EQ(controls_.GetText(Page::Main, kProfileBox), "Evening profile");
  EXPECT_EQ(controls_.GetText(Page::Main, kProfileBox, 5), "Even");
}

TEST_F(Win32Controls, PagesWithoutWindowsHaveNoControls) {
  controls_.SetText(Page::Colors, kSchemeBox, "Blue");
  EXPECT_EQ(controls_.GetText(Page::Colors, kSchemeBox), "");
  EXPECT_EQ(controls_.AddListLine(Page::Colors, kSchemeBox, "Blue"), -1);
  EXPECT_EQ(controls_.ListLineCount(Page::Colors, kSchemeBox), 0);
  EXPECT_FALSE(controls_.IsChecked(Page::General, kSmallFontsRadio));
}

TEST_F(Win32Controls, ComboEditCommitsOnSetTextFocusLossAndEnter) {
  std::vector<std::string> commits;
  std::vector<std::string> textAtCommit;
  controls_.SetCommitHandler(Page::Main, kProfileBox, [&](std::string_view candidate) {
    commits.emplace_back(candidate);
    textAtCommit.push_back(controls_.GetText(Page::Main, kProfileBox));
    return true;
  });
  ASSERT_TRUE(ProfileEdit());

  // Set-text commits the new text before the field stores it.
  controls_.SetText(Page::Main, kProfileBox, "Work");
  EXPECT_EQ(commits, (std::vector<std::string>{"Work"}));
  EXPECT_EQ(textAtCommit, (std::vector<std::string>{""}));
  EXPECT_EQ(controls_.GetText(Page::Main, kProfileBox), "Work");

  // Losing the focus and releasing Enter commit the current text, cut to a name's 255 bytes;
  // other keys do not commit.
  const std::string longName(300, 'n');
  SendMessageA(ProfileEdit(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(longName.c_str()));
  commits.clear();
  SendMessageA(ProfileEdit(), WM_KILLFOCUS, 0, 0);
  SendMessageA(ProfileEdit(), WM_KEYUP, 'A', 0);
  SendMessageA(ProfileEdit(), WM_KEYUP, VK_RETURN, 0);
  EXPECT_EQ(commits, (std::vector<std::string>{longName.substr(0, 255), longName.substr(0, 255)}));

  // A second handler replaces the first.
  std::vector<std::string> second;
  controls_.SetCommitHandler(Page::Main, kProfileBox, [&](std::string_view candidate) {
    second.emplace_back(candidate);
    return true;
  });
  commits.clear();
  controls_.SetText(Page::Main, kProfileBox, "Home");
  EXPECT_TRUE(commits.empty());
  EXPECT_EQ(second, (std::vector<std::string>{"Home"}));
}

TEST_F(Win32Controls, FocusLossDuringACommitIsNoSecondCommit) {
  // A commit that opens a message box takes the focus from the field: that is no new commit, but
  // a text the commit puts back into the box is one. A refused set-text is not stored: the field
  // keeps the text the commit put back.
  std::vector<std::string> commits;
  controls_.SetCommitHandler(Page::Main, kProfileBox, [&](std::string_view candidate) {
    commits.emplace_back(candidate);
    if (candidate != "bad") return true;
    SendMessageA(ProfileEdit(), WM_KILLFOCUS, 0, 0);
    controls_.SetText(Page::Main, kProfileBox, "(default)");
    return false;
  });
  SendMessageA(ProfileEdit(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("ignored"));
  commits.clear();
  SendMessageA(ProfileEdit(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("bad"));
  EXPECT_EQ(commits, (std::vector<std::string>{"bad", "(default)"}));
  EXPECT_EQ(controls_.GetText(Page::Main, kProfileBox), "(default)");

  // Once the commit is over, losing the focus commits again, with the text the field holds.
  commits.clear();
  SendMessageA(ProfileEdit(), WM_KILLFOCUS, 0, 0);
  EXPECT_EQ(commits, (std::vector<std::string>{"(default)"}));
}

TEST_F(Win32Controls, ComboEditForwardsUntilAHandlerIsRegistered) {
  // The edit procedure is installed with the first handler; a handler for a box without an edit
  // procedure does nothing.
  const LONG_PTR ownProcedure = ProfileEditProcedure();
  controls_.SetCommitHandler(Page::Colors, kSchemeBox, [](std::string_view) {
    ADD_FAILURE();
    return true;
  });
  controls_.SetText(Page::Main, kProfileBox, "Work");
  EXPECT_EQ(controls_.GetText(Page::Main, kProfileBox), "Work");
  EXPECT_EQ(ProfileEditProcedure(), ownProcedure);

  std::vector<std::string> commits;
  controls_.SetCommitHandler(Page::Main, kProfileBox, [&](std::string_view candidate) {
    commits.emplace_back(candidate);
    return true;
  });
  EXPECT_NE(ProfileEditProcedure(), ownProcedure);
  controls_.SetText(Page::Main, kProfileBox, "Home");
  EXPECT_EQ(commits, (std::vector<std::string>{"Home"}));
}

// The shell's open action, which may run in a shell extension, finds COM started on its thread as
// the shell wants it: apartment-threaded, so that starting it multithreaded there is refused.
TEST(Win32ShellPort, OpenStartsComApartmentThreadedFirst) {
  std::thread([] {
    Win32Shell shell;
    shell.Open("no-such-picture.bmp");
    const HRESULT again = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    EXPECT_EQ(again, RPC_E_CHANGED_MODE);
    if (SUCCEEDED(again)) CoUninitialize();
  }).join();
}

}  // namespace
}  // namespace quil::test
