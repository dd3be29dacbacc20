// What a start of the main window takes from the store and what its close leaves there for the next start:
// the scroll and drag sensitivities, the mouse mode, the full-screen start, the panel shown, the start folder
// and the window's placement. Each case is a whole start-up of the real window and, where it says so, its
// close; input goes through the system.
#include "tests/main/browser/StartedWindowFixture.h"

#include "main/core/clsIface.h"
#include "main/windows/frmFullscn.h"
#include "main/windows/frmSettingUp.h"
#include "tests/main/TestBitmap.h"
#include "tests/platform/forms/InputSupport.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using formstest::PumpUntil;
using settingsnames::kApp;

using browsertest::InFront;
using browsertest::Window;

class StartUpState : public browsertest::StartedWindow {
protected:
    StartUpState() : StartedWindow("StartUpState") {}
    void SetUp() override {
        StartedWindow::SetUp();
        if (HasFatalFailure()) return;
        CreateDirectoryA(Other().c_str(), nullptr);
        ASSERT_TRUE(qvtest::WriteBitmap(Picture(), 1600, 1200, 0x3080C0));
    }
    std::string Picture() const { return folder_ / "large.bmp"; }
    std::string Other() const { return folder_ / "other"; }
};

// The names of the Cursor Modes items that carry the check mark.
std::string CheckedModes() {
    std::string names;
    frmQuillview& w = Window();
    for (forms::Menu* m : {&w.mnuNorm, &w.mnuCrop, &w.mnuZoommode, &w.mnuDrag}) {
        if (m->Checked()) names += (names.empty() ? "" : ",") + m->Name();
    }
    return names;
}

// One click in the horizontal bar's trough, right of its thumb: the picture moves by one page.
int PageRight() {
    frmQuillview& w = Window();
    RECT bar{};
    GetClientRect(w.HScroll1.hWnd(), &bar);
    const POINT at = formstest::ScreenPoint(
        w.HScroll1.hWnd(), bar.right - GetSystemMetrics(SM_CXHSCROLL) - 4, (bar.top + bar.bottom) / 2);
    const int before = w.HScroll1.Value();
    formstest::LeftDown(at);
    formstest::LeftUp(at);
    PumpUntil([&] { return w.HScroll1.Value() != before; }, 2000);
    formstest::PumpPosted();
    return w.HScroll1.Value() - before;
}

TEST_F(StartUpState, StoredSensitivitiesAndMouseModeAreAppliedAndTheModeIsKeptAtClose) {
    struct Row {
        const char* scrollsen;
        const char* dragsen;
        const char* cursormode;
        bool picture;  // started with the large picture on the command line
        int page;      // the trough click's step
        int divisor;
        const char* checked;
        const char* storedMode;
    };
    const Row rows[] = {
        {"1", "6", "0", true, 20, 2, "mnuNorm", "0"},
        {"2", "5", "1", true, 45, 5, "mnuCrop", "1"},
        {"4", "4", "3", true, 80, 10, "mnuDrag", "3"},
        {"5", "2", "2", true, 110, 30, "mnuZoommode", "2"},
        {"6", "1", "9", true, 130, 40, "mnuZoommode", "2"},
        // Outside 1..6 or no number: the design's step and divisor; a mode that is no number: the design's.
        {"0", "0", "x", true, 60, 20, "mnuNorm", "0"},
        {"7", "7", "1", true, 60, 20, "mnuCrop", "1"},
        {"x", "x", "3", true, 60, 20, "mnuDrag", "3"},
        // Without a picture the logo shows, in the normal mode, whatever was stored.
        {"3", "3", "1", false, 0, 20, "mnuNorm", "0"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string("scrollsen ") + row.scrollsen + ", dragsen " + row.dragsen + ", cursormode " +
                     row.cursormode + (row.picture ? ", a picture" : ", no picture"));
        Store("Options", "scrollsen", row.scrollsen);
        Store("Options", "dragsen", row.dragsen);
        Store("Options", "cursormode", row.cursormode);
        Start(row.picture ? Picture() : "");
        frmQuillview& w = Window();
        EXPECT_EQ(w.Caption(), row.picture ? "Quillview - large.bmp" : "Quillview - Vivid Imaging");
        if (row.picture) {
            ASSERT_TRUE(w.HScroll1.Enabled()) << "the picture is wider than the view";
            ASSERT_TRUE(InFront(w.hWnd()));
            EXPECT_EQ(PageRight(), row.page);
            EXPECT_EQ(w.VScroll1.LargeChange(), row.page);
        }
        EXPECT_EQ(w.DragDivisor, row.divisor);
        EXPECT_EQ(CheckedModes(), row.checked);
        w.Unload();
        EXPECT_EQ(Stored("Options", "cursormode"), row.storedMode);
    }
}

// Started with a picture and told to view it full screen, the viewer shows it before the main window does;
// closed on that picture (closeafter1 off), the start goes on and the window shows the picture.
TEST_F(StartUpState, AFullScreenStartShowsTheViewerFirst) {
    struct Row {
        const char* what;
        bool picture;
        const char* imgfll;
        bool viewer;
    };
    const Row rows[] = {
        {"a picture, imgfll 1", true, "1", true},
        {"a picture, imgfll 0", true, "0", false},
        {"no picture, imgfll 1", false, "1", false},
    };
    Store("Options", "closeafter1", "0");
    auto& viewer = forms::Default<frmFullscn>();
    bool viewerShown = false, mainHidden = false, splashHidden = false, startedFlag = false, looking = false;
    std::string viewed;
    // Looks again until the viewer is up or the start-up has ended; in the viewer, presses Esc as the user
    // does.
    std::function<void()> look = [&] {
        if (viewer.IsLoaded() && IsWindowVisible(viewer.hWnd())) {
            viewerShown = viewer.IsModal();
            mainHidden = !IsWindowVisible(Window().hWnd());
            splashHidden = !forms::Default<frmSettingUp>().Visible();
            startedFlag = Module1::gStartedFullScreen;
            viewed = viewer.File1.FileName();
            InFront(viewer.hWnd());
            formstest::KeyPress(VK_ESCAPE);
            looking = false;
        } else if (IsWindowVisible(Window().hWnd())) {
            looking = false;
        } else {
            formstest::Later(look, 20);
        }
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Store("Options", "imgfll", row.imgfll);
        forms::Default<frmSettingUp>().Show();
        viewerShown = mainHidden = splashHidden = startedFlag = false;
        viewed.clear();
        looking = true;
        formstest::Later(look, 20);
        Start(row.picture ? Picture() : "");
        EXPECT_EQ(viewerShown, row.viewer);
        if (row.viewer) {
            EXPECT_TRUE(mainHidden) << "the main window comes after the viewer";
            EXPECT_TRUE(splashHidden);
            EXPECT_TRUE(startedFlag);
            EXPECT_EQ(viewed, "large.bmp");
        }
        EXPECT_FALSE(viewer.IsLoaded());
        EXPECT_FALSE(Module1::gStartedFullScreen);
        EXPECT_TRUE(IsWindowVisible(Window().hWnd()));
        EXPECT_EQ(Window().Caption(), row.picture ? "Quillview - large.bmp" : "Quillview - Vivid Imaging");
        ASSERT_TRUE(PumpUntil([&] { return !looking; }));
        Window().Unload();
    }
}

// The browser panel the user left at the close is the one the next start shows: the favourites list
// (switched to with the toolbar's button) or the folder tree.
TEST_F(StartUpState, ThePanelShownAtTheCloseIsShownAtTheNextStart) {
    struct Row {
        const char* what;
        bool toFavourites;  // the user presses Directories Toggle once
        const char* storedFavlist;
        bool favouritesShown;
    };
    const Row rows[] = {
        {"favourites list", true, "1", true},
        {"folder tree", false, "0", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        forms::DeleteSetting(kApp, "Favs");
        Store("Favs", "favn1", "Pictures");
        Store("Favs", "fava1", folder_.Path());
        Store("Options", "Favlist", "0");
        Store("Options", "browsermode", "1");
        Start();
        frmQuillview& w = Window();
        ASSERT_FALSE(w.FavList.Visible()) << "a new user starts on the tree";
        if (row.toFavourites) {
            ASSERT_TRUE(InFront(w.hWnd()));
            const POINT button = formstest::ScreenPoint(w.Toolbar(4).hWnd(), 8, 8);
            formstest::LeftDown(button);
            formstest::LeftUp(button);
            ASSERT_TRUE(PumpUntil([&] { return w.FavList.Visible(); }, 3000));
        }
        w.Unload();
        EXPECT_EQ(Stored("Options", "Favlist"), row.storedFavlist);

        Start();
        EXPECT_EQ(w.FavList.Visible(), row.favouritesShown);
        EXPECT_EQ(w.lblBTCap.Caption(), row.favouritesShown ? "Favorites" : "Directories");
        EXPECT_EQ(w.mInterface->BrowserMode(), row.favouritesShown ? 0 : 1);
        if (row.favouritesShown) {
            ASSERT_EQ(w.FavList.ListCount(), 1);
            EXPECT_EQ(w.FavList.List(0), "Pictures");
        }
        w.Unload();
        EXPECT_EQ(Stored("Options", "Favlist"), row.storedFavlist) << "and again at the next close";
    }
}

// With "last directory" on, the folder shown at the close is the next start's folder; off, the stored start
// folder stays as it was.
TEST_F(StartUpState, TheStartFolderFollowsTheLastFolderOnlyWhenAskedTo) {
    struct Row {
        const char* lastDirectory;  // nullptr: not stored
        bool followed;
    };
    const Row rows[] = {{"1", true}, {"0", false}, {nullptr, false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.lastDirectory ? row.lastDirectory : "not stored");
        Store("Interface", "Startdir", folder_.Path());
        if (row.lastDirectory) Store("Options", "LastDirectory", row.lastDirectory);
        else forms::DeleteSetting(kApp, "Options", "LastDirectory");
        Start();
        frmQuillview& w = Window();
        ASSERT_EQ(w.Dir1.Path(), folder_.Path());
        w.Dir1.SetPath(Other());
        w.Unload();
        const std::string expected = row.followed ? Other() : folder_.Path();
        EXPECT_EQ(Stored("Interface", "Startdir"), expected);
        Start();
        EXPECT_EQ(w.Dir1.Path(), expected);
        EXPECT_EQ(w.File1.Path(), expected);
        w.Unload();
    }
}

// Closed maximised or minimised, the window keeps the placement it had when last closed normal: the next
// start opens maximised over it (a restore brings it back) or normal on it.
TEST_F(StartUpState, AClosedMaximisedOrMinimisedWindowKeepsItsNormalPlacement) {
    struct Row {
        const char* what;
        WPARAM command;
        const char* storedState;
        bool reopensMaximised;
    };
    const Row rows[] = {
        {"maximised", SC_MAXIMIZE, "2", true},
        {"minimised", SC_MINIMIZE, "1", false},
    };
    const struct {
        const char* key;
        const char* twips;
    } placement[] = {{"left", "1500"}, {"top", "1200"}, {"width", "9000"}, {"height", "7500"}};
    const auto expectNormalPlacement = [](HWND window) {
        WINDOWPLACEMENT at{sizeof at};
        GetWindowPlacement(window, &at);
        RECT screen = at.rcNormalPosition;
        // The placement's rectangle is in work-area coordinates.
        MONITORINFO monitor{sizeof monitor};
        GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
        OffsetRect(&screen, monitor.rcWork.left - monitor.rcMonitor.left, monitor.rcWork.top - monitor.rcMonitor.top);
        const float tx = forms::Screen().TwipsPerPixelX(), ty = forms::Screen().TwipsPerPixelY();
        EXPECT_EQ(screen.left, static_cast<LONG>(1500 / tx));
        EXPECT_EQ(screen.top, static_cast<LONG>(1200 / ty));
        EXPECT_EQ(screen.right - screen.left, static_cast<LONG>(9000 / tx));
        EXPECT_EQ(screen.bottom - screen.top, static_cast<LONG>(7500 / ty));
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Store("Options", "window", "0");
        for (const auto& p : placement) Store("Options", p.key, p.twips);
        Start();
        frmQuillview& w = Window();
        ASSERT_FALSE(IsZoomed(w.hWnd()));
        SendMessageA(w.hWnd(), WM_SYSCOMMAND, row.command, 0);
        ASSERT_TRUE(PumpUntil([&] { return row.command == SC_MAXIMIZE ? IsZoomed(w.hWnd()) : IsIconic(w.hWnd()); }));
        w.Unload();
        EXPECT_EQ(Stored("Options", "window"), row.storedState);
        for (const auto& p : placement) EXPECT_EQ(Stored("Options", p.key), p.twips) << p.key;

        Start();
        EXPECT_EQ(IsZoomed(w.hWnd()) != FALSE, row.reopensMaximised);
        EXPECT_FALSE(IsIconic(w.hWnd()));
        expectNormalPlacement(w.hWnd());
        if (row.reopensMaximised) {
            SendMessageA(w.hWnd(), WM_SYSCOMMAND, SC_RESTORE, 0);
            ASSERT_TRUE(PumpUntil([&] { return !IsZoomed(w.hWnd()); }));
            RECT restored{};
            GetWindowRect(w.hWnd(), &restored);
            const float tx = forms::Screen().TwipsPerPixelX(), ty = forms::Screen().TwipsPerPixelY();
            EXPECT_EQ(restored.left, static_cast<LONG>(1500 / tx));
            EXPECT_EQ(restored.top, static_cast<LONG>(1200 / ty));
            EXPECT_EQ(restored.right - restored.left, static_cast<LONG>(9000 / tx));
        }
        w.Unload();
    }
}

}  // namespace
