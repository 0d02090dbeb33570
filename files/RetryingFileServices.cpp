// Repeating the file operations that a brief hold by another program makes fail.
#include "files/RetryingFileServices.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace quil {

RetryingFileServices::RetryingFileServices(FileServices& inner, Sleeper sleep)
    : inner_(inner), sleep_(std::move(sleep)) {}

RetryingFileServices::RetryingFileServices(std::unique_ptr<FileServices> inner, Sleeper sleep)
    : owned_(std::move(inner)), inner_(*owned_), sleep_(std::move(sleep)) {}

bool RetryingFileServices::Record(bool ok) {
  error_ = inner_.LastError();
  errorCode_ = inner_.LastErrorCode();
  return ok;
}

std::optional<FileAttributes> RetryingFileServices::LookAt(const std::string& path) {
  const FileError error = error_;
  const int code = errorCode_;
  auto attributes = inner_.Attributes(path);
  error_ = error;
  errorCode_ = code;
  return attributes;
}

bool RetryingFileServices::MayBeHeld(const std::string& path, Hold hold) {
  switch (error_) {
    case FileError::SharingViolation:
      return true;
    case FileError::NotEmpty:
      return hold == Hold::OnFolder;
    case FileError::AccessDenied:
      break;
    default:
      return false;
  }
  if (hold == Hold::OnFolder) return true;
  // A folder where a file was meant, or a read-only file, is refused for good.
  const auto attributes = LookAt(path);
  return !attributes || (!attributes->isDirectory && !attributes->isReadOnly);
}

bool RetryingFileServices::Retry(const std::string& path, Hold hold,
                                 const std::function<bool()>& attempt) {
  if (Record(attempt())) return true;
  for (const int delay : kRetryDelaysMs) {
    if (!MayBeHeld(path, hold)) return false;
    sleep_(delay);
    if (Record(attempt())) return true;
  }
  return false;
}

std::optional<std::string> RetryingFileServices::ReadBytes(const std::string& path) {
  std::optional<std::string> bytes;
  Retry(path, Hold::OnFile, [&] {
    bytes = inner_.ReadBytes(path);
    return bytes.has_value();
  });
  return bytes;
}

std::unique_ptr<TextWriter> RetryingFileServices::OpenWrite(const std::string& path) {
  std::unique_ptr<TextWriter> writer;
  Retry(path, Hold::OnFile, [&] {
    writer = inner_.OpenWrite(path);
    return writer != nullptr;
  });
  return writer;
}

bool RetryingFileServices::Copy(const std::string& from, const std::string& to, bool failIfExists) {
  return Retry(to, Hold::OnFile, [&] { return inner_.Copy(from, to, failIfExists); });
}

bool RetryingFileServices::Move(const std::string& from, const std::string& to) {
  // A folder cannot be renamed while another program holds a file inside it.
  return Retry(from, Hold::OnFolder, [&] { return inner_.Move(from, to); });
}

bool RetryingFileServices::Replace(const std::string& replacement, const std::string& target) {
  return Retry(target, Hold::OnFile, [&] { return inner_.Replace(replacement, target); });
}

bool RetryingFileServices::Delete(const std::string& path) {
  return Retry(path, Hold::OnFile, [&] { return inner_.Delete(path); });
}

bool RetryingFileServices::ClearReadOnly(const std::string& path) {
  return Record(inner_.ClearReadOnly(path));
}

bool RetryingFileServices::Flush(const std::string& path) {
  return Retry(path, Hold::OnFile, [&] { return inner_.Flush(path); });
}

bool RetryingFileServices::MakeDirectory(const std::string& path) {
  return Record(inner_.MakeDirectory(path));
}

bool RetryingFileServices::RemoveDirectory(const std::string& path) {
  return Retry(path, Hold::OnFolder, [&] { return inner_.RemoveDirectory(path); });
}

std::vector<DirEntry> RetryingFileServices::List(const std::string& pattern) {
  std::vector<DirEntry> entries = inner_.List(pattern);
  Record(true);
  return entries;
}

std::optional<FileAttributes> RetryingFileServices::Attributes(const std::string& path) {
  auto attributes = inner_.Attributes(path);
  Record(true);
  return attributes;
}

bool RetryingFileServices::LockMayBeHeld(const std::string& path) {
  if (error_ == FileError::SharingViolation) return true;
  return error_ == FileError::AccessDenied && LookAt(path).has_value();
}

std::unique_ptr<FileLock> RetryingFileServices::Lock(const std::string& path) {
  std::unique_ptr<FileLock> lock;
  const auto attempt = [&] {
    lock = inner_.Lock(path);
    return Record(lock != nullptr);
  };
  if (attempt()) return lock;
  int waited = 0;
  for (std::size_t i = 0; waited < kLockWaitMs && LockMayBeHeld(path); ++i) {
    const int delay = kRetryDelaysMs[std::min(i, std::size(kRetryDelaysMs) - 1)];
    sleep_(delay);
    waited += delay;
    if (attempt()) return lock;
  }
  return nullptr;
}

std::optional<std::string> RetryingFileServices::FullPath(const std::string& path) {
  auto full = inner_.FullPath(path);
  Record(true);
  return full;
}

std::optional<std::string> RetryingFileServices::ShortPath(const std::string& path) {
  auto shortPath = inner_.ShortPath(path);
  Record(true);
  return shortPath;
}

std::string RetryingFileServices::CurrentDirectory() {
  std::string current = inner_.CurrentDirectory();
  Record(true);
  return current;
}

}  // namespace quil
