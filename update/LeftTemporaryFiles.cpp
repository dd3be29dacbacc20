#include "update/LeftTemporaryFiles.h"

#include "platform/runtime/OwnedHandles.h"
#include "platform/runtime/Strings.h"

#include <windows.h>

#include <cctype>
#include <string_view>

namespace update {

bool IsTemporaryName(const std::string& name, const char* prefix) {
    const std::string lower = forms::LCase(name);
    const std::string start = forms::LCase(prefix);
    constexpr std::string_view kEnd = ".tmp";
    if (lower.size() < start.size() + 1 + kEnd.size() || lower.size() > start.size() + 4 + kEnd.size()) return false;
    if (lower.compare(0, start.size(), start) != 0 || !lower.ends_with(kEnd)) return false;
    for (std::size_t i = start.size(); i < lower.size() - kEnd.size(); ++i)
        if (!std::isxdigit(static_cast<unsigned char>(lower[i]))) return false;
    return true;
}

void RemoveLeftTemporaryFiles(const std::string& folder, const char* prefix) {
    if (folder.empty()) return;
    const std::string base = folder.back() == '\\' ? folder : folder + "\\";
    WIN32_FIND_DATAA entry{};
    const forms::UniqueFind find(forms::NullIfInvalid(FindFirstFileA((base + prefix + "*.tmp").c_str(), &entry)));
    if (!find) return;
    do {
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        if (!IsTemporaryName(entry.cFileName, prefix)) continue;
        // Opened without sharing, or not at all: a file another copy has open stays where it is.
        const forms::UniqueKernelHandle file(forms::NullIfInvalid(CreateFileA(
            (base + entry.cFileName).c_str(), DELETE, 0, nullptr, OPEN_EXISTING, FILE_FLAG_DELETE_ON_CLOSE, nullptr)));
    } while (FindNextFileA(find.get(), &entry));
}

}  // namespace update
