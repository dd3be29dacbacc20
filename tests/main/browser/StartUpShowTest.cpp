// The main window comes on screen once, at the end of its start-up: not half-built during the layout pass
// that applies the stored interface, before the logo and the options are in place. Its folder tree fills once
// the window is on screen, with the start folder selected. The options window it loads hidden makes its
// control windows only when it is first shown.
#include "main/browser/frmQuillview.h"
#include "main/settings/options.h"
#include "main/windows/frmTips.h"
#include "tests/main/EarlierStart.h"
#include "tests/platform/foldertree/HeldTree.h"
#include "main/core/Module1.h"
#include "main/core/SettingsNames.h"
#include "platform/forms/MessageLoop.h"
#include "platform/runtime/App.h"
#include "platform/runtime/ScriptedAnswerer.h"
#include "platform/runtime/Settings.h"
#include "platform/runtime/Strings.h"
#include "platform/runtime/UserPaths.h"
#include "tests/lib/comserver/TestSupport.h"
#include "tests/support/Apartment.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WindowReads.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <fstream>

#include <string>
#include <vector>

namespace {

using namespace foldertreetest;

frmQuillview& Window() { return forms::Default<frmQuillview>(); }

// The main window's caption each time it is shown, seen by the window itself as the show reaches it.
std::vector<std::string> gShownWith;

LRESULT CALLBACK WatchShows(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_SHOWWINDOW && call->wParam && call->hwnd == Window().hWnd()) {
        char caption[256] = {};
        GetWindowTextA(call->hwnd, caption, sizeof caption);
        gShownWith.emplace_back(caption);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

class ShowsHook {
public:
    ShowsHook() : hook_(SetWindowsHookExA(WH_CALLWNDPROC, &WatchShows, nullptr, GetCurrentThreadId())) {
        gShownWith.clear();
    }
    ~ShowsHook() {
        if (hook_) UnhookWindowsHookEx(hook_);
    }
    ShowsHook(const ShowsHook&) = delete;
    ShowsHook& operator=(const ShowsHook&) = delete;
    bool Hooked() const { return hook_ != nullptr; }

private:
    HHOOK hook_;
};

class StartUpShow : public ::testing::Test {
protected:
    void SetUp() override {
        Module1::gCommandLine.clear();
        qvtest::StoreAnEarlierStartOfThisVersion();
        forms::SaveSetting(settingsnames::kApp, "Options", "maintainass", "0");
        forms::SaveSetting(settingsnames::kApp, "Options", "Show Tips at Startup", "0");
        forms::SaveSetting(settingsnames::kApp, "Interface", "Startdir", folder_.Path());
    }
    void TearDown() override { Window().Unload(); }

    forms::ScriptedAnswerer answers_{[](const std::string& m) { ADD_FAILURE() << m; }};
    const forms::ScopedAnswerer answering_{answers_};
    const qvtest::TempFolder folder_;
    const forms::SettingsRootOverride settings_{std::string(forms::TestSettingsBase) + "StartUpShow"};
    const forms::UserPathsOverride paths_{std::nullopt, folder_ / "user"};
    const qvtest::Apartment apartment_;
};

TEST_F(StartUpShow, TheWindowFirstShowsWithTheLogoInPlace) {
    // With the tray icon off (the stored default) and with it on while the window is normal.
    for (const char* tray : {"0", "1"}) {
        SCOPED_TRACE(std::string("systrayicon ") + tray);
        forms::SaveSetting(settingsnames::kApp, "Options", "systrayicon", tray);
        const ShowsHook watching;
        ASSERT_TRUE(watching.Hooked());
        Window().Load();
        EXPECT_TRUE(IsWindowVisible(Window().hWnd()));
        ASSERT_FALSE(gShownWith.empty());
        EXPECT_EQ(gShownWith.front(), "Quillview - Vivid Imaging");
        Window().Unload();
    }
}

// The window each top-level window named "Quillview Tips" was made owned by, as its creation reached it.
std::vector<HWND> gTipOwners;

LRESULT CALLBACK WatchCreations(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
        const CREATESTRUCTA* made = reinterpret_cast<const CBT_CREATEWNDA*>(lParam)->lpcs;
        if (!(made->style & WS_CHILD) && made->lpszName && !IS_INTRESOURCE(made->lpszName) &&
            std::string(made->lpszName) == "Quillview Tips") {
            gTipOwners.push_back(made->hwndParent);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// With tips on, the tip of the day is owned by the main window from its creation: the start-up's last showing
// of the main window, and any later one, leaves the tip in front of it.
TEST_F(StartUpShow, TheTipOfTheDayIsOwnedByTheMainWindowFromItsCreation) {
    forms::SaveSetting(settingsnames::kApp, "Options", "Show Tips at Startup", "1");
    gTipOwners.clear();
    const HHOOK hook = SetWindowsHookExA(WH_CBT, &WatchCreations, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    Window().Load();
    UnhookWindowsHookEx(hook);
    frmTips& tips = forms::Default<frmTips>();
    ASSERT_TRUE(tips.IsLoaded());
    EXPECT_TRUE(IsWindowVisible(tips.hWnd()));
    EXPECT_EQ(gTipOwners, std::vector<HWND>{Window().hWnd()});
    EXPECT_EQ(GetWindow(tips.hWnd(), GW_OWNER), Window().hWnd());
    // In front of its owner, also once the owner is brought forward.
    const auto inFront = [&] {
        for (HWND above = GetWindow(Window().hWnd(), GW_HWNDPREV); above; above = GetWindow(above, GW_HWNDPREV)) {
            if (above == tips.hWnd()) return true;
        }
        return false;
    };
    EXPECT_TRUE(inFront());
    SetWindowPos(Window().hWnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_TRUE(inFront());
    tips.Unload();
}

// Start-up leaves the tree reporting the start folder; once the loop is idle the tree shows it: selected, in
// view, under its parent folder, and the folder list still on it.
TEST_F(StartUpShow, TheTreeShowsTheStartFolderSelectedOnceIdle) {
    const std::string start = folder_.Path() + "\\Start Here";
    ASSERT_TRUE(CreateDirectoryA(start.c_str(), nullptr));
    forms::SaveSetting(settingsnames::kApp, "Interface", "Startdir", start);
    Window().Load();
    forms::FolderTree& tree = Window().ftvDirs;
    EXPECT_TRUE(forms::TextEquals(tree.Path(), start)) << tree.Path();
    const HWND view = tree.Window();
    ASSERT_TRUE(view);
    ASSERT_TRUE(forms::MessageLoop::RunUntil([&] { return Held(view, TVM_GETCOUNT) > 0; }, 10000));
    forms::DoEvents();
    const HTREEITEM selected = HeldNext(view, TVGN_CARET);
    ASSERT_TRUE(selected);
    EXPECT_EQ(HeldText(view, selected), "Start Here");
    const std::string parentName = folder_.Path().substr(folder_.Path().find_last_of('\\') + 1);
    EXPECT_TRUE(forms::TextEquals(HeldText(view, HeldNext(view, TVGN_PARENT, selected)), parentName));
    EXPECT_TRUE(HeldInView(view, selected)) << "the start folder's row is out of view";
    EXPECT_TRUE(IsWindowVisible(view));
    EXPECT_TRUE(forms::TextEquals(tree.Path(), start)) << tree.Path();
    EXPECT_TRUE(forms::TextEquals(Window().Dir1.Path(), start)) << Window().Dir1.Path();
}

// The options window that start-up loads to hold the editable menus' lists makes no control window until the
// user first opens it; then the windows show the lists, the stored settings and the load's layout.
TEST_F(StartUpShow, TheHiddenOptionsWindowMakesItsControlsWindowsAtItsFirstShowing) {
    // Its showing reads the associations through the services library.
    const testsupport::RegisteredServer services{ORCMCLS_DLL};
    CreateDirectoryA((folder_ / "user").c_str(), nullptr);
    std::ofstream(folder_ / "user\\QVEditors.dat", std::ios::binary)
        << "C:\\Tools\\paint.exe<name>Paint\r\nC:\\Tools\\retouch.exe<name>Retouch\r\n";
    std::ofstream(folder_ / "user\\QVImgwebs.dat", std::ios::binary) << "http://pictures.example/<name>Pictures\r\n";
    forms::SaveSetting(settingsnames::kApp, "Options", "LastDirectory", "1");
    forms::SaveSetting(settingsnames::kApp, "Options", "scrollsen", "5");

    Window().Load();
    options& o = forms::Default<options>();
    ASSERT_TRUE(o.IsLoaded());
    EXPECT_FALSE(IsWindowVisible(o.hWnd()));
    EXPECT_TRUE(qvtest::ChildWindows(o.hWnd()).empty()) << qvtest::ChildWindows(o.hWnd()).size() << " control windows";
    EXPECT_EQ(o.EditorsList.Window(), nullptr);
    const float pageLeft = o.fraMain1.Left();
    const float pageTop = o.fraMain1.Top();

    o.Show();
    ASSERT_TRUE(IsWindowVisible(o.hWnd()));
    const HWND editors = o.EditorsList.hWnd();
    ASSERT_EQ(SendMessageA(editors, LB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(qvtest::ListBoxText(editors, 0), "C:\\Tools\\paint.exe");
    EXPECT_EQ(qvtest::ListBoxText(editors, 1), "C:\\Tools\\retouch.exe");
    ASSERT_EQ(SendMessageA(o.lstWebname.hWnd(), LB_GETCOUNT, 0, 0), 1);
    EXPECT_EQ(qvtest::ListBoxText(o.lstWebname.hWnd(), 0), "Pictures");
    EXPECT_EQ(qvtest::ListBoxText(o.lstWebAddr.hWnd(), 0), "http://pictures.example/");
    EXPECT_EQ(SendMessageA(o.lstWebname.hWnd(), LB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(SendMessageA(o.chkLastdir.hWnd(), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_FALSE(IsWindowEnabled(o.cmdCurrent.hWnd()));
    char text[16] = {};
    GetWindowTextA(o.txtScollsen.hWnd(), text, sizeof text);
    EXPECT_STREQ(text, "5");
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageA(o.Scrollsen.hWnd(), UDM_GETBUDDY, 0, 0)), o.txtScollsen.hWnd());
    // The first tab chosen, its page in front over the strip, the others hidden.
    EXPECT_EQ(SendMessageA(o.Tabs.hWnd(), TCM_GETCURSEL, 0, 0), 0);
    EXPECT_TRUE(IsWindowVisible(o.fraMain1.hWnd()));
    EXPECT_FALSE(IsWindowVisible(o.fraMain2.hWnd()));
    const POINT inPage{o.fraMain1.PixelRect().left + 4, o.fraMain1.PixelRect().top + 4};
    EXPECT_EQ(ChildWindowFromPointEx(o.hWnd(), inPage, CWP_SKIPINVISIBLE), o.fraMain1.hWnd());
    // The pages were placed at the load from the strip's page area, as the real strip has it.
    EXPECT_FLOAT_EQ(pageLeft, o.Tabs.ClientLeft() + 20);
    EXPECT_FLOAT_EQ(pageTop, o.Tabs.ClientTop() + 20);
    o.Unload();
}

}  // namespace
