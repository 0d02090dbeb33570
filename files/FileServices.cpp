// What every file-services implementation shares.
#include "files/FileServices.h"

#include <new>

#include "files/TextMode.h"

namespace quil {

std::unique_ptr<TextReader> FileServices::OpenRead(const std::string& path) {
  const std::optional<std::string> bytes = ReadBytes(path);
  if (!bytes) return nullptr;
  try {
    return std::make_unique<BufferedTextReader>(*bytes);
  } catch (const std::bad_alloc&) {
    return nullptr;  // the folded copy does not fit: the file is as unreadable as a missing one
  }
}

int FileServices::LastErrorCode() {
  switch (LastError()) {
    case FileError::None:
      return 0;
    case FileError::NotFound:
      return 2;  // ERROR_FILE_NOT_FOUND
    case FileError::AccessDenied:
      return 5;  // ERROR_ACCESS_DENIED
    case FileError::SharingViolation:
      return 32;  // ERROR_SHARING_VIOLATION
    case FileError::AlreadyExists:
      return 183;  // ERROR_ALREADY_EXISTS
    case FileError::NotEmpty:
      return 145;  // ERROR_DIR_NOT_EMPTY
    case FileError::NoExactName:
      return 1113;  // ERROR_NO_UNICODE_TRANSLATION
    case FileError::Other:
      break;
  }
  return 31;  // ERROR_GEN_FAILURE
}

}  // namespace quil
