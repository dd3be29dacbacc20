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

StartMode StartModeOf(const std::string& command) {
    const std::string first = command.substr(0, command.find_first_of(" \t"));
    if (first.size() < 2 || (first[0] != '-' && first[0] != '/')) return StartMode::Standalone;
    const std::string word = first.substr(1);
    for (const char* name : {"Embedding", "Automation"}) {
        if (CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, word.c_str(), -1, name, -1) == CSTR_EQUAL)
            return StartMode::Automation;
    }
    return StartMode::Standalone;
}

StartMode AppStartMode() { return StartModeOf(Command()); }

std::string Command() {
    const char* raw = GetCommandLineA();
    return CommandAfterProgramName(raw ? raw : "");
}

}  // namespace forms
