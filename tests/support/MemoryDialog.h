// An in-memory dialog for tests: it implements the dialog, message-box and exit ports the way the
// real controls behave, records every message box, and answers questions from a script.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/Ports.h"

namespace quil::test {

// Thrown by MemoryDialog::Exit so that a test can observe the end of the program.
struct ProgramEnded {
  int status;
};

class MemoryDialog : public DialogControls, public MessageBoxes, public ProgramExit {
 public:
  enum class Kind { Notice, Failure, Question, Plain };
  struct Message {
    Kind kind;
    std::string text;
    bool answer = false;  // the answer given to a question
  };
  struct Control {
    std::string text;
    bool checked = false;
    bool visible = true;
    bool sorted = false;
    std::vector<std::string> lines;
    std::vector<bool> selected;
    int redraws = 0;
  };

  MemoryDialog();

  // DialogControls
  void SetText(Page page, int id, std::string_view text) override;
  std::string GetText(Page page, int id, std::size_t capacity = kControlTextCapacity) override;
  void SetChecked(Page page, int id, bool checked) override;
  bool IsChecked(Page page, int id) override;
  void ClearList(Page page, int id) override;
  int AddListLine(Page page, int id, std::string_view text) override;
  void DeleteListLine(Page page, int id, int index) override;
  int ListLineCount(Page page, int id) override;
  std::string ListLine(Page page, int id, int index) override;
  bool IsListLineSelected(Page page, int id, int index) override;
  void SelectListLine(Page page, int id, int index, bool selected) override;
  void Show(Page page, int id, bool visible) override;
  void Focus(Page page, int id) override;
  void SetCommitHandler(Page page, int id, CommitHandler handler) override;
  void RedrawControl(Page page, int id) override;
  void RedrawMain() override;
  void EndDialog() override { ++dialogEnds; }

  // MessageBoxes
  void Notice(std::string_view text) override;
  void Failure(std::string_view text) override;
  bool Ask(std::string_view text) override;
  void Plain(std::string_view text) override;

  // ProgramExit
  [[noreturn]] void Exit(int status) override;

  // What a user does, as the real controls report it.
  // Types into a combo box's edit field: it takes the focus and its text changes, without commit.
  void Type(Page page, int id, std::string_view text);
  // Releases Enter in the focused combo box's edit field: a commit with its text.
  void PressEnter();
  // Picks line `index` of a combo box's drop-down list: the box sets its edit field's text.
  void Pick(Page page, int id, int index);
  // Clicks a button: it takes the focus (the edit field that had it commits), then its command
  // runs through `onCommand`.
  void Click(Page page, int id);
  std::function<void(Page page, int id)> onCommand;

  // Test access.
  Control& At(Page page, int id) { return controls_[{page, id}]; }
  // Answers for the next questions, in order. A question without a scripted answer is answered
  // No and counted in unscriptedQuestions.
  void Answer(std::initializer_list<bool> answers) { answers_.insert(answers_.end(), answers); }
  std::vector<Message> messages;
  int unscriptedQuestions = 0;
  // Runs once while the next question is open (a click under the box, a close request).
  std::function<void()> whileAsking;
  int mainRedraws = 0;
  int dialogEnds = 0;
  std::pair<Page, int> focus{Page::Main, 0};  // the control that has the keyboard focus

 private:
  std::map<std::pair<Page, int>, Control> controls_;
  // A commit of a combo box with the box's current text, as read into 256 bytes.
  void CommitCurrentText(Page page, int id);

  std::map<std::pair<Page, int>, CommitHandler> commitHandlers_;
  std::deque<bool> answers_;
};

// The shell and the choosers, scripted by the test.
class MemoryShell : public Shell {
 public:
  void Open(std::string_view target) override { opened.emplace_back(target); }
  std::uint32_t ChooseColor(std::uint32_t color, std::uint32_t* customColors) override;
  bool ChooseImage(std::string& path, std::string& title) override;

  std::vector<std::string> opened;
  // The next chooser's outcome: a color to confirm, or Cancel when empty.
  std::deque<std::optional<std::uint32_t>> colorAnswers;
  // Set to change custom color 0 while the chooser is open.
  std::optional<std::uint32_t> changeCustomColor0;
  // Runs while the chooser is open (to try a second color command, for example).
  std::function<void()> whileChooserOpen;
  std::vector<std::uint32_t> chooserStartColors;
  // The next image chooser's outcome: {path, title}, or Cancel when empty.
  std::optional<std::pair<std::string, std::string>> imageAnswer;
};

}  // namespace quil::test
