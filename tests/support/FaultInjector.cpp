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
  failedHere_ = false;
}

bool FaultInjector::Step() {
  failedHere_ = false;
  if (crashed_) return false;
  ++count_;
  if (mode_ == Mode::Count || count_ != at_) return true;
  fired_ = true;
  if (mode_ == Mode::Crash) {
    crashed_ = true;
    throw Crashed{};
  }
  failedHere_ = true;
  return false;
}

std::unique_ptr<TextReader> FaultInjector::OpenRead(const std::string& path) {
  if (!Step()) return nullptr;
  return real_.OpenRead(path);
}

std::optional<std::string> FaultInjector::ReadBytes(const std::string& path) {
  if (!Step()) return std::nullopt;
  return real_.ReadBytes(path);
}

std::unique_ptr<TextWriter> FaultInjector::OpenWrite(const std::string& path) {
  if (!Step()) return nullptr;
  auto inner = real_.OpenWrite(path);
  if (!inner) return nullptr;
  return std::make_unique<InjectedWriter>(*this, std::move(inner));
}

bool FaultInjector::Copy(const std::string& from, const std::string& to, bool failIfExists) {
  if (Step()) return real_.Copy(from, to, failIfExists);
  // A copy that fails on a full disk has created its target and leaves it empty.
  if (!crashed_ && !(failIfExists && real_.Attributes(to))) {
    if (auto created = real_.OpenWrite(to)) created->Close();
  }
  return false;
}
bool FaultInjector::Move(const std::string& from, const std::string& to) {
  return Step() && real_.Move(from, to);
}
bool FaultInjector::Replace(const std::string& replacement, const std::string& target) {
  return Step() && real_.Replace(replacement, target);
}
bool FaultInjector::Delete(const std::string& path) {
  return Step() && real_.Delete(path);
}
bool FaultInjector::MakeDirectory(const std::string& path) {
  return Step() && real_.MakeDirectory(path);
}
bool FaultInjector::RemoveDirectory(const std::string& path) {
  return Step() && real_.RemoveDirectory(path);
}

}  // namespace quil::test
