#pragma once
// The picture types' keys of the classes root for tests that change them: read as a tree, and kept as found.

#include <windows.h>

#include <map>
#include <set>
#include <string>
#include <utility>

namespace qvtest {

// A registry subtree as path -> (type, data), for comparing before and after.
using Tree = std::map<std::string, std::pair<DWORD, std::string>>;
Tree ReadTree(HKEY root, const std::string& path);

// Writes a string value of a classes-root key (name nullptr: its default value), creating the key.
void SetDefault(const std::string& key, const std::string& value, const char* name = nullptr);

// Saves the extensions' keys and their file types' (the program's names and whatever an extension names now)
// and puts them back exactly at the end.
class ClassesRootKeeper {
public:
    ClassesRootKeeper();
    ~ClassesRootKeeper();
    ClassesRootKeeper(const ClassesRootKeeper&) = delete;
    ClassesRootKeeper& operator=(const ClassesRootKeeper&) = delete;

private:
    std::string backup_;
    std::set<std::string> saved_;
    std::set<std::string> absent_;
};

}  // namespace qvtest
