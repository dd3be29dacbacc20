#include "tests/main/ClassesRoot.h"

#include "main/core/AssociationTypes.h"

#include <gtest/gtest.h>

namespace qvtest {
namespace {

std::string ValueText(const BYTE* data, DWORD size) {
    return {reinterpret_cast<const char*>(data), size};
}

void ReadInto(HKEY key, const std::string& prefix, Tree& tree) {
    for (DWORD i = 0;; ++i) {
        char name[16384];
        DWORD nameSize = sizeof name;
        BYTE data[16384];
        DWORD dataSize = sizeof data;
        DWORD type = 0;
        if (RegEnumValueA(key, i, name, &nameSize, nullptr, &type, data, &dataSize) != ERROR_SUCCESS) break;
        tree[prefix + "|" + name] = {type, ValueText(data, dataSize)};
    }
    for (DWORD i = 0;; ++i) {
        char name[256];
        DWORD nameSize = sizeof name;
        if (RegEnumKeyExA(key, i, name, &nameSize, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        HKEY sub = nullptr;
        if (RegOpenKeyExA(key, name, 0, KEY_READ, &sub) != ERROR_SUCCESS) continue;
        tree[prefix + "\\" + name];
        ReadInto(sub, prefix + "\\" + name, tree);
        RegCloseKey(sub);
    }
}

std::string DefaultOf(const std::string& key) {
    char data[1024] = {};
    LONG size = sizeof data;
    if (RegQueryValueA(HKEY_CLASSES_ROOT, key.c_str(), data, &size) != ERROR_SUCCESS) return {};
    return data;
}

}  // namespace

Tree ReadTree(HKEY root, const std::string& path) {
    Tree tree;
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return tree;
    tree[""];
    ReadInto(key, "", tree);
    RegCloseKey(key);
    return tree;
}

void SetDefault(const std::string& key, const std::string& value, const char* name) {
    HKEY made = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &made, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(made, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(made);
}


ClassesRootKeeper::ClassesRootKeeper()
    : backup_("Software\\QuillviewTest\\ClassesBackup" + std::to_string(GetCurrentProcessId())) {
    std::set<std::string> names;
    for (const auto& type : filetypes::kFileTypes) {
        names.insert(type.extension);
        names.insert(type.properName);
        const std::string named = DefaultOf(type.extension);
        if (!named.empty()) names.insert(named);
    }
    RegDeleteTreeA(HKEY_CURRENT_USER, backup_.c_str());
    for (const std::string& name : names) {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CLASSES_ROOT, name.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
            absent_.insert(name);
            continue;
        }
        HKEY copy = nullptr;
        RegCreateKeyExA(HKEY_CURRENT_USER, (backup_ + "\\" + name).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &copy, nullptr);
        EXPECT_EQ(RegCopyTreeA(key, nullptr, copy), ERROR_SUCCESS) << name;
        RegCloseKey(copy);
        RegCloseKey(key);
        saved_.insert(name);
    }
}

ClassesRootKeeper::~ClassesRootKeeper() {
    for (const std::string& name : absent_) RegDeleteTreeA(HKEY_CLASSES_ROOT, name.c_str());
    for (const std::string& name : saved_) {
        RegDeleteTreeA(HKEY_CLASSES_ROOT, name.c_str());
        HKEY copy = nullptr;
        RegOpenKeyExA(HKEY_CURRENT_USER, (backup_ + "\\" + name).c_str(), 0, KEY_READ, &copy);
        HKEY key = nullptr;
        RegCreateKeyExA(HKEY_CLASSES_ROOT, name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
        EXPECT_EQ(RegCopyTreeA(copy, nullptr, key), ERROR_SUCCESS) << name;
        RegCloseKey(key);
        RegCloseKey(copy);
    }
    RegDeleteTreeA(HKEY_CURRENT_USER, backup_.c_str());
}

}  // namespace qvtest
