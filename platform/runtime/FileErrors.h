#pragma once
// The runtime error a failed Win32 file call stands for.

#include <windows.h>

#include "platform/runtime/RuntimeError.h"

namespace forms {

// 53 file not found, 76 path not found, 70 permission denied (held by another program), 75 path/file access
// error (read-only, a folder, anything else), 61 disk full.
RuntimeError FileError(DWORD win32Error);
[[noreturn]] void RaiseLastFileError();

}  // namespace forms
