// File services for tests that pass every call to the real ones, except the failures a test asks
// for: files that cannot be opened or created, files whose writing fails (half of the text reaches
// the disk, as on a full disk, and closing reports the failure), files held open by another
// program without sharing, another current folder, and reparse points.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>

#include "files/FileServices.h"

namespace quil::test {

class FaultyFiles : public FileServices {
 public:
  explicit FaultyFiles(FileServices& real) : real_(real) {}

  // Paths exactly as the utility names them. A file in `sharingViolation` can be neither created
  // nor replaced, as while another program holds it open without sharing. A path in
  // `uncreatable` can be made neither as a file nor as a folder.
  std::set<std::string> unreadable, uncreatable, failingClose, sharingViolation;
  std::optional<std::string> currentDirectory;
  // Entries that show as reparse points of the given tag, in their attributes and in their
  // folder's listing (a folder that cloud sync keeps as a placeholder, say).
  std::map<std::string, std::uint32_t> reparseTags;

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
  std::vector<DirEntry> List(const std::string& pattern) override;
  std::optional<FileAttributes> Attributes(const std::string& path) override;
  std::unique_ptr<FileLock> Lock(const std::string& path) override;
  std::optional<std::string> FullPath(const std::string& path) override;
  std::optional<std::string> ShortPath(const std::string& path) override;
  std::string CurrentDirectory() override;
  FileError LastError() override;
  int LastErrorCode() override;
  LeadBytes AnsiLeadBytes() override { return real_.AnsiLeadBytes(); }

 private:
  FileServices& real_;
  std::optional<FileError> ownError_;  // the failure this object made up, until the next call
};

}  // namespace quil::test
