#include "platform/runtime/FileSystem.h"

#include <windows.h>

#include <vector>

#include "platform/runtime/FileErrors.h"
#include "platform/runtime/Paths.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/OwnedHandles.h"

namespace forms {
namespace {

bool Matches(DWORD found, int wanted) {
    if ((found & FILE_ATTRIBUTE_DIRECTORY) && !(wanted & attr::Directory)) return false;
    if ((found & FILE_ATTRIBUTE_HIDDEN) && !(wanted & attr::Hidden)) return false;
    if ((found & FILE_ATTRIBUTE_SYSTEM) && !(wanted & attr::System)) return false;
    return true;
}

bool HasWildcards(std::string_view path) {
    return FileNameOf(path).find_first_of("*?") != std::string::npos;
}

WIN32_FILE_ATTRIBUTE_DATA AttributesOf(std::string_view path) {
    const std::string name(path);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(name.c_str(), GetFileExInfoStandard, &data)) RaiseLastFileError();
    return data;
}

}  // namespace

std::string Dir(std::string_view path, int attributes) {
    if (path.empty()) return {};
    std::string pattern(path);
    if (pattern.back() == '\\') pattern += '*';
    WIN32_FIND_DATAA entry{};
    const UniqueFind find(NullIfInvalid(FindFirstFileA(pattern.c_str(), &entry)));
    if (!find) return {};
    do {
        if (Matches(entry.dwFileAttributes, attributes)) return entry.cFileName;
    } while (FindNextFileA(find.get(), &entry));
    return {};
}

void Kill(std::string_view path) {
    const std::string name(path);
    if (!HasWildcards(path)) {
        if (!DeleteFileA(name.c_str())) RaiseLastFileError();
        return;
    }
    // Collected first: deleting while the search runs may skip entries.
    std::vector<std::string> files;
    WIN32_FIND_DATAA entry{};
    if (const UniqueFind find(NullIfInvalid(FindFirstFileA(name.c_str(), &entry))); find) {
        do {
            if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) files.push_back(entry.cFileName);
        } while (FindNextFileA(find.get(), &entry));
    }
    if (files.empty()) throw RuntimeError(err::FileNotFound);
    const std::string folder = FolderOf(path);
    for (const auto& file : files) {
        const std::string full = folder.empty() ? file : JoinPath(folder, file);
        if (!DeleteFileA(full.c_str())) RaiseLastFileError();
    }
}

void MkDir(std::string_view path) {
    const std::string name(path);
    if (!CreateDirectoryA(name.c_str(), nullptr)) RaiseLastFileError();
}

void RmDir(std::string_view path) {
    const std::string name(path);
    if (!RemoveDirectoryA(name.c_str())) {
        const DWORD error = GetLastError();
        throw FileError(error == ERROR_FILE_NOT_FOUND ? ERROR_PATH_NOT_FOUND : error);  // a folder is a path
    }
}

void SetAttr(std::string_view path, int attributes) {
    if (attributes & ~(attr::ReadOnly | attr::Hidden | attr::System | attr::Archive)) {
        throw RuntimeError(err::InvalidProcedureCall);
    }
    const std::string name(path);
    const DWORD bits = attributes == 0 ? FILE_ATTRIBUTE_NORMAL : static_cast<DWORD>(attributes);
    if (!SetFileAttributesA(name.c_str(), bits)) RaiseLastFileError();
}

std::int64_t FileLen(std::string_view path) {
    const WIN32_FILE_ATTRIBUTE_DATA data = AttributesOf(path);
    return (static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

Date FileDateTime(std::string_view path) { return FromFileTime(AttributesOf(path).ftLastWriteTime); }

}  // namespace forms
