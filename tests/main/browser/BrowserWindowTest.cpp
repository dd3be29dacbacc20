// The main window's own controls, on the real window in front: the browser-tools panel and its splitter, the
// caption bar, the scroll bars, the mouse modes over the picture and the GIF hand-over. Mouse input goes
// through SendInput where the behaviour is input.
#include "main/core/clsIface.h"
#include "main/windows/frmFullscn.h"
#include "main/windows/frmTips.h"
#include "tests/main/TestBitmap.h"
#include "tests/main/browser/ShownWindowFixture.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

using comctltest::PumpUntil;

void Mouse(POINT screen, DWORD flags) {
    SetCursorPos(screen.x, screen.y);
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;  // no MOUSEEVENTF_MOVE: the pointer stays where SetCursorPos put it
    SendInput(1, &in, sizeof in);
    comctltest::Settle();
}

void Press(POINT screen) { Mouse(screen, MOUSEEVENTF_LEFTDOWN); }
void Release(POINT screen) { Mouse(screen, MOUSEEVENTF_LEFTUP); }
void MoveTo(POINT screen) { comctltest::MoveTo(screen); }

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

using browsertest::Window;

clsIface& Iface() { return *Window().mInterface; }

class BrowserWindow : public browsertest::ShownWindow {
protected:
    BrowserWindow() : ShownWindow("BrowserWindow") {}
    void SetUp() override {
        Window().CursorMode = 0;
        Window().DragDivisor = 20;
        ShownWindow::SetUp();
        if (HasFatalFailure()) return;
        // The panel shown at 200 pixels, docked left, Fileseek closed.
        Iface().SetBrowserToolsWidth(200);
        Iface().SetFileseekToggle(1);
        Iface().SetBrowserTools(0);
        Iface().SetBrowserToolsDockMode(0);
    }

    // A point of the window's client area on the screen.
    static POINT OnWindow(float x, float y) {
        POINT p{static_cast<LONG>(x), static_cast<LONG>(y)};
        ClientToScreen(Window().hWnd(), &p);
        return p;
    }
    // A point of the picture box on the screen, in its own pixels.
    static POINT OnPicture(float x, float y) {
        POINT p{static_cast<LONG>(x), static_cast<LONG>(y)};
        ClientToScreen(Window().Image1.hWnd(), &p);
        return p;
    }

    // Presses on the splitter, moves to client x (when given) and releases there.
    static void DragSplitter(std::optional<float> toX) {
        frmQuillview& w = Window();
        const float y = w.imgSplitter.Top() + 40;
        // The splitter shows only in the gap between the panel and the view's controls.
        POINT from{};
        for (float x = w.imgSplitter.Left(); x < w.imgSplitter.Left() + 10; ++x) {
            from = OnWindow(x, y);
            POINT client{static_cast<LONG>(x), static_cast<LONG>(y)};
            if (ChildWindowFromPointEx(w.hWnd(), client, CWP_SKIPINVISIBLE) == w.hWnd()) break;
        }
        MoveTo(from);
        Press(from);
        ASSERT_TRUE(PumpUntil([&] { return w.SplitterDragging; }, 3000));
        POINT to = from;
        if (toX) {
            to = OnWindow(*toX, y);
            MoveTo(to);
        }
        Release(to);
        ASSERT_TRUE(PumpUntil([&] { return !w.SplitterDragging; }, 3000));
    }

    // Image1 shows a picture of the size given, in Actual Size, as the loader leaves it.
    void ShowPicture(int width, int height, const std::string& name = "picture.bmp") {
        const std::string path = folder_ / name;
        ASSERT_TRUE(qvtest::WriteBitmap(path, width, height));
        frmQuillview& w = Window();
        w.Image1.SetPicture(forms::LoadPicture(path));
        Module1::gImageWidth = width;
        Module1::gImageHeight = height;
        Module1::gCurrentImagePath = path;
        w.mnuStatus.SetEnabled(true);
        w.ActualSizeImage();
    }
};

// ---- The splitter ----

TEST_F(BrowserWindow, SplitterDragsWithinItsLimits) {
    struct Case {
        const char* what;
        int dock;
        float toX;                               // client x of the release; < 0: as far from the right edge
        float expectedWidth;                     // the panel's width after the release; < 0: 90 % of SW, less 4
    };
    const Case cases[] = {
        {"left, inside the limits", 0, 300, 296},
        {"left, below the minimum", 0, 60, 146},
        {"left, beyond 90 %", 0, 2000, -1},
        {"right, closer than 150 to the edge", 1, -60, 146},
        {"right, inside the limits", 1, -400, 396},
    };
    for (const Case& c : cases) {
        frmQuillview& w = Window();
        Iface().SetBrowserToolsWidth(200);
        Iface().SetBrowserTools(1);
        Iface().SetBrowserTools(0);
        Iface().SetBrowserToolsDockMode(c.dock);
        const float sw = w.ScaleWidth();
        const float toX = c.toX < 0 ? sw + c.toX : std::min(c.toX, sw - 5);
        DragSplitter(toX);
        const float expected = c.expectedWidth < 0 ? sw / 100 * 90 - 4 : c.expectedWidth;
        EXPECT_NEAR(w.FraFiles.Width(), expected, 0.01) << c.what;
        EXPECT_FALSE(w.picSplitter.Visible()) << c.what;
        EXPECT_EQ(w.ActiveControl(), &w.File1) << c.what;
        if (c.dock == 1) {
            EXPECT_NEAR(w.FraFiles.Left(), sw - expected - 2, 0.01) << c.what;
        }
    }
}

TEST_F(BrowserWindow, AClickOnTheSplitterLeavesTheWidth) {
    for (int dock : {0, 1}) {
        Iface().SetBrowserToolsDockMode(dock);
        const float before = Window().FraFiles.Width();
        DragSplitter(std::nullopt);
        DragSplitter(std::nullopt);
        EXPECT_EQ(Window().FraFiles.Width(), before) << "dock " << dock;
    }
}

// The pointer on the splitter's own left edge records no limit: the release keeps the bar where it was drawn.
TEST_F(BrowserWindow, AReleaseOnTheSplitterEdgeKeepsTheBar) {
    frmQuillview& w = Window();
    const float tx = forms::Screen().TwipsPerPixelX();
    w.imgSplitter_MouseDown(1, 0, 75, 600);
    w.imgSplitter_MouseMove(1, 0, -40 * tx, 600);  // 40 pixels left of the splitter
    const float drawn = w.picSplitter.Left();
    w.imgSplitter_MouseMove(1, 0, 0, 600);
    EXPECT_TRUE(w.SplitterAtLimit);
    w.imgSplitter_MouseUp(1, 0, 0, 600);
    EXPECT_NEAR(w.FraFiles.Width(), drawn - 4, 0.01);
}

// ---- The panel's commands and caption bar ----

TEST_F(BrowserWindow, HidingAndShowingKeepThePanelWidth) {
    frmQuillview& w = Window();
    w.FraFiles.SetWidth(230);
    w.mnuBrowseTools_Click();
    EXPECT_EQ(w.FraFiles.Width(), 0);
    EXPECT_FALSE(w.mnuBrowseTools.Checked());
    EXPECT_FALSE(w.imgSplitter.Visible());
    EXPECT_FALSE(w.mnuBTDock.Enabled());
    // A change of the browser mode while hidden runs the same handler again: the width must survive it.
    Iface().SetBrowserMode(Iface().BrowserMode() == 0 ? 1 : 0);
    w.mnuBrowseTools_Click();
    EXPECT_EQ(w.FraFiles.Width(), 230);
    EXPECT_TRUE(w.mnuBrowseTools.Checked());
    EXPECT_TRUE(w.imgSplitter.Visible());
    w.SoftBttn1_Click();
    EXPECT_EQ(Iface().BrowserTools(), 1);
}

TEST_F(BrowserWindow, TheDockItemOffersTheOtherSide) {
    frmQuillview& w = Window();
    EXPECT_EQ(w.mnuBTDock.Caption(), "Dock Browser Right");
    w.FraFiles.SetWidth(240);
    w.sbtToggleDock_Click();
    EXPECT_EQ(Iface().BrowserToolsDockMode(), 1);
    EXPECT_EQ(Iface().BrowserToolsWidth(), 240);
    EXPECT_EQ(w.mnuBTDock.Caption(), "Dock Browser Left");
    EXPECT_NEAR(w.FraFiles.Left(), w.ScaleWidth() - 240 - 2, 0.01);
    EXPECT_EQ(w.ActiveControl(), &w.File1);
    w.mnuBTDock_Click();
    EXPECT_EQ(w.mnuBTDock.Caption(), "Dock Browser Right");
    EXPECT_EQ(w.FraFiles.Left(), 2);
}

TEST_F(BrowserWindow, FileseekOpensOnTheSearchBoxAndClosesWhole) {
    frmQuillview& w = Window();
    w.mnuFileseekToggle_Click();
    EXPECT_TRUE(w.mnuFileseekToggle.Checked());
    EXPECT_EQ(w.ActiveControl(), &w.txtSearch);
    w.sbtCloseFileseek_Click();
    EXPECT_FALSE(w.mnuFileseekToggle.Checked());
    for (forms::Control* c : std::initializer_list<forms::Control*>{&w.List1, &w.txtSearch, &w.sbtCloseFileseek,
                                                                    &w.lblBTFiles2, &w.Label3,
                                                                    &w.imgBrowserTools(2)}) {
        EXPECT_FALSE(c->Visible()) << c->Name();
    }
}

TEST_F(BrowserWindow, CaptionBarClicksAndHighlights) {
    frmQuillview& w = Window();
    w.mnuFileseekToggle_Click();
    // A click on the Fileseek caption (a label, through the mouse) goes to the search box; on the tree's
    // caption, to the tree.
    const RECT fileseek = w.Label3.PixelRect();
    POINT at{(fileseek.left + fileseek.right) / 2, (fileseek.top + fileseek.bottom) / 2};
    ClientToScreen(w.FraFiles.hWnd(), &at);
    w.File1.SetFocus();
    EXPECT_TRUE(comctltest::ClickUntil(at, [&] { return w.ActiveControl() == &w.txtSearch; }));
    w.lblBTCap_Click();
    EXPECT_EQ(w.ActiveControl(), &w.ftvDirs);
    w.imgBrowserTools_Click(2);
    EXPECT_EQ(w.ActiveControl(), &w.txtSearch);
    w.imgBrowserTools_Click(0);
    EXPECT_EQ(w.ActiveControl(), &w.ftvDirs);

    struct Case {
        forms::SoftButton* button;
        forms::Label* bar;
    };
    for (const Case& c : {Case{&w.SoftBttn1, &w.lblBTfiles}, Case{&w.stbBTRefresh, &w.lblBTfiles},
                          Case{&w.sbtToggleDock, &w.lblBTfiles}, Case{&w.sbtCloseFileseek, &w.lblBTFiles2}}) {
        c.button->SetFocus();
        EXPECT_EQ(c.bar->BackColor(), forms::color::ActiveCaption) << c.button->Name();
        w.Picture1.SetFocus();
        EXPECT_EQ(c.bar->BackColor(), forms::color::InactiveCaption) << c.button->Name();
    }
}

TEST_F(BrowserWindow, CopyIsOffForIconsOnly) {
    const struct {
        const char* text;
        bool copy;
    } cases[] = {{"ico", false}, {"ICO", false}, {"Ico", true}, {"bmp", true}, {"", true}};
    frmQuillview& w = Window();
    for (const auto& c : cases) {
        w.Text1.SetText("xyz");
        w.Text1.SetText(c.text);
        EXPECT_EQ(w.mnuCopy.Enabled(), c.copy) << c.text;
    }
}

// ---- Scrolling ----

TEST_F(BrowserWindow, TheBarsMoveThePictureAndGiveTheFocusAway) {
    frmQuillview& w = Window();
    ShowPicture(1500, 1200);
    ASSERT_TRUE(w.HScroll1.Enabled());
    ASSERT_TRUE(w.VScroll1.Enabled());
    w.HScroll1.SetValue(30);
    w.VScroll1.SetValue(45);
    EXPECT_EQ(w.Image1.Left(), -30);
    EXPECT_EQ(w.Image1.Top(), -45);
    // The bar's right arrow, clicked: one small step, and the focus ends on the view.
    RECT bar{};
    GetClientRect(w.HScroll1.hWnd(), &bar);
    POINT arrow{bar.right - GetSystemMetrics(SM_CXHSCROLL) / 2, (bar.top + bar.bottom) / 2};
    ClientToScreen(w.HScroll1.hWnd(), &arrow);
    EXPECT_TRUE(comctltest::ClickUntil(arrow, [&] { return w.HScroll1.Value() > 30; }));
    EXPECT_EQ(w.HScroll1.Value(), 50);
    EXPECT_EQ(w.Image1.Left(), -50);
    EXPECT_TRUE(PumpUntil([&] { return w.ActiveControl() == &w.Picture1; }, 2000));
}

// ---- Mouse modes ----

TEST_F(BrowserWindow, DragStepsAreTheDistanceOverTheDivisor) {
    frmQuillview& w = Window();
    ShowPicture(1500, 1200);
    const std::int32_t max = w.VScroll1.Max();
    const struct {
        const char* what;
        std::int32_t start;
        float dy;
        int button;
        std::int32_t expected;
    } cases[] = {
        {"45 below", 10, 45, 1, 8},
        {"19 below", 10, 19, 1, 10},
        {"45 above", 10, -45, 1, 12},
        {"past the top: refused", 1, 45, 1, 1},
        {"past the end: refused", max - 1, -45, 1, max - 1},
        {"right button", 10, 45, 2, 10},
        {"both buttons", 10, 45, 3, 10},
    };
    w.mnuDrag_Click();
    for (const auto& c : cases) {
        w.VScroll1.SetValue(c.start);
        w.Image1_MouseDown(1, 0, 100, 100);
        w.Image1_MouseMove(c.button, 0, 100, 100 + c.dy);
        EXPECT_EQ(w.VScroll1.Value(), c.expected) << c.what;
        EXPECT_EQ(w.Image1.Top(), -c.expected) << c.what;
    }
    w.HScroll1.SetValue(10);
    w.Image1_MouseDown(1, 0, 100, 100);
    w.Image1_MouseMove(1, 0, 145, 100);
    EXPECT_EQ(w.HScroll1.Value(), 8);
}

TEST_F(BrowserWindow, DraggingWithTheMousePansThePicture) {
    frmQuillview& w = Window();
    ShowPicture(1500, 1200);
    w.mnuDrag_Click();
    w.VScroll1.SetValue(200);
    w.HScroll1.SetValue(200);
    const POINT from = OnPicture(250, 250);
    MoveTo(from);
    Press(from);
    MoveTo(OnPicture(310, 310));
    EXPECT_TRUE(PumpUntil([&] { return w.VScroll1.Value() < 200; }, 2000));
    Release(OnPicture(310, 310));
    EXPECT_LT(w.HScroll1.Value(), 200);
    EXPECT_EQ(w.Image1.Top(), -w.VScroll1.Value());
}

TEST_F(BrowserWindow, CropDrawsTheRectangleAndItsSize) {
    frmQuillview& w = Window();
    ShowPicture(400, 300);
    w.mnuCrop_Click();
    const POINT from = OnPicture(10, 10);
    MoveTo(from);
    Press(from);
    MoveTo(OnPicture(110, 60));
    ASSERT_TRUE(PumpUntil([&] { return w.lblSelSize.Visible(); }, 2000));
    Release(OnPicture(110, 60));
    EXPECT_TRUE(w.Shape1.Visible());
    EXPECT_EQ(w.lblSelSize.Caption(), "100x50");
    EXPECT_EQ(w.lblSelSize.Left(), 119);
    EXPECT_EQ(w.lblSelSize.Top(), 69);

    // Past the picture's right edge the rectangle ends on it; back left of the press point it keeps its width.
    w.Image1_MouseMove(1, 0, 450, 60);
    EXPECT_EQ(w.Shape1.Width(), 390);
    w.Image1_MouseMove(1, 0, 5, 60);
    EXPECT_EQ(w.Shape1.Width(), 390);
    // A right-button press starts no selection.
    w.Image1_MouseDown(2, 0, 200, 200);
    EXPECT_EQ(w.Shape1.Left(), 10);
    EXPECT_TRUE(w.Shape1.Visible());
}

TEST_F(BrowserWindow, CropScrollsByATenthOfTheOverhang) {
    frmQuillview& w = Window();
    ShowPicture(1500, 1200);
    w.mnuCrop_Click();
    w.Image1_MouseDown(1, 0, 10, 10);
    const float x = w.Picture1.Width() + 100;
    w.Image1_MouseMove(1, 0, x, 20);
    EXPECT_EQ(w.HScroll1.Value(), 10);
    EXPECT_EQ(w.VScroll1.Value(), 0);
}

TEST_F(BrowserWindow, TheViewMenuPopsUpOnARightRelease) {
    frmQuillview& w = Window();
    ShowPicture(400, 300);
    const struct {
        const char* what;
        int mode;
        bool logo;
        bool information;
        bool popup;
    } cases[] = {
        {"normal", 0, false, true, true},
        {"drag", 3, false, true, true},
        {"zoom", 2, false, true, false},
        {"logo", 0, true, true, false},
        {"no picture", 0, false, false, false},
    };
    for (const auto& c : cases) {
        w.CursorMode = c.mode;
        w.SetLogoShown(c.logo);
        w.mnuStatus.SetEnabled(c.information);
        bool seen = false;
        comctltest::Later([&] {
            if (HWND menu = FindWindowA("#32768", nullptr); menu && IsWindowVisible(menu)) {
                seen = true;
                EndMenu();
            }
        }, 300);
        comctltest::ClickAt(OnPicture(50, 50), MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
        PumpUntil([&] { return seen; }, 600);
        EXPECT_EQ(seen, c.popup) << c.what;
    }
}

TEST_F(BrowserWindow, ADoubleClickOpensTheViewer) {
    frmQuillview& w = Window();
    ShowPicture(400, 300);
    bool opened = false;
    comctltest::Later([&] {
        opened = forms::Default<frmFullscn>().Visible();
        forms::Default<frmFullscn>().Unload();
    }, 300);
    comctltest::DoubleClickAt(OnPicture(50, 50));
    EXPECT_TRUE(PumpUntil([&] { return opened; }, 3000));
    EXPECT_FALSE(forms::Default<frmFullscn>().IsLoaded());

    // Without a picture there is nothing to view.
    w.mnuStatus.SetEnabled(false);
    w.Image1_DblClick();
    EXPECT_FALSE(forms::Default<frmFullscn>().IsLoaded());
}

// ---- The GIF hand-over ----

TEST_F(BrowserWindow, AnAnimatedGifIsLoadedOnceWhileUnchanged) {
    const char* data = std::getenv("QV_ANIGIF_DATA");
    ASSERT_NE(data, nullptr);
    const std::string bytes = ReadFile(std::string(data) + "/three.gif");
    ASSERT_FALSE(bytes.empty());
    folder_.Write("a.gif", bytes);
    folder_.Write("b.gif", bytes);
    frmQuillview& w = Window();
    const auto show = [&](const std::string& name, std::int32_t kind87a, bool animate87a) {
        const std::string path = folder_ / name;
        w.Image1.SetPicture(forms::LoadPicture(path));
        Module1::gImageWidth = 8;
        Module1::gImageHeight = 8;
        Module1::gCurrentImagePath = path;
        Module1::gGif87a = kind87a;
        Module1::gAnimateGif87a = animate87a;
        w.ActualSizeImage();
    };
    // The control's text is cleared only before a load: a marker left in it tells whether it loaded again.
    const auto loadedAgain = [&] { return w.aniImg.Text().empty(); };

    show("a.gif", 0, true);
    EXPECT_TRUE(w.aniImg.Visible());
    EXPECT_FALSE(w.Image1.Visible());
    EXPECT_TRUE(w.aniImg.Playing());
    EXPECT_EQ(w.aniImg.Left(), w.Image1.Left());
    EXPECT_EQ(w.aniImg.Width(), 8);

    w.aniImg.SetText("marker");
    show("a.gif", 0, true);
    EXPECT_FALSE(loadedAgain()) << "the same file, unchanged";
    EXPECT_TRUE(w.aniImg.Visible());

    // Rewritten under the same name, with a later write time.
    FILETIME later{};
    GetSystemTimeAsFileTime(&later);
    const HANDLE file = CreateFileA((folder_ / "a.gif").c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0,
                                    nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    ULARGE_INTEGER t{{later.dwLowDateTime, later.dwHighDateTime}};
    t.QuadPart += 10'000'000ULL * 60;
    later = {t.LowPart, t.HighPart};
    SetFileTime(file, nullptr, nullptr, &later);
    CloseHandle(file);
    w.aniImg.SetText("marker");
    show("a.gif", 0, true);
    EXPECT_TRUE(loadedAgain()) << "rewritten";

    w.aniImg.SetText("marker");
    show("b.gif", 0, true);
    EXPECT_TRUE(loadedAgain()) << "another file";

    // The scroll bars move the animation while it shows the picture.
    show("b.gif", 0, true);
    w.HScroll1.SetEnabled(true);
    w.HScroll1.SetMax(100);
    const float pictureLeft = w.Image1.Left();
    w.HScroll1.SetValue(30);
    EXPECT_EQ(w.aniImg.Left(), -30);
    EXPECT_EQ(w.Image1.Left(), pictureLeft);
    w.HScroll1.SetValue(0);

    // An 87a file while their animation is off, and then a picture of another kind: shown still.
    show("b.gif", 1, false);
    EXPECT_TRUE(w.Image1.Visible());
    EXPECT_FALSE(w.aniImg.Visible());
    EXPECT_FALSE(w.aniImg.Playing());
    show("a.gif", 0, true);
    ShowPicture(20, 10);
    EXPECT_TRUE(w.Image1.Visible());
    EXPECT_FALSE(w.aniImg.Visible());
    EXPECT_FALSE(w.aniImg.Playing());
}

// ---- The tips window ----

TEST_F(BrowserWindow, TipsGoToTheTipsWindow) {
    folder_.Write("tips.txt", "one\r\ntwo\r\n");
    frmQuillview& w = Window();
    float next = 0.6f;
    w.TipRandom = [&] { return next; };
    ASSERT_TRUE(w.LoadTips(folder_ / "tips.txt"));
    frmTips& tips = forms::Default<frmTips>();
    EXPECT_EQ(tips.lblTipText.Caption(), "two");
    next = 0.1f;
    tips.cmdNextTip.Click();
    EXPECT_EQ(tips.lblTipText.Caption(), "one");
    tips.Unload();
    w.TipRandom = nullptr;
    w.Tips.clear();
}

}  // namespace
