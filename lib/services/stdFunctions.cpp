#include "lib/services/stdFunctions.h"

#include <windows.h>

#include <vector>

namespace services {

std::string stdFunctions::GetFile(const std::string& cmdLine, std::string& pathName) {
    constexpr size_t MaxScan = 1500;
    const size_t first = cmdLine.size() > MaxScan ? cmdLine.size() - MaxScan : 0;
    for (size_t i = cmdLine.size(); i > first; --i) {
        if (cmdLine[i - 1] == '\\') {
            pathName = cmdLine.substr(0, i - 1);
            return cmdLine.substr(i);
        }
    }
    return {};
}

std::string stdFunctions::GetShortName(const std::string& path) {
    std::vector<char> buffer(165, '\0');
    DWORD n = GetShortPathNameA(path.c_str(), buffer.data(), 164);
    // A short name longer than the buffer: ask again with the size the system gave.
    if (n >= 164) {
        buffer.assign(n + 1, '\0');
        n = GetShortPathNameA(path.c_str(), buffer.data(), n + 1);
        if (n > buffer.size()) return {};
    }
    return std::string(buffer.data(), n);
}

}  // namespace services
