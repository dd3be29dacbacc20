#pragma once
// The run-time error a failed Win32 file call stands for; every file reader and writer of the suite maps
// through this one table.

#include <windows.h>

#include "platform/runtime/RuntimeError.h"

namespace forms {

// 53 file not found; 76 path not found; 52 a malformed or over-long name; 70 permission denied (held by
// another program, write-protected); 61 disk full; 71 disk not ready; 67 too many files; 7 out of memory;
// 75 path/file access error for anything else (access denied: read-only, a folder).
RuntimeError FileError(DWORD win32Error);
[[noreturn]] void RaiseLastFileError();

}  // namespace forms
