#pragma once
// What the toolbar and menu command files share.

#include "main/core/Module1.h"

#include <windows.h>

#include <string>

namespace browser {

// A file of that name exists (a folder does not count).
inline bool IsFile(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// While held, choosing entries of the file list by code loads no picture; the flag goes back to what it was.
class FileClicksSuppressed {
public:
    FileClicksSuppressed() noexcept : previous_(Module1::gSuppressFileClick) { Module1::gSuppressFileClick = true; }
    ~FileClicksSuppressed() { Module1::gSuppressFileClick = previous_; }
    FileClicksSuppressed(const FileClicksSuppressed&) = delete;
    FileClicksSuppressed& operator=(const FileClicksSuppressed&) = delete;

private:
    bool previous_;
};

}  // namespace browser
