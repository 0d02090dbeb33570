// The POSIX file services for a chosen ANSI code page: the names on disk are taken as bytes of a
// code page with these lead bytes, so that the native tests can run the utility as on a
// double-byte Windows (code page 932, for example). MakePlatformFileServices gives them with a
// single-byte code page.
#pragma once

#include <memory>

#include "base/Paths.h"
#include "files/FileServices.h"

namespace quil {

std::unique_ptr<FileServices> MakePosixFileServices(const LeadBytes& leadBytes);

}  // namespace quil
