// A scratch copy of the sample skin for tests: a fresh skins folder under the temp folder holding a
// copy of the sample skin "Quil", made the current folder for the test's lifetime. The previous
// current folder comes back and the scratch folder is removed at the end.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/App.h"
#include "tests/support/MemoryDialog.h"

namespace quil::test {

class ScratchSkin {
 public:
  // Copies the sample skin (or an empty skin folder when `copySample` is false) and enters it.
  explicit ScratchSkin(bool copySample = true, const std::string& skinName = "Quil");
  ~ScratchSkin();
  ScratchSkin(const ScratchSkin&) = delete;
  ScratchSkin& operator=(const ScratchSkin&) = delete;

  const std::filesystem::path& skinsFolder() const { return skins_; }
  const std::filesystem::path& skinFolder() const { return skin_; }
  // A path inside the skin folder, given with forward slashes.
  std::filesystem::path operator/(const std::string& relative) const { return skin_ / relative; }

  // Whole-file helpers on real paths, byte for byte.
  static std::string Read(const std::filesystem::path& path);
  static void Write(const std::filesystem::path& path, const std::string& bytes);
  // Makes `link` a symbolic link to the folder `target`; false when this system makes none. The
  // link goes with the scratch folder.
  bool MakeFolderLink(const std::filesystem::path& target, const std::filesystem::path& link);

 private:
  std::filesystem::path previous_;
  std::filesystem::path skins_;
  std::filesystem::path skin_;
  std::vector<std::filesystem::path> hostLinks_;  // links that Windows cannot remove itself
};

// An App over the platform's file services, an in-memory dialog and a scripted shell, with WorkDir
// set from the current folder as start-up sets it.
struct TestApp {
  TestApp();
  // The same over the given file services (the POSIX ones of another code page, a test double).
  explicit TestApp(std::unique_ptr<FileServices> files);
  std::unique_ptr<FileServices> files;
  MemoryDialog dialog;
  MemoryShell shell;
  App app;
};

}  // namespace quil::test
