// The full-screen viewer as a user meets it: opened by the real main window over real picture files, moved
// through with the system's mouse, and read back from the screen's pixels.
#include "main/browser/frmQuillview.h"
#include "main/core/MainWindowView.h"
#include "main/core/Module1.h"
#include "main/windows/frmFullscn.h"
#include "platform/forms/Container.h"
#include "platform/forms/Screen.h"
#include "platform/forms/controls/ScrollBar.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/Paths.h"
#include "platform/runtime/Settings.h"
#include "tests/main/TestBitmap.h"
#include "tests/main/core/CoreFixture.h"
#include "tests/platform/forms/InputSupport.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <utility>

namespace {

using formstest::Later;
using formstest::PumpUntil;

constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);

COLORREF ScreenPixel(POINT at) {
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, at.x, at.y);
    ReleaseDC(nullptr, screen);
    return colour;
}

// Whether any pixel of a screen rectangle differs from the colour (something is painted over it).
bool AnyPixelOtherThan(const RECT& r, COLORREF colour) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return false;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, w, -h, 1, 32, BI_RGB};
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    const auto* pixels = static_cast<const std::uint32_t*>(bits);
    const std::uint32_t wanted = (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
    bool found = false;
    for (int i = 0; i < w * h && !found; ++i) found = (pixels[i] & 0xFFFFFF) != wanted;
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return found;
}

POINT Centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

// A windowless control's rectangle on the screen: its container's client origin plus its own place.
RECT OnScreen(const forms::Control& c) {
    const float tppx = forms::Screen().TwipsPerPixelX(), tppy = forms::Screen().TwipsPerPixelY();
    POINT origin{0, 0};
    ClientToScreen(c.GetContainer().ClientWindow(), &origin);
    const LONG left = origin.x + static_cast<LONG>(c.Left() / tppx), top = origin.y + static_cast<LONG>(c.Top() / tppy);
    return {left, top, left + static_cast<LONG>(c.Width() / tppx), top + static_cast<LONG>(c.Height() / tppy)};
}

RECT WindowOnScreen(HWND h) {
    RECT r{};
    GetWindowRect(h, &r);
    return r;
}

void Click(POINT at, bool right = false) {
    formstest::MouseAt(at);
    if (right) {
        formstest::RightDown(at);
        formstest::RightUp(at);
    } else {
        formstest::LeftDown(at);
        formstest::LeftUp(at);
    }
}

// The real main window, loaded without its start-up and in front, on a folder of the test's own; the viewer
// opened from it as its View menu opens it.
class ViewerOnScreen : public coretest::CoreTest {
protected:
    ViewerOnScreen() {
        Module1::gImageSaved = true;
        Module1::gStatusPanelsReady = false;
        Module1::gFullScreenOpen = false;
        Module1::gCurrentImagePath.clear();
        CreateDirectoryA(Pictures().c_str(), nullptr);
        Main().LoadWithoutStartUp();
        Main().Show();
        SetForegroundWindow(Main().hWnd());
    }
    ~ViewerOnScreen() override {
        if (Viewer().IsLoaded()) Viewer().Unload();
        Main().Unload();
    }
    static frmQuillview& Main() { return forms::Default<frmQuillview>(); }
    static frmFullscn& Viewer() { return forms::Default<frmFullscn>(); }
    std::string Pictures() const { return temp_ / "Pictures"; }
    std::string Picture(const std::string& name) const { return Pictures() + "\\" + name; }
    static LONG ScreenW() { return GetSystemMetrics(SM_CXSCREEN); }
    static LONG ScreenH() { return GetSystemMetrics(SM_CYSCREEN); }

    const Module1::ScopedMainWindowView mainView_{Main()};
    formstest::Script unexpectedBoxes_;

    // The main window on the folder, showing the named file through its own file list.
    void MainShows(const std::string& name) {
        Main().Dir1.SetPath(Pictures());
        Main().File1.Refresh();
        for (int i = 0; i < Main().File1.ListCount(); ++i)
            if (Main().File1.List(i) == name) Main().File1.SetListIndex(i);
        ASSERT_EQ(Main().File1.FileName(), name);
    }

    // Opens the viewer from the main window and runs body in it once it is in front and its click guard is
    // over; the viewer is closed afterwards if body left it open.
    void InViewer(const std::function<void()>& body) {
        bool ran = false;
        Later([&] {
            struct Close {
                ~Close() {
                    if (Viewer().IsLoaded()) Viewer().Unload();
                }
            };
            const Close close{};
            ASSERT_TRUE(PumpUntil([] { return Viewer().IsLoaded() && Viewer().Visible(); }));
            SetForegroundWindow(Viewer().hWnd());
            ASSERT_TRUE(PumpUntil([] { return GetForegroundWindow() == Viewer().hWnd() && !Viewer().Tim.Enabled(); }));
            ASSERT_TRUE(formstest::PumpPosted());
            ran = true;
            body();
        });
        Main().mnuFullscrn_Click();
        EXPECT_TRUE(ran);
    }
};

// Over a picture larger than the screen every way: the left edge brings the panel, the top edge the menu bar,
// and the path line is painted over the picture and closes the viewer when clicked.
TEST_F(ViewerOnScreen, TheStripsAndThePathLineAreInFrontOfALargePicture) {
    ASSERT_TRUE(qvtest::WriteBitmap(Picture("large.bmp"), ScreenW() + 300, ScreenH() + 300, kBlue));
    MainShows("large.bmp");
    struct Row {
        const char* what;
        std::function<void()> act;
        std::function<bool()> done;
    };
    const Row rows[] = {
        {"the left edge shows the panel",
         [] { formstest::MouseAt({0, ScreenH() / 2}); },
         [] {
             const RECT panel = WindowOnScreen(Viewer().Frame1.hWnd());
             // The panel's own back colour beside its counters, on the screen.
             return Viewer().Frame1.Visible() && ScreenPixel({panel.right - 10, panel.bottom - 8}) == RGB(0xFF, 0xE0, 0xC0);
         }},
        {"the top edge shows the menu bar",
         [] { formstest::MouseAt({ScreenW() / 2, 0}); },
         [] {
             const HMENU bar = GetMenu(Viewer().hWnd());
             return Viewer().mnuOptions.Visible() && bar && GetMenuItemCount(bar) > 0;
         }},
        {"a click on the path line closes",
         [] { Click({OnScreen(Viewer().Label1).left + 4, Centre(OnScreen(Viewer().Label1)).y}); },
         [] { return !Viewer().IsLoaded(); }},
    };
    for (const Row& row : rows) {
        InViewer([&] {
            // The path is painted over the picture.
            EXPECT_TRUE(PumpUntil([] { return AnyPixelOtherThan(OnScreen(Viewer().Label1), kBlue); }, 3000)) << row.what;
            // From the middle of the picture, where only the picture lies.
            formstest::MouseAt(Centre(WindowOnScreen(Viewer().hWnd())));
            ASSERT_TRUE(formstest::PumpPosted());
            row.act();
            EXPECT_TRUE(PumpUntil(row.done, 5000)) << row.what;
        });
    }
}

// The panel's title, its two icons and the pin marker lie on its title band, not under it.
TEST_F(ViewerOnScreen, ThePanelsTitleIconsAndPinMarkerShowOnItsBand) {
    ASSERT_TRUE(qvtest::WriteBitmap(Picture("small.bmp"), 40, 30, kBlue));
    MainShows("small.bmp");
    forms::SaveSetting("Quillview2", "Options", "fsmbal", "1");  // the panel pinned open
    InViewer([] {
        frmFullscn& v = Viewer();
        ASSERT_TRUE(v.Frame1.Visible());
        ASSERT_TRUE(v.shpPinOn.Visible());
        const COLORREF band = GetSysColor(COLOR_ACTIVECAPTION);
        ASSERT_TRUE(PumpUntil([&] { return ScreenPixel({OnScreen(v.Shape1).right - 3, Centre(OnScreen(v.Shape1)).y}) == band; }, 3000));
        for (const forms::Control* c : {static_cast<const forms::Control*>(&v.Label5), static_cast<const forms::Control*>(&v.Image3),
                                        static_cast<const forms::Control*>(&v.Image2)})
            EXPECT_TRUE(AnyPixelOtherThan(OnScreen(*c), band)) << c->Name();
        // The marker's border shows beside the pin's icon.
        const RECT marker = OnScreen(v.shpPinOn);
        EXPECT_EQ(ScreenPixel({marker.right - 1, Centre(marker).y}), RGB(0xE0, 0xE0, 0xE0));
    });
}

// A picture that overflows the screen gets the bar of each axis it overflows, in front of the picture, and a
// drag of the thumb reaches the far edge of a 30,000-pixel panorama.
TEST_F(ViewerOnScreen, EachOverflowingAxisShowsItsBarInFrontAndTheThumbReachesTheFarEdge) {
    struct Row {
        const char* what;
        int w, h;
        bool hBar, vBar;
    };
    const Row rows[] = {
        {"wider only", 30000, 200, true, false},
        {"taller only", 200, ScreenH() + 400, false, true},
        {"both", ScreenW() + 400, ScreenH() + 400, true, true},
    };
    for (const Row& row : rows) {
        // The last columns and rows red, so that the far edge shows.
        ASSERT_TRUE(qvtest::WritePixels(Picture("pano.bmp"), row.w, row.h, [&](int x, int y) {
            return x >= row.w - 40 || y >= row.h - 40 ? kRed : kBlue;
        }));
        Main().Dir1.SetPath(temp_.Path());  // the same name again is read again
        MainShows("pano.bmp");
        InViewer([&] {
            frmFullscn& v = Viewer();
            // The pointer over the picture: no menu bar.
            formstest::MouseAt(Centre(WindowOnScreen(v.hWnd())));
            ASSERT_TRUE(PumpUntil([&] { return !v.mnuOptions.Visible() && !GetMenu(v.hWnd()); }, 5000));
            for (const auto& [bar, wanted] : {std::pair<forms::ScrollBar*, bool>{&v.HScroll1, row.hBar},
                                               std::pair<forms::ScrollBar*, bool>{&v.VScroll1, row.vBar}}) {
                EXPECT_EQ(IsWindowVisible(bar->hWnd()) != FALSE, wanted) << row.what;
                if (!wanted) continue;
                // Drawn in front: the middle of the bar is not the picture, and it is the bar the window finds there.
                const RECT r = WindowOnScreen(bar->hWnd());
                EXPECT_TRUE(PumpUntil([&] { return ScreenPixel(Centre(r)) != kBlue; }, 3000)) << row.what;
                POINT inViewer = Centre(r);
                ScreenToClient(v.hWnd(), &inViewer);
                EXPECT_EQ(ChildWindowFromPointEx(v.hWnd(), inViewer, CWP_SKIPINVISIBLE), bar->hWnd()) << row.what;
            }
            if (!row.hBar || row.vBar) return;
            // Dragging the thumb to the bar's right end, by the system's mouse.
            SCROLLBARINFO info{sizeof info};
            ASSERT_TRUE(GetScrollBarInfo(v.HScroll1.hWnd(), OBJID_CLIENT, &info));
            const RECT bar = info.rcScrollBar;
            const POINT thumb{bar.left + (info.xyThumbTop + info.xyThumbBottom) / 2, (bar.top + bar.bottom) / 2};
            formstest::MouseAt(thumb);
            formstest::LeftDown(thumb);
            for (int i = 1; i <= 8; ++i) formstest::MouseAt({thumb.x + (bar.right + 40 - thumb.x) * i / 8, thumb.y});
            formstest::LeftUp({bar.right + 40, thumb.y});
            EXPECT_TRUE(PumpUntil([&] { return v.HScroll1.Value() == v.HScroll1.Max(); }, 3000))
                << v.HScroll1.Value() << " of " << v.HScroll1.Max();
            const RECT area = WindowOnScreen(v.Picture1.hWnd());
            const POINT lastColumn{area.right - 1, Centre(OnScreen(v.Image1)).y};
            EXPECT_TRUE(PumpUntil([&] { return ScreenPixel(lastColumn) == kRed; }, 3000)) << std::hex << ScreenPixel(lastColumn);
            EXPECT_EQ(ScreenPixel({area.right - 41, lastColumn.y}), kBlue);
        });
    }
}

// A favourite chosen from the menu the viewer pops up on its file list puts the viewer and the main window on
// the favourite's folder, on the same drive and on another; the counters and the next picture follow.
TEST_F(ViewerOnScreen, AFavouriteFromTheViewersPopupTakesBothWindowsToItsFolder) {
    ASSERT_TRUE(qvtest::WriteBitmap(Picture("start.bmp"), 40, 30, kBlue));
    // Wine's Z: is the file system's root: a second drive that is always there.
    struct OtherDrive {
        const std::string path = "z:\\tmp\\qv-viewer-favourite-" + std::to_string(GetCurrentProcessId());
        OtherDrive() { CreateDirectoryA(path.c_str(), nullptr); }
        ~OtherDrive() {
            for (const char* name : {"a.bmp", "b.bmp", "c.bmp"}) DeleteFileA((path + "\\" + name).c_str());
            RemoveDirectoryA(path.c_str());
        }
    };
    const OtherDrive other{};
    const std::string same = temp_ / "Same";
    CreateDirectoryA(same.c_str(), nullptr);
    for (const std::string& folder : {same, other.path})
        for (const char* name : {"a.bmp", "b.bmp", "c.bmp"}) ASSERT_TRUE(qvtest::WriteBitmap(folder + "\\" + name, 30, 20, kRed));
    struct Row {
        const char* what;
        std::string folder;
    };
    const Row rows[] = {{"same drive", same}, {"other drive", other.path}};
    for (const Row& row : rows) {
        MainShows("start.bmp");
        Module1::AddFavourite(row.what, row.folder);
        Module1::LoadFavouritesMenu();
        forms::SaveSetting("Quillview2", "Options", "fsmbal", "1");  // the panel pinned open
        InViewer([&] {
            frmFullscn& v = Viewer();
            // Chooses the favourite in the popup once it is up.
            std::function<void(int)> choose = [&](int tries) {
                const HWND popup = FindWindowA("#32768", nullptr);
                if (!popup || !IsWindowVisible(popup)) {
                    if (tries > 0) Later([&, tries] { choose(tries - 1); }, 50);
                    return;
                }
                const HMENU menu = reinterpret_cast<HMENU>(SendMessageA(popup, MN_GETHMENU, 0, 0));
                for (int i = 0; i < GetMenuItemCount(menu); ++i) {
                    char text[128] = {};
                    GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
                    RECT item{};
                    if (std::string(text) == row.what && GetMenuItemRect(nullptr, menu, static_cast<UINT>(i), &item)) {
                        Click(Centre(item));
                        return;
                    }
                }
                ADD_FAILURE() << "no entry " << row.what;
                EndMenu();
            };
            Later([&] { choose(60); }, 50);
            Click(Centre(WindowOnScreen(v.File1.hWnd())), true);
            ASSERT_TRUE(PumpUntil([&] { return v.lblCount.Caption() == "3"; }, 5000)) << row.what << ": " << v.Dir1.Path();
            EXPECT_EQ(lstrcmpiA(v.Dir1.Path().c_str(), row.folder.c_str()), 0) << row.what << ": " << v.Dir1.Path();
            EXPECT_EQ(lstrcmpiA(v.File1.Path().c_str(), row.folder.c_str()), 0) << row.what;
            EXPECT_EQ(lstrcmpiA(Main().Dir1.Path().c_str(), row.folder.c_str()), 0) << row.what << ": " << Main().Dir1.Path();
            EXPECT_EQ(v.lblNumber.Caption(), "0") << row.what;
            // The next picture is the favourite folder's first, shown on the screen.
            Click(Centre(WindowOnScreen(v.hWnd())), true);
            EXPECT_TRUE(PumpUntil([&] { return v.File1.ListIndex() == 0; }, 3000)) << row.what;
            EXPECT_EQ(v.Label1.Caption(), forms::JoinPath(v.Dir1.Path(), "a.bmp")) << row.what;
            EXPECT_EQ(v.lblNumber.Caption(), "1") << row.what;
            EXPECT_TRUE(PumpUntil([&] { return ScreenPixel(Centre(WindowOnScreen(v.hWnd()))) == kRed; }, 3000)) << row.what;
        });
        Module1::LoadFavouritesMenu();
    }
}

}  // namespace
