#pragma once
// The main window loaded without its start-up over a folder of three small pictures, with its own settings,
// program and per-user folders, the system services library registered and every box scripted.

#include "main/browser/frmQuillview.h"
#include "main/core/Module1.h"
#include "main/core/clsVarMenus.h"
#include "platform/runtime/ScriptedAnswerer.h"
#include "platform/runtime/Settings.h"
#include "platform/runtime/UserPaths.h"
#include "tests/lib/comserver/TestSupport.h"
#include "tests/main/TestBitmap.h"
#include "tests/platform/forms/FormsTestSupport.h"
#include "tests/support/Apartment.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>

namespace menustest {

inline bool menuSeen = false;

inline void CALLBACK CloseOpenMenu(HWND, UINT, UINT_PTR, DWORD) {
    const HWND menu = FindWindowA("#32768", nullptr);
    if (menu && IsWindowVisible(menu)) {
        menuSeen = true;
        EndMenu();
    }
}

// Runs act; true when a popup menu opened meanwhile (it is closed again at once, choosing nothing).
inline bool OpensPopup(const std::function<void()>& act) {
    menuSeen = false;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, &CloseOpenMenu);
    act();
    KillTimer(nullptr, timer);
    return menuSeen;
}

// Acts on a window of the program once it is shown, looking again until `until` (a tick count): a modal form,
// or a dialog before it, runs its own loop meanwhile.
inline void WhenShownBy(forms::Form& form, std::function<void()> act, ULONGLONG until) {
    formstest::Later(
        [&form, act, until] {
            if (form.IsLoaded() && IsWindowVisible(form.hWnd())) {
                act();
            } else if (GetTickCount64() < until) {
                WhenShownBy(form, act, until);
            }
        },
        20);
}
inline void WhenShown(forms::Form& form, std::function<void()> act) {
    WhenShownBy(form, std::move(act), GetTickCount64() + 30000);
}

class Menus : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(services_.Registered());
        Module1::gCommandLine.clear();
        Module1::gCurrentImagePath.clear();
        Module1::gImageSaved = true;
        Module1::gStatusPanelsReady = false;
        CreateDirectoryA(program_.c_str(), nullptr);
        for (const char* name : {"a.bmp", "b.bmp", "c.bmp"}) ASSERT_TRUE(qvtest::WriteBitmap(folder_ / name));
        // The window object lives on between tests: its fields start as a new window's.
        Window().Tiled_ = false;
        Window().DisplayMode_ = 101;
        Window().LoadWithoutStartUp();
        Window().File1.SetPath(folder_.Path());
        Window().Dir1.SetPath(folder_.Path());
        // As the start-up binds them.
        Bind(Module1::gEditorsMenu(), Window().mnuEditors, "QVEditors.dat");
        Bind(Module1::gMyWebsMenu(), Window().mnuMyWebs, "QVImgwebs.dat");
        Bind(Module1::gImgWebsMenu(), Window().mnuImgWebs, "QVSetwebs.dat");
        Window().mnuFiletypesSort(true);
    }
    void TearDown() override {
        Module1::gImageSaved = true;
        Window().Unload();
    }
    static frmQuillview& Window() { return forms::Default<frmQuillview>(); }
    static void Bind(clsVarMenus& list, forms::ControlArray<forms::Menu>& items, const char* file) {
        list.MenuItems = &items;
        list.DataFile = file;
    }

    // Shows entry `index` as a click on it would.
    static void Choose(int index) {
        Window().File1.SetListIndex(index);
        ASSERT_EQ(Window().Caption(), "Quillview - " + Window().File1.List(index));
    }
    static std::string Stored(const char* section, const char* key) {
        return forms::GetSetting("Quillview2", section, key, "<none>");
    }

    forms::ScriptedAnswerer answers_{[](const std::string& m) { ADD_FAILURE() << m; }};
    const forms::ScopedAnswerer answering_{answers_};
    const qvtest::TempFolder folder_;
    const std::string program_ = folder_ / "program files";
    // A subtree per suite: suites of other test programs may run beside this one.
    const forms::SettingsRootOverride settings_{
        std::string(forms::TestSettingsBase) + ::testing::UnitTest::GetInstance()->current_test_info()->test_suite_name()};
    const forms::UserPathsOverride paths_{program_, folder_ / "user"};
    const qvtest::Apartment apartment_;
    const testsupport::RegisteredServer services_{ORCMCLS_DLL};
};

}  // namespace menustest
