#pragma once
// What the core's service tests share: their own settings subtree, program folder and per-user folder, and
// a small form with the menu arrays and list boxes that the core fills.

#include "main/core/MainWindowView.h"
#include "platform/forms/ControlArray.h"
#include "platform/forms/Form.h"
#include "platform/forms/Menu.h"
#include "platform/runtime/MsgBox.h"
#include "platform/forms/controls/ListBox.h"
#include "platform/runtime/App.h"
#include "platform/runtime/Settings.h"
#include "platform/runtime/UserPaths.h"
#include "tests/platform/forms/FormsTestSupport.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace coretest {

class frmLists : public forms::Form, public Module1::MainWindowView {
public:
    frmLists() : Form({.Caption = "Lists"}) {}

    forms::Menu mnuA{*this, "mnuA", {.Caption = "A"}};
    forms::ControlArray<forms::Menu> mnuItems{mnuA, "mnuItems", {{0, {}}}};
    forms::Menu mnuB{*this, "mnuB", {.Caption = "B"}};
    forms::ControlArray<forms::Menu> mnuFav1{mnuB, "mnuFav1", {{0, {.Caption = "No Favourites", .Enabled = false}}}};
    forms::ListBox lstNames{*this, "lstNames", {8, 8, 120, 100}};
    forms::ListBox lstTags{*this, "lstTags", {140, 8, 120, 100}};

    forms::ControlArray<forms::Menu>& FavouritesMenu() override { return mnuFav1; }
};

// Captions and tags of a menu array, in index order.
struct MenuItem {
    std::string caption;
    std::string tag;
    bool operator==(const MenuItem&) const = default;
};
inline std::vector<MenuItem> Items(const forms::ControlArray<forms::Menu>& menu) {
    std::vector<MenuItem> items;
    for (const int i : menu.Indexes()) items.push_back({menu(i).Caption(), menu(i).Tag()});
    return items;
}
inline void PrintTo(const MenuItem& item, std::ostream* os) { *os << "{\"" << item.caption << "\", \"" << item.tag << "\"}"; }

class CoreTest : public ::testing::Test {
protected:
    CoreTest() {
        forms::App::SetTitle("Quillview");  // the title of boxes without one of their own
        CreateDirectoryA(ProgramDir().c_str(), nullptr);
        CreateDirectoryA(UserDir().c_str(), nullptr);
    }
    ~CoreTest() override {
        forms::Default<frmLists>().Unload();
        forms::ReleaseDefault<frmLists>();
    }

    static std::string TestName() { return ::testing::UnitTest::GetInstance()->current_test_info()->name(); }
    std::string ProgramDir() const { return temp_ / "Program"; }
    std::string UserDir() const { return temp_ / "User"; }
    static frmLists& Form() { return forms::Default<frmLists>(); }

    qvtest::TempFolder temp_;
    const forms::SettingsRootOverride settings_{std::string(forms::TestSettingsBase) + "Core" + TestName()};
    const forms::UserPathsOverride paths_{ProgramDir(), UserDir()};
    const Module1::ScopedMainWindowView view_{Form()};
};

}  // namespace coretest
