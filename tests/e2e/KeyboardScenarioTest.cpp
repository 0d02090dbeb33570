// The dialog by keyboard and screen reader: real key presses (SendInput) tab through every page,
// every control the program paints itself must show its focus at 3:1 or more against its
// unfocused look, every control that takes the focus must have a name for a screen reader (read
// through OLEACC from this process, as a screen reader reads it), and the page keys, the arrows on
// the tab strip and Enter on a swatch must work.
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/ControlIds.h"
#include "tests/e2e/Scenario.h"

// After the driver's headers, whose names it would rename.
#include <oleacc.h>

namespace quil::e2e {
namespace {

// How long the screen may take to show what the program painted.
constexpr std::chrono::milliseconds kPaintWait{10000};
// The contrast that a focus mark must have against the control's unfocused look.
constexpr double kFocusContrast = 3.0;

// The pixels of `rect` whose colors in the two captures differ at `kFocusContrast` or more.
int ContrastingPixels(const Capture& before, const Capture& after, const RECT& rect) {
  int count = 0;
  for (int y = rect.top; y < rect.bottom; ++y) {
    for (int x = rect.left; x < rect.right; ++x) {
      const COLORREF a = before.At(x, y);
      const COLORREF b = after.At(x, y);
      if (a != CLR_INVALID && b != CLR_INVALID && ContrastRatio(a, b) >= kFocusContrast) ++count;
    }
  }
  return count;
}

// What a screen reader reads of a window: its object's name and value, through OLEACC.
struct Spoken {
  bool found = false;
  std::string name;
  std::string value;
};

std::string Narrowed(BSTR text) {
  if (!text) return {};
  const int n = WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(SysStringLen(text)), nullptr,
                                    0, nullptr, nullptr);
  std::string narrow(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(SysStringLen(text)), narrow.data(), n,
                      nullptr, nullptr);
  SysFreeString(text);
  return narrow;
}

Spoken Speak(HWND window) {
  Spoken spoken;
  IAccessible* object = nullptr;
  if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT),
                                        __uuidof(IAccessible),
                                        reinterpret_cast<void**>(&object))) ||
      !object) {
    return spoken;
  }
  spoken.found = true;
  VARIANT self{};
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR text = nullptr;
  if (object->get_accName(self, &text) == S_OK) spoken.name = Narrowed(text);
  text = nullptr;
  if (object->get_accValue(self, &text) == S_OK) spoken.value = Narrowed(text);
  object->Release();
  return spoken;
}

// Presses and releases keys as the keyboard does: down in order, up in reverse.
void PressKeys(std::initializer_list<WORD> keys) {
  std::vector<INPUT> inputs;
  for (const WORD key : keys) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    inputs.push_back(input);
  }
  for (auto it = keys.end(); it != keys.begin();) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = *--it;
    input.ki.dwFlags = KEYEVENTF_KEYUP;
    inputs.push_back(input);
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// The controls whose focus the program draws: its owner-drawn buttons and the check boxes without
// text (the bold and italic boxes), around which Windows draws no focus.
bool FocusDrawnByTheProgram(HWND window) {
  if (ClassOf(window) != "Button") return false;
  const LONG type = GetWindowLongA(window, GWL_STYLE) & BS_TYPEMASK;
  return type == BS_OWNERDRAW || (type == BS_AUTOCHECKBOX && WindowText(window).empty());
}

std::string Describe(HWND window) {
  return ClassOf(window) + " " + std::to_string(GetDlgCtrlID(window)) + " \"" + WindowText(window) +
         "\"";
}

class E2EKeyboard : public Scenario {
 protected:
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr))); }
  void TearDown() override { CoUninitialize(); }

  // Presses `keys` and waits until `effect` holds; a failure names what did not happen.
  bool PressAndWait(std::initializer_list<WORD> keys, const std::function<bool()>& effect,
                    const std::string& what) {
    PressKeys(keys);
    if (WaitFor(effect)) return true;
    ADD_FAILURE() << what << " did not happen within " << kWait.count() << " ms";
    return false;
  }

  // The dialog once it is quiet: the program has handled every message sent so far, painted
  // what it had to paint, and two captures in a row show the same pixels.
  Capture Quiet() {
    dialog_->Sync();
    RedrawWindow(dialog_->Main(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    Capture previous = Capture::Of(dialog_->Main());
    Capture current = previous;
    WaitFor(
        [&] {
          current = Capture::Of(dialog_->Main());
          const bool same = current.SamePixels(previous);
          previous = current;
          return same;
        },
        kPaintWait);
    return current;
  }

  // The rectangle where `window` shows its focus: the selected tab for the tab strip, the
  // control's own rectangle otherwise.
  RECT FocusArea(HWND window) {
    if (window == dialog_->Control(Page::Main, kTabControl)) {
      return dialog_->TabRect(dialog_->CurrentTab()).value_or(RECT{});
    }
    return ScreenRect(window);
  }

  // Tabs once around the shown page and the main dialog. Each control the program paints itself
  // must show a focus mark once it has the focus; each control that takes the focus must have a
  // name, and no two of them the same. Returns the controls in the order they took the focus.
  std::vector<HWND> TabAround(const std::string& page) {
    std::vector<HWND> order;
    std::map<std::string, HWND> names;
    // Each control's unfocused look, as the dialog shows it before the control has the focus.
    Capture before = Quiet();
    HWND focus = dialog_->FocusedWindow();
    for (int step = 0; step < 80; ++step) {
      const HWND previous = focus;
      if (!PressAndWait(
              {VK_TAB}, [&] { return (focus = dialog_->FocusedWindow()) != previous; },
              page + ": the focus moving on from " + Describe(previous) + " at Tab")) {
        break;
      }
      // The focus can be seen on its way: a combo box that takes it hands it on to its edit
      // field while it handles the Tab. Where it rests is where it is once the key is handled.
      dialog_->Sync();
      focus = dialog_->FocusedWindow();
      if (!order.empty() && focus == order.front()) break;
      order.push_back(focus);
      SCOPED_TRACE(page + ": " + Describe(focus));

      const bool painted =
          FocusDrawnByTheProgram(focus) || focus == dialog_->Control(Page::Main, kTabControl);
      if (painted) {
        const RECT area = FocusArea(focus);
        const int perimeter = (area.right - area.left + area.bottom - area.top) * 2;
        int shown = 0;
        WaitFor(
            [&] {
              const Capture after = Capture::Of(dialog_->Main());
              shown = ContrastingPixels(before, after, area);
              return shown >= perimeter / 2;
            },
            kPaintWait);
        EXPECT_GE(shown, perimeter / 2)
            << "the focused look differs from the unfocused one at " << kFocusContrast << ":1 in "
            << shown << " pixels, not at least half the control's perimeter";
      }
      before = Quiet();

      const Spoken spoken = Speak(focus);
      EXPECT_TRUE(spoken.found) << "no accessible object";
      EXPECT_FALSE(spoken.name.empty()) << "no name for a screen reader";
      const auto [it, added] = names.emplace(spoken.name, focus);
      EXPECT_TRUE(added || spoken.name.empty())
          << "the name \"" << spoken.name << "\" is also " << Describe(it->second) << "'s";
    }
    EXPECT_FALSE(order.empty()) << page << ": Tab reached no control";
    return order;
  }

  std::string NameOf(Page page, int id) { return Speak(dialog_->Control(page, id)).name; }
};

TEST_F(E2EKeyboard, FocusShowsEveryControlHasANameAndThePageKeysWork) {
  QuilDialog* dialog = Start();
  ASSERT_TRUE(dialog);
  const HWND main = dialog->Main();
  const HWND tab = dialog->Control(Page::Main, kTabControl);
  SetForegroundWindow(main);
  ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == main; }))
      << "the dialog did not become the foreground window";

  // Every page by Ctrl+Tab, tabbing once around each; then Ctrl+Tab wraps round to the first.
  const char* pages[] = {"General", "Colors", "Plugins"};
  for (int page = 0; page < 3; ++page) {
    if (page > 0) {
      PressAndWait(
          {VK_CONTROL, VK_TAB}, [&] { return dialog->CurrentTab() == page; },
          std::string("Ctrl+Tab showing the ") + pages[page] + " page");
    }
    TabAround(pages[page]);
  }
  PressAndWait(
      {VK_CONTROL, VK_TAB}, [&] { return dialog->CurrentTab() == 0; },
      "Ctrl+Tab on the last page showing the first");
  PressAndWait(
      {VK_CONTROL, VK_SHIFT, VK_TAB}, [&] { return dialog->CurrentTab() == 2; },
      "Ctrl+Shift+Tab on the first page showing the last");
  PressAndWait(
      {VK_CONTROL, VK_NEXT}, [&] { return dialog->CurrentTab() == 0; },
      "Ctrl+PageDown on the last page showing the first");
  PressAndWait(
      {VK_CONTROL, VK_PRIOR}, [&] { return dialog->CurrentTab() == 2; },
      "Ctrl+PageUp on the first page showing the last");
  EXPECT_TRUE(dialog->Visible(Page::Plugins, kPluginList));

  // The names that the controls' texts cannot give.
  const char* statuses[] = {"Online", "Offline", "Recent Online", "Recent Offline", "Idle/Away"};
  for (int k = 1; k <= kStatusCount; ++k) {
    const std::string status = statuses[k - 1];
    EXPECT_EQ(NameOf(Page::Colors, BoldStatusBox(k)), status + " bold");
    EXPECT_EQ(NameOf(Page::Colors, ItalicStatusBox(k)), status + " italic");
  }
  EXPECT_EQ(NameOf(Page::Colors, 1108), "Template Text");
  EXPECT_EQ(NameOf(Page::Colors, 1109), "Template Window");
  EXPECT_EQ(NameOf(Page::Colors, 1164), "Nicklist/Editbox Text");
  EXPECT_EQ(Speak(dialog->ComboEdit(Page::Main, kProfileBox)).name, "Use Profile");
  EXPECT_EQ(NameOf(Page::Plugins, kPluginList).rfind("Select all plugins to enable.", 0), 0U)
      << NameOf(Page::Plugins, kPluginList);
  // A swatch's value is the color it shows: the sample's Online color of its scheme "green".
  const Color color = SchemeOnDisk("green")[online];
  EXPECT_EQ(Speak(dialog->Control(Page::Colors, StatusButton(1))).value,
            "R " + std::to_string(GetRValue(color)) + ", G " + std::to_string(GetGValue(color)) +
                ", B " + std::to_string(GetBValue(color)));

  // The arrows on the tab strip switch the page and keep the focus on the strip.
  dialog->Focus(Page::Main, kTabControl);
  ASSERT_EQ(dialog->FocusedWindow(), tab);
  PressAndWait(
      {VK_LEFT}, [&] { return dialog->CurrentTab() == 1; }, "Left on the tab strip");
  EXPECT_EQ(dialog->FocusedWindow(), tab) << "the focus left the tab strip";
  PressAndWait(
      {VK_LEFT}, [&] { return dialog->CurrentTab() == 0; }, "a second Left on the tab strip");
  EXPECT_EQ(dialog->FocusedWindow(), tab) << "the focus left the tab strip";

  // Enter on a focused swatch opens the color chooser, as Space does.
  dialog->ShowTab(1);
  dialog->Focus(Page::Colors, StatusButton(1));
  PressAndWait(
      {VK_RETURN}, [&] { return process_->FindTopLevel(kChooserTitle) != nullptr; },
      "Enter on the Online swatch opening the color chooser");
  const HWND chooser = process_->FindTopLevel(kChooserTitle);
  if (chooser) {
    PostMessageW(chooser, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitFor([&] { return !process_->FindTopLevel(kChooserTitle); }))
        << "the color chooser did not close";
  }
  CloseAndExpectExit();
}

// Tells Wine to load, for QuilConfig.exe, an oleacc.dll that it finds before its own (Windows
// loads any DLL that it finds first), until the object goes. Wine reads the DLL overrides of a
// program from this key when the program starts.
class PreferFoundOleacc {
 public:
  PreferFoundOleacc() {
    RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\QuilConfig.exe\\DllOverrides",
                    0, nullptr, 0, KEY_SET_VALUE, nullptr, &key_, nullptr);
    if (key_) RegSetValueExA(key_, "oleacc", 0, REG_SZ, kOrder, sizeof kOrder);
  }
  ~PreferFoundOleacc() {
    if (!key_) return;
    RegDeleteValueA(key_, "oleacc");
    RegCloseKey(key_);
  }
  PreferFoundOleacc(const PreferFoundOleacc&) = delete;
  PreferFoundOleacc& operator=(const PreferFoundOleacc&) = delete;

 private:
  static constexpr BYTE kOrder[] = "native,builtin";
  HKEY key_ = nullptr;
};

// The program copied into the skin's folder, where it belongs, beside a DLL named oleacc.dll that
// came with a downloaded skin. A screen reader's first request makes the program load OLEACC; the
// planted one must never be loaded (Wine is told to prefer a DLL it finds to its own), and the
// program's answer must still name the control.
TEST_F(E2EKeyboard, ADllPlantedBesideTheProgramIsNeverLoaded) {
  namespace fs = std::filesystem;
  fs::copy_file(QUIL_QUILCONFIG_EXE, skin_.skinFolder() / "QuilConfig.exe");
  fs::copy_file(QUIL_PLANTED_OLEACC, skin_.skinFolder() / "oleacc.dll");
  program_ = skin_.skinFolder() / "QuilConfig.exe";
  const PreferFoundOleacc preferFound;
  ASSERT_TRUE(Start());
  EXPECT_EQ(NameOf(Page::Main, kDeleteProfileButton), "Del profile");
  EXPECT_FALSE(fs::exists(skin_.skinFolder() / "planted-dll-ran"))
      << "the program loaded the oleacc.dll of its own folder";
  CloseAndExpectExit();
}

}  // namespace
}  // namespace quil::e2e
