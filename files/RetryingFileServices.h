// File services that ride out a brief hold. On a real Windows machine a virus scanner, the search
// indexer, Explorer's preview or a cloud-sync client opens a file for a moment right after it was
// written; until it lets go, replacing, deleting, renaming or opening the file fails with a sharing
// violation or "access denied", and removing its folder fails with "directory not empty" (the
// file is deleted but still held). These services repeat such an operation after short, growing
// sleeps, for about one second in all, and only for those failures; a hold that lasts longer is
// reported as the operation's own failure. Everything else passes straight through.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "files/FileServices.h"

namespace quil {

class RetryingFileServices : public FileServices {
 public:
  // Sleeps for the given number of milliseconds between two attempts.
  using Sleeper = std::function<void(int milliseconds)>;

  // The sleeps between attempts, in milliseconds: short at first, for the usual hold of a few
  // milliseconds, and about one second in all.
  static constexpr int kRetryDelaysMs[] = {0, 1, 10, 20, 40, 80, 160, 320, 400};
  // How long a lock that another program holds is waited for: the same sleeps, the longest one
  // repeated, until about ten seconds have passed. Another copy of the utility saving the same
  // skin holds it for well under a second.
  static constexpr int kLockWaitMs = 10000;

  RetryingFileServices(FileServices& inner, Sleeper sleep);
  RetryingFileServices(std::unique_ptr<FileServices> inner, Sleeper sleep);

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
  std::vector<DirEntry> List(const std::string& pattern) override;
  std::optional<FileAttributes> Attributes(const std::string& path) override;
  std::unique_ptr<FileLock> Lock(const std::string& path) override;
  LeadBytes AnsiLeadBytes() override { return inner_.AnsiLeadBytes(); }
  std::optional<std::string> FullPath(const std::string& path) override;
  std::optional<std::string> ShortPath(const std::string& path) override;
  std::string CurrentDirectory() override;
  FileError LastError() override { return error_; }
  int LastErrorCode() override { return errorCode_; }

 private:
  // Which failures a brief hold of the file at `path` can cause.
  enum class Hold {
    // A file operation: a sharing violation, or "access denied" on a path that is neither a folder
    // nor a read-only file (those refusals last).
    OnFile,
    // A rename or a folder removal: a sharing violation or "access denied" whatever the path, and
    // for a folder removal "directory not empty" too.
    OnFolder,
  };

  // Runs `attempt` until it succeeds, fails for a reason no hold gives, or the sleeps are used up.
  // The reason of its last failure stays as LastError.
  bool Retry(const std::string& path, Hold hold, const std::function<bool()>& attempt);
  bool MayBeHeld(const std::string& path, Hold hold);
  // The attributes of `path`, looked at without changing the reason of the failure reported.
  std::optional<FileAttributes> LookAt(const std::string& path);
  // Whether a lock that could not be had is held by another program: a sharing violation, or
  // "access denied" while the file is there (its holder has just let go, and it is being deleted).
  bool LockMayBeHeld(const std::string& path);
  // Takes over the inner services' reason for the call just made; answers `ok`.
  bool Record(bool ok);

  std::unique_ptr<FileServices> owned_;
  FileServices& inner_;
  Sleeper sleep_;
  FileError error_ = FileError::None;
  int errorCode_ = 0;
};

}  // namespace quil
