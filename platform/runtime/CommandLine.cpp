#include "platform/runtime/CommandLine.h"

#include <windows.h>

namespace forms {

std::string CommandAfterProgramName(const std::string& raw) {
    std::size_t pos = 0;
    if (!raw.empty() && raw[0] == '"') {
        const std::size_t close = raw.find('"', 1);
        pos = close == std::string::npos ? raw.size() : close + 1;
    } else {
        pos = raw.find_first_of(" \t");
        if (pos == std::string::npos) pos = raw.size();
    }
    if (pos < raw.size() && (raw[pos] == ' ' || raw[pos] == '\t')) ++pos;
    return raw.substr(pos);
}

std::string Command() {
    const char* raw = GetCommandLineA();
    return CommandAfterProgramName(raw ? raw : "");
}

}  // namespace forms
