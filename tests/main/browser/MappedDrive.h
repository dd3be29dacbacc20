#pragma once
// A drive letter of the prefix standing for a folder of the test: a letter no one uses, given back at the end.
// Root cases run on it, never on a real root.

#include <windows.h>

#include <string>

class MappedDrive {
public:
    explicit MappedDrive(const std::string& target) {
        const DWORD used = GetLogicalDrives();
        for (char c = 'P'; c <= 'Y' && !letter_; ++c) {
            if (!(used & (1u << (c - 'A'))) && DefineDosDeviceA(0, std::string{c, ':'}.c_str(), target.c_str()))
                letter_ = c;
        }
    }
    ~MappedDrive() {
        if (letter_) DefineDosDeviceA(DDD_REMOVE_DEFINITION, std::string{letter_, ':'}.c_str(), nullptr);
    }
    MappedDrive(const MappedDrive&) = delete;
    MappedDrive& operator=(const MappedDrive&) = delete;
    char Letter() const { return letter_; }
    std::string Root() const { return std::string{letter_, ':', '\\'}; }

private:
    char letter_ = 0;
};
