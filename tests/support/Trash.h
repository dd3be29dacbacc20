#pragma once
// The recycle bin as the tests see it: under Wine, the freedesktop trash the launcher points XDG_DATA_HOME at
// (the build tree's own, never a user's).

#include <cstdlib>
#include <string>

namespace qvtest {

// The trash's folder of deleted items as a Windows path; "" when the launcher set none.
inline std::string TrashFiles() {
    const char* data = std::getenv("XDG_DATA_HOME");
    if (!data || !*data) return {};
    std::string path = std::string("Z:") + data + "/Trash/files";
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return path;
}

}  // namespace qvtest
