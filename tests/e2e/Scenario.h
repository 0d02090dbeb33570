// The frame of every end-to-end scenario: a scratch copy of the sample skin, QuilConfig.exe
// started in it, and the checks that recur (message boxes answered after their text is checked,
// the close command with its exit status, files read back from the scratch folder).
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tests/e2e/QuilWindow.h"
#include "tests/support/ScratchSkin.h"

namespace quil::e2e {

class Scenario : public ::testing::Test {
 protected:
  // Starts the program on the scratch skin and waits for its dialog. Null, with a failure that
  // tells what showed instead, when the dialog does not appear.
  QuilDialog* Start(std::string_view argument = {});
  // Starts the program without waiting for anything.
  QuilProcess& Launch(std::string_view argument = {});

  // Waits for the next message box and checks its text; none, with a failure, when none appears.
  std::optional<MessageBoxWindow> ExpectMessageBox(std::string_view expectedText);
  // Waits for the next message box, checks its text and presses `button` (IDOK, IDYES, IDNO).
  void Answer(std::string_view expectedText, int button);
  // No message box is open.
  void ExpectNoMessageBox();
  // Sends the close command and checks that the program ends with `status`.
  void CloseAndExpectExit(DWORD status = 0);
  // The program ends by itself with `status`.
  void ExpectExit(DWORD status);

  // Files of the scratch skins folder, by a path relative to the skin folder (profile folders are
  // "../Quil_profile_<name>").
  std::filesystem::path SkinPath(const std::string& relative) const;
  bool Exists(const std::string& relative) const;
  std::string Read(const std::string& relative) const;
  void Write(const std::string& relative, const std::string& bytes) const;
  // The sample skin's own copy of a file, as the scratch copy started.
  static std::string Sample(const std::string& relative);
  // Line `index` (from 0) of the sample skin's copy of a file, without its line break.
  static std::string SampleLine(const std::string& relative, std::size_t index);
  // The lines of a file without line breaks (CRLF or LF).
  std::vector<std::string> Lines(const std::string& relative) const;

  test::ScratchSkin skin_;
  // Where Launch and Start run which program: the scratch skin's folder and the built
  // QuilConfig.exe, unless a scenario sets them.
  std::filesystem::path folder_;
  std::filesystem::path program_;
  std::unique_ptr<QuilProcess> process_;
  std::unique_ptr<QuilDialog> dialog_;
};

// The colors of a scheme as the scratch skin's files hold them, read the way the program reads
// them for the "(default)" profile.
SchemeColors SchemeOnDisk(std::string_view scheme);

// The file's text with every CRLF made LF, for comparisons that do not care about line breaks.
std::string WithoutCarriageReturns(std::string text);

}  // namespace quil::e2e
