#include "platform/runtime/FileErrors.h"

namespace forms {

RuntimeError FileError(DWORD win32Error) {
    switch (win32Error) {
    case ERROR_FILE_NOT_FOUND: return RuntimeError(err::FileNotFound);
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH: return RuntimeError(err::PathNotFound);
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return RuntimeError(err::PermissionDenied);
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return RuntimeError(err::DiskFull);
    case ERROR_NOT_READY: return RuntimeError(err::DeviceUnavailable);
    default: return RuntimeError(err::PathFileAccessError);
    }
}

void RaiseLastFileError() { throw FileError(GetLastError()); }

}  // namespace forms
