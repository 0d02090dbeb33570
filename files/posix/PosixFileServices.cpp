// The file services on POSIX, for the native tests. They behave like the Win32 ones for the skin's
// paths: a backslash separates components, a component whose exact name is missing is found
// without regard to case, text is read and written in Windows text mode, and listings come sorted
// without regard to case. The current folder is shown with backslashes ("/tmp/skins/Quil" reads
// "\tmp\skins\Quil"), so that paths formed from it lead back to it. Short names do not exist here.
// Names are bytes in an ANSI code page whose lead bytes the services are given (none by default),
// so that a trail byte 0x5C is no separator, as on Windows.
//
// The file, top to bottom:
// - errno to FileError (ErrorFromErrno);
// - paths and names: splitting a skin path into components, wildcard matching, the attributes of
//   a native path, reading a whole file;
// - PosixTextWriter: a file written in text mode, flushed to the disk when closed;
// - PosixFileServices, in the order of the FileServices interface: opening and reading, copying,
//   moving and replacing, deleting, folders, listings and attributes, full and short paths, the
//   current folder, the last error; then its own helpers: resolving a skin path to a native one
//   component by component, telling whether two paths name one entry, and recording success or
//   failure;
// - MakePosixFileServices and MakePlatformFileServices.
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <new>

#include "base/Paths.h"
#include "base/Text.h"
#include "files/FileServices.h"
#include "files/TextMode.h"
#include "files/posix/PosixFileServices.h"

namespace quil {

namespace {

FileError ErrorFromErrno(int error) {
  switch (error) {
    case 0:
      return FileError::None;
    case ENOENT:
    case ENOTDIR:
      return FileError::NotFound;
    case EACCES:
    case EPERM:
    case EISDIR:
      return FileError::AccessDenied;
    case ENOTEMPTY:
      return FileError::NotEmpty;
    case EEXIST:
      return FileError::AlreadyExists;
    case EWOULDBLOCK:  // a lock that another opener holds (flock)
      return FileError::SharingViolation;
    default:
      return FileError::Other;
  }
}

// The components of a skin path, split at each backslash or slash that is a character of its
// own (never at a trail byte of a two-byte character).
std::vector<std::string> SplitComponents(std::string_view path, const LeadBytes& lead) {
  std::vector<std::string> parts;
  while (!path.empty()) {
    const std::size_t cut = FindCharacter(path, "\\/", lead);
    if (cut != 0) parts.emplace_back(path.substr(0, cut));
    if (cut == std::string_view::npos) break;
    path.remove_prefix(cut + 1);
  }
  return parts;
}

bool IsAbsolute(std::string_view path) {
  return !path.empty() && (path[0] == '\\' || path[0] == '/');
}

bool ExistsNoFollow(const std::string& native) {
  struct stat st {};
  return lstat(native.c_str(), &st) == 0;
}

// Matches a name against a pattern with "*" and "?" wildcards, without regard to case.
bool WildcardMatch(std::string_view pattern, std::string_view name) {
  std::size_t p = 0, n = 0, starP = std::string_view::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() &&
        (pattern[p] == '?' || LowerAscii(pattern[p]) == LowerAscii(name[n]))) {
      ++p;
      ++n;
    } else if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (starP != std::string_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

std::optional<FileAttributes> NativeAttributes(const std::string& native) {
  struct stat st {};
  if (lstat(native.c_str(), &st) != 0) return std::nullopt;
  FileAttributes attributes;
  if (S_ISLNK(st.st_mode)) {
    attributes.isReparsePoint = true;
    attributes.reparseTag = kSymbolicLinkTag;
    struct stat target {};
    if (stat(native.c_str(), &target) == 0) attributes.isDirectory = S_ISDIR(target.st_mode);
  } else {
    attributes.isDirectory = S_ISDIR(st.st_mode);
  }
  attributes.isReadOnly = !attributes.isDirectory && (st.st_mode & S_IWUSR) == 0;
  return attributes;
}

// Reads a whole file of at most kMaxReadableFileSize bytes; 0 on success, else the errno that
// tells why not (EFBIG for a larger file, ENOMEM when its content does not fit in memory).
int ReadWholeFile(const std::string& native, std::string& bytes) {
  const int fd = ::open(native.c_str(), O_RDONLY);
  if (fd < 0) return errno;
  int error = 0;
  try {
    char block[64 * 1024];
    for (;;) {
      const ssize_t got = ::read(fd, block, sizeof block);
      if (got < 0) {
        if (errno == EINTR) continue;
        error = errno;
        break;
      }
      if (got == 0) break;
      if (bytes.size() + static_cast<std::size_t>(got) > kMaxReadableFileSize) {
        error = EFBIG;
        break;
      }
      bytes.append(block, static_cast<std::size_t>(got));
    }
  } catch (const std::bad_alloc&) {
    error = ENOMEM;
  }
  ::close(fd);
  return error;
}

// A text file written in Windows text mode; the bytes reach the disk when it is closed.
class PosixTextWriter : public TextWriter {
 public:
  explicit PosixTextWriter(int fd) : fd_(fd) {}
  ~PosixTextWriter() override { Close(); }
  void Write(std::string_view text) override { pending_ += ToCrLf(text); }
  bool Close() override {
    if (fd_ < 0) return ok_;
    std::size_t done = 0;
    while (done < pending_.size()) {
      const ssize_t n = ::write(fd_, pending_.data() + done, pending_.size() - done);
      if (n < 0) {
        if (errno == EINTR) continue;
        ok_ = false;
        break;
      }
      done += static_cast<std::size_t>(n);
    }
    if (ok_ && ::fsync(fd_) != 0) ok_ = false;
    if (::close(fd_) != 0) ok_ = false;
    fd_ = -1;
    pending_.clear();
    return ok_;
  }

 private:
  int fd_;
  bool ok_ = true;
  std::string pending_;
};

// A file opened by one opener alone: an exclusive flock stands for Windows' opening without
// sharing. Letting go deletes the file first, as FILE_FLAG_DELETE_ON_CLOSE does.
class PosixFileLock : public FileLock {
 public:
  PosixFileLock(int fd, std::string native) : fd_(fd), native_(std::move(native)) {}
  ~PosixFileLock() override {
    ::unlink(native_.c_str());
    ::close(fd_);
  }
  PosixFileLock(const PosixFileLock&) = delete;
  PosixFileLock& operator=(const PosixFileLock&) = delete;

 private:
  int fd_;
  std::string native_;
};

class PosixFileServices : public FileServices {
 public:
  explicit PosixFileServices(const LeadBytes& leadBytes) : leadBytes_(leadBytes) {}

  std::optional<std::string> ReadBytes(const std::string& path) override {
    const std::string native = Resolve(path);
    const auto attributes = NativeAttributes(native);
    if (attributes && attributes->isDirectory) {
      Fail(EACCES);
      return std::nullopt;
    }
    std::string bytes;
    if (const int error = ReadWholeFile(native, bytes)) {
      Fail(error);
      return std::nullopt;
    }
    Succeed();
    return bytes;
  }

  std::unique_ptr<TextWriter> OpenWrite(const std::string& path) override {
    const std::string native = Resolve(path);
    if (const auto attributes = NativeAttributes(native)) {
      // Windows refuses to open a read-only file or a folder for writing, also for an
      // administrator; root on POSIX would not be refused.
      if (attributes->isDirectory || attributes->isReadOnly) {
        Fail(EACCES);
        return nullptr;
      }
    }
    const int fd = ::open(native.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (fd < 0) {
      Fail(errno);
      return nullptr;
    }
    Succeed();
    return std::make_unique<PosixTextWriter>(fd);
  }

  bool Copy(const std::string& from, const std::string& to, bool failIfExists) override {
    const std::string source = Resolve(from);
    const std::string target = Resolve(to);
    const auto sourceAttributes = NativeAttributes(source);
    if (!sourceAttributes || sourceAttributes->isDirectory) return Fail(ENOENT);
    if (const auto targetAttributes = NativeAttributes(target)) {
      if (failIfExists) return Fail(EEXIST);
      if (targetAttributes->isDirectory || targetAttributes->isReadOnly) return Fail(EACCES);
    }
    // Copied block by block, whatever its size, as CopyFileA copies; the mode comes along, the
    // read-only attribute with it.
    const int in = ::open(source.c_str(), O_RDONLY);
    if (in < 0) return Fail(errno);
    struct stat st {};
    ::fstat(in, &st);
    const int fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC, st.st_mode & 07777);
    if (fd < 0) {
      const int error = errno;
      ::close(in);
      return Fail(error);
    }
    bool ok = true;
    char block[64 * 1024];
    for (;;) {
      const ssize_t got = ::read(in, block, sizeof block);
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) {
        ok = got == 0;
        break;
      }
      if (::write(fd, block, static_cast<std::size_t>(got)) != got) {
        ok = false;
        break;
      }
    }
    ::close(in);
    ok = (::close(fd) == 0) && ok;
    ::chmod(target.c_str(), st.st_mode & 07777);
    return ok ? Succeed() : Fail(EIO);
  }

  bool Move(const std::string& from, const std::string& to) override {
    const std::string source = Resolve(from);
    const std::string target = Resolve(to);
    if (!ExistsNoFollow(source)) return Fail(ENOENT);
    if (ExistsNoFollow(target) && !SameEntry(source, target)) return Fail(EEXIST);
    return ::rename(source.c_str(), target.c_str()) == 0 ? Succeed() : Fail(errno);
  }

  bool Replace(const std::string& replacement, const std::string& target) override {
    const std::string source = Resolve(replacement);
    const std::string native = Resolve(target);
    const auto sourceAttributes = NativeAttributes(source);
    if (!sourceAttributes || sourceAttributes->isDirectory) return Fail(ENOENT);
    if (const auto attributes = NativeAttributes(native)) {
      if (attributes->isDirectory || attributes->isReadOnly) return Fail(EACCES);
    }
    if (::rename(source.c_str(), native.c_str()) != 0) return Fail(errno);
    // The rename itself reaches the disk with its folder.
    const auto slash = native.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : native.substr(0, slash);
    const int dir = ::open(folder.empty() ? "/" : folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
      ::fsync(dir);
      ::close(dir);
    }
    return Succeed();
  }

  bool Delete(const std::string& path) override {
    const std::string native = Resolve(path);
    const auto attributes = NativeAttributes(native);
    if (!attributes) return Fail(ENOENT);
    // A read-only file is deleted too, as the Win32 services clear its attribute first.
    if (attributes->isDirectory && !attributes->isReparsePoint) return Fail(EACCES);
    return ::unlink(native.c_str()) == 0 ? Succeed() : Fail(errno);
  }

  bool ClearReadOnly(const std::string& path) override {
    const std::string native = Resolve(path);
    struct stat st {};
    if (::lstat(native.c_str(), &st) != 0) return Fail(errno);
    if ((st.st_mode & S_IWUSR) != 0) return Succeed();
    return ::chmod(native.c_str(), (st.st_mode & 07777) | S_IWUSR) == 0 ? Succeed() : Fail(errno);
  }

  bool Flush(const std::string& path) override {
    const int fd = ::open(Resolve(path).c_str(), O_RDONLY);
    if (fd < 0) return Fail(errno);
    const bool flushed = ::fsync(fd) == 0;
    const int error = errno;
    ::close(fd);
    return flushed ? Succeed() : Fail(error);
  }

  bool MakeDirectory(const std::string& path) override {
    return ::mkdir(Resolve(path).c_str(), 0777) == 0 ? Succeed() : Fail(errno);
  }

  bool RemoveDirectory(const std::string& path) override {
    const std::string native = Resolve(path);
    const auto attributes = NativeAttributes(native);
    if (!attributes) return Fail(ENOENT);
    if (!attributes->isDirectory) return Fail(ENOTDIR);
    // A link to a folder is removed as the link; its target stays.
    if (attributes->isReparsePoint) return ::unlink(native.c_str()) == 0 ? Succeed() : Fail(errno);
    return ::rmdir(native.c_str()) == 0 ? Succeed() : Fail(errno);
  }

  std::vector<DirEntry> List(const std::string& pattern) override {
    std::vector<DirEntry> entries;
    const auto cut = FindLastCharacter(pattern, "\\/", leadBytes_);
    const std::string folder = cut == std::string::npos ? std::string() : pattern.substr(0, cut);
    const std::string namePattern = cut == std::string::npos ? pattern : pattern.substr(cut + 1);
    const std::string nativeFolder =
        folder.empty() ? std::string(IsAbsolute(pattern) ? "/" : ".") : Resolve(folder);
    const std::string effective = namePattern == "*.*" ? "*" : namePattern;
    DIR* dir = ::opendir(nativeFolder.c_str());
    if (!dir) {
      Fail(errno);
      return entries;
    }
    while (const dirent* found = ::readdir(dir)) {
      const std::string name = found->d_name;
      if (!WildcardMatch(effective, name)) continue;
      const auto attributes = NativeAttributes(nativeFolder + "/" + name);
      if (!attributes) continue;
      entries.push_back({name, *attributes});
    }
    ::closedir(dir);
    std::stable_sort(entries.begin(), entries.end(), [](const DirEntry& a, const DirEntry& b) {
      return LessNoCase(a.name, b.name);
    });
    if (entries.empty()) {
      Fail(ENOENT);
    } else {
      Succeed();
    }
    return entries;
  }

  std::optional<FileAttributes> Attributes(const std::string& path) override {
    auto attributes = NativeAttributes(Resolve(path));
    if (attributes) {
      Succeed();
    } else {
      Fail(ENOENT);
    }
    return attributes;
  }

  std::optional<std::string> FullPath(const std::string& path) override {
    std::vector<std::string> parts;
    if (!IsAbsolute(path)) parts = SplitComponents(CurrentDirectory(), leadBytes_);
    for (const std::string& part : SplitComponents(path, leadBytes_)) {
      if (part == ".") continue;
      if (part == "..") {
        if (!parts.empty()) parts.pop_back();
        continue;
      }
      parts.push_back(part);
    }
    std::string full;
    for (const std::string& part : parts) full += "\\" + part;
    if (full.empty()) full = "\\";
    // A network path ("\\\\server\\share") keeps its two leading backslashes, as on Windows.
    if (path.size() > 1 && (path[0] == '\\' || path[0] == '/') &&
        (path[1] == '\\' || path[1] == '/')) {
      full = "\\" + full;
    }
    const std::string_view last = LastCharacter(path, leadBytes_);
    if ((last == "\\" || last == "/") && full != "\\") full += "\\";
    Succeed();
    return full;
  }

  std::optional<std::string> ShortPath(const std::string&) override {
    Fail(ENOSYS);
    return std::nullopt;
  }

  std::string CurrentDirectory() override {
    std::string buffer(4096, '\0');
    if (!::getcwd(buffer.data(), buffer.size())) return {};
    buffer.resize(buffer.find('\0'));
    std::replace(buffer.begin(), buffer.end(), '/', '\\');
    return buffer;
  }

  std::unique_ptr<FileLock> Lock(const std::string& path) override {
    const std::string native = Resolve(path);
    const int fd = ::open(native.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) {
      Fail(errno);
      return nullptr;
    }
    // An opener that came just before the holder let go locks a file that is no longer in the
    // folder: for it the lock is still held, and its next attempt opens the folder's file.
    struct stat opened {
    }, named{};
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::fstat(fd, &opened) != 0 ||
        ::stat(native.c_str(), &named) != 0 || opened.st_dev != named.st_dev ||
        opened.st_ino != named.st_ino) {
      ::close(fd);
      Fail(EWOULDBLOCK);
      return nullptr;
    }
    Succeed();
    return std::make_unique<PosixFileLock>(fd, native);
  }

  LeadBytes AnsiLeadBytes() override { return leadBytes_; }

  FileError LastError() override { return lastError_; }
  int LastErrorCode() override { return lastErrno_; }

 private:
  // The POSIX path of a path in the skin's form, finding each missing component without regard
  // to case as Windows would.
  std::string Resolve(const std::string& path) {
    std::string native = IsAbsolute(path) ? "" : ".";
    for (const std::string& part : SplitComponents(path, leadBytes_)) {
      std::string candidate = native + "/" + part;
      if (part != "." && part != ".." && !ExistsNoFollow(candidate)) {
        if (DIR* dir = ::opendir(native.empty() ? "/" : native.c_str())) {
          std::vector<std::string> matches;
          while (const dirent* found = ::readdir(dir)) {
            if (EqualsNoCase(found->d_name, part)) matches.push_back(found->d_name);
          }
          ::closedir(dir);
          if (!matches.empty()) {
            std::sort(matches.begin(), matches.end());
            candidate = native + "/" + matches.front();
          }
        }
      }
      native = candidate;
    }
    return native.empty() ? "/" : native;
  }

  static bool SameEntry(const std::string& a, const std::string& b) {
    struct stat sa {
    }, sb{};
    return lstat(a.c_str(), &sa) == 0 && lstat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
  }

  bool Succeed() {
    lastError_ = FileError::None;
    lastErrno_ = 0;
    return true;
  }
  bool Fail(int error) {
    lastError_ = ErrorFromErrno(error);
    lastErrno_ = error;
    return false;
  }

  const LeadBytes leadBytes_;
  FileError lastError_ = FileError::None;
  int lastErrno_ = 0;
};

}  // namespace

std::unique_ptr<FileServices> MakePosixFileServices(const LeadBytes& leadBytes) {
  return std::make_unique<PosixFileServices>(leadBytes);
}

std::unique_ptr<FileServices> MakePlatformFileServices() {
  return MakePosixFileServices(LeadBytes());
}

}  // namespace quil
