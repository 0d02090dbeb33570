// File services for fault-injection tests. They count the operations that change or open files
// (open, create, copy, move, replace, delete, make and remove a folder, and closing a written
// file, where its content reaches the disk) and can make the k-th one fail, or stop the program
// there as a crash would: from that moment nothing more reaches the disk, not even what a writer
// still holds in memory, and the test sees a Crashed exception. A failing write leaves half of its
// text, and a failing copy an empty target, as a full disk does.
#pragma once

#include <memory>
#include <string>

#include "files/FileServices.h"

namespace quil::test {

struct Crashed {};

class FaultInjector : public FileServices {
 public:
  enum class Mode { Count, Fail, Crash };

  explicit FaultInjector(FileServices& real) : real_(real) {}

  // Starts counting from zero; with Fail or Crash the operation number `at` (from 1) fails or
  // crashes.
  void Arm(Mode mode, int at = 0);
  int operations() const { return count_; }
  bool fired() const { return fired_; }

  std::unique_ptr<TextReader> OpenRead(const std::string& path) override;
  std::optional<std::string> ReadBytes(const std::string& path) override;
  std::unique_ptr<TextWriter> OpenWrite(const std::string& path) override;
  bool Copy(const std::string& from, const std::string& to, bool failIfExists) override;
  bool Move(const std::string& from, const std::string& to) override;
  bool Replace(const std::string& replacement, const std::string& target) override;
  bool Delete(const std::string& path) override;
  bool MakeDirectory(const std::string& path) override;
  bool RemoveDirectory(const std::string& path) override;
  std::vector<DirEntry> List(const std::string& pattern) override { return real_.List(pattern); }
  std::optional<FileAttributes> Attributes(const std::string& path) override {
    return real_.Attributes(path);
  }
  std::optional<std::string> FullPath(const std::string& path) override {
    return real_.FullPath(path);
  }
  std::optional<std::string> ShortPath(const std::string& path) override {
    return real_.ShortPath(path);
  }
  std::string CurrentDirectory() override { return real_.CurrentDirectory(); }
  FileError LastError() override {
    return failedHere_ ? FileError::AccessDenied : real_.LastError();
  }
  int LastErrorCode() override { return failedHere_ ? 5 : real_.LastErrorCode(); }
  LeadBytes AnsiLeadBytes() override { return real_.AnsiLeadBytes(); }

  // One step of an operation: false when it must fail; throws Crashed at the crash point. After
  // the crash every operation does nothing.
  bool Step();
  bool crashed() const { return crashed_; }

 private:
  FileServices& real_;
  Mode mode_ = Mode::Count;
  int at_ = 0;
  int count_ = 0;
  bool fired_ = false;
  bool crashed_ = false;
  bool failedHere_ = false;
};

}  // namespace quil::test
