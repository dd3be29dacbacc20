#include "tests/main/ClassesRoot.h"

#include "main/core/AssociationTypes.h"
#include "platform/runtime/OwnedHandles.h"

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
        forms::UniqueKey sub;
        if (RegOpenKeyExA(key, name, 0, KEY_READ, sub.put()) != ERROR_SUCCESS) continue;
        tree[prefix + "\\" + name];
        ReadInto(sub.get(), prefix + "\\" + name, tree);
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
    forms::UniqueKey key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) return tree;
    tree[""];
    ReadInto(key.get(), "", tree);
    return tree;
}

void SetDefault(const std::string& key, const std::string& value, const char* name) {
    forms::UniqueKey made;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, made.put(),
                              nullptr),
              ERROR_SUCCESS)
        << key;
    // A test that seeds a value it could not write would test the program against what was there before.
    EXPECT_EQ(RegSetValueExA(made.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                             static_cast<DWORD>(value.size() + 1)),
              ERROR_SUCCESS)
        << key;
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
        forms::UniqueKey key;
        if (RegOpenKeyExA(HKEY_CLASSES_ROOT, name.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) {
            absent_.insert(name);
            continue;
        }
        forms::UniqueKey copy;
        RegCreateKeyExA(HKEY_CURRENT_USER, (backup_ + "\\" + name).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        copy.put(), nullptr);
        EXPECT_EQ(RegCopyTreeA(key.get(), nullptr, copy.get()), ERROR_SUCCESS) << name;
        saved_.insert(name);
    }
}

ClassesRootKeeper::~ClassesRootKeeper() {
    for (const std::string& name : absent_) RegDeleteTreeA(HKEY_CLASSES_ROOT, name.c_str());
    for (const std::string& name : saved_) {
        RegDeleteTreeA(HKEY_CLASSES_ROOT, name.c_str());
        forms::UniqueKey copy;
        RegOpenKeyExA(HKEY_CURRENT_USER, (backup_ + "\\" + name).c_str(), 0, KEY_READ, copy.put());
        forms::UniqueKey key;
        RegCreateKeyExA(HKEY_CLASSES_ROOT, name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(), nullptr);
        EXPECT_EQ(RegCopyTreeA(copy.get(), nullptr, key.get()), ERROR_SUCCESS) << name;
    }
    RegDeleteTreeA(HKEY_CURRENT_USER, backup_.c_str());
}

}  // namespace qvtest
