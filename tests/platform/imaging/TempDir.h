#pragma once
// A fresh folder under the system's temporary folder for one test, removed with its files at the end.

#include <windows.h>

#include <string>
#include <vector>

namespace imaging::test {

class TempDir {
public:
    TempDir() {
        char base[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, base);
        static unsigned counter = 0;
        path_ = std::string(base) + "qvimaging" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++counter);
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir() {
        for (const std::string& name : Files()) DeleteFileA(File(name).c_str());
        RemoveDirectoryA(path_.c_str());
    }
    const std::string& Path() const noexcept { return path_; }
    std::string File(const std::string& name) const { return path_ + "\\" + name; }
    std::vector<std::string> Files() const {
        std::vector<std::string> names;
        WIN32_FIND_DATAA found = {};
        const HANDLE search = FindFirstFileA((path_ + "\\*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return names;
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.emplace_back(found.cFileName);
        } while (FindNextFileA(search, &found));
        FindClose(search);
        return names;
    }

private:
    std::string path_;
};

}  // namespace imaging::test
