// The stored options applied to the real window: the tray icon's rule over real window states, the
// favourites spelling, and values the options window never writes.
#include "main/browser/frmQuillview.h"
#include "main/core/Module1.h"
#include "platform/runtime/ScriptedAnswerer.h"
#include "platform/runtime/Settings.h"
#include "tests/platform/comctl/ComctlTestSupport.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace {

frmQuillview& Window() { return forms::Default<frmQuillview>(); }

class StoredOptions : public ::testing::Test {
protected:
    void SetUp() override {
        frmQuillview& w = Window();
        w.LoadWithoutStartUp();
        w.Move(600, 600, 12000, 9000);
        w.Show();
        ASSERT_TRUE(comctltest::BringToFront(w.hWnd()));
    }
    void TearDown() override { Window().Unload(); }

    static void Store(const std::vector<std::pair<const char*, const char*>>& values) {
        forms::DeleteSetting("Quillview2", "Options");
        for (const auto& [key, value] : values) forms::SaveSetting("Quillview2", "Options", key, value);
    }

    forms::ScriptedAnswerer answers_{[](const std::string& m) { ADD_FAILURE() << m; }};
    const forms::ScopedAnswerer answering_{answers_};
    const forms::SettingsRootOverride settings_{std::string(forms::TestSettingsBase) + "StoredOptions"};
};

TEST_F(StoredOptions, TrayIconFollowsTheOptionsAndTheWindowState) {
    enum class Start { Normal, Minimised, Hidden, HiddenMinimised };
    struct Case {
        const char* name;
        const char* systrayicon;
        const char* showminim;  // "True": the icon only while minimised
        Start start;
        bool trayShown;
        bool visible;
        int state;
    };
    const Case cases[] = {
        {"off: a hidden window comes back", "0", "True", Start::Hidden, false, true, 0},
        {"off: a minimised window in the tray comes back restored", "0", "True", Start::HiddenMinimised, false, true,
         0},
        {"off: a normal window stays", "0", "True", Start::Normal, false, true, 0},
        {"always: beside a normal window", "1", "False", Start::Normal, true, true, 0},
        {"always: a minimised window stays on the taskbar", "1", "False", Start::Minimised, true, true, 1},
        {"while minimised: a minimised window goes into the tray", "1", "True", Start::Minimised, true, false, 1},
        {"while minimised: not beside a normal window", "1", "True", Start::Normal, false, true, 0},
    };
    frmQuillview& w = Window();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Store({{"systrayicon", c.systrayicon}, {"showminim", c.showminim}});
        // The window as the case starts, with the tray icon as the last case left it.
        w.TrayIconEnabled = false;
        w.ApplyTrayIcon();
        w.SetWindowState(c.start == Start::Minimised || c.start == Start::HiddenMinimised ? 1 : 0);
        if (c.start == Start::Hidden || c.start == Start::HiddenMinimised) w.SetVisible(false);
        w.ApplyOptions();
        EXPECT_EQ(w.morwen.Shown(), c.trayShown);
        EXPECT_EQ(IsWindowVisible(w.hWnd()) != FALSE, c.visible);
        EXPECT_EQ(w.WindowState(), c.state);
    }
    w.TrayIconEnabled = false;
    w.ApplyTrayIcon();
    w.SetWindowState(0);
}

TEST_F(StoredOptions, SpellingAndValuesTheOptionsWindowNeverWrites) {
    frmQuillview& w = Window();
    Store({{"favorite", "1"}, {"dragsen", "6"}});
    w.ApplyOptions();
    EXPECT_EQ(w.mnuFav.Caption(), "Favorites");
    EXPECT_EQ(w.mnuFavMan.Caption(), "Favorites Manager");
    EXPECT_EQ(w.DragDivisor, 2);

    // Malformed text is each key's default, and no error leaves the call.
    Store({{"favorite", "yes"}, {"dragsen", "fast"}, {"systrayicon", "on"}, {"showminim", "maybe"},
           {"followop", "1x"}, {"gif87a", ""}, {"flatctl", "\x01"}});
    w.DragDivisor = 7;
    w.ApplyOptions();
    EXPECT_EQ(w.mnuFav.Caption(), "Favourites");
    EXPECT_EQ(w.mnuFavMan.Caption(), "Favourites Manager");
    EXPECT_FALSE(Module1::gAmericanSpelling);
    EXPECT_EQ(w.DragDivisor, 20) << "the middle sensitivity";
    EXPECT_FALSE(w.TrayIconEnabled);
    EXPECT_EQ(w.TrayIconMode, 0);
    EXPECT_FALSE(w.FollowOperations);
    EXPECT_TRUE(Module1::gAnimateGif87a);

    Store({{"dragsen", "9"}});
    w.DragDivisor = 7;
    w.ApplyOptions();
    EXPECT_EQ(w.DragDivisor, 7) << "a sensitivity outside 1 to 6 changes nothing";
}

}  // namespace
