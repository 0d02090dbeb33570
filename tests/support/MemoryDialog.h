// An in-memory dialog for tests: it implements the dialog, message-box and exit ports the way the
// real controls behave, records every message box, and answers questions from a script.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/Ports.h"

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
  // Runs a combo box's commit handling with the candidate text before the text is stored.
  using CommitHandler = std::function<void(std::string_view candidate)>;

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
  void Focus(Page page, int id) override { focus = {page, id}; }
  void RedrawControl(Page page, int id) override;
  void RedrawMain() override;

  // MessageBoxes
  void Notice(std::string_view text) override;
  void Failure(std::string_view text) override;
  bool Ask(std::string_view text) override;
  void Plain(std::string_view text) override;

  // ProgramExit
  [[noreturn]] void Exit(int status) override;

  // Test access.
  Control& At(Page page, int id) { return controls_[{page, id}]; }
  void SetCommitHandler(Page page, int id, CommitHandler handler);
  // Answers for the next questions, in order. A question without a scripted answer is answered
  // No and counted in unscriptedQuestions.
  void Answer(std::initializer_list<bool> answers) { answers_.insert(answers_.end(), answers); }
  std::vector<Message> messages;
  int unscriptedQuestions = 0;
  int mainRedraws = 0;
  std::pair<Page, int> focus{Page::Main, 0};  // the control that has the keyboard focus

 private:
  std::map<std::pair<Page, int>, Control> controls_;
  std::map<std::pair<Page, int>, CommitHandler> commitHandlers_;
  std::deque<bool> answers_;
};

}  // namespace quil::test
