#include "tests/main/settings/OptionsFixture.h"

#include "platform/runtime/App.h"

#include <string>

namespace optionstest {
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
