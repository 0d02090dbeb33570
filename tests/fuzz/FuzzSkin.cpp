// The scratch skin, the file helpers and the silent App of the fuzz targets.
#include "tests/fuzz/FuzzSkin.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace quil::fuzz {

namespace fs = std::filesystem;

namespace {

// The skins folder of this process; removed when the process ends normally.
struct ScratchSkins {
  fs::path skins;
  ~ScratchSkins() {
    std::error_code ignored;
    if (!skins.empty()) fs::remove_all(skins, ignored);
  }
};

ScratchSkins& Scratch() {
  static ScratchSkins scratch;
  return scratch;
}

fs::path SkinPath(const std::string& path) {
  return Scratch().skins / "Quil" / path;
}

}  // namespace

void PropertyFailed(const char* what, const char* file, int line) {
  std::fprintf(stderr, "\n*** property failed: %s (%s:%d)\n", what, file, line);
  std::abort();
}

void EnterSkin() {
  ScratchSkins& scratch = Scratch();
  if (scratch.skins.empty()) {
    // A memory file system keeps the many small writes of a run off the disk.
    const fs::path root =
        fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
    const fs::path skins = root / ("quil-fuzz-" + std::to_string(::getpid()));
    fs::remove_all(skins);
    fs::create_directories(skins);
    fs::copy(fs::path(QUIL_SAMPLE_SKIN), skins / "Quil", fs::copy_options::recursive);
    scratch.skins = skins;
  }
  fs::current_path(scratch.skins / "Quil");
}

std::optional<std::string> ReadFileIfAny(const std::string& path) {
  std::ifstream in(SkinPath(path), std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string ReadFile(const std::string& path) {
  auto bytes = ReadFileIfAny(path);
  if (!bytes) PropertyFailed(("missing file " + path).c_str(), __FILE__, __LINE__);
  return *bytes;
}

void WriteFile(const std::string& path, std::string_view bytes) {
  const fs::path native = SkinPath(path);
  fs::create_directories(native.parent_path());
  std::ofstream out(native, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) PropertyFailed(("cannot write " + path).c_str(), __FILE__, __LINE__);
}

void RemoveFile(const std::string& path) {
  std::error_code ignored;
  fs::remove(SkinPath(path), ignored);
}

bool FileExists(const std::string& path) {
  std::error_code ignored;
  return fs::exists(SkinPath(path), ignored);
}

void RestoreFile(const std::string& path) {
  std::ifstream in(fs::path(QUIL_SAMPLE_SKIN) / path, std::ios::binary);
  if (!in) {
    RemoveFile(path);
    return;
  }
  WriteFile(path,
            std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
}

void RemoveTree(const std::string& pathFromSkinsFolder) {
  std::error_code ignored;
  fs::remove_all(Scratch().skins / pathFromSkinsFolder, ignored);
}

std::string TextOf(std::string_view bytes) {
  std::string text;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\x1a') break;
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
    text += bytes[i];
  }
  return text;
}

std::string BytesOf(std::string_view text) {
  std::string bytes;
  for (const char c : text) {
    if (c == '\n') bytes += '\r';
    bytes += c;
  }
  return bytes;
}

std::vector<std::string> Pieces(std::string_view text, std::size_t capacity) {
  std::vector<std::string> pieces;
  while (!text.empty()) {
    const std::size_t lineEnd = text.find('\n');
    const std::size_t lineLength = lineEnd == std::string_view::npos ? text.size() : lineEnd + 1;
    const std::size_t length = std::min(lineLength, capacity - 1);
    pieces.emplace_back(text.substr(0, length));
    text.remove_prefix(length);
  }
  return pieces;
}

std::vector<std::string_view> SplitInput(std::string_view data, std::string_view separator,
                                         std::size_t count) {
  std::vector<std::string_view> parts;
  while (parts.size() + 1 < count) {
    const std::size_t at = data.find(separator);
    if (at == std::string_view::npos) break;
    parts.push_back(data.substr(0, at));
    data.remove_prefix(at + separator.size());
  }
  parts.push_back(data);
  return parts;
}

bool SilentDialog::Ask(std::string_view text) {
  messages.push_back({Kind::Question, std::string(text), true});
  return true;
}

FuzzApp::FuzzApp(const SilentDialog& initial)
    : files(MakePlatformFileServices()), dialog(initial), app(*files, dialog, dialog, dialog) {
  app.state.SetWorkDir(files->CurrentDirectory());
  app.state.SetProfileName(kDefaultProfile);
}

std::optional<int> RunUntilExit(const std::function<void()>& operation) {
  try {
    operation();
  } catch (const test::ProgramEnded& ended) {
    return ended.status;
  }
  return std::nullopt;
}

bool OnlyFailure(const test::MemoryDialog& dialog, std::string_view text) {
  return dialog.messages.size() == 1 &&
         dialog.messages[0].kind == test::MemoryDialog::Kind::Failure &&
         dialog.messages[0].text == text;
}

std::uint32_t Mix(std::string_view data, std::uint32_t salt) {
  std::uint32_t h = 2166136261u ^ salt;
  for (const char c : data) h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
  h ^= h >> 15;
  h *= 0x2c1b3c6dU;
  h ^= h >> 12;
  return h;
}

}  // namespace quil::fuzz
