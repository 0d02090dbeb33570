// Counting, failing and crashing file operations for the fault-injection tests.
#include "tests/support/FaultInjector.h"

#include <utility>

namespace quil::test {

namespace {

// Holds what is written until Close: a crash before that leaves the file as it was created
// (empty), as a program's unflushed buffers are lost with it.
class InjectedWriter : public TextWriter {
 public:
  InjectedWriter(FaultInjector& injector, std::unique_ptr<TextWriter> inner)
      : injector_(injector), inner_(std::move(inner)) {}
  // A writer dropped without Close writes what it holds, uncounted (a destructor must not throw).
  ~InjectedWriter() override {
    if (inner_ && !injector_.crashed()) inner_->Write(pending_);
  }
  void Write(std::string_view text) override { pending_ += text; }
  bool Close() override {
    if (!inner_) return false;
    if (injector_.crashed()) return false;
    if (!injector_.Step()) {
      // A write that fails half way, as on a full disk.
      inner_->Write(std::string_view(pending_).substr(0, pending_.size() / 2));
      inner_->Close();
      inner_.reset();
      return false;
    }
    inner_->Write(pending_);
    const bool ok = inner_->Close();
    inner_.reset();
    return ok;
  }

 private:
  FaultInjector& injector_;
  std::unique_ptr<TextWriter> inner_;
  std::string pending_;
};

}  // namespace

void FaultInjector::Arm(Mode mode, int at) {
  mode_ = mode;
  at_ = at;
  count_ = 0;
  fired_ = false;
  crashed_ = false;
  failedHere_.reset();
  holding_ = false;
  unflushed_.clear();
}

void FaultInjector::ArmHold(int at, int failures) {
  Arm(Mode::Hold, at);
  holdFailures_ = failures;
}

void FaultInjector::ArmHold(int at, std::chrono::milliseconds duration) {
  Arm(Mode::Hold, at);
  holdFailures_ = 0;
  holdDuration_ = duration;
}

bool FaultInjector::Step() {
  failedHere_.reset();
  if (crashed_) return false;
  ++count_;
  if (mode_ == Mode::Count || mode_ == Mode::Hold || count_ != at_) return true;
  fired_ = true;
  if (mode_ == Mode::Crash) {
    crashed_ = true;
    LoseUnflushed();
    throw Crashed{};
  }
  failedHere_ = FileError::AccessDenied;
  return false;
}

bool FaultInjector::StillHeld() const {
  if (holdFailures_ > 0) return heldAttempts_ < holdFailures_;
  return std::chrono::steady_clock::now() - holdStart_ < holdDuration_;
}

bool FaultInjector::Step(const std::string& path) {
  if (holding_ && path == heldPath_ && !crashed_) {
    // Another attempt on the held file, uncounted.
    failedHere_.reset();
    if (StillHeld()) {
      ++heldAttempts_;
      failedHere_ = FileError::SharingViolation;
      return false;
    }
    holding_ = false;
  }
  if (!Step()) return false;
  if (mode_ != Mode::Hold || count_ != at_) return true;
  fired_ = true;
  holding_ = true;
  heldPath_ = path;
  holdStart_ = std::chrono::steady_clock::now();
  heldAttempts_ = 1;
  failedHere_ = FileError::SharingViolation;
  return false;
}

void FaultInjector::Moved(const std::string& from, const std::string& to) {
  if (unflushed_.erase(from)) {
    unflushed_.insert(to);
  } else {
    unflushed_.erase(to);
  }
}

void FaultInjector::LoseUnflushed() {
  for (const std::string& path : unflushed_) {
    if (!real_.Attributes(path)) continue;
    real_.ClearReadOnly(path);
    if (auto emptied = real_.OpenWrite(path)) emptied->Close();
  }
  unflushed_.clear();
}

std::unique_ptr<TextReader> FaultInjector::OpenRead(const std::string& path) {
  if (!Step(path)) return nullptr;
  return real_.OpenRead(path);
}

std::unique_ptr<FileLock> FaultInjector::Lock(const std::string& path) {
  if (!Step(path)) return nullptr;
  return real_.Lock(path);
}

std::optional<std::string> FaultInjector::ReadBytes(const std::string& path) {
  if (!Step(path)) return std::nullopt;
  return real_.ReadBytes(path);
}

std::unique_ptr<TextWriter> FaultInjector::OpenWrite(const std::string& path) {
  if (!Step(path)) return nullptr;
  auto inner = real_.OpenWrite(path);
  if (!inner) return nullptr;
  unflushed_.erase(path);  // what the writer writes is flushed when it closes
  return std::make_unique<InjectedWriter>(*this, std::move(inner));
}

bool FaultInjector::Copy(const std::string& from, const std::string& to, bool failIfExists) {
  if (Step(from)) {
    if (!real_.Copy(from, to, failIfExists)) return false;
    Unflushed(to);
    return true;
  }
  // A copy that fails on a full disk has created its target and leaves it empty.
  if (!crashed_ && failedHere_ == FileError::AccessDenied &&
      !(failIfExists && real_.Attributes(to))) {
    if (auto created = real_.OpenWrite(to)) created->Close();
  }
  return false;
}
bool FaultInjector::Move(const std::string& from, const std::string& to) {
  if (!Step(from) || !real_.Move(from, to)) return false;
  Moved(from, to);
  return true;
}
bool FaultInjector::Replace(const std::string& replacement, const std::string& target) {
  if (!Step(target) || !real_.Replace(replacement, target)) return false;
  Moved(replacement, target);
  return true;
}
bool FaultInjector::Delete(const std::string& path) {
  if (!Step(path) || !real_.Delete(path)) return false;
  unflushed_.erase(path);
  return true;
}
bool FaultInjector::ClearReadOnly(const std::string& path) {
  return Step() && real_.ClearReadOnly(path);
}
bool FaultInjector::Flush(const std::string& path) {
  if (!Step(path) || !real_.Flush(path)) return false;
  unflushed_.erase(path);
  return true;
}
bool FaultInjector::MakeDirectory(const std::string& path) {
  return Step() && real_.MakeDirectory(path);
}
bool FaultInjector::RemoveDirectory(const std::string& path) {
  return Step(path) && real_.RemoveDirectory(path);
}

}  // namespace quil::test
