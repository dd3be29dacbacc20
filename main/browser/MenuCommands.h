#pragma once
// What the toolbar and menu command files share.

#include <windows.h>

#include <string>

namespace browser {

// A file of that name exists (a folder does not count).
inline bool IsFile(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

}  // namespace browser
