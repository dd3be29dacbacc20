#include "platform/runtime/FileErrors.h"

namespace forms {

RuntimeError FileError(DWORD win32Error) {
    switch (win32Error) {
    case ERROR_FILE_NOT_FOUND: return RuntimeError(err::FileNotFound);
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME: return RuntimeError(err::PathNotFound);
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE: return RuntimeError(err::BadFileNameOrNumber);
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT: return RuntimeError(err::PermissionDenied);
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return RuntimeError(err::DiskFull);
    case ERROR_NOT_READY: return RuntimeError(err::DiskNotReady);
    case ERROR_TOO_MANY_OPEN_FILES: return RuntimeError(err::TooManyFiles);
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY: return RuntimeError(err::OutOfMemory);
    default: return RuntimeError(err::PathFileAccessError);
    }
}

void RaiseLastFileError() { throw FileError(GetLastError()); }

}  // namespace forms
