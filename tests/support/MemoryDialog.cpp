// The in-memory dialog used by the tests.
#include "tests/support/MemoryDialog.h"

#include <algorithm>

#include "base/Text.h"
#include "core/ControlIds.h"

namespace quil::test {

MemoryDialog::MemoryDialog() {
  // The profile box and the scheme box are sorted combo boxes.
  At(Page::Main, kProfileBox).sorted = true;
  At(Page::Colors, kSchemeBox).sorted = true;
}

void MemoryDialog::SetText(Page page, int id, std::string_view text) {
  const std::string candidate(text);
  auto handler = commitHandlers_.find({page, id});
  if (handler != commitHandlers_.end() && handler->second && !handler->second(candidate)) return;
  At(page, id).text = candidate;
}

std::string MemoryDialog::GetText(Page page, int id, std::size_t capacity) {
  return Bounded(At(page, id).text, capacity);
}

void MemoryDialog::SetChecked(Page page, int id, bool checked) {
  At(page, id).checked = checked;
}
bool MemoryDialog::IsChecked(Page page, int id) {
  return At(page, id).checked;
}

void MemoryDialog::ClearList(Page page, int id) {
  Control& c = At(page, id);
  c.lines.clear();
  c.selected.clear();
}

int MemoryDialog::AddListLine(Page page, int id, std::string_view text) {
  Control& c = At(page, id);
  auto at = c.lines.end();
  if (c.sorted) {
    at = std::upper_bound(
        c.lines.begin(), c.lines.end(), std::string(text),
        [](const std::string& a, const std::string& b) { return LessNoCase(a, b); });
  }
  const auto index = at - c.lines.begin();
  c.lines.insert(at, std::string(text));
  c.selected.insert(c.selected.begin() + index, false);
  return static_cast<int>(index);
}

void MemoryDialog::DeleteListLine(Page page, int id, int index) {
  Control& c = At(page, id);
  if (index < 0 || index >= static_cast<int>(c.lines.size())) return;
  c.lines.erase(c.lines.begin() + index);
  c.selected.erase(c.selected.begin() + index);
}

int MemoryDialog::ListLineCount(Page page, int id) {
  return static_cast<int>(At(page, id).lines.size());
}

std::string MemoryDialog::ListLine(Page page, int id, int index) {
  Control& c = At(page, id);
  if (index < 0 || index >= static_cast<int>(c.lines.size())) return {};
  return c.lines[static_cast<std::size_t>(index)];
}

bool MemoryDialog::IsListLineSelected(Page page, int id, int index) {
  Control& c = At(page, id);
  if (index < 0 || index >= static_cast<int>(c.selected.size())) return false;
  return c.selected[static_cast<std::size_t>(index)];
}

void MemoryDialog::SelectListLine(Page page, int id, int index, bool selected) {
  Control& c = At(page, id);
  if (index < 0 || index >= static_cast<int>(c.selected.size())) return;
  c.selected[static_cast<std::size_t>(index)] = selected;
}

void MemoryDialog::Show(Page page, int id, bool visible) {
  At(page, id).visible = visible;
}
void MemoryDialog::RedrawControl(Page page, int id) {
  ++At(page, id).redraws;
}
void MemoryDialog::RedrawMain() {
  ++mainRedraws;
}

void MemoryDialog::Notice(std::string_view text) {
  messages.push_back({Kind::Notice, std::string(text)});
}
void MemoryDialog::Failure(std::string_view text) {
  messages.push_back({Kind::Failure, std::string(text)});
}
bool MemoryDialog::Ask(std::string_view text) {
  bool answer = false;
  if (answers_.empty()) {
    ++unscriptedQuestions;
  } else {
    answer = answers_.front();
    answers_.pop_front();
  }
  messages.push_back({Kind::Question, std::string(text), answer});
  if (whileAsking) {
    // Once: what the user does while this question is open.
    const std::function<void()> act = std::move(whileAsking);
    whileAsking = nullptr;
    act();
  }
  return answer;
}
void MemoryDialog::Plain(std::string_view text) {
  messages.push_back({Kind::Plain, std::string(text)});
}

void MemoryDialog::Exit(int status) {
  throw ProgramEnded{status};
}

void MemoryDialog::SetCommitHandler(Page page, int id, CommitHandler handler) {
  commitHandlers_[{page, id}] = std::move(handler);
}

void MemoryDialog::CommitCurrentText(Page page, int id) {
  auto handler = commitHandlers_.find({page, id});
  if (handler == commitHandlers_.end() || !handler->second) return;
  handler->second(Bounded(At(page, id).text, 256));
}

void MemoryDialog::Focus(Page page, int id) {
  const auto previous = focus;
  focus = {page, id};
  if (previous != focus) CommitCurrentText(previous.first, previous.second);
}

void MemoryDialog::Type(Page page, int id, std::string_view text) {
  Focus(page, id);
  At(page, id).text = std::string(text);
}

void MemoryDialog::PressEnter() {
  CommitCurrentText(focus.first, focus.second);
}

void MemoryDialog::Pick(Page page, int id, int index) {
  Focus(page, id);
  SetText(page, id, ListLine(page, id, index));
}

void MemoryDialog::Click(Page page, int id) {
  Focus(page, id);
  if (onCommand) onCommand(page, id);
}

std::uint32_t MemoryShell::ChooseColor(std::uint32_t color, std::uint32_t* customColors) {
  chooserStartColors.push_back(color);
  if (changeCustomColor0) customColors[0] = *changeCustomColor0;
  if (whileChooserOpen) whileChooserOpen();
  std::optional<std::uint32_t> answer;
  if (!colorAnswers.empty()) {
    answer = colorAnswers.front();
    colorAnswers.pop_front();
  }
  return answer.value_or(color);
}

bool MemoryShell::ChooseImage(std::string& path, std::string& title) {
  if (!imageAnswer) return false;
  path = imageAnswer->first;
  title = imageAnswer->second;
  return true;
}

}  // namespace quil::test
