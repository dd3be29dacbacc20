// The picture area on the real window in front: the pixels each display mode puts on the window, tiling with
// nothing to repeat, the stored back colour; and the tip of the day from the program folder's tips file.
#include "main/browser/FileSelection.h"
#include "main/windows/frmTips.h"
#include "platform/forms/Clipboard.h"
#include "tests/main/TestBitmap.h"
#include "tests/main/browser/ShownWindowFixture.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace {

using browsertest::Window;

// What a window shows once it has painted, read from a device context of its client area that takes in its
// child windows too.
class ShownPixels {
public:
    explicit ShownPixels(HWND hwnd) : hwnd_(hwnd) {
        RedrawWindow(GetAncestor(hwnd, GA_ROOT), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        GdiFlush();
        dc_ = GetDCEx(hwnd, nullptr, DCX_CACHE);
    }
    ~ShownPixels() { ReleaseDC(hwnd_, dc_); }
    ShownPixels(const ShownPixels&) = delete;
    ShownPixels& operator=(const ShownPixels&) = delete;

    COLORREF At(int x, int y) const { return GetPixel(dc_, x, y) & 0xFFFFFF; }

private:
    HWND hwnd_;
    HDC dc_ = nullptr;
};

// The program folder is the test's: the tips file is looked for there.
class PictureArea : public browsertest::ShownWindow {
protected:
    PictureArea() : ShownWindow("PictureArea", ProgramFolder::TheTestsFolder) {}
    void TearDown() override {
        ShownWindow::TearDown();
        forms::Default<frmTips>().Unload();
    }

    // Image1 holds the picture file as the loader leaves it; the display mode is not applied yet.
    void Load(const std::string& name, int width, int height, const std::function<std::uint32_t(int, int)>& colour) {
        const std::string path = folder_ / name;
        ASSERT_TRUE(qvtest::WritePixels(path, width, height, colour));
        frmQuillview& w = Window();
        w.Image1.SetPicture(forms::LoadPicture(path));
        Module1::gImageWidth = width;
        Module1::gImageHeight = height;
        Module1::gCurrentImagePath = path;
    }

    // A click on the file list's entry of that name, in the folder the list shows.
    static void Choose(const std::string& name) {
        frmQuillview& w = Window();
        for (int i = 0; i < w.File1.ListCount(); ++i) {
            if (w.File1.List(i) == name) w.File1.SetListIndex(i);
        }
        ASSERT_EQ(w.Caption(), "Quillview - " + name);
    }
};

COLORREF Pattern(int x, int y) { return RGB((x * 37) & 0xFF, (y * 53) & 0xFF, ((x + y) * 29) & 0xFF); }

TEST_F(PictureArea, ActualSizeShowsEveryPixelAsTheFileHasIt) {
    Load("pattern.bmp", 23, 17, Pattern);
    frmQuillview& w = Window();
    w.ActualSizeImage();
    const ShownPixels screen(w.Image1.hWnd());
    for (int y = 0; y < 17; ++y) {
        for (int x = 0; x < 23; ++x) {
            ASSERT_EQ(screen.At(x, y), Pattern(x, y)) << "at " << x << ", " << y;
        }
    }
}

// Window rectangles are kept within 16 bits by the system, so a picture wider or taller than that must still
// come on screen to its last columns and rows, and a press on it must still say where on the picture it is.
TEST_F(PictureArea, AVeryLargePictureScrollsToItsFarEdge) {
    constexpr int kLong = 40000, kShort = 300, kBand = 24;
    constexpr COLORREF kFirst = RGB(0, 0, 255), kMiddle = RGB(0, 160, 0), kLast = RGB(255, 0, 0);
    struct Case {
        const char* what;
        bool horizontal;
    };
    for (const Case c : {Case{"wide", true}, Case{"tall", false}}) {
        SCOPED_TRACE(c.what);
        // Along the long side: a band in its own colour at each end.
        const auto colour = [&](int x, int y) -> std::uint32_t {
            const int along = c.horizontal ? x : y;
            return along < kBand ? kFirst : along >= kLong - kBand ? kLast : kMiddle;
        };
        Load(c.horizontal ? "wide.bmp" : "tall.bmp", c.horizontal ? kLong : kShort, c.horizontal ? kShort : kLong,
             colour);
        frmQuillview& w = Window();
        w.ActualSizeImage();
        forms::ScrollBar& bar = c.horizontal ? static_cast<forms::ScrollBar&>(w.HScroll1) : w.VScroll1;
        ASSERT_TRUE(bar.Enabled());
        const int viewLength = static_cast<int>(c.horizontal ? w.Picture1.ScaleWidth() : w.Picture1.ScaleHeight());
        // A line along the long side through the middle of the short one, which is centred in the view.
        const int across = static_cast<int>((c.horizontal ? w.Image1.Top() : w.Image1.Left()) + kShort / 2);
        // What the view shows at a distance along the long side.
        const auto shownAt = [&](int along) {
            const ShownPixels view(w.Picture1.hWnd());
            return c.horizontal ? view.At(along, across) : view.At(across, along);
        };

        EXPECT_EQ(shownAt(0), kFirst);
        EXPECT_EQ(shownAt(kBand - 1), kFirst);
        EXPECT_EQ(shownAt(kBand), kMiddle);

        // The end, set and then reached through the bar's own arrow.
        const auto expectTheEnd = [&](const char* how) {
            SCOPED_TRACE(how);
            ASSERT_EQ(bar.Value(), bar.Max());
            const int bandStart = kLong - kBand - bar.Max();
            ASSERT_LT(bandStart, viewLength);
            EXPECT_EQ(shownAt(bandStart - 1), kMiddle);
            EXPECT_EQ(shownAt(bandStart), kLast);
            EXPECT_EQ(shownAt(viewLength - 1), kLast);
        };
        bar.SetValue(bar.Max());
        expectTheEnd("set");
        bar.SetValue(bar.Max() - 5);
        RECT barArea{};
        GetClientRect(bar.hWnd(), &barArea);
        POINT arrow = c.horizontal ? POINT{barArea.right - GetSystemMetrics(SM_CXHSCROLL) / 2, barArea.bottom / 2}
                                   : POINT{barArea.right / 2, barArea.bottom - GetSystemMetrics(SM_CYVSCROLL) / 2};
        ClientToScreen(bar.hWnd(), &arrow);
        ASSERT_TRUE(comctltest::ClickUntil(arrow, [&] { return bar.Value() == bar.Max(); }));
        expectTheEnd("the arrow");

        // A press on the view near the end lands on the picture's own pixel there.
        w.mnuCrop_Click();
        const POINT inView = c.horizontal ? POINT{40, across} : POINT{across, 40};
        POINT press = inView;
        ClientToScreen(w.Picture1.hWnd(), &press);
        w.Shape1.SetLeft(-1);
        comctltest::ClickAt(press);
        ASSERT_TRUE(comctltest::PumpUntil([&] { return w.Shape1.Left() != -1; }, 2000));
        // Within the rounding of a centred short side.
        EXPECT_NEAR(w.Shape1.Left(), inView.x - w.Image1.Left(), 0.5);
        EXPECT_NEAR(w.Shape1.Top(), inView.y - w.Image1.Top(), 0.5);
        w.mnuNorm_Click();

        bar.SetValue(0);
        EXPECT_EQ(shownAt(0), kFirst);
    }
}

TEST_F(PictureArea, TilingRepeatsThePictureWithItsPeriod) {
    Load("tile.bmp", 7, 5, Pattern);
    frmQuillview& w = Window();
    w.ActualSizeImage();
    w.TilePic_Click();
    ASSERT_TRUE(w.Tiled_);
    const ShownPixels screen(w.Picture1.hWnd());
    const int viewWidth = static_cast<int>(w.Picture1.ScaleWidth());
    const int viewHeight = static_cast<int>(w.Picture1.ScaleHeight());
    for (int y = 0; y < viewHeight; y += 3) {
        for (int x = 0; x < viewWidth; x += 11) {
            ASSERT_EQ(screen.At(x, y), Pattern(x % 7, y % 5)) << "at " << x << ", " << y;
        }
    }
}

TEST_F(PictureArea, NothingToRepeatOrNowhereToRepeatItEndsTheTiling) {
    // A tile or a view of no size would never advance the loop over the view.
    Load("tile.bmp", 7, 5, Pattern);
    frmQuillview& w = Window();
    w.ActualSizeImage();
    w.Image1.Move(0, 0, 0, 0);
    w.TileImage(false);
    EXPECT_TRUE(w.Tiled_);
    w.TileImage(true);
    w.Picture1.SetHeight(0);
    w.TileImage(false);
    EXPECT_TRUE(w.Tiled_);
}

// The whole client area of a window as it shows, child windows included, read once.
class ShownArea {
public:
    explicit ShownArea(HWND hwnd) {
        RedrawWindow(GetAncestor(hwnd, GA_ROOT), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        GdiFlush();
        RECT client{};
        GetClientRect(hwnd, &client);
        width_ = client.right;
        height_ = client.bottom;
        BITMAPINFO info{};
        info.bmiHeader = {sizeof info.bmiHeader, width_, -height_, 1, 32, BI_RGB};
        void* bits = nullptr;
        const HDC shown = GetDCEx(hwnd, nullptr, DCX_CACHE);
        const HDC copy = CreateCompatibleDC(shown);
        const HBITMAP bitmap = CreateDIBSection(copy, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        const HGDIOBJ old = SelectObject(copy, bitmap);
        BitBlt(copy, 0, 0, width_, height_, shown, 0, 0, SRCCOPY);
        GdiFlush();
        const auto* p = static_cast<const std::uint32_t*>(bits);
        pixels_.assign(p, p + static_cast<std::size_t>(width_) * height_);
        SelectObject(copy, old);
        DeleteObject(bitmap);
        DeleteDC(copy);
        ReleaseDC(hwnd, shown);
    }
    int Width() const { return width_; }
    int Height() const { return height_; }
    COLORREF At(int x, int y) const {
        const std::uint32_t bgr = pixels_[static_cast<std::size_t>(y) * width_ + x];
        return RGB((bgr >> 16) & 0xFF, (bgr >> 8) & 0xFF, bgr & 0xFF);
    }

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> pixels_;
};

std::string ViewData(const char* name) {
    const char* folder = std::getenv("QV_VIEW_DATA");
    if (!folder) return {};
    std::ifstream in(std::string(folder) + "/" + name, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The pictures' four flat quarters, as ImageMagick wrote them.
COLORREF Quarter(int x, int y) {
    return y < 20 ? (x < 30 ? RGB(255, 0, 0) : RGB(0, 255, 0)) : (x < 30 ? RGB(0, 0, 255) : RGB(255, 255, 0));
}

// However a picture comes, the view shows the back colour everywhere but where the picture is, and the picture
// there; the logo shows on black. A surface made while the logo's black showed must not stay behind.
TEST_F(PictureArea, TheViewShowsTheBackColourAndThePictureAlone) {
    constexpr forms::OleColor kStored = 0x306090;
    constexpr COLORREF kBack = RGB(0x90, 0x60, 0x30);
    for (const char* name : {"quarters.bmp", "quarters.gif"}) {
        const std::string bytes = ViewData(name);
        ASSERT_FALSE(bytes.empty()) << name;
        folder_.Write(name, bytes);
    }
    frmQuillview& w = Window();
    w.Dir1.SetPath(folder_.Path());
    w.File1.SetPath(folder_.Path());
    const auto choose = [&](const std::string& name) { Choose(name); };
    struct Case {
        const char* what;
        std::function<void()> show;
        bool logo;
    };
    const Case cases[] = {
        {"the first picture after the logo", [&] { choose("quarters.bmp"); }, false},
        {"a GIF", [&] { choose("quarters.gif"); }, false},
        {"a paste",
         [&] {
             forms::Clipboard::Clear();
             forms::Clipboard::SetData(forms::LoadPicture(folder_ / "quarters.bmp"));
             w.mnuPaste_Click();
             ASSERT_EQ(w.Caption(), "Quillview - Unsaved Image");
         },
         false},
        {"the logo after a picture",
         [&] {
             choose("quarters.bmp");
             w.ShowLogo();
         },
         true},
    };
    forms::SaveSetting("Quillview2", "Interface", "Colour", std::to_string(kStored));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // As a start leaves the window: the logo on black, no status panels for a picture yet.
        w.ShowLogo();
        w.ColReset();
        Module1::gStatusPanelsReady = false;
        Module1::gImageSaved = true;
        c.show();
        const ShownArea view(w.Picture1.hWnd());
        ASSERT_GT(view.Width(), 200);
        ASSERT_GT(view.Height(), 200);
        const RECT picture{static_cast<LONG>(w.Image1.Left()), static_cast<LONG>(w.Image1.Top()),
                           static_cast<LONG>(w.Image1.Left() + w.Image1.Width()),
                           static_cast<LONG>(w.Image1.Top() + w.Image1.Height())};
        if (!c.logo) ASSERT_EQ(picture.right - picture.left, 60);
        int wrong = 0;
        for (int y = 0; y < view.Height(); ++y) {
            for (int x = 0; x < view.Width(); ++x) {
                const bool onPicture = PtInRect(&picture, POINT{x, y}) != FALSE;
                if (c.logo && onPicture) continue;
                const COLORREF expected = c.logo ? RGB(0, 0, 0)
                                          : onPicture ? Quarter(x - picture.left, y - picture.top)
                                                      : kBack;
                if (view.At(x, y) != expected && wrong++ == 0) {
                    ADD_FAILURE() << "first wrong pixel at " << x << ", " << y << ": " << std::hex << view.At(x, y)
                                  << " instead of " << expected;
                }
            }
        }
        EXPECT_EQ(wrong, 0);
    }
    forms::Clipboard::Clear();
}

// A picture larger than the view, fitted into it, has nothing to scroll: live bars would drag the fitted picture
// off the view. The same picture at its own size scrolls by what lies beyond the view.
TEST_F(PictureArea, BestFitLeavesNothingToScrollActualSizeScrollsTheRest) {
    constexpr int kWidth = 1800, kHeight = 1400;
    ASSERT_TRUE(qvtest::WritePixels(folder_ / "large.bmp", kWidth, kHeight, Pattern));
    frmQuillview& w = Window();
    Module1::gImageSaved = true;
    w.Dir1.SetPath(folder_.Path());
    w.File1.SetPath(folder_.Path());
    w.HScroll1.SetEnabled(false);
    w.VScroll1.SetEnabled(false);
    w.DisplayMode_ = 102;
    Choose("large.bmp");
    EXPECT_LE(w.Image1.Width(), w.Picture1.ScaleWidth());
    EXPECT_LE(w.Image1.Height(), w.Picture1.ScaleHeight());
    EXPECT_FALSE(w.HScroll1.Enabled());
    EXPECT_FALSE(w.VScroll1.Enabled());

    w.DisplayMode_ = 101;
    browser::DeselectFile(w.File1);
    Choose("large.bmp");
    EXPECT_TRUE(w.HScroll1.Enabled());
    EXPECT_TRUE(w.VScroll1.Enabled());
    EXPECT_EQ(w.HScroll1.Max(), kWidth - static_cast<int>(w.Picture1.Width()));
    EXPECT_EQ(w.VScroll1.Max(), kHeight - static_cast<int>(w.Picture1.Height()));
}

// The status bar's parts and texts as its window holds them, and whether its pixels on the screen are what it
// draws of them now: a bar that kept the pixels of texts it no longer holds fails the second.
struct BarShown {
    std::vector<std::string> texts;
    bool drawnAsHeld = false;
};

BarShown ReadBar(HWND bar) {
    RedrawWindow(GetAncestor(bar, GA_ROOT), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    BarShown shown;
    const int parts = static_cast<int>(SendMessageA(bar, SB_GETPARTS, 0, 0));
    for (int i = 0; i < parts; ++i) {
        char text[256] = {};
        SendMessageA(bar, SB_GETTEXTA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        shown.texts.emplace_back(text);
    }
    RECT client{};
    GetClientRect(bar, &client);
    const auto pixels = [&] {
        GdiFlush();
        const HDC dc = GetDC(bar);
        std::vector<COLORREF> all;
        for (int y = 0; y < client.bottom; ++y) {
            for (int x = 0; x < client.right; ++x) all.push_back(GetPixel(dc, x, y));
        }
        ReleaseDC(bar, dc);
        return all;
    };
    const std::vector<COLORREF> before = pixels();
    RedrawWindow(bar, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    shown.drawnAsHeld = before == pixels();
    return shown;
}

// From the logo to a picture and back: the bar takes all the panel changes of each at once, and its window and
// its pixels show the last of them.
TEST_F(PictureArea, TheStatusBarShowsThePanelsOfEachState) {
    const std::string bytes = ViewData("quarters.bmp");
    ASSERT_FALSE(bytes.empty());
    folder_.Write("quarters.bmp", bytes);
    frmQuillview& w = Window();
    Module1::gImageSaved = true;
    w.Dir1.SetPath(folder_.Path());
    w.File1.SetPath(folder_.Path());
    w.ShowLogo();
    const HWND bar = w.SB1.hWnd();
    const std::string site = "Quillview Website www.quillview.example for news and updates";
    BarShown shown = ReadBar(bar);
    EXPECT_EQ(shown.texts, std::vector<std::string>{site});
    EXPECT_TRUE(shown.drawnAsHeld) << "the logo";

    Choose("quarters.bmp");
    shown = ReadBar(bar);
    ASSERT_EQ(shown.texts.size(), 6u);
    const std::vector<std::string> keys{"ftype", "date", "size", "dimen", "fname", "mode"};
    for (std::size_t i = 0; i < keys.size(); ++i) EXPECT_EQ(shown.texts[i], w.SB1.PanelText(keys[i])) << keys[i];
    EXPECT_EQ(shown.texts[3], "60x40");
    EXPECT_EQ(shown.texts[4], "quarters.bmp");
    EXPECT_EQ(shown.texts[5], "Mode: Actual Size");
    EXPECT_TRUE(shown.drawnAsHeld) << "the picture";

    w.ShowLogo();
    shown = ReadBar(bar);
    EXPECT_EQ(shown.texts, std::vector<std::string>{site});
    EXPECT_TRUE(shown.drawnAsHeld) << "the logo again";
}

TEST_F(PictureArea, StoredBackColourInEachForm) {
    struct Case {
        const char* stored;  // nullptr: nothing stored
        forms::OleColor colour;
        const char* checked;
    };
    const Case cases[] = {
        {nullptr, 0x000000, "Black"},       {"Black", 0x000000, "Black"},
        {"White", 0xFFFFFF, "White"},       {"Grey", 0xC0C0C0, "Grey"},
        {"8421376", 0x808000, "Palette"},   {"0", 0x000000, "Palette"},
        {"black", 0x000000, "Black"},       {"WHITE", 0x000000, "Black"},
        {"16777216", 0x000000, "Black"},    {"-1", 0x000000, "Black"},
        {"12 apples", 0x000000, "Black"},   {"", 0x000000, "Black"},
    };
    frmQuillview& w = Window();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored ? c.stored : "(nothing stored)");
        if (c.stored) {
            forms::SaveSetting("Quillview2", "Interface", "Colour", c.stored);
        } else {
            forms::DeleteSetting("Quillview2", "Interface", "Colour");
        }
        w.ColReset();
        w.DoColour();
        EXPECT_EQ(w.Picture1.BackColor(), c.colour);
        EXPECT_EQ(w.Image1.BackColor(), c.colour);
        const std::string checked = w.mnuBBlack.Checked()      ? "Black"
                                    : w.mnuBWhite.Checked()    ? "White"
                                    : w.mnuBGrey.Checked()     ? "Grey"
                                    : w.mnuChooseCol.Checked() ? "Palette"
                                                               : "none";
        EXPECT_EQ(checked, c.checked);
    }
}

// Help > Quillview Tips, switched on, shows the tip of the day as a start does: from the program folder's
// tips file, where one that cannot be read counts as missing.
TEST_F(PictureArea, TipOfTheDayFromTheProgramFoldersTipsFile) {
    const std::string notFound = "The QVTIPS.QVR file was not found!? \r\n\r\nMake sure the QVTIPS.QVR is in your "
                                 "Quillview directory. If you are having trouble, please contact support. ";
    frmQuillview& w = Window();
    frmTips& tips = forms::Default<frmTips>();
    w.TipRandom = [] { return 0.5f; };
    const auto switchOn = [&] {
        tips.Unload();
        forms::SaveSetting("Quillview2", "Options", "Show Tips at Startup", "0");
        w.mnuTips_Click();
    };

    switchOn();
    ASSERT_TRUE(tips.Visible());
    EXPECT_EQ(tips.lblTipText.Caption(), notFound) << "no tips file";
    EXPECT_EQ(tips.chkLoadTipsAtStartup.Value(), 1);

    folder_.Write("QVTIPS.QVR", "first\r\nsecond\r\n");
    {
        // Held open by another program without sharing.
        const HANDLE held = CreateFileA((folder_ / "QVTIPS.QVR").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                                        nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        switchOn();
        CloseHandle(held);
    }
    EXPECT_EQ(tips.lblTipText.Caption(), notFound) << "an unreadable tips file";
    EXPECT_TRUE(w.Tips.empty());

    switchOn();
    EXPECT_EQ(tips.lblTipText.Caption(), "second");
    EXPECT_EQ(w.Tips, (std::vector<std::string>{"first", "second"}));
    switchOn();
    EXPECT_EQ(w.Tips.size(), 4u) << "each read appends";
    w.TipRandom = nullptr;
    w.Tips.clear();
}

}  // namespace
