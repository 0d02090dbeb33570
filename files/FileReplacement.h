// Replacing a settings file so that it is never missing or partial: the new content is written
// beside the file, under its name with ".new" appended, flushed to the disk, and only then moved
// over the file in one step. Until that step the file keeps its old content; a crash leaves at
// most a stray ".new" file.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "files/FileServices.h"

namespace quil {

inline constexpr std::string_view kReplacementSuffix = ".new";

class FileReplacement {
 public:
  enum class Result { Replaced, WriteFailed, ReplaceFailed };

  // Creates the replacement file; Opened() tells whether that worked.
  FileReplacement(FileServices& files, std::string target);
  // A replacement that was not committed is deleted; the target keeps its content.
  ~FileReplacement();
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;

  bool Opened() const { return writer_ != nullptr; }
  void Write(std::string_view text) { writer_->Write(text); }
  TextWriter& Writer() { return *writer_; }

  // Closes the new content and moves it over the target. WriteFailed when writing or flushing
  // failed, ReplaceFailed when the target could not be replaced (read-only, or held open by
  // another program); in both cases the target keeps its old content and the new file is gone.
  Result Commit();
  // Drops the new content; the target keeps its old content.
  void Abandon();
  // Why the target could not be replaced, after Commit gave ReplaceFailed.
  FileError ReplaceError() const { return replaceError_; }

 private:
  FileServices& files_;
  std::string target_;
  std::string replacement_;
  std::unique_ptr<TextWriter> writer_;
  FileError replaceError_ = FileError::None;
};

// Replaces `target` by a copy of `source` the same way: copied beside it, flushed to the disk, and
// moved over it. The copy is never read-only, whatever its source, and a read-only `target` is
// replaced too: the targets are backups the utility keeps for itself and files the user asked to
// have put back. False when a step failed, and then `target` is as it was and no partial copy is
// left beside it.
bool ReplaceWithCopy(FileServices& files, const std::string& source, const std::string& target);

// What keeping a backup came to.
enum class BackupResult { Kept, NothingToKeep, Failed };

// Keeps the content of `target` as `backup` (its name with ".bak" appended) by the same one-step
// replacement, so that a backup is whole or absent: an earlier backup stays as it was until a
// whole new one replaces it. NothingToKeep when `target` does not exist (an earlier backup is left
// alone); Failed when the copy could not be made whole, as on a full disk.
BackupResult KeepBackup(FileServices& files, const std::string& target, const std::string& backup);

}  // namespace quil
