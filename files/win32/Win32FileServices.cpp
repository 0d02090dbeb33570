// The Win32 file services: files and folders through the ANSI functions of KERNEL32 (listings,
// deletions, folder removals and attributes through the wide ones at any path length, each listed
// name converted to ANSI strictly), text files read and written in the C runtime's text mode by
// the shared translation of files/TextMode.h, so that this build and the POSIX build put the same
// bytes on disk.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/Text.h"
#include "files/FileServices.h"
#include "files/RetryingFileServices.h"
#include "files/TextMode.h"
#include "files/win32/Win32.h"

namespace quil {

namespace {

// Files are opened as the C runtime's fopen opens them: others may go on reading and writing.
constexpr DWORD kShareReadWrite = FILE_SHARE_READ | FILE_SHARE_WRITE;
// Files are read, and text written is passed to WriteFile, in blocks of about this size, as a
// stdio buffer would.
constexpr std::size_t kBlockSize = 4096;

FileError ToFileError(DWORD code) {
  switch (code) {
    case ERROR_SUCCESS:
      return FileError::None;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_NETPATH:
      return FileError::NotFound;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return FileError::SharingViolation;
    case ERROR_ACCESS_DENIED:
      return FileError::AccessDenied;
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS:
      return FileError::AlreadyExists;
    case ERROR_DIR_NOT_EMPTY:
      return FileError::NotEmpty;
    case ERROR_NO_UNICODE_TRANSLATION:
      return FileError::NoExactName;
    default:
      return FileError::Other;
  }
}

FileAttributes ToAttributes(DWORD bits) {
  FileAttributes attributes;
  attributes.isDirectory = (bits & FILE_ATTRIBUTE_DIRECTORY) != 0;
  attributes.isReparsePoint = (bits & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
  attributes.isReadOnly = (bits & FILE_ATTRIBUTE_READONLY) != 0;
  return attributes;
}

// The lead bytes of the system's ANSI code page, as it names them: pairs of first and last byte,
// ended by a pair of zeros.
LeadBytes SystemLeadBytes() {
  LeadBytes lead;
  CPINFO info{};
  if (!GetCPInfo(CP_ACP, &info)) return lead;
  for (std::size_t i = 0; i + 1 < MAX_LEADBYTES && info.LeadByte[i] != 0; i += 2) {
    lead.AddRange(info.LeadByte[i], info.LeadByte[i + 1]);
  }
  return lead;
}

// The wide form of an ANSI text; nothing when the text is no valid text of the code page.
std::optional<std::wstring> ToWide(const std::string& text) {
  const int length =
      MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.c_str(), -1, nullptr, 0);
  if (length <= 0) return std::nullopt;
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  if (MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.c_str(), -1, wide.data(), length) !=
      length) {
    return std::nullopt;
  }
  wide.resize(static_cast<std::size_t>(length - 1));
  return wide;
}

// The form of a path that the wide functions take at any length: "\\?\" and the full path
// ("\\?\UNC\" and the server's name for a network path), which Windows uses as it is, without the
// limit of MAX_PATH characters. GetFullPathNameW first does what Windows does with any other path
// (joins a relative one onto the current folder, takes out "." and ".." steps, turns "/" into
// "\"). Nothing when the path is no valid text of the code page or has no full form.
std::optional<std::wstring> LongPath(const std::string& path) {
  const std::optional<std::wstring> wide = ToWide(path);
  if (!wide || wide->empty()) return std::nullopt;
  const std::optional<std::wstring> filled = FillString<wchar_t>([&](wchar_t* buffer, DWORD size) {
    return GetFullPathNameW(wide->c_str(), size, buffer, nullptr);
  });
  if (!filled) return std::nullopt;
  const std::wstring& full = *filled;
  // Already in that form, or a device ("\\.\"), which GetFullPathNameW makes of "con" and such.
  if (full.rfind(L"\\\\?\\", 0) == 0 || full.rfind(L"\\\\.\\", 0) == 0) return full;
  if (full.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}

// The reparse tag of an existing reparse point, as its folder's listing gives it.
std::uint32_t ReparseTag(const std::wstring& longPath) {
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileW(longPath.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return kUnknownReparseTag;
  FindClose(search);
  return (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 ? found.dwReserved0
                                                                      : kUnknownReparseTag;
}

// Converts a listed name to the ANSI code page without "best fit": a character that has no exact
// form becomes "?" and the answer is false. UTF-8 as the ANSI code page takes no default character
// but converts every valid name exactly.
bool ToAnsiExactly(const wchar_t* name, std::string& ansi) {
  const bool utf8 = GetACP() == CP_UTF8;
  const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
  BOOL usedDefault = FALSE;
  BOOL* usedDefaultOut = utf8 ? nullptr : &usedDefault;
  const char* defaultChar = utf8 ? nullptr : "?";
  int length =
      WideCharToMultiByte(CP_ACP, flags, name, -1, nullptr, 0, defaultChar, usedDefaultOut);
  bool exact = length > 0;
  if (exact) {
    ansi.assign(static_cast<std::size_t>(length), '\0');
    exact = WideCharToMultiByte(CP_ACP, flags, name, -1, ansi.data(), length, defaultChar,
                                usedDefaultOut) == length &&
            !usedDefault;
  }
  if (length <= 0) {
    // Not valid text at all (a lone surrogate): shown with "?" for what cannot be converted.
    length = WideCharToMultiByte(CP_ACP, 0, name, -1, nullptr, 0, nullptr, nullptr);
    ansi.assign(static_cast<std::size_t>(length > 0 ? length : 1), '\0');
    if (length > 0) WideCharToMultiByte(CP_ACP, 0, name, -1, ansi.data(), length, nullptr, nullptr);
  }
  ansi.resize(ansi.find('\0'));
  return exact;
}

class Win32TextWriter : public TextWriter {
 public:
  explicit Win32TextWriter(HANDLE file) : file_(file) {}
  ~Win32TextWriter() override { Close(); }

  void Write(std::string_view text) override {
    if (file_ == INVALID_HANDLE_VALUE) return;
    pending_ += ToCrLf(text);
    if (pending_.size() >= kBlockSize) Flush();
  }

  bool Close() override {
    if (file_ == INVALID_HANDLE_VALUE) return false;
    Flush();
    if (!failed_ && !FlushFileBuffers(file_)) failed_ = true;
    if (!CloseHandle(file_)) failed_ = true;
    file_ = INVALID_HANDLE_VALUE;
    return !failed_;
  }

 private:
  void Flush() {
    std::size_t done = 0;
    while (done < pending_.size() && !failed_) {
      DWORD written = 0;
      const auto want = static_cast<DWORD>(pending_.size() - done);
      if (!WriteFile(file_, pending_.data() + done, want, &written, nullptr) || written == 0) {
        failed_ = true;
      }
      done += written;
    }
    pending_.clear();
  }

  HANDLE file_;
  std::string pending_;
  bool failed_ = false;
};

// A file held open without sharing, deleted when the handle closes.
class Win32FileLock : public FileLock {
 public:
  explicit Win32FileLock(HANDLE file) : file_(file) {}
  ~Win32FileLock() override { CloseHandle(file_); }
  Win32FileLock(const Win32FileLock&) = delete;
  Win32FileLock& operator=(const Win32FileLock&) = delete;

 private:
  HANDLE file_;
};

class Win32FileServices : public FileServices {
 public:
  std::optional<std::string> ReadBytes(const std::string& path) override {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, kShareReadWrite, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return Fail(std::optional<std::string>());
    std::string bytes;
    DWORD code = ERROR_SUCCESS;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size)) {
      code = GetLastError();
    } else if (static_cast<unsigned long long>(size.QuadPart) > kMaxReadableFileSize) {
      code = ERROR_FILE_TOO_LARGE;
    } else {
      try {
        bytes.reserve(static_cast<std::size_t>(size.QuadPart));
        char block[kBlockSize];
        for (;;) {
          DWORD got = 0;
          if (!ReadFile(file, block, sizeof block, &got, nullptr)) {
            code = GetLastError();
            break;
          }
          if (got == 0) break;
          // A file that grows while it is read is held to the same limit.
          if (bytes.size() + got > kMaxReadableFileSize) {
            code = ERROR_FILE_TOO_LARGE;
            break;
          }
          bytes.append(block, got);
        }
      } catch (const std::bad_alloc&) {
        code = ERROR_NOT_ENOUGH_MEMORY;
      }
    }
    CloseHandle(file);
    lastError_ = code;
    if (code != ERROR_SUCCESS) return std::nullopt;
    return bytes;
  }

  std::unique_ptr<TextWriter> OpenWrite(const std::string& path) override {
    if (IsReadOnlyFile(path)) return Refuse(nullptr);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, kShareReadWrite, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return Fail(nullptr);
    return Succeed(std::make_unique<Win32TextWriter>(file));
  }

  bool Copy(const std::string& from, const std::string& to, bool failIfExists) override {
    if (!failIfExists && IsReadOnlyFile(to)) return Refuse(false);
    return Check(CopyFileA(from.c_str(), to.c_str(), failIfExists ? TRUE : FALSE));
  }
  bool Move(const std::string& from, const std::string& to) override {
    return Check(MoveFileA(from.c_str(), to.c_str()));
  }
  bool Replace(const std::string& replacement, const std::string& target) override {
    if (IsReadOnlyFile(target)) return Refuse(false);
    if (Check(MoveFileExA(replacement.c_str(), target.c_str(),
                          MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))) {
      return true;
    }
    // A file that another program holds open cannot be replaced, but Windows (and Wine) say
    // "access denied" then, as for a file the user may not change. Asking to open it for writing
    // and deleting tells the two apart: another program's hold is a sharing violation.
    if (lastError_ == ERROR_ACCESS_DENIED && IsHeldOpen(target)) {
      lastError_ = ERROR_SHARING_VIOLATION;
    }
    return false;
  }
  // Deleting, removing, listing and the attributes take paths of any length (LongPath), so that
  // a folder tree of any depth can be removed.
  bool Delete(const std::string& path) override {
    const std::optional<std::wstring> wide = LongPath(path);
    if (!wide) return Refuse(false, ERROR_INVALID_NAME);
    // Windows refuses to delete a read-only file; the utility deletes only files of its own and
    // the files of a folder the user chose to delete, so the attribute gives way first.
    if (IsReadOnlyFile(path)) ClearReadOnly(path);
    return Check(DeleteFileW(wide->c_str()));
  }
  bool ClearReadOnly(const std::string& path) override {
    const std::optional<std::wstring> wide = LongPath(path);
    if (!wide) return Refuse(false, ERROR_INVALID_NAME);
    const DWORD bits = GetFileAttributesW(wide->c_str());
    if (bits == INVALID_FILE_ATTRIBUTES) return Fail(false);
    if ((bits & FILE_ATTRIBUTE_READONLY) == 0) return Succeed(true);
    return Check(SetFileAttributesW(wide->c_str(), bits & ~FILE_ATTRIBUTE_READONLY));
  }
  bool Flush(const std::string& path) override {
    // FlushFileBuffers wants a handle that may write; it flushes the file's cached data whichever
    // handle wrote it.
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, kShareReadWrite, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return Fail(false);
    const BOOL flushed = FlushFileBuffers(file);
    const DWORD code = flushed ? ERROR_SUCCESS : GetLastError();
    CloseHandle(file);
    lastError_ = code;
    return flushed != FALSE;
  }
  bool MakeDirectory(const std::string& path) override {
    return Check(CreateDirectoryA(path.c_str(), nullptr));
  }
  bool RemoveDirectory(const std::string& path) override {
    const std::optional<std::wstring> wide = LongPath(path);
    if (!wide) return Refuse(false, ERROR_INVALID_NAME);
    return Check(RemoveDirectoryW(wide->c_str()));
  }

  // The wide functions list every name as it is; FindFirstFileA would hand out a name with no
  // ANSI form converted by "best fit", the fullwidth reverse solidus becoming "\".
  std::vector<DirEntry> List(const std::string& pattern) override {
    std::vector<DirEntry> entries;
    const std::optional<std::wstring> widePattern = LongPath(pattern);
    if (!widePattern) return Refuse(std::move(entries), ERROR_INVALID_NAME);
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(widePattern->c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return Fail(std::move(entries));
    do {
      DirEntry entry;
      entry.exactName = ToAnsiExactly(found.cFileName, entry.name);
      entry.attributes = ToAttributes(found.dwFileAttributes);
      if (entry.attributes.isReparsePoint) entry.attributes.reparseTag = found.dwReserved0;
      entries.push_back(std::move(entry));
    } while (FindNextFileW(search, &found));
    FindClose(search);
    lastError_ = ERROR_SUCCESS;
    // NTFS lists a folder in this order; other file systems (and Wine) list in their own.
    std::stable_sort(entries.begin(), entries.end(), [](const DirEntry& a, const DirEntry& b) {
      return LessNoCase(a.name, b.name);
    });
    return entries;
  }

  std::optional<FileAttributes> Attributes(const std::string& path) override {
    const std::optional<std::wstring> wide = LongPath(path);
    if (!wide) return Refuse(std::optional<FileAttributes>(), ERROR_INVALID_NAME);
    const DWORD bits = GetFileAttributesW(wide->c_str());
    if (bits == INVALID_FILE_ATTRIBUTES) return Fail(std::optional<FileAttributes>());
    FileAttributes attributes = ToAttributes(bits);
    if (attributes.isReparsePoint) attributes.reparseTag = ReparseTag(*wide);
    return Succeed(attributes);
  }

  std::optional<std::string> FullPath(const std::string& path) override {
    auto full = FillString<char>([&](char* buffer, DWORD size) {
      return GetFullPathNameA(path.c_str(), size, buffer, nullptr);
    });
    lastError_ = full ? ERROR_SUCCESS : GetLastError();
    return full;
  }

  std::optional<std::string> ShortPath(const std::string& path) override {
    auto shortPath = FillString<char>(
        [&](char* buffer, DWORD size) { return GetShortPathNameA(path.c_str(), buffer, size); });
    lastError_ = shortPath ? ERROR_SUCCESS : GetLastError();
    return shortPath;
  }

  // Read in its wide form and converted as listed names are: GetCurrentDirectoryA would turn a
  // character outside the code page into a look-alike or "?", naming another folder.
  std::string CurrentDirectory() override {
    const std::optional<std::wstring> wide = CurrentDirectoryWide();
    if (!wide) return Fail(std::string());
    std::string current;
    if (!ToAnsiExactly(wide->c_str(), current))
      return Refuse(std::string(), ERROR_NO_UNICODE_TRANSLATION);
    return Succeed(current);
  }

  std::unique_ptr<FileLock> Lock(const std::string& path) override {
    // Hidden, since it is nothing the user works with; another opener gets a sharing violation
    // (over a network folder too, whoever the user), and the system deletes the file when the last
    // handle closes, also when the program is killed.
    HANDLE file =
        CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, 0, nullptr, OPEN_ALWAYS,
                    FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) return Fail(std::unique_ptr<FileLock>());
    return Succeed(std::make_unique<Win32FileLock>(file));
  }

  LeadBytes AnsiLeadBytes() override { return leadBytes_; }

  FileError LastError() override { return ToFileError(lastError_); }
  int LastErrorCode() override { return static_cast<int>(lastError_); }

 private:
  // Keeps the reason of a failed call and answers with `failed` (or true on success).
  template <typename T>
  T Fail(T failed) {
    lastError_ = GetLastError();
    return failed;
  }
  template <typename T>
  T Refuse(T failed, DWORD code = ERROR_ACCESS_DENIED) {
    lastError_ = code;
    return failed;
  }
  template <typename T>
  T Succeed(T result) {
    lastError_ = ERROR_SUCCESS;
    return result;
  }
  bool Check(BOOL ok) {
    lastError_ = ok ? ERROR_SUCCESS : GetLastError();
    return ok != FALSE;
  }

  // Windows refuses to overwrite a read-only file, for an administrator too. Wine keeps the
  // attribute as a missing write permission, which a process run by root passes, so the rule is
  // checked here before the file is opened.
  static bool IsReadOnlyFile(const std::string& path) {
    const std::optional<std::wstring> wide = LongPath(path);
    const DWORD bits = wide ? GetFileAttributesW(wide->c_str()) : INVALID_FILE_ATTRIBUTES;
    return bits != INVALID_FILE_ATTRIBUTES && (bits & FILE_ATTRIBUTE_READONLY) != 0 &&
           (bits & FILE_ATTRIBUTE_DIRECTORY) == 0;
  }

  // Whether another program holds the file open in a way that keeps it from being written or
  // replaced. The file is opened and closed again without being changed.
  static bool IsHeldOpen(const std::string& path) {
    HANDLE probe = CreateFileA(path.c_str(), GENERIC_WRITE | DELETE,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (probe == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_SHARING_VIOLATION;
    CloseHandle(probe);
    return false;
  }

  DWORD lastError_ = ERROR_SUCCESS;
  const LeadBytes leadBytes_ = SystemLeadBytes();
};

}  // namespace

std::unique_ptr<FileServices> MakePlatformFileServices() {
  return std::make_unique<RetryingFileServices>(
      std::make_unique<Win32FileServices>(),
      [](int milliseconds) { Sleep(static_cast<DWORD>(milliseconds)); });
}

}  // namespace quil
