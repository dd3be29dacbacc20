#include "tests/main/settings/OptionsFixture.h"

#include "platform/runtime/App.h"

#include <string>

namespace optionstest {
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

OptionsTest::OptionsTest() {
    forms::App::SetTitle("Quillview");
    Module1::InitAssocIconPaths();
    auto& editors = Module1::gEditorsMenu();
    editors.MenuItems = &Main().mnuEditors;
    editors.DataFile = "QVEditors.dat";
    auto& links = Module1::gMyWebsMenu();
    links.MenuItems = &Main().mnuMyWebs;
    links.DataFile = "QVImgwebs.dat";
    Main().Show();
}

OptionsTest::~OptionsTest() {
    Window().Unload();
    forms::ReleaseDefault<options>();
    Main().Unload();
    forms::ReleaseDefault<frmMainStandIn>();
    for (clsVarMenus* list : {&Module1::gEditorsMenu(), &Module1::gMyWebsMenu()}) {
        list->MenuItems = nullptr;
        list->NameList = nullptr;
        list->TagList = nullptr;
    }
    // Undo files the window wrote into the test's program folder go with it; they are read-only and hidden.
    for (const auto& type : filetypes::kFileTypes) {
        const std::string undo = UndoFile(type.extension);
        SetFileAttributesA(undo.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

void OptionsTest::WhileShown(const std::function<void()>& fn) {
    bool ran = false;
    formstest::Later([&] {
        fn();
        ran = true;
        if (Window().IsLoaded()) Window().cmdCancel.SetValue(true);
    });
    Window().Show(forms::ShowMode::Modal);
    EXPECT_TRUE(ran);
}

std::map<std::string, std::string> OptionsTest::StoredSettings() const {
    std::map<std::string, std::string> values;
    for (const char* section : {"Options", "Interface", "FullScreen"}) {
        const Tree tree = ReadTree(HKEY_CURRENT_USER, settings_.Root() + "\\" + kApp + "\\" + section);
        for (const auto& [path, value] : tree)
            if (!path.empty() && path[0] == '|') {
                std::string text = value.second;
                if (!text.empty() && text.back() == '\0') text.pop_back();
                values[std::string(section) + path] = text;
            }
    }
    return values;
}

std::string OptionsTest::Stored(const char* section, const char* key) { return forms::GetSetting(kApp, section, key, "<none>"); }

}  // namespace optionstest
