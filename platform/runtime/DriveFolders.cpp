#include "platform/runtime/DriveFolders.h"

#include <windows.h>

#include <array>
#include <mutex>

namespace forms {
namespace {

struct Table {
    std::mutex lock;
    std::array<std::string, 26> folders;
};

Table& TheTable() {
    static Table table;
    return table;
}

int Slot(char letter) {
    if (letter >= 'a' && letter <= 'z') return letter - 'a';
    if (letter >= 'A' && letter <= 'Z') return letter - 'A';
    return -1;
}

}  // namespace

std::string DriveFolder(char letter) {
    const int slot = Slot(letter);
    if (slot < 0) return {};
    Table& t = TheTable();
    std::lock_guard guard(t.lock);
    std::string& folder = t.folders[static_cast<size_t>(slot)];
    if (folder.empty()) {
        const char drive[3] = {static_cast<char>('A' + slot), ':', '\0'};
        char full[MAX_PATH * 4] = {};
        const DWORD n = GetFullPathNameA(drive, sizeof full, full, nullptr);
        folder = n > 0 && n < sizeof full ? std::string(full, n) : std::string(drive) + "\\";
        if (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
    }
    return folder;
}

void RememberDriveFolder(std::string_view folder) {
    if (folder.size() < 3 || folder[1] != ':' || folder[2] != '\\') return;
    const int slot = Slot(folder[0]);
    if (slot < 0) return;
    Table& t = TheTable();
    std::lock_guard guard(t.lock);
    t.folders[static_cast<size_t>(slot)] = std::string(folder);
}

}  // namespace forms
