// Crash-safe replacement of the files the utility writes.
#include "files/FileReplacement.h"

#include <utility>

namespace quil {

FileReplacement::FileReplacement(FileServices& files, std::string target)
    : files_(files),
      target_(std::move(target)),
      replacement_(target_ + std::string(kReplacementSuffix)),
      writer_(files_.OpenWrite(replacement_)) {}

FileReplacement::~FileReplacement() {
  Abandon();
}

FileReplacement::Result FileReplacement::Commit() {
  if (!writer_) return Result::WriteFailed;
  const bool written = writer_->Close();
  writer_.reset();
  if (!written) {
    files_.Delete(replacement_);
    return Result::WriteFailed;
  }
  if (!files_.Replace(replacement_, target_)) {
    replaceError_ = files_.LastError();
    files_.Delete(replacement_);
    return Result::ReplaceFailed;
  }
  return Result::Replaced;
}

void FileReplacement::Abandon() {
  if (!writer_) return;
  writer_->Close();
  writer_.reset();
  files_.Delete(replacement_);
}

namespace {

// Clears the read-only attribute of `path` when it has one; true when the file is writable
// afterwards or does not exist.
bool MakeWritable(FileServices& files, const std::string& path) {
  const auto attributes = files.Attributes(path);
  return !attributes || !attributes->isReadOnly || files.ClearReadOnly(path);
}

}  // namespace

bool ReplaceWithCopy(FileServices& files, const std::string& source, const std::string& target) {
  const std::string replacement = target + std::string(kReplacementSuffix);
  // A copy left by an interrupted attempt, read-only or not, gives way to this one.
  if (files.Attributes(replacement)) files.Delete(replacement);
  // The copy must not carry a read-only attribute over from its source, and its content must be
  // on the disk before the copy takes the target's place: a rename reaches the disk on its own,
  // and after a power cut it would leave the target empty.
  if (files.Copy(source, replacement, false) && MakeWritable(files, replacement) &&
      files.Flush(replacement) && MakeWritable(files, target) &&
      files.Replace(replacement, target)) {
    return true;
  }
  // A copy that fails half way, as on a full disk, can leave a partial file behind.
  files.Delete(replacement);
  return false;
}

BackupResult KeepBackup(FileServices& files, const std::string& target, const std::string& backup) {
  if (!files.Attributes(target)) return BackupResult::NothingToKeep;
  return ReplaceWithCopy(files, target, backup) ? BackupResult::Kept : BackupResult::Failed;
}

}  // namespace quil
