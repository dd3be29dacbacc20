#include "platform/runtime/ReplacingFile.h"

#include <algorithm>
#include <utility>

#include "platform/runtime/FileErrors.h"
#include "platform/runtime/OwnedHandles.h"

namespace forms {
namespace {

std::optional<std::size_t> g_writeLimit;

std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of("\\/");
    if (slash == std::string::npos) return ".";
    if (slash == 0 || (slash == 2 && path[1] == ':')) return path.substr(0, slash + 1);  // a root
    return path.substr(0, slash);
}

// Writes everything or raises: a short write is a full disk as far as the caller can tell.
void WriteAll(HANDLE file, std::string_view bytes) {
    constexpr std::size_t Chunk = std::size_t{1} << 20;
    std::size_t done = 0;
    while (done < bytes.size()) {
        std::size_t size = std::min(Chunk, bytes.size() - done);
        if (g_writeLimit) size = std::min(size, *g_writeLimit - std::min(*g_writeLimit, done));
        DWORD written = 0;
        const bool ok = size > 0 && WriteFile(file, bytes.data() + done, static_cast<DWORD>(size), &written, nullptr);
        if (!ok || written != size) throw FileError(ok || size == 0 ? ERROR_DISK_FULL : GetLastError());
        done += size;
    }
}

}  // namespace

ReplacingFile::ReplacingFile(std::string target) : target_(std::move(target)) {
    if (target_.empty()) return;
    char name[MAX_PATH + 1] = {};
    if (GetTempFileNameA(FolderOf(target_).c_str(), "qv", 0, name) != 0) temp_ = name;
}

ReplacingFile::~ReplacingFile() {
    if (temp_.empty()) return;
    SetFileAttributesA(temp_.c_str(), FILE_ATTRIBUTE_NORMAL);  // a read-only file cannot be deleted
    DeleteFileA(temp_.c_str());
}

bool ReplacingFile::Commit() {
    if (temp_.empty()) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return false;
    }
    // Windows refuses to replace a read-only file, which not every implementation does: say so ourselves.
    const DWORD attributes = GetFileAttributesA(target_.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    if (!MoveFileExA(temp_.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING)) return false;
    temp_.clear();
    return true;
}

void ReplaceWholeFile(const std::string& path, std::string_view bytes, DWORD attributes) {
    ReplacingFile file(path);
    if (!file.Valid()) {
        // A temporary file cannot be made in a folder that is not there.
        const DWORD error = GetLastError();
        throw FileError(error == ERROR_DIRECTORY ? ERROR_PATH_NOT_FOUND : error);
    }
    {
        const UniqueKernelHandle out(NullIfInvalid(CreateFileA(file.TempPath().c_str(), GENERIC_WRITE, 0, nullptr,
                                                               TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)));
        if (!out) RaiseLastFileError();
        WriteAll(out.get(), bytes);
    }
    if (attributes != FILE_ATTRIBUTE_NORMAL && !SetFileAttributesA(file.TempPath().c_str(), attributes))
        RaiseLastFileError();
    if (!file.Commit()) RaiseLastFileError();
}

void FailReplacingWritesAfter(std::optional<std::size_t> bytes) { g_writeLimit = bytes; }

}  // namespace forms
