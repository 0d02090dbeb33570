// File services for fault-injection tests. They count the operations that change or open files
// (open, create, copy, move, replace, delete, clear a read-only attribute, flush, make and remove
// a folder, and closing a written file, where its content reaches the disk) and can make the k-th
// one fail, or stop the program there as a crash would: from that moment nothing more reaches the
// disk, not even what a writer still holds in memory, and the test sees a Crashed exception. A
// crash also loses what the system had not yet flushed to the disk, as a power cut does: a copied
// file that was not flushed is left empty, also where it was moved to. A failing write leaves
// half of its text, and a failing copy an empty target, as a full disk does.
//
// They can also make the file that the k-th operation works on (opening, copying from, moving,
// replacing, deleting, flushing, removing a folder) be held by another program for a moment, as a
// virus scanner holds a file it has just seen written: every operation on that path then fails
// with a sharing violation, a given number of times or for a given time, and then succeeds.
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "files/FileServices.h"

namespace quil::test {

struct Crashed {};

class FaultInjector : public FileServices {
 public:
  enum class Mode { Count, Fail, Crash, Hold };

  explicit FaultInjector(FileServices& real) : real_(real) {}

  // Starts counting from zero; with Fail or Crash the operation number `at` (from 1) fails or
  // crashes.
  void Arm(Mode mode, int at = 0);
  // Starts counting from zero; the path of operation number `at` is held: the operation and the
  // next attempts on that path fail `failures` times in all, then succeed.
  void ArmHold(int at, int failures);
  // The same, with the path held for `duration` from the first failure on.
  void ArmHold(int at, std::chrono::milliseconds duration);
  int operations() const { return count_; }
  bool fired() const { return fired_; }

  std::unique_ptr<TextReader> OpenRead(const std::string& path) override;
  std::optional<std::string> ReadBytes(const std::string& path) override;
  std::unique_ptr<TextWriter> OpenWrite(const std::string& path) override;
  bool Copy(const std::string& from, const std::string& to, bool failIfExists) override;
  bool Move(const std::string& from, const std::string& to) override;
  bool Replace(const std::string& replacement, const std::string& target) override;
  bool Delete(const std::string& path) override;
  bool ClearReadOnly(const std::string& path) override;
  bool Flush(const std::string& path) override;
  bool MakeDirectory(const std::string& path) override;
  bool RemoveDirectory(const std::string& path) override;
  // Taking a lock opens (creates) its file: it counts, and the file can be held.
  std::unique_ptr<FileLock> Lock(const std::string& path) override;
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
  FileError LastError() override { return failedHere_ ? *failedHere_ : real_.LastError(); }
  int LastErrorCode() override {
    return failedHere_ ? FileServices::LastErrorCode() : real_.LastErrorCode();
  }
  LeadBytes AnsiLeadBytes() override { return real_.AnsiLeadBytes(); }

  // One step of an operation: false when it must fail; throws Crashed at the crash point. After
  // the crash every operation does nothing.
  bool Step();
  // The same for an operation on the file `path`, which may be held.
  bool Step(const std::string& path);
  bool crashed() const { return crashed_; }

 private:
  FileServices& real_;
  Mode mode_ = Mode::Count;
  int at_ = 0;
  int count_ = 0;
  bool fired_ = false;
  bool crashed_ = false;
  std::optional<FileError> failedHere_;  // the reason of a failure made here, until the next step

  // The hold of the file `heldPath_`, once armed operation has started it.
  bool StillHeld() const;
  bool holding_ = false;
  std::string heldPath_;
  int holdFailures_ = 0;  // with a count of failures; else held for holdDuration_
  std::chrono::milliseconds holdDuration_{0};
  std::chrono::steady_clock::time_point holdStart_;
  int heldAttempts_ = 0;

  // Files whose content the system may still hold in its caches only: copies not yet flushed.
  void Unflushed(const std::string& path) { unflushed_.insert(path); }
  void Moved(const std::string& from, const std::string& to);
  void LoseUnflushed();
  std::set<std::string> unflushed_;
};

}  // namespace quil::test
