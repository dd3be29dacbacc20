// The message and add-link dialog, the JPEG quality dialog, the tips window and the About box, each shown as
// its callers show it and driven from inside its own loop.
#include "main/core/Module1.h"
#include "main/core/clsVarMenus.h"
#include "main/windows/Dialog.h"
#include "main/windows/frmAbout.h"
#include "main/windows/frmBrowse.h"
#include "main/windows/frmJpegQual.h"
#include "main/windows/frmQVSadvert.h"
#include "main/windows/frmTips.h"
#include "platform/forms/Screen.h"
#include "platform/runtime/OwnedHandles.h"
#include "platform/runtime/Settings.h"
#include "tests/main/core/CoreFixture.h"
#include "tests/support/Apartment.h"
#include "tests/support/ShellOpenRecorder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

using formstest::Later;
using formstest::PumpUntil;

class SmallWindows : public coretest::CoreTest {
protected:
    SmallWindows() {
        Form().Show();
        Module1::gMyWebsMenu().MenuItems = &Form().mnuItems;
    }
    ~SmallWindows() override {
        Module1::gMyWebsMenu().MenuItems = nullptr;
        forms::Default<Dialog>().Unload();
        forms::Default<frmJpegQual>().Unload();
        forms::Default<frmTips>().Unload();
        forms::Default<frmAbout>().Unload();
        forms::Default<frmBrowse>().Unload();
        forms::Default<frmQVSadvert>().Unload();
        Module1::gAmericanSpelling = false;
    }
    static void CloseBox(forms::Form& f) { PostMessageA(f.hWnd(), WM_CLOSE, 0, 0); }
    static std::string Setting(const char* key) { return forms::GetSetting("Quillview2", "Options", key, "none"); }
};

// Rows run in order on one window object: a later showing must not see an earlier one's box.
TEST_F(SmallWindows, ShowMessageHandsBackTheBoxOfThisShowing) {
    struct Row {
        const char* name;
        std::vector<int> boxValues;  // set in this order, as clicks would
        bool closeBox;
        bool expected;
    };
    const Row rows[] = {
        {"ticked, OK", {1}, false, true},
        {"untouched after a ticked showing", {}, false, false},
        {"ticked and unticked", {1, 0}, false, false},
        {"ticked, close box", {1}, true, true},
    };
    auto& dialog = forms::Default<Dialog>();
    for (const Row& row : rows) {
        std::string caption, text;
        HWND owner = nullptr;
        Later([&] {
            caption = dialog.Caption();
            text = dialog.Label1.Caption();
            owner = GetWindow(dialog.hWnd(), GW_OWNER);
            for (const int v : row.boxValues) dialog.Check1.SetValue(v);
            if (row.closeBox) CloseBox(dialog);
            else dialog.OKButton.SetValue(true);
        });
        bool checked = !row.expected;
        dialog.ShowMessage("Hello & welcome", "Screen Resolution", &Form(), checked);
        EXPECT_EQ(checked, row.expected) << row.name;
        EXPECT_EQ(caption, "Screen Resolution") << row.name;
        EXPECT_EQ(text, "Hello & welcome") << row.name;
        EXPECT_EQ(owner, Form().hWnd()) << row.name;
        EXPECT_FALSE(dialog.IsLoaded()) << row.name;
    }
}

TEST_F(SmallWindows, AddLinkChecksNameAndAddressBeforeAdding) {
    struct Row {
        const char* name;
        const char* url;
        const char* prompt;  // nullptr: accepted
        const char* title;
    };
    const Row rows[] = {
        {"  ", "http://a.example/", "Please enter a name for the website", "Enter Name"},
        {"Site", "http://", "Please enter a website URL", "Enter URL"},
        {"Site", "   ", "Please enter a website URL", "Enter URL"},
        {"Site", "ftp://a.example/", "Please enter a website URL", "Enter URL"},
        {"Site", "http://a.example/", nullptr, nullptr},
        // Taken: the menu's own box, and the window still closes.
        {"Site", "https://b.example/", "The name Site is taken.", "Error"},
    };
    auto& dialog = forms::Default<Dialog>();
    for (const Row& row : rows) {
        formstest::Script script;
        if (row.prompt) script->ExpectMsgBox(row.prompt, forms::mb::Exclamation, row.title, forms::answer::Ok);
        bool stayed = false;
        Later([&] {
            EXPECT_EQ(dialog.Text1.Text(), "http://") << "each showing starts from the design";
            dialog.txtWebName.SetText(row.name);
            dialog.Text1.SetText(row.url);
            // Enter in the address box adds, as the OK button does.
            SendMessageA(dialog.Text1.hWnd(), WM_CHAR, VK_RETURN, 0);
            stayed = dialog.IsLoaded();
            if (stayed) dialog.cmdCanclnk.SetValue(true);
        });
        dialog.FraAdd.SetVisible(true);
        dialog.Show(forms::ShowMode::Modal);
        EXPECT_EQ(script->Remaining(), 0u) << row.name;
        const bool refusedHere = row.prompt && std::string(row.title) != "Error";
        EXPECT_EQ(stayed, refusedHere) << row.name;
    }
    EXPECT_EQ(coretest::Items(Form().mnuItems),
              (std::vector<coretest::MenuItem>{{"Site", "http://a.example/"}}));
}

TEST_F(SmallWindows, JpegQualityResultsFollowTheButtonsAndTheKeys) {
    struct Row {
        const char* name;
        std::vector<WPARAM> keys;  // pressed on the slider
        enum { Ok, Cancel, Close } end;
        bool fail;
        std::int32_t value;
        const char* label;  // the label when the window closes
    };
    const Row rows[] = {
        {"before any OK, cancelled", {}, Row::Cancel, true, 0, "Quality Value: 50"},
        {"OK untouched", {}, Row::Ok, false, 50, "Quality Value: 50"},
        {"arrow and page", {VK_RIGHT, VK_NEXT}, Row::Ok, false, 61, "Quality Value: 61"},
        {"past the top end", {VK_END, VK_RIGHT}, Row::Ok, false, 100, "Quality Value: 100"},
        {"close box after an OK", {}, Row::Close, true, 100, "Quality Value: 50"},
        {"moved, then cancelled: the last OK's value", {VK_LEFT}, Row::Cancel, true, 100, "Quality Value: 49"},
    };
    auto& window = forms::Default<frmJpegQual>();
    for (const Row& row : rows) {
        std::string label;
        Later([&] {
            for (const WPARAM key : row.keys) {
                const std::string before = window.lblQualVal.Caption();
                PostMessageA(window.HScroll1.hWnd(), WM_KEYDOWN, key, 0);
                PumpUntil([&] { return window.lblQualVal.Caption() != before; }, 2000);
            }
            label = window.lblQualVal.Caption();
            if (row.end == Row::Ok) window.cmdOK.SetValue(true);
            else if (row.end == Row::Cancel) window.cmdCancel.SetValue(true);
            else CloseBox(window);
        });
        bool fail = !row.fail;
        const std::int32_t value = window.GetQualVal(fail);
        EXPECT_EQ(fail, row.fail) << row.name;
        EXPECT_EQ(value, row.value) << row.name;
        EXPECT_EQ(label, row.label) << row.name;
        EXPECT_FALSE(window.IsLoaded()) << row.name;
    }
}

TEST_F(SmallWindows, TipsBoxStoresEveryChangeAndHoldsDialogOpenOnlyWhileShown) {
    auto& tips = forms::Default<frmTips>();
    int nextTips = 0;
    tips.NextTip = [&] { ++nextTips; };

    // The main window sets the box before showing the window: that loads it hidden.
    tips.chkLoadTipsAtStartup.SetValue(1);
    EXPECT_EQ(Setting("Show Tips at Startup"), "1");
    EXPECT_FALSE(Module1::DialogOpen()) << "loaded hidden";
    EXPECT_NE(tips.Picture().Handle(), nullptr) << "its own picture";

    tips.Show(forms::ShowMode::Modeless, &Form());
    ASSERT_TRUE(PumpUntil([] { return Module1::DialogOpen(); }));
    SendMessageA(tips.chkLoadTipsAtStartup.hWnd(), BM_CLICK, 0, 0);
    EXPECT_EQ(Setting("Show Tips at Startup"), "0");
    tips.cmdNextTip.SetValue(true);
    EXPECT_EQ(nextTips, 1);
    EXPECT_EQ(tips.lblTipText.Caption(), "Tips are displayed here.");

    forms::DeleteSetting("Quillview2", "Options", "Show Tips at Startup");
    tips.cmdExit.SetValue(true);
    EXPECT_FALSE(tips.IsLoaded());
    EXPECT_FALSE(Module1::DialogOpen());
    EXPECT_EQ(Setting("Show Tips at Startup"), "none") << "closing stores nothing";
}

// The tip's picture covers the whole box at any DPI: read from the screen, the client area's corners show the
// picture's own corners, not the form's ground beside a picture left at its design size.
TEST_F(SmallWindows, TipsPictureCoversTheWholeBox) {
    auto& tips = forms::Default<frmTips>();
    tips.Show(forms::ShowMode::Modeless, &Form());
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(tips.hWnd()) != FALSE; }));
    // Wholly on the screen, in front, so that the screen shows all of it.
    SetWindowPos(tips.hWnd(), HWND_TOP, 40, 40, 0, 0, SWP_NOSIZE);
    SetForegroundWindow(tips.hWnd());
    RedrawWindow(tips.hWnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    PumpUntil([] { return false; }, 200);

    BITMAP picture{};
    const HBITMAP bitmap = static_cast<HBITMAP>(tips.Picture().Handle());
    ASSERT_TRUE(GetObjectA(bitmap, sizeof picture, &picture));
    const forms::UniqueDC memory(CreateCompatibleDC(nullptr));
    const HGDIOBJ before = SelectObject(memory.get(), bitmap);
    RECT client{};
    GetClientRect(tips.hWnd(), &client);
    POINT origin{0, 0};
    ClientToScreen(tips.hWnd(), &origin);
    const forms::ScopedGetDC screen(nullptr);
    // Points a few pixels in from the picture's corners, and where the box shows them when the picture
    // covers it.
    const LONG w = picture.bmWidth, h = picture.bmHeight;
    const std::pair<const char*, POINT> corners[] = {
        {"top right", {w - 5, 4}}, {"bottom left", {4, h - 5}}, {"bottom right", {w - 5, h - 5}}};
    const auto difference = [&](POINT at) {
        const COLORREF want = GetPixel(memory.get(), at.x, at.y);
        const COLORREF shown = GetPixel(screen.get(), origin.x + MulDiv(at.x, client.right, w),
                                        origin.y + MulDiv(at.y, client.bottom, h));
        return std::max({std::abs(GetRValue(want) - GetRValue(shown)), std::abs(GetGValue(want) - GetGValue(shown)),
                         std::abs(GetBValue(want) - GetBValue(shown))});
    };
    // On a busy machine the screen can show the paint a little later, and a window of a test running beside
    // this one can come over the box: it is brought forward again while its corners do not show yet.
    PumpUntil([&] {
        for (const auto& corner : corners) {
            if (difference(corner.second) > 20) {
                SetForegroundWindow(tips.hWnd());
                return false;
            }
        }
        return true;
    }, 3000);
    for (const auto& [name, at] : corners) {
        EXPECT_LE(difference(at), 20) << name << ": picture " << std::hex << GetPixel(memory.get(), at.x, at.y)
                                      << ", box "
                                      << GetPixel(screen.get(), origin.x + MulDiv(at.x, client.right, w),
                                                  origin.y + MulDiv(at.y, client.bottom, h));
    }
    SelectObject(memory.get(), before);
    tips.cmdExit.SetValue(true);
}

TEST(AboutRegion, WholeTwipsOverWholeTwipsPerPixel) {
    struct Row {
        float w, h, tppx, tppy;
        LONG cx, cy;
    };
    for (const Row& r : {Row{6495, 4470, 15, 15, 433, 298}, Row{6495, 4470, 10, 10, 649, 447},
                         Row{6495.6f, 4470, 15, 15, 433, 298}, Row{6495, 4470, 12, 12, 541, 372}}) {
        const SIZE s = frmAbout::RegionSize(r.w, r.h, r.tppx, r.tppy);
        EXPECT_EQ(s.cx, r.cx) << r.tppx;
        EXPECT_EQ(s.cy, r.cy) << r.tppy;
    }
}

TEST_F(SmallWindows, AboutBoxShowsItsRegionVersionAndLink) {
    auto& about = forms::Default<frmAbout>();
    qvtest::ShellOpenRecorder shell;
    formstest::Script script;
    script->ExpectMsgBox("The Quillview Update executable file 'qvupdate.exe' could not be found!\r\n\r\nPlease "
                         "reinstall Quillview!",
                         forms::mb::Critical, "Quillview Update cannot launch!", forms::answer::Ok);
    int regionKind = ERROR;
    bool sameRegion = false;
    bool held = false, stayed = false;
    forms::OleColor over = 0, away = 0;
    std::string version;
    Later([&] {
        HRGN probe = CreateRectRgn(0, 0, 0, 0);
        regionKind = GetWindowRgn(about.hWnd(), probe);
        const SIZE size = frmAbout::RegionSize(6495, 4470, forms::Screen().TwipsPerPixelX(),
                                               forms::Screen().TwipsPerPixelY());
        // Inside and outside points of a 64-pixel rounded corner and of the window's edges.
        const POINT in[] = {{size.cx / 2, 1}, {20, 20}, {size.cx - 2, size.cy / 2}, {size.cx / 2, size.cy - 2}};
        const POINT out[] = {{4, 4}, {size.cx - 5, 4}, {4, size.cy - 5}, {size.cx, size.cy / 2}, {size.cx / 2, size.cy}};
        sameRegion = true;
        for (const POINT p : in) sameRegion = sameRegion && PtInRegion(probe, p.x, p.y);
        for (const POINT p : out) sameRegion = sameRegion && !PtInRegion(probe, p.x, p.y);
        DeleteObject(probe);
        held = Module1::DialogOpen();
        version = about.Label8.Caption();
        // The pointer over the link, then over the form.
        const RECT link = about.Label2.PixelRect();
        const LPARAM onLink = MAKELPARAM((link.left + link.right) / 2, (link.top + link.bottom) / 2);
        SendMessageA(about.hWnd(), WM_MOUSEMOVE, 0, onLink);
        over = about.Label2.ForeColor();
        SendMessageA(about.hWnd(), WM_MOUSEMOVE, 0, MAKELPARAM(2, link.bottom + 40));
        away = about.Label2.ForeColor();
        SendMessageA(about.hWnd(), WM_LBUTTONDOWN, MK_LBUTTON, onLink);
        SendMessageA(about.hWnd(), WM_LBUTTONUP, 0, onLink);
        about.cmdUpdate.SetValue(true);  // no update program in this program folder
        stayed = about.IsLoaded();
        about.Command1.SetValue(true);
    });
    about.Show(forms::ShowMode::Modal);

    EXPECT_EQ(regionKind, COMPLEXREGION) << "rounded, not a plain rectangle";
    EXPECT_TRUE(sameRegion) << "the window's size in whole pixels, 64-pixel corners";
    EXPECT_TRUE(held);
    EXPECT_FALSE(Module1::DialogOpen());
    EXPECT_EQ(version, "Quillview " + std::to_string(forms::App::Major()) + "." +
                           std::to_string(forms::App::Minor()) + "." + std::to_string(forms::App::Revision()));
    EXPECT_EQ(over, frmAbout::kLinkHotColour);
    EXPECT_EQ(away, frmAbout::kLinkColour);
    ASSERT_EQ(shell.opened.size(), 1u);
    EXPECT_EQ(shell.opened[0].verb, "Open");
    EXPECT_EQ(shell.opened[0].file, "http://www.orvane.example/");
    EXPECT_EQ(shell.opened[0].directory, forms::App::Path());
    EXPECT_TRUE(stayed) << "the box stays after the update button";
    EXPECT_EQ(script->Remaining(), 0u);
}

// The logo's tagline, stretched across the banner, ends inside the rounded box: read from the screen, the
// box's right edge along the tagline's rows shows the banner's dark ground only.
TEST_F(SmallWindows, AboutBoxShowsTheWholeTaglineInsideItsRightEdge) {
    auto& about = forms::Default<frmAbout>();
    formstest::Script script;
    int brightest = -1;
    Later([&] {
        RedrawWindow(about.hWnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        RECT window{};
        GetWindowRect(about.hWnd(), &window);
        const RECT banner = about.Image1.PixelRect();
        const int bandHeight = banner.bottom - banner.top;
        const forms::ScopedGetDC screen(nullptr);
        // The tagline's rows: the banner's lower half, above the maker's line.
        for (int y = banner.top + bandHeight * 55 / 100; y < banner.top + bandHeight * 85 / 100; ++y) {
            for (int x = window.right - window.left - 8; x < window.right - window.left - 1; ++x) {
                const COLORREF c = GetPixel(screen.get(), window.left + x, window.top + y);
                brightest = std::max(brightest, (GetRValue(c) + GetGValue(c) + GetBValue(c)) / 3);
            }
        }
        about.Command1.SetValue(true);
    });
    about.Show(forms::ShowMode::Modal);
    EXPECT_GE(brightest, 0) << "the box was read";
    EXPECT_LT(brightest, 140) << "a letter of the tagline at the box's right edge";
}

TEST_F(SmallWindows, StudioPreviewClosesOrOpensTheImagingSite) {
    struct Row {
        const char* name;
        std::function<void(frmQVSadvert&)> act;
        bool opens;
        bool shellSucceeds;
    };
    const Row rows[] = {
        {"Exit Preview", [](frmQVSadvert& a) { a.cmdCancel.SetValue(true); }, false, true},
        {"Esc", [](frmQVSadvert& a) { PostMessageA(a.cmdQVWebsite.hWnd(), WM_KEYDOWN, VK_ESCAPE, 0); }, false, true},
        {"Visit Website", [](frmQVSadvert& a) { a.cmdQVWebsite.SetValue(true); }, true, true},
        // No browser: nothing to tell, and the box closes all the same.
        {"Visit Website, no browser", [](frmQVSadvert& a) { a.cmdQVWebsite.SetValue(true); }, true, false},
    };
    auto& advert = forms::Default<frmQVSadvert>();
    for (const Row& row : rows) {
        qvtest::ShellOpenRecorder shell;
        shell.succeed = row.shellSucceeds;
        formstest::Script script;  // no box of any kind
        bool held = false, bordered = true, pictured = false;
        HWND window = nullptr;
        Later([&] {
            window = advert.hWnd();
            held = Module1::DialogOpen();
            bordered = (GetWindowLongPtrA(window, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME | WS_BORDER)) != 0;
            pictured = advert.Picture().Handle() != nullptr;
            row.act(advert);
        });
        advert.Show(forms::ShowMode::Modal);
        EXPECT_FALSE(advert.IsLoaded()) << row.name;
        EXPECT_TRUE(held) << row.name;
        EXPECT_FALSE(Module1::DialogOpen()) << row.name;
        EXPECT_FALSE(bordered) << row.name;
        EXPECT_TRUE(pictured) << row.name;
        ASSERT_EQ(shell.opened.size(), row.opens ? 1u : 0u) << row.name;
        if (!row.opens) continue;
        EXPECT_EQ(shell.opened[0].verb, "Open");
        EXPECT_EQ(shell.opened[0].file, "http://www.vividimaging.example/");
        EXPECT_EQ(shell.opened[0].parameters, "");
        EXPECT_EQ(shell.opened[0].directory, forms::App::Path());
        EXPECT_EQ(shell.opened[0].show, SW_SHOWNORMAL);
        EXPECT_EQ(shell.opened[0].owner, window) << "the box is the shell's parent";
    }
}

class Browse : public SmallWindows {
protected:
    Browse() {
        start_ = temp_ / "Start";
        favourite_ = temp_ / "Fav";
        CreateDirectoryA(start_.c_str(), nullptr);
        CreateDirectoryA(favourite_.c_str(), nullptr);
        auto& favs = Form().mnuFav1;
        favs(0).SetCaption("Pictures");
        favs(0).SetTag(favourite_);
        favs(0).SetEnabled(true);
        favs.Load(1);
        favs(1).SetCaption("Gone");
        favs(1).SetTag(temp_ / "Gone");
    }
    const qvtest::Apartment apartment_;
    std::string start_, favourite_;
};

TEST_F(Browse, ResultsFollowTheButtonsAndTheFavourites) {
    struct Row {
        const char* name;
        std::function<void(frmBrowse&)> act;
        bool result;
        bool atFavourite;  // else the start folder
    };
    const Row rows[] = {
        {"OK untouched", [](frmBrowse& b) { b.Command2.SetValue(true); }, true, false},
        {"Cancel", [](frmBrowse& b) { b.Command1.SetValue(true); }, false, false},
        {"close box", [](frmBrowse& b) { PostMessageA(b.hWnd(), WM_CLOSE, 0, 0); }, false, false},
        {"favourite, OK",
         [](frmBrowse& b) {
             b.lstFavs.SetListIndex(0);
             b.Command2.SetValue(true);
         },
         true, true},
        {"vanished favourite, OK",
         [](frmBrowse& b) {
             b.lstFavs.SetListIndex(1);
             b.Command2.SetValue(true);
         },
         true, false},
    };
    auto& browse = forms::Default<frmBrowse>();
    for (const Row& row : rows) {
        bool held = false;
        std::string prompt;
        Later([&] {
            held = Module1::DialogOpen();
            prompt = browse.Label1.Caption();
            row.act(browse);
        });
        std::string dest = "unchanged";
        const bool result = browse.ShowBrowse(&Form(), "Please select where", start_, &dest);
        EXPECT_EQ(result, row.result) << row.name;
        EXPECT_EQ(lstrcmpiA(dest.c_str(), (row.atFavourite ? favourite_ : start_).c_str()), 0)
            << row.name << ": " << dest;
        EXPECT_TRUE(held) << row.name;
        EXPECT_EQ(prompt, "Please select where") << row.name;
        EXPECT_FALSE(Module1::DialogOpen()) << row.name;
    }
}

TEST_F(Browse, PlaceholderListIsDisabledAndTheHeaderFollowsTheSpelling) {
    Form().mnuFav1.Unload(1);
    auto& favs = Form().mnuFav1;
    favs(0).SetCaption("No Favourites");
    favs(0).SetTag("");
    Module1::gAmericanSpelling = true;
    auto& browse = forms::Default<frmBrowse>();
    bool enabled = true;
    std::string header, entry;
    Later([&] {
        enabled = browse.lstFavs.Enabled();
        header = browse.Label3.Caption();
        entry = browse.lstFavs.List(0);
        browse.Command1.SetValue(true);
    });
    browse.ShowBrowse(&Form(), "Move", start_);
    EXPECT_FALSE(enabled);
    EXPECT_EQ(header, "Favorites");
    EXPECT_EQ(entry, "No Favourites");
}

}  // namespace
