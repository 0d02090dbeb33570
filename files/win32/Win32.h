// The one way the Win32 code includes <windows.h>: without the min and max macros, and without the
// RemoveDirectory macro, which would otherwise rename FileServices::RemoveDirectory to
// RemoveDirectoryA in every file that sees both.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#ifdef RemoveDirectory
#undef RemoveDirectory
#endif
