// File services for tests that behave like Windows' UAC file virtualization over a skin installed
// under "Program Files", as a standard user meets it: the shipped folder is read-only; a write to
// a file in it goes to a copy in an overlay folder (the user's VirtualStore), which later reads
// see first; deleting such a copy brings the shipped file back; and deleting or renaming a shipped
// file or folder is denied.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "files/FileServices.h"

namespace quil::test {

class VirtualizedFiles : public FileServices {
 public:
  // `shippedRoot` is the full path of the read-only folder; the overlay is its folder
  // "VirtualStore", which counts as lying outside it.
  VirtualizedFiles(std::unique_ptr<FileServices> real, std::string shippedRoot);

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
  std::optional<std::string> FullPath(const std::string& path) override;
  std::optional<std::string> ShortPath(const std::string& path) override;
  std::string CurrentDirectory() override;
  LeadBytes AnsiLeadBytes() override;
  FileError LastError() override;
  int LastErrorCode() override;

 private:
  // The overlay's path for a path under the shipped folder; nothing for any other path.
  std::optional<std::string> Overlay(const std::string& path);
  // Whether the shipped folder itself holds the entry (not only the overlay).
  bool Shipped(const std::string& path);
  // Where a read goes: the overlay's copy when there is one.
  std::string ReadPath(const std::string& path);
  // Where a write goes: the overlay, its folders made first, for a path under the shipped folder.
  std::string WritePath(const std::string& path);
  bool Refuse(FileError error);

  std::unique_ptr<FileServices> real_;
  std::string shippedRoot_;
  std::string overlayRoot_;
  std::optional<FileError> ownError_;
};

}  // namespace quil::test
