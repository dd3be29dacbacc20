#include "tests/support/TempFolder.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>

#include "platform/runtime/OwnedHandles.h"

namespace qvtest {
namespace {

// Read-only and hidden files and folders go too.
void RemoveTree(const std::string& folder) {
    WIN32_FIND_DATAA entry{};
    const forms::UniqueFind find(forms::NullIfInvalid(FindFirstFileA((folder + "\\*").c_str(), &entry)));
    if (find) {
        do {
            const std::string name = entry.cFileName;
            if (name == "." || name == "..") continue;
            const std::string full = folder + "\\" + name;
            SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(full);
            } else {
                DeleteFileA(full.c_str());
            }
        } while (FindNextFileA(find.get(), &entry));
    }
    SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryA(folder.c_str());
}

}  // namespace

TempFolder::TempFolder() {
    static std::atomic<unsigned> counter{0};
    char base[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH + 1, base);
    const auto* test = testing::UnitTest::GetInstance()->current_test_info();
    std::string name = test ? std::string(test->test_suite_name()) + "." + test->name() : "run";
    // Parameterised tests are named "Case/Value": one folder level only.
    std::replace(name.begin(), name.end(), '/', '_');
    path_ = std::string(base) + "qvtest_" + std::to_string(GetCurrentProcessId()) + "_" + name + "_" +
            std::to_string(++counter);
    RemoveTree(path_);
    if (!CreateDirectoryA(path_.c_str(), nullptr)) ADD_FAILURE() << "cannot make " << path_;
}

TempFolder::~TempFolder() {
    // A file dialog may have made the folder the process's current one, which would keep it.
    char current[MAX_PATH + 1] = {};
    const DWORD n = GetCurrentDirectoryA(MAX_PATH + 1, current);
    if (n > 0 && n <= MAX_PATH && CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, current,
                                                 static_cast<int>(std::min<std::size_t>(n, path_.size())),
                                                 path_.c_str(), static_cast<int>(path_.size())) == CSTR_EQUAL) {
        char base[MAX_PATH + 1] = {};
        GetTempPathA(MAX_PATH + 1, base);
        SetCurrentDirectoryA(base);
    }
    RemoveTree(path_);
}

void WriteWholeFile(const std::string& path, std::string_view bytes) {
    const forms::UniqueKernelHandle file(forms::NullIfInvalid(
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)));
    ASSERT_TRUE(file) << path;
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                written == bytes.size())
        << path;
}

std::string ReadWholeFile(const std::string& path) {
    std::string bytes;
    const forms::UniqueKernelHandle file(forms::NullIfInvalid(CreateFileA(
        path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)));
    if (!file) return bytes;
    char buffer[65536];
    DWORD read = 0;
    while (ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr) && read > 0) bytes.append(buffer, read);
    return bytes;
}

void TempFolder::Write(std::string_view name, std::string_view bytes) const { WriteWholeFile(*this / name, bytes); }

std::string TempFolder::Read(std::string_view name) const { return ReadWholeFile(*this / name); }

std::vector<std::string> TempFolder::Files() const {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found{};
    const forms::UniqueFind search(forms::NullIfInvalid(FindFirstFileA((path_ + "\\*").c_str(), &found)));
    if (!search) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.emplace_back(found.cFileName);
    } while (FindNextFileA(search.get(), &found));
    return names;
}

}  // namespace qvtest
