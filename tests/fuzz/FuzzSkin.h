// What the fuzz targets share: a scratch copy of the sample skin on a memory file system, made
// once per process and entered as the current folder; whole-file helpers that put a fuzz input
// in place and bring back the sample's own file; the text-mode view of a file as the readers get
// it; an App over the platform's file services with a silent in-memory dialog; and the check
// that stops the process when a property fails, so that libFuzzer keeps the input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/App.h"
#include "tests/support/MemoryDialog.h"

namespace quil::fuzz {

// Stops the process when a property of the code under test does not hold.
[[noreturn]] void PropertyFailed(const char* what, const char* file, int line);
#define QUIL_FUZZ_CHECK(condition) \
  ((condition) ? void() : ::quil::fuzz::PropertyFailed(#condition, __FILE__, __LINE__))

// Makes the scratch skin (on the first call only) and makes it the current folder. Every target
// calls it first.
void EnterSkin();

// Whole files by a path relative to the skin folder, with forward slashes, byte for byte.
std::string ReadFile(const std::string& path);
std::optional<std::string> ReadFileIfAny(const std::string& path);
void WriteFile(const std::string& path, std::string_view bytes);
void RemoveFile(const std::string& path);
bool FileExists(const std::string& path);
// Puts the sample skin's own copy of a file back (or removes the file when the sample has none).
void RestoreFile(const std::string& path);
// Removes a folder below the skin's parent folder (a profile folder) with everything in it.
void RemoveTree(const std::string& pathFromSkinsFolder);

// The text a reader gets from a file's bytes: each CRLF becomes one line break, and a Ctrl+Z ends
// the text. Written independently of the product's own translation, as the tests' oracle.
std::string TextOf(std::string_view bytes);
// The bytes a writer puts on disk for a text: every line break as CRLF.
std::string BytesOf(std::string_view text);
// The pieces in which a reader with a buffer of `capacity` bytes takes a text: lines of at most
// capacity - 1 characters, a longer line in several pieces.
std::vector<std::string> Pieces(std::string_view text, std::size_t capacity);
// Splits a fuzz input at `separator` into at most `count` parts (the last takes the rest).
std::vector<std::string_view> SplitInput(std::string_view data, std::string_view separator,
                                         std::size_t count);

// A dialog that shows nothing and answers every question Yes; the messages are recorded.
class SilentDialog : public test::MemoryDialog {
 public:
  bool Ask(std::string_view text) override;
};

// An App with the skin folder as WorkDir and the profile "(default)", as start-up sets them.
struct FuzzApp {
  explicit FuzzApp(const SilentDialog& initial = SilentDialog());
  std::unique_ptr<FileServices> files;
  SilentDialog dialog;
  App app;
};

// Runs `operation`; returns the exit status when it ended the program.
std::optional<int> RunUntilExit(const std::function<void()>& operation);

// True when the dialog showed exactly one message, a failure with `text`.
bool OnlyFailure(const test::MemoryDialog& dialog, std::string_view text);

// A stream of pseudo-random numbers seeded from the input, for values a target derives from it.
std::uint32_t Mix(std::string_view data, std::uint32_t salt);

}  // namespace quil::fuzz
