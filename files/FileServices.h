// The file-services seam. Every file and folder operation of the utility goes through this one
// interface; the build chooses the Win32 implementation for the real program and the POSIX one for
// the native tests. Paths are in the form the skin's files use: relative to the current folder (the
// skin folder), with a backslash between components. Both implementations list folders sorted by
// name without regard to case, read text with CRLF or LF as a line break and write CRLF, so both
// builds write byte-identical files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/Paths.h"

namespace quil {

// What the last failing operation reported; only what the utility tells apart.
// NotEmpty: a folder to be removed still holds an entry (perhaps a deleted file that another
// program still holds open). NoExactName: a path has no exact form in the ANSI code page.
enum class FileError {
  None,
  NotFound,
  SharingViolation,
  AccessDenied,
  AlreadyExists,
  Other,
  NotEmpty,
  NoExactName
};

// The largest file the utility reads (16 MiB). No settings, INI or scheme file comes near 1 MiB; a
// larger one is unreadable, as a file that cannot be opened is, so that reading it can never
// exhaust the memory of the 32-bit process.
inline constexpr std::size_t kMaxReadableFileSize = std::size_t{16} * 1024 * 1024;

// The reparse tags of the reparse points that are links: symbolic links and junctions (mount
// points). Every other reparse point (a cloud file's placeholder, a deduplicated file, ...) is the
// file or folder it shows as. No reparse point has the tag 0: a listing that gives no tag (Wine's)
// leaves the kind unknown, and such a reparse point counts as a link.
inline constexpr std::uint32_t kSymbolicLinkTag = 0xA000000C;
inline constexpr std::uint32_t kJunctionTag = 0xA0000003;
inline constexpr std::uint32_t kUnknownReparseTag = 0;

struct FileAttributes {
  bool isDirectory = false;
  bool isReparsePoint = false;  // a symbolic link, a junction, or a file or folder of another tag
  bool isReadOnly = false;
  std::uint32_t reparseTag = kUnknownReparseTag;  // which kind of reparse point, when it is one

  // A symbolic link or junction (or a reparse point of unknown kind): removing it removes the link,
  // never what it points to.
  bool IsLink() const {
    return isReparsePoint && (reparseTag == kSymbolicLinkTag || reparseTag == kJunctionTag ||
                              reparseTag == kUnknownReparseTag);
  }
};

struct DirEntry {
  std::string name;  // the entry's own name, without the folder
  FileAttributes attributes;
  // False when the name has no exact form in the ANSI code page: `name` then holds "?" where a
  // character has none, and names no entry at all, never this one or another.
  bool exactName = true;
};

// A text file opened for reading in text mode.
class TextReader {
 public:
  virtual ~TextReader() = default;
  // Reads like fgets into a buffer of `capacity` bytes: at most capacity - 1 characters, ending
  // after the first line break. A longer line comes back in pieces. A CRLF reads as one "\n".
  // Returns false, with `piece` empty, at the end of the file.
  virtual bool ReadLine(std::string& piece, std::size_t capacity) = 0;
  // Goes back to the first character of the file.
  virtual void Rewind() = 0;
};

// A text file opened for writing in text mode: every "\n" is written as CRLF.
class TextWriter {
 public:
  virtual ~TextWriter() = default;
  virtual void Write(std::string_view text) = 0;
  // Writes what is pending, flushes it to the disk and closes the file. False when any write or
  // the flush failed.
  virtual bool Close() = 0;
};

// An exclusive hold on a file, kept for as long as the object lives.
class FileLock {
 public:
  virtual ~FileLock() = default;
};

class FileServices {
 public:
  virtual ~FileServices() = default;

  // Opens an existing file for reading; null when it cannot be opened (LastError says why). The
  // whole file is read at once (ReadBytes): the skin's text files are small, and the reader then
  // folds line breaks and serves fgets-like pieces from memory. Memory that cannot be had for it
  // makes the file unreadable too.
  virtual std::unique_ptr<TextReader> OpenRead(const std::string& path);
  // The whole content of an existing file, byte for byte as it lies on disk; nothing when it
  // cannot be opened or read, or is larger than kMaxReadableFileSize, or its content does not fit
  // in memory (LastError says why).
  virtual std::optional<std::string> ReadBytes(const std::string& path) = 0;
  // Creates or truncates a file for writing; null when it cannot be created.
  virtual std::unique_ptr<TextWriter> OpenWrite(const std::string& path) = 0;

  // CopyFileA: copies a file; with failIfExists an existing target makes it fail.
  virtual bool Copy(const std::string& from, const std::string& to, bool failIfExists) = 0;
  // MoveFileA: renames a file or folder; fails when the target exists.
  virtual bool Move(const std::string& from, const std::string& to) = 0;
  // MoveFileExA with MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH: moves the file
  // `replacement` over the file `target` in one step, so that `target` holds either its old or its
  // new content whatever happens; a read-only target is refused, as Windows refuses it. When
  // another program holds the target open, LastError() says SharingViolation.
  virtual bool Replace(const std::string& replacement, const std::string& target) = 0;
  // DeleteFileA: deletes a file (never a folder), read-only or not: its read-only attribute is
  // cleared first.
  virtual bool Delete(const std::string& path) = 0;
  // SetFileAttributesA: clears the read-only attribute of an existing file (true when it had none).
  virtual bool ClearReadOnly(const std::string& path) = 0;
  // FlushFileBuffers: what the system still holds of an existing file's content in its caches
  // reaches the disk. A copy is flushed before it is moved over a file it replaces.
  virtual bool Flush(const std::string& path) = 0;
  // CreateDirectoryA: creates one folder; its parent must exist.
  virtual bool MakeDirectory(const std::string& path) = 0;
  // RemoveDirectoryA: removes an empty folder, or a folder link itself (never its target).
  virtual bool RemoveDirectory(const std::string& path) = 0;

  // FindFirstFileW/FindNextFileW: the entries whose names match the last component of `pattern`
  // ("*" and "?" wildcards, without regard to case), sorted by name without regard to case. A
  // pattern of a folder followed by "\*" also yields "." and "..", as Windows lists them. Names
  // come in the ANSI code page exactly or are marked as having no exact form (DirEntry): no
  // character is ever replaced by a look-alike ("best fit"), which could turn a name into a path.
  virtual std::vector<DirEntry> List(const std::string& pattern) = 0;
  // GetFileAttributesA: the attributes of an existing entry, nothing when it does not exist. A
  // link (symbolic link or junction) shows as the link itself: isReparsePoint is set. A reparse
  // point comes with its tag, as its folder's listing gives it.
  virtual std::optional<FileAttributes> Attributes(const std::string& path) = 0;

  // CreateFileA without sharing and with FILE_FLAG_DELETE_ON_CLOSE: creates the file `path` (or
  // opens the one left there) so that no other program can open it, and holds it until the lock
  // goes away; the file is deleted then. The system lets go of it, and deletes it, when the program
  // ends however it ends, so a program that crashes or is killed leaves nothing held. Works between
  // programs of different users and over a network folder. Null when the lock cannot be had:
  // LastError says SharingViolation while another program holds it.
  virtual std::unique_ptr<FileLock> Lock(const std::string& path) = 0;

  // The bytes that begin a two-byte character in the ANSI code page that names and paths are in;
  // none on a single-byte code page.
  virtual LeadBytes AnsiLeadBytes() = 0;

  // GetFullPathNameA: the absolute form of a path, nothing when it cannot be formed.
  virtual std::optional<std::string> FullPath(const std::string& path) = 0;
  // GetShortPathNameA: the short (8.3) form of an existing path, nothing when there is none.
  virtual std::optional<std::string> ShortPath(const std::string& path) = 0;
  // GetCurrentDirectoryW: the current folder, without a trailing backslash (except at a root), in
  // the ANSI code page exactly. Empty when it cannot be read, or when a character of it has no
  // exact form in the code page (LastError() says NoExactName): a look-alike would name another
  // folder.
  virtual std::string CurrentDirectory() = 0;

  // The reason the last failing operation gave.
  virtual FileError LastError() = 0;
  // The platform's own error code of the last failing operation, as shown to the user. By default
  // the Windows code that matches LastError().
  virtual int LastErrorCode();
};

// The file services of the platform the program was built for.
std::unique_ptr<FileServices> MakePlatformFileServices();

}  // namespace quil
