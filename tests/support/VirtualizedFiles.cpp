// UAC file virtualization over a read-only folder, for tests.
#include "tests/support/VirtualizedFiles.h"

#include <algorithm>
#include <utility>

#include "base/Text.h"

namespace quil::test {

VirtualizedFiles::VirtualizedFiles(std::unique_ptr<FileServices> real, std::string shippedRoot)
    : real_(std::move(real)),
      shippedRoot_(std::move(shippedRoot)),
      overlayRoot_(shippedRoot_ + "\\VirtualStore") {}

std::optional<std::string> VirtualizedFiles::Overlay(const std::string& path) {
  const std::optional<std::string> full = real_->FullPath(path);
  if (!full || !StartsWithNoCase(*full, shippedRoot_ + "\\") ||
      StartsWithNoCase(*full, overlayRoot_)) {
    return std::nullopt;
  }
  return overlayRoot_ + full->substr(shippedRoot_.size());
}

bool VirtualizedFiles::Shipped(const std::string& path) {
  return Overlay(path) && real_->Attributes(path).has_value();
}

std::string VirtualizedFiles::ReadPath(const std::string& path) {
  const std::optional<std::string> overlay = Overlay(path);
  return overlay && real_->Attributes(*overlay) ? *overlay : path;
}

std::string VirtualizedFiles::WritePath(const std::string& path) {
  const std::optional<std::string> overlay = Overlay(path);
  if (!overlay) return path;
  for (std::size_t at = overlayRoot_.size(); at != std::string::npos;
       at = overlay->find('\\', at + 1)) {
    real_->MakeDirectory(overlay->substr(0, at));
  }
  return *overlay;
}

bool VirtualizedFiles::Refuse(FileError error) {
  ownError_ = error;
  return false;
}

std::unique_ptr<FileLock> VirtualizedFiles::Lock(const std::string& path) {
  ownError_.reset();
  return real_->Lock(WritePath(path));
}

std::optional<std::string> VirtualizedFiles::ReadBytes(const std::string& path) {
  ownError_.reset();
  return real_->ReadBytes(ReadPath(path));
}

std::unique_ptr<TextWriter> VirtualizedFiles::OpenWrite(const std::string& path) {
  ownError_.reset();
  return real_->OpenWrite(WritePath(path));
}

bool VirtualizedFiles::Copy(const std::string& from, const std::string& to, bool failIfExists) {
  ownError_.reset();
  if (failIfExists && Attributes(to)) return Refuse(FileError::AlreadyExists);
  return real_->Copy(ReadPath(from), WritePath(to), failIfExists);
}

bool VirtualizedFiles::Move(const std::string& from, const std::string& to) {
  ownError_.reset();
  const std::optional<std::string> overlay = Overlay(from);
  if (!overlay) return real_->Move(from, to);
  if (Shipped(from)) return Refuse(FileError::AccessDenied);
  return real_->Move(*overlay, WritePath(to));
}

bool VirtualizedFiles::Replace(const std::string& replacement, const std::string& target) {
  ownError_.reset();
  return real_->Replace(ReadPath(replacement), WritePath(target));
}

bool VirtualizedFiles::Delete(const std::string& path) {
  ownError_.reset();
  const std::optional<std::string> overlay = Overlay(path);
  if (!overlay) return real_->Delete(path);
  if (real_->Attributes(*overlay)) return real_->Delete(*overlay);  // the shipped file comes back
  if (Shipped(path)) return Refuse(FileError::AccessDenied);
  return real_->Delete(path);
}

bool VirtualizedFiles::ClearReadOnly(const std::string& path) {
  ownError_.reset();
  const std::optional<std::string> overlay = Overlay(path);
  if (!overlay) return real_->ClearReadOnly(path);
  if (real_->Attributes(*overlay)) return real_->ClearReadOnly(*overlay);
  if (Shipped(path)) return Refuse(FileError::AccessDenied);  // a change to a shipped file
  return real_->ClearReadOnly(path);
}

bool VirtualizedFiles::Flush(const std::string& path) {
  ownError_.reset();
  return real_->Flush(ReadPath(path));
}

bool VirtualizedFiles::MakeDirectory(const std::string& path) {
  ownError_.reset();
  if (!Overlay(path)) return real_->MakeDirectory(path);
  if (Attributes(path)) return Refuse(FileError::AlreadyExists);
  return real_->MakeDirectory(WritePath(path));
}

bool VirtualizedFiles::RemoveDirectory(const std::string& path) {
  ownError_.reset();
  const std::optional<std::string> overlay = Overlay(path);
  if (!overlay) return real_->RemoveDirectory(path);
  if (Shipped(path)) {
    if (real_->Attributes(*overlay)) real_->RemoveDirectory(*overlay);
    return Refuse(FileError::AccessDenied);
  }
  return real_->RemoveDirectory(*overlay);
}

std::vector<DirEntry> VirtualizedFiles::List(const std::string& pattern) {
  ownError_.reset();
  std::vector<DirEntry> entries;
  if (const std::optional<std::string> overlay = Overlay(pattern)) entries = real_->List(*overlay);
  for (DirEntry& shipped : real_->List(pattern)) {
    const bool copied = std::any_of(entries.begin(), entries.end(), [&](const DirEntry& e) {
      return EqualsNoCase(e.name, shipped.name);
    });
    if (!copied) entries.push_back(std::move(shipped));
  }
  std::stable_sort(entries.begin(), entries.end(),
                   [](const DirEntry& a, const DirEntry& b) { return LessNoCase(a.name, b.name); });
  if (entries.empty()) Refuse(FileError::NotFound);
  return entries;
}

std::optional<FileAttributes> VirtualizedFiles::Attributes(const std::string& path) {
  ownError_.reset();
  return real_->Attributes(ReadPath(path));
}

std::optional<std::string> VirtualizedFiles::FullPath(const std::string& path) {
  ownError_.reset();
  return real_->FullPath(path);
}

std::optional<std::string> VirtualizedFiles::ShortPath(const std::string& path) {
  ownError_.reset();
  return real_->ShortPath(path);
}

std::string VirtualizedFiles::CurrentDirectory() {
  ownError_.reset();
  return real_->CurrentDirectory();
}

LeadBytes VirtualizedFiles::AnsiLeadBytes() {
  return real_->AnsiLeadBytes();
}

FileError VirtualizedFiles::LastError() {
  return ownError_ ? *ownError_ : real_->LastError();
}

int VirtualizedFiles::LastErrorCode() {
  return ownError_ ? FileServices::LastErrorCode() : real_->LastErrorCode();
}

}  // namespace quil::test
