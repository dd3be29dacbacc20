#include "lib/services/FileIo.h"

#include <windows.h>

#include <climits>

#include "platform/runtime/OwnedHandles.h"
#include "platform/runtime/RuntimeError.h"

namespace services {

namespace {

constexpr std::int32_t PathFileAccessError = 75;

[[noreturn]] void RaiseFileError(DWORD code) {
    switch (code) {
    case ERROR_FILE_NOT_FOUND: throw forms::RuntimeError(forms::err::FileNotFound);
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE: throw forms::RuntimeError(forms::err::PathNotFound);
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: throw forms::RuntimeError(forms::err::PermissionDenied);
    default: throw forms::RuntimeError(PathFileAccessError, "Path/File access error");
    }
}


}  // namespace

std::string ReadWholeFile(const std::string& path) {
    const forms::UniqueKernelHandle file(forms::NullIfInvalid(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr)));
    if (!file) RaiseFileError(GetLastError());
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > INT_MAX) RaiseFileError(GetLastError());
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes.empty() && !ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))
        RaiseFileError(GetLastError());
    bytes.resize(read);
    return bytes;
}

void WriteWholeFile(const std::string& path, const std::string& bytes) {
    const forms::UniqueKernelHandle file(forms::NullIfInvalid(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                      nullptr)));
    if (!file) RaiseFileError(GetLastError());
    DWORD written = 0;
    if (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size())
        RaiseFileError(GetLastError());
}

bool FileExists(const std::string& path) {
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::string& path) {
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace services
