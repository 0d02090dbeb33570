// File services that fail where a test asks them to.
#include "tests/support/FaultyFiles.h"

namespace quil::test {

namespace {

// Writes the first half of what it is given, as a full disk would, and fails on closing.
class HalfWriter : public TextWriter {
 public:
  explicit HalfWriter(std::unique_ptr<TextWriter> inner) : inner_(std::move(inner)) {}
  void Write(std::string_view text) override { inner_->Write(text.substr(0, text.size() / 2)); }
  bool Close() override {
    inner_->Close();
    return false;
  }

 private:
  std::unique_ptr<TextWriter> inner_;
};

}  // namespace

std::unique_ptr<TextReader> FaultyFiles::OpenRead(const std::string& path) {
  ownError_.reset();
  if (unreadable.count(path)) {
    ownError_ = FileError::AccessDenied;
    return nullptr;
  }
  return real_.OpenRead(path);
}

std::optional<std::string> FaultyFiles::ReadBytes(const std::string& path) {
  ownError_.reset();
  if (unreadable.count(path)) {
    ownError_ = FileError::AccessDenied;
    return std::nullopt;
  }
  return real_.ReadBytes(path);
}

std::unique_ptr<TextWriter> FaultyFiles::OpenWrite(const std::string& path) {
  ownError_.reset();
  if (uncreatable.count(path)) {
    ownError_ = FileError::AccessDenied;
    return nullptr;
  }
  if (sharingViolation.count(path)) {
    ownError_ = FileError::SharingViolation;
    return nullptr;
  }
  auto writer = real_.OpenWrite(path);
  if (writer && failingClose.count(path)) return std::make_unique<HalfWriter>(std::move(writer));
  return writer;
}

bool FaultyFiles::Copy(const std::string& from, const std::string& to, bool failIfExists) {
  ownError_.reset();
  return real_.Copy(from, to, failIfExists);
}
bool FaultyFiles::Move(const std::string& from, const std::string& to) {
  ownError_.reset();
  return real_.Move(from, to);
}
bool FaultyFiles::Replace(const std::string& replacement, const std::string& target) {
  ownError_.reset();
  if (sharingViolation.count(target)) {
    ownError_ = FileError::SharingViolation;
    return false;
  }
  return real_.Replace(replacement, target);
}
bool FaultyFiles::Delete(const std::string& path) {
  ownError_.reset();
  return real_.Delete(path);
}
bool FaultyFiles::ClearReadOnly(const std::string& path) {
  ownError_.reset();
  return real_.ClearReadOnly(path);
}
bool FaultyFiles::Flush(const std::string& path) {
  ownError_.reset();
  return real_.Flush(path);
}
bool FaultyFiles::MakeDirectory(const std::string& path) {
  ownError_.reset();
  if (uncreatable.count(path)) {
    ownError_ = FileError::AccessDenied;
    return false;
  }
  return real_.MakeDirectory(path);
}
bool FaultyFiles::RemoveDirectory(const std::string& path) {
  ownError_.reset();
  return real_.RemoveDirectory(path);
}
std::vector<DirEntry> FaultyFiles::List(const std::string& pattern) {
  ownError_.reset();
  std::vector<DirEntry> entries = real_.List(pattern);
  const std::size_t end = pattern.find_last_of("\\/");
  // An entry's path as the utility forms it: its folder, a backslash and its name.
  const std::string folder = end == std::string::npos ? "" : pattern.substr(0, end) + "\\";
  for (DirEntry& entry : entries) {
    const auto tagged = reparseTags.find(folder + entry.name);
    if (tagged == reparseTags.end()) continue;
    entry.attributes.isReparsePoint = true;
    entry.attributes.reparseTag = tagged->second;
  }
  return entries;
}
std::optional<FileAttributes> FaultyFiles::Attributes(const std::string& path) {
  ownError_.reset();
  std::optional<FileAttributes> attributes = real_.Attributes(path);
  if (const auto tagged = reparseTags.find(path); attributes && tagged != reparseTags.end()) {
    attributes->isReparsePoint = true;
    attributes->reparseTag = tagged->second;
  }
  return attributes;
}
std::unique_ptr<FileLock> FaultyFiles::Lock(const std::string& path) {
  ownError_.reset();
  return real_.Lock(path);
}
std::optional<std::string> FaultyFiles::FullPath(const std::string& path) {
  return real_.FullPath(path);
}
std::optional<std::string> FaultyFiles::ShortPath(const std::string& path) {
  return real_.ShortPath(path);
}
std::string FaultyFiles::CurrentDirectory() {
  return currentDirectory ? *currentDirectory : real_.CurrentDirectory();
}
FileError FaultyFiles::LastError() {
  return ownError_ ? *ownError_ : real_.LastError();
}
int FaultyFiles::LastErrorCode() {
  return ownError_ ? FileServices::LastErrorCode() : real_.LastErrorCode();
}

}  // namespace quil::test
