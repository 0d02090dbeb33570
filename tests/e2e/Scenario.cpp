// The frame of the end-to-end scenarios.
#include "tests/e2e/Scenario.h"

#include <algorithm>
#include <sstream>

#include "dialog/SchemeColorFiles.h"

namespace quil::e2e {

namespace fs = std::filesystem;

QuilProcess& Scenario::Launch(std::string_view argument) {
  dialog_.reset();
  process_ = std::make_unique<QuilProcess>(folder_.empty() ? skin_.skinFolder() : folder_, argument,
                                           program_);
  return *process_;
}

QuilDialog* Scenario::Start(std::string_view argument) {
  QuilProcess& process = Launch(argument);
  if (!process.Started()) {
    ADD_FAILURE() << "QuilConfig.exe could not be started: " << QUIL_QUILCONFIG_EXE;
    return nullptr;
  }
  HWND main = process.WaitDialog();
  if (!main) {
    const HWND box = process.FindTopLevel(kMessageCaption);
    ADD_FAILURE() << "the dialog \"" << kDialogTitle << "\" did not appear"
                  << (box ? ", a message box shows: \"" + WindowText(GetDlgItem(box, 0xFFFF)) + "\""
                          : std::string())
                  << (process.Running() ? "" : " (the program has ended)");
    return nullptr;
  }
  dialog_ = std::make_unique<QuilDialog>(process, main);
  dialog_->Sync();
  return dialog_.get();
}

std::optional<MessageBoxWindow> Scenario::ExpectMessageBox(std::string_view expectedText) {
  if (!process_) {
    ADD_FAILURE() << "no program was started";
    return std::nullopt;
  }
  const auto box = WaitMessageBox(*process_);
  if (!box) {
    ADD_FAILURE() << "no message box \"" << expectedText << "\" appeared";
    return std::nullopt;
  }
  EXPECT_EQ(box->text, expectedText);
  return box;
}

void Scenario::Answer(std::string_view expectedText, int button) {
  ASSERT_TRUE(process_);
  const auto box = ExpectMessageBox(expectedText);
  if (!box) return;
  EXPECT_TRUE(Press(*box, button))
      << "the message box \"" << box->text << "\" did not close with button " << button;
  if (dialog_ && process_->Running()) dialog_->Sync();
}

void Scenario::ExpectNoMessageBox() {
  ASSERT_TRUE(process_);
  const HWND box = process_->FindTopLevel(kMessageCaption);
  EXPECT_EQ(box, nullptr) << "unexpected message box \"" << WindowText(GetDlgItem(box, 0xFFFF))
                          << "\"";
}

void Scenario::CloseAndExpectExit(DWORD status) {
  ASSERT_TRUE(dialog_);
  dialog_->Close();
  ExpectExit(status);
}

void Scenario::ExpectExit(DWORD status) {
  ASSERT_TRUE(process_);
  const auto exit = process_->WaitExit();
  ASSERT_TRUE(exit.has_value()) << "the program did not end";
  EXPECT_EQ(*exit, status);
}

fs::path Scenario::SkinPath(const std::string& relative) const {
  return (skin_.skinFolder() / fs::path(relative)).lexically_normal();
}

bool Scenario::Exists(const std::string& relative) const {
  std::error_code ignored;
  return fs::exists(SkinPath(relative), ignored);
}

std::string Scenario::Read(const std::string& relative) const {
  if (!Exists(relative)) return "(missing " + relative + ")";
  return test::ScratchSkin::Read(SkinPath(relative));
}

void Scenario::Write(const std::string& relative, const std::string& bytes) const {
  test::ScratchSkin::Write(SkinPath(relative), bytes);
}

std::string Scenario::Sample(const std::string& relative) {
  return test::ScratchSkin::Read(fs::path(QUIL_SAMPLE_SKIN) / fs::path(relative));
}

std::string Scenario::SampleLine(const std::string& relative, std::size_t index) {
  std::istringstream in(WithoutCarriageReturns(Sample(relative)));
  std::string line;
  for (std::size_t i = 0; std::getline(in, line); ++i) {
    if (i == index) return line;
  }
  return "(no line " + std::to_string(index) + " in " + relative + ")";
}

std::vector<std::string> Scenario::Lines(const std::string& relative) const {
  std::vector<std::string> lines;
  std::istringstream in(WithoutCarriageReturns(Read(relative)));
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string WithoutCarriageReturns(std::string text) {
  text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
  return text;
}

SchemeColors SchemeOnDisk(std::string_view scheme) {
  test::TestApp model;
  model.app.state.SetProfileName(kDefaultProfile);
  LoadSchemeColors(model.app, scheme);
  return model.app.colors;
}

}  // namespace quil::e2e
