#pragma once
// What the options window's tests share: a stand-in main window with the menus and members the window reads,
// the editable menus bound to it, the services library registered, and the 13 picture extensions' keys of
// the classes root (with the file types they name) saved before and put back after each test.

#include "lib/services/client/FileAssocClient.h"
#include "main/core/AssociationTypes.h"
#include "main/core/MainWindowView.h"
#include "main/core/Module1.h"
#include "main/core/clsVarMenus.h"
#include "main/settings/options.h"
#include "platform/forms/controls/DirListBox.h"
#include "platform/runtime/Settings.h"
#include "tests/lib/comserver/TestSupport.h"
#include "tests/main/ClassesRoot.h"
#include "tests/main/core/CoreFixture.h"
#include "tests/support/Apartment.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace optionstest {

constexpr char kApp[] = "Quillview2";

class frmMainStandIn : public forms::Form, public Module1::MainWindowView {
public:
    frmMainStandIn() : Form({.Caption = "Main stand-in"}) {}

    forms::Menu mnuFT{*this, "mnuFT", {.Caption = "Types"}};
    forms::ControlArray<forms::Menu> mnuFTs{
        mnuFT, "mnuFTs", {{0, {.Caption = "BMP"}}, {1, {.Caption = "JPG"}}, {2, {.Caption = "GIF"}},
                          {3, {.Caption = "WMF"}}, {4, {.Caption = "PCX"}}}};
    forms::Menu mnuFav{*this, "mnuFav", {.Caption = "Favourites"}};
    forms::ControlArray<forms::Menu> mnuFav1{mnuFav, "mnuFav1", {{0, {.Caption = "No Favourites", .Enabled = false}}}};
    forms::Menu mnuEditor{*this, "mnuEditor", {.Caption = "Editors"}};
    forms::ControlArray<forms::Menu> mnuEditors{mnuEditor, "mnuEditors", {{0, {}}}};
    forms::Menu mnuMyWeb{*this, "mnuMyWeb", {.Caption = "Links"}};
    forms::ControlArray<forms::Menu> mnuMyWebs{mnuMyWeb, "mnuMyWebs", {{0, {}}}};

    bool SupportMoreBrowsers = false;
    std::string CurrentFolder = "C:\\";

    forms::ControlArray<forms::Menu>& FavouritesMenu() override { return mnuFav1; }
    forms::ControlArray<forms::Menu>& FileTypesMenu() override { return mnuFTs; }
    void SetSupportMoreBrowsers(bool on) override { SupportMoreBrowsers = on; }
    std::string FolderPath() override { return CurrentFolder; }
};

using qvtest::ClassesRootKeeper;
using qvtest::ReadTree;
using qvtest::Tree;

class OptionsTest : public coretest::CoreTest {
protected:
    OptionsTest();
    ~OptionsTest() override;

    static options& Window() { return forms::Default<options>(); }
    static frmMainStandIn& Main() { return forms::Default<frmMainStandIn>(); }

    // Shows the window as the main window does (modal, without owner), runs fn inside its modal loop and then,
    // when the window is still there, presses Cancel.
    static void WhileShown(const std::function<void()>& fn);
    // Every value of the store's Options, Interface and FullScreen sections.
    std::map<std::string, std::string> StoredSettings() const;
    static std::string Stored(const char* section, const char* key);
    static void Store(const char* section, const char* key, const std::string& value) {
        forms::SaveSetting(kApp, section, key, value);
    }
    static std::string Program() { return forms::App::EXEName(); }
    std::string UndoFile(const char* extension) const { return ProgramDir() + "\\" + extension + "_undo.dat"; }

    const qvtest::Apartment apartment_;
    const testsupport::RegisteredServer services_{ORCMCLS_DLL};
    const ClassesRootKeeper classes_;
    const Module1::ScopedMainWindowView mainView_{Main()};
};

}  // namespace optionstest
