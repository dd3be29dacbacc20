#pragma once
// A fresh folder for one test, removed with everything in it when the test ends.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>

namespace forms {

class TempFolder {
public:
    TempFolder() {
        char base[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, base);
        const auto* test = testing::UnitTest::GetInstance()->current_test_info();
        std::string name = test ? test->name() : "x";
        // Parameterised tests are named "Case/Value": one folder level only.
        std::replace(name.begin(), name.end(), '/', '_');
        path_ = std::string(base) + "qvforms_" + std::to_string(GetCurrentProcessId()) + "_" + name;
        Remove(path_);
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~TempFolder() { Remove(path_); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const noexcept { return path_; }
    std::string operator/(std::string_view name) const { return path_ + "\\" + std::string(name); }

    // Writes the bytes as the whole file.
    void Write(std::string_view name, std::string_view bytes) const {
        const HANDLE file = CreateFileA((*this / name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE) << name;
        DWORD written = 0;
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(file);
    }
    std::string Read(std::string_view name) const {
        std::string bytes;
        const HANDLE file = CreateFileA((*this / name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return bytes;
        char buffer[4096];
        DWORD read = 0;
        while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) bytes.append(buffer, read);
        CloseHandle(file);
        return bytes;
    }

private:
    static void Remove(const std::string& folder) {
        WIN32_FIND_DATAA entry{};
        const HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &entry);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                const std::string name = entry.cFileName;
                if (name == "." || name == "..") continue;
                const std::string full = folder + "\\" + name;
                SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    Remove(full);
                } else {
                    DeleteFileA(full.c_str());
                }
            } while (FindNextFileA(find, &entry));
            FindClose(find);
        }
        SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
        RemoveDirectoryA(folder.c_str());
    }

    std::string path_;
};

}  // namespace forms
