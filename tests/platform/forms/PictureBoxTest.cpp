#include "FormsTestSupport.h"

#include "platform/forms/Form.h"
#include "platform/runtime/OwnedHandles.h"
#include "platform/forms/controls/Image.h"
#include "platform/forms/controls/Label.h"
#include "platform/forms/controls/PictureBox.h"
#include "platform/runtime/RuntimeError.h"

#include <gtest/gtest.h>
#include <psapi.h>

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

using namespace forms;

namespace {

class frmCanvas : public Form {
public:
    frmCanvas() : Form({.Caption = "Canvas", .Width = 6000, .Height = 5000, .Scale = ScaleMode::Pixels}) {
        Picture2.MouseDown = [this](int Button, int, float X, float Y) {
            lastButton = Button;
            lastX = X;
            lastY = Y;
        };
        Strip.Click = [this] { ++stripClicks; };
        Wide.MouseDown = Picture2.MouseDown;
    }
    PictureBox Picture1{*this, "Picture1", {10, 10, 120, 90}, {.AutoRedraw = true, .Scale = ScaleMode::Pixels,
                                                                 .BackColor = 0xFFFFFF}};
    PictureBox Picture2{*this, "Picture2", {150, 10, 120, 90}, {.BackColor = 0x000000}};
    Image Image1{*this, "Image1", {10, 120, 10, 10}};
    Label Strip{Picture1, "Strip", {0, 0, 120, 10}, {.BackStyle = backstyle::Transparent}};
    // A view onto a box far wider than a window may be.
    PictureBox View{*this, "View", {150, 120, 100, 80}, {.BorderStyle = 0, .Scale = ScaleMode::Pixels, .BackColor = 0}};
    PictureBox Wide{View, "Wide", {0, 0, 10, 10},
                    {.AutoRedraw = true, .BorderStyle = 0, .Scale = ScaleMode::Pixels, .BackColor = 0x0000FF}};
    Label Mark{Wide, "Mark", {39900, 20, 10, 10}, {.BackColor = 0xFF0000}};
    int stripClicks = 0;
    int lastButton = 0;
    float lastX = -1, lastY = -1;
};

// A solid bitmap picture of w x h pixels.
StdPicture Solid(int w, int h, COLORREF color) {
    ScopedGetDC screen(nullptr);
    UniqueDC dc(CreateCompatibleDC(screen.get()));
    HBITMAP bmp = CreateCompatibleBitmap(screen.get(), w, h);
    {
        ScopedSelect select(dc.get(), bmp);
        UniqueBrush brush(CreateSolidBrush(color));
        const RECT r{0, 0, w, h};
        FillRect(dc.get(), &r, brush.get());
    }
    return StdPicture::FromBitmap(bmp);
}

COLORREF PixelOf(const StdPicture& pic, int x, int y) {
    ScopedGetDC screen(nullptr);
    UniqueDC dc(CreateCompatibleDC(screen.get()));
    ScopedSelect select(dc.get(), static_cast<HBITMAP>(pic.Handle()));
    return GetPixel(dc.get(), x, y);
}

class PictureBoxes : public ::testing::Test {
protected:
    void TearDown() override {
        Default<frmCanvas>().Unload();
        ReleaseDefault<frmCanvas>();
    }
    frmCanvas& F() { return Default<frmCanvas>(); }
    // The canvas shown with its box at a photo's size, whose 32-bit surface takes kPhotoSurface bytes.
    static constexpr double kPhotoSurface = 3000.0 * 2000 * 4;
    PictureBox& PhotoSizedBox() {
        F().Show();
        F().Picture1.Move(0, 0, 3000, 2000);
        return F().Picture1;
    }
};

TEST_F(PictureBoxes, AutoRedrawImageIsAnIndependentBitmapThatOutlivesTheForm) {
    PictureBox& box = F().Picture1;
    const HDC dc = box.hDC();
    UniqueBrush red(CreateSolidBrush(RGB(255, 0, 0)));
    const RECT r{0, 0, 20, 20};
    FillRect(dc, &r, red.get());
    StdPicture image = box.Image();
    F().Unload();
    ASSERT_TRUE(image);
    EXPECT_EQ(image.Type(), PictureType::Bitmap);
    BITMAP bm{};
    ASSERT_NE(GetObjectA(image.Handle(), sizeof bm, &bm), 0);
    EXPECT_EQ(PixelOf(image, 5, 5), RGB(255, 0, 0));
    EXPECT_EQ(PixelOf(image, 50, 50), RGB(255, 255, 255)) << "the rest is the back colour";
}

TEST_F(PictureBoxes, WithoutAutoRedrawTheDcIsTheWindowsOwn) {
    PictureBox& box = F().Picture2;
    EXPECT_EQ(WindowFromDC(box.hDC()), box.hWnd());
    EXPECT_NE(WindowFromDC(F().Picture1.hDC()), F().Picture1.hWnd());
}

TEST_F(PictureBoxes, CommittingTheImageKeepsTheDrawingThroughCls) {
    PictureBox& box = F().Picture1;
    UniqueBrush red(CreateSolidBrush(RGB(255, 0, 0)));
    UniqueBrush blue(CreateSolidBrush(RGB(0, 0, 255)));
    const RECT r{0, 0, 20, 20};
    FillRect(box.hDC(), &r, red.get());
    box.SetPicture(box.Image());  // what was painted becomes the persistent picture
    FillRect(box.hDC(), &r, blue.get());
    EXPECT_EQ(PixelOf(box.Image(), 5, 5), RGB(0, 0, 255));
    box.Cls();
    EXPECT_EQ(PixelOf(box.Image(), 5, 5), RGB(255, 0, 0)) << "Cls clears the drawing, keeps the picture";
    box.SetPicture(StdPicture::Empty());
    box.Cls();
    EXPECT_EQ(PixelOf(box.Image(), 5, 5), RGB(255, 255, 255));
}

// The persistent surface after a change and a redraw: what is drawn on it stays until Cls, a new picture or a
// new back colour, and the box's own picture drawn again covers a drawing.
TEST_F(PictureBoxes, TheSurfaceShowsWhatTheStepsDrew) {
    constexpr COLORREF kWhite = RGB(255, 255, 255), kGreen = RGB(0, 255, 0), kRed = RGB(255, 0, 0),
                       kBlue = RGB(0, 0, 255), kYellow = RGB(255, 255, 0);
    PictureBox& box = F().Picture1;
    const auto fill = [&](int left, int top, COLORREF colour) {
        UniqueBrush brush(CreateSolidBrush(colour));
        const RECT r{left, top, left + 15, top + 15};
        FillRect(box.hDC(), &r, brush.get());
    };
    struct Case {
        const char* what;
        std::function<void()> steps;
        POINT at;
        COLORREF expected;
    };
    const Case cases[] = {
        {"Cls after a drawing", [&] { fill(5, 5, kRed); box.Cls(); }, {10, 10}, kGreen},
        {"Cls after a new back colour", [&] { box.SetBackColor(0xFF0000); box.Cls(); }, {60, 60}, kBlue},
        {"a new back colour alone", [&] { box.SetBackColor(0xFF0000); }, {60, 60}, kBlue},
        {"a new back colour over a drawing", [&] { fill(60, 60, kRed); box.SetBackColor(0xFF0000); }, {65, 65},
         kBlue},
        {"a new back colour keeps the picture", [&] { box.SetBackColor(0xFF0000); }, {10, 10}, kGreen},
        {"Cls twice after a drawing", [&] { box.Cls(); fill(60, 60, kRed); box.Cls(); }, {65, 65}, kWhite},
        {"its picture over a drawing", [&] { fill(5, 5, kRed); box.PaintPicture(box.Picture(), 0, 0); }, {10, 10}, kGreen},
        {"its picture elsewhere", [&] { box.PaintPicture(box.Picture(), 50, 40); }, {55, 45}, kGreen},
        {"its picture at another size", [&] { box.PaintPicture(box.Picture(), 0, 0, 80.0f, 60.0f); }, {60, 45}, kGreen},
        {"a new picture of the same size", [&] { fill(60, 60, kRed); box.SetPicture(Solid(40, 30, kYellow)); },
         {65, 65}, kWhite},
        {"a new picture of the same size, on it", [&] { box.SetPicture(Solid(40, 30, kYellow)); }, {10, 10}, kYellow},
    };
    for (const Case& c : cases) {
        box.SetBackColor(0xFFFFFF);
        box.SetPicture(Solid(40, 30, kGreen));
        c.steps();
        EXPECT_EQ(PixelOf(box.Image(), c.at.x, c.at.y), c.expected) << c.what;
    }
}

// A pixel of a box's window as the screen shows it once every paint due has been done.
COLORREF ShownAt(const PictureBox& box, int x, int y) {
    RedrawWindow(box.hWnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    const HDC dc = GetDCEx(box.hWnd(), nullptr, DCX_CACHE);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(box.hWnd(), dc);
    return c;
}

// The process's committed private memory.
double PrivateBytes() {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
    return static_cast<double>(std::max(counters.PagefileUsage, counters.PrivateUsage));
}

// What a new picture in an AutoRedraw box shows on the screen and in Image, before and after drawing on it:
// the picture over the back colour, a line drawn through hDC over both, and after Cls the two alone again.
TEST_F(PictureBoxes, ANewPictureShowsOverTheBackColourAndTakesDrawing) {
    constexpr COLORREF kWhite = RGB(255, 255, 255), kGreen = RGB(0, 255, 0), kRed = RGB(255, 0, 0);
    frmCanvas& f = F();
    f.Show();
    PictureBox& box = f.Picture1;
    const auto line = [&] {
        UniquePen red(CreatePen(PS_SOLID, 3, kRed));
        const HDC dc = box.hDC();
        const HGDIOBJ old = SelectObject(dc, red.get());
        MoveToEx(dc, 0, 20, nullptr);
        LineTo(dc, 100, 20);
        SelectObject(dc, old);
        box.Refresh();
    };
    using Expected = std::vector<std::pair<POINT, COLORREF>>;
    struct Case {
        const char* what;
        std::function<void()> steps;
        Expected expected;
    };
    const Case cases[] = {
        {"the picture alone", [] {}, {{{10, 15}, kGreen}, {{60, 15}, kWhite}, {{60, 60}, kWhite}}},
        {"a line on hDC", line, {{{10, 20}, kRed}, {{60, 20}, kRed}, {{10, 15}, kGreen}, {{60, 60}, kWhite}}},
        {"Cls after a line", [&] { line(); box.Cls(); }, {{{10, 20}, kGreen}, {{60, 20}, kWhite}, {{60, 60}, kWhite}}},
        {"a line after Cls", [&] { line(); box.Cls(); line(); }, {{{10, 20}, kRed}, {{60, 20}, kRed}}},
        {"a larger box", [&] { box.SetWidth(200); }, {{{10, 15}, kGreen}, {{150, 20}, kWhite}}},
        {"a line, then a larger box", [&] { line(); box.SetWidth(200); }, {{{60, 20}, kRed}, {{150, 20}, kWhite}}},
    };
    for (const Case& c : cases) {
        box.SetWidth(120);
        box.SetBackColor(0xFFFFFF);
        box.SetPicture(Solid(40, 30, kGreen));
        c.steps();
        for (const auto& [at, colour] : c.expected) {
            EXPECT_EQ(ShownAt(box, at.x, at.y), colour) << c.what << ", on the screen at " << at.x << ", " << at.y;
        }
        const StdPicture image = box.Image();
        for (const auto& [at, colour] : c.expected) {
            EXPECT_EQ(PixelOf(image, at.x, at.y), colour) << c.what << ", in Image at " << at.x << ", " << at.y;
        }
    }
}

// A photo-sized box holds no surface of its own for a picture alone, nor for a copy of it: it takes the memory
// when it is drawn on.
TEST_F(PictureBoxes, TheSurfaceIsMadeWhenItIsDrawnOn) {
    PictureBox& box = PhotoSizedBox();
    constexpr double kSurface = kPhotoSurface;
    const StdPicture picture = Solid(40, 30, RGB(0, 255, 0));
    box.hDC();
    const double drawnOn = PrivateBytes();
    box.SetPicture(picture);
    const double pictureAlone = PrivateBytes();
    EXPECT_LT(pictureAlone, drawnOn - kSurface / 2) << "a new picture lets the surface go";
    EXPECT_EQ(ShownAt(box, 10, 15), RGB(0, 255, 0));
    EXPECT_EQ(ShownAt(box, 60, 15), RGB(255, 255, 255));
    EXPECT_LT(PrivateBytes(), pictureAlone + kSurface / 2) << "painting needs none";
    {
        const StdPicture copy = box.Image();  // a bitmap as large as the surface
        EXPECT_EQ(PixelOf(copy, 10, 15), RGB(0, 255, 0));
        EXPECT_LT(PrivateBytes(), pictureAlone + kSurface * 3 / 2) << "Image needs no surface beside its copy";
    }
    box.hDC();
    EXPECT_GT(PrivateBytes(), pictureAlone + kSurface / 2) << "hDC makes it";
}

// A box that shrinks before anything is drawn on it, as the main window's picture does for Best Fit, makes
// its surface at its new size when it is drawn on, not at the size it had.
TEST_F(PictureBoxes, ASurfaceMadeAfterTheBoxShrankIsAsLargeAsTheBox) {
    PictureBox& box = PhotoSizedBox();
    constexpr double kSurface = kPhotoSurface;
    box.SetPicture(Solid(40, 30, RGB(0, 255, 0)));
    const double before = PrivateBytes();
    box.Move(0, 0, 150, 100);
    box.hDC();
    EXPECT_LT(PrivateBytes(), before + kSurface / 2);
    EXPECT_EQ(ShownAt(box, 10, 15), RGB(0, 255, 0));
    box.Move(0, 0, 350, 280);
    EXPECT_EQ(ShownAt(box, 10, 15), RGB(0, 255, 0)) << "grown again, it still shows its picture";
    EXPECT_EQ(ShownAt(box, 300, 250), RGB(255, 255, 255)) << "and its back colour beyond";
}

// DrawOn puts what the box shows at a place of another DC, as Image would hold it: back colour and picture
// (a picture wider than the box cut at the box's edge), and whatever was drawn on the surface. A photo-sized
// box whose surface is still pending is drawn without making it, as the main window tiles its picture.
TEST_F(PictureBoxes, DrawOnCopiesWhatTheBoxShowsWithoutMakingItsSurface) {
    constexpr COLORREF kWhite = RGB(255, 255, 255), kGreen = RGB(0, 255, 0), kRed = RGB(255, 0, 0),
                       kBlack = RGB(0, 0, 0);
    PictureBox& box = F().Picture1;
    F().Show();
    ScopedGetDC screen(nullptr);
    BitmapDC target(UniqueDC(CreateCompatibleDC(screen.get())), UniqueBitmap(CreateCompatibleBitmap(screen.get(), 300, 200)));
    const auto drawAt = [&](int x, int y) {
        const RECT all{0, 0, 300, 200};
        FillRect(target.dc(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        box.DrawOn(target.dc(), x, y);
    };
    using Expected = std::vector<std::pair<POINT, COLORREF>>;
    struct Case {
        const char* what;
        std::function<void()> steps;
        Expected expected;  // in the target, the box drawn at 100, 50
    };
    const Case cases[] = {
        {"the picture alone", [] {},
         {{{105, 55}, kGreen}, {{160, 55}, kWhite}, {{215, 135}, kWhite}, {{95, 55}, kBlack}, {{225, 55}, kBlack},
          {{105, 145}, kBlack}}},
        {"a picture wider than the box", [&] { box.SetPicture(Solid(200, 30, kGreen)); },
         {{{215, 55}, kGreen}, {{225, 55}, kBlack}}},
        {"a drawing on the surface", [&] {
             const RECT r{40, 40, 60, 60};
             UniqueBrush red(CreateSolidBrush(kRed));
             FillRect(box.hDC(), &r, red.get());
         },
         {{{145, 95}, kRed}, {{105, 55}, kGreen}, {{225, 95}, kBlack}}},
    };
    for (const Case& c : cases) {
        box.Move(10, 10, 120, 90);
        box.SetBackColor(0xFFFFFF);
        box.SetPicture(Solid(40, 30, kGreen));
        c.steps();
        drawAt(100, 50);
        for (const auto& [at, colour] : c.expected) {
            EXPECT_EQ(GetPixel(target.dc(), at.x, at.y), colour) << c.what << ", at " << at.x << ", " << at.y;
        }
    }

    PictureBox& photo = PhotoSizedBox();
    photo.SetPicture(Solid(40, 30, kGreen));
    const double pending = PrivateBytes();
    drawAt(-10, -20);
    EXPECT_EQ(GetPixel(target.dc(), 5, 5), kGreen);
    EXPECT_EQ(GetPixel(target.dc(), 100, 100), kWhite);
    EXPECT_LT(PrivateBytes(), pending + kPhotoSurface / 2) << "drawing it made the surface";
}

COLORREF Pattern(int x, int y) { return RGB((x * 37) & 0xFF, (y * 53) & 0xFF, ((x + y) * 29) & 0xFF); }

// A bitmap picture of w x h pixels in Pattern's colours.
StdPicture Patterned(int w, int h) {
    BITMAPINFO bi{};
    bi.bmiHeader = {.biSize = sizeof bi.bmiHeader, .biWidth = w, .biHeight = -h, .biPlanes = 1, .biBitCount = 32,
                    .biCompression = BI_RGB};
    void* bits = nullptr;
    const HBITMAP bmp = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    auto* const pixels = static_cast<std::uint32_t*>(bits);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const COLORREF c = Pattern(x, y);
            pixels[y * w + x] = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
        }
    }
    return StdPicture::FromBitmap(bmp);
}

// Tiling covers the whole box, to its last part-tiles at the right and bottom, with what the other box shows,
// over whatever the surface held; and it shows so on the screen, under a windowless control and without one.
TEST_F(PictureBoxes, TilingRepeatsWhatTheOtherBoxShowsOverTheWholeBox) {
    frmCanvas& f = F();
    f.Show();
    PictureBox& box = f.Picture1;
    PictureBox& tile = f.Picture2;  // its border takes 2 pixels each side
    UniqueBrush red(CreateSolidBrush(RGB(255, 0, 0)));
    struct Case {
        const char* what;
        SIZE tile;
        std::function<void()> before;
        bool label;  // the box's strip shown over it
    };
    const Case cases[] = {
        {"a surface not made yet", {7, 5}, [] {}, false},
        {"a surface drawn on", {7, 5}, [&] {
             const RECT r{0, 0, 60, 60};
             FillRect(box.hDC(), &r, red.get());
         }, false},
        {"a tile larger than the box", {200, 150}, [] {}, false},
        {"a label over it", {7, 5}, [] {}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        tile.Move(150, 10, static_cast<float>(c.tile.cx + 4), static_cast<float>(c.tile.cy + 4));
        ASSERT_EQ(tile.ScaleWidth(), static_cast<float>(c.tile.cx) * TwipsPerPixel(Axis::X));
        tile.SetPicture(Patterned(c.tile.cx, c.tile.cy));
        box.SetPicture(StdPicture::Empty());
        box.Cls();
        f.Strip.SetBackStyle(backstyle::Opaque);
        f.Strip.SetBackColor(0x00FF00);
        f.Strip.SetVisible(c.label);
        c.before();
        box.Tile(tile);

        const int width = static_cast<int>(box.ScaleWidth()), height = static_cast<int>(box.ScaleHeight());
        const StdPicture image = box.Image();
        ScopedGetDC screen(nullptr);
        UniqueDC dc(CreateCompatibleDC(screen.get()));
        ScopedSelect select(dc.get(), static_cast<HBITMAP>(image.Handle()));
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                ASSERT_EQ(GetPixel(dc.get(), x, y), Pattern(x % c.tile.cx, y % c.tile.cy)) << "at " << x << ", " << y;
            }
        }
        EXPECT_EQ(ShownAt(box, width - 1, height - 1), Pattern((width - 1) % c.tile.cx, (height - 1) % c.tile.cy));
        EXPECT_EQ(ShownAt(box, 5, 20), Pattern(5 % c.tile.cx, 20 % c.tile.cy));
        EXPECT_EQ(ShownAt(box, 5, 5), c.label ? RGB(0, 255, 0) : Pattern(5 % c.tile.cx, 5 % c.tile.cy));
    }
}

TEST_F(PictureBoxes, PaintPictureDrawsInTheBoxsScale) {
    PictureBox& box = F().Picture1;
    const StdPicture green = Solid(10, 10, RGB(0, 255, 0));
    box.PaintPicture(green, 5, 5);
    box.PaintPicture(green, 40, 40, 30.0f, 20.0f);  // stretched
    const StdPicture image = box.Image();
    EXPECT_EQ(PixelOf(image, 7, 7), RGB(0, 255, 0));
    EXPECT_EQ(PixelOf(image, 2, 2), RGB(255, 255, 255));
    EXPECT_EQ(PixelOf(image, 16, 16), RGB(255, 255, 255));
    EXPECT_EQ(PixelOf(image, 68, 58), RGB(0, 255, 0));
    EXPECT_EQ(PixelOf(image, 72, 58), RGB(255, 255, 255));
    EXPECT_THROW(box.PaintPicture(StdPicture(), 0, 0), RuntimeError);
}

TEST_F(PictureBoxes, InnerScaleSizeAndOuterSize) {
    PictureBox& box = F().Picture1;
    RECT client{};
    GetClientRect(box.hWnd(), &client);
    EXPECT_FLOAT_EQ(box.ScaleWidth(), static_cast<float>(client.right)) << "inner, in the box's scale";
    EXPECT_FLOAT_EQ(box.Width(), 120) << "outer, in the container's scale";
    EXPECT_LT(box.ScaleWidth(), box.Width()) << "the border takes its part";
    box.SetScaleMode(ScaleMode::Twips);
    EXPECT_FLOAT_EQ(box.ScaleWidth(), client.right * TwipsPerPixel(Axis::X));
}

TEST_F(PictureBoxes, MouseCoordinatesArriveInTheBoxsScale) {
    F().Show();
    SendMessageA(F().Picture2.hWnd(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(4, 6));
    EXPECT_EQ(F().lastButton, 2);
    EXPECT_FLOAT_EQ(F().lastX, 4 * TwipsPerPixel(Axis::X)) << "Picture2 keeps the twips scale";
    EXPECT_FLOAT_EQ(F().lastY, 6 * TwipsPerPixel(Axis::Y));
}

TEST_F(PictureBoxes, ATransparentLabelOverThePictureTakesTheMouse) {
    F().Show();
    PictureBox& box = F().Picture1;
    box.SetPicture(Solid(120, 90, RGB(9, 9, 9)));
    SendMessageA(box.hWnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 5));
    SendMessageA(box.hWnd(), WM_LBUTTONUP, 0, MAKELPARAM(50, 5));
    EXPECT_EQ(F().stripClicks, 1);
    SendMessageA(box.hWnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 50));
    SendMessageA(box.hWnd(), WM_LBUTTONUP, 0, MAKELPARAM(50, 50));
    EXPECT_EQ(F().stripClicks, 1) << "below the strip the box itself is clicked";
}

// The system keeps window rectangles within 16 bits: a box beyond that still shows, takes the mouse and
// paints its labels at its own pixels, also once its container grows.
TEST_F(PictureBoxes, ABoxBeyondAWindowsReachShowsItsFarPart) {
    frmCanvas& f = F();
    f.Show();
    f.Wide.Move(-39880, 0, 40000, 80);
    const RECT farPart{39880, 0, 40000, 80};
    UniqueBrush green(CreateSolidBrush(RGB(0, 255, 0)));
    FillRect(f.Wide.hDC(), &farPart, green.get());
    f.Wide.Refresh();
    const auto shownAt = [&](int x, int y) {
        RedrawWindow(f.hWnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        const HDC view = GetDCEx(f.View.hWnd(), nullptr, DCX_CACHE);
        const COLORREF c = GetPixel(view, x, y);
        ReleaseDC(f.View.hWnd(), view);
        return c;
    };
    EXPECT_FLOAT_EQ(f.Wide.ScaleWidth(), 40000);
    EXPECT_EQ(shownAt(0, 5), RGB(0, 255, 0));
    EXPECT_EQ(shownAt(99, 5), RGB(0, 255, 0));
    EXPECT_EQ(shownAt(25, 25), RGB(0, 0, 255)) << "the label at 39900, 20";

    f.Mark.SetLeft(39930);
    EXPECT_EQ(shownAt(25, 25), RGB(0, 255, 0)) << "where the label was";
    EXPECT_EQ(shownAt(55, 25), RGB(0, 0, 255));

    SendMessageA(f.Wide.hWnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 5));
    SendMessageA(f.Wide.hWnd(), WM_LBUTTONUP, 0, MAKELPARAM(10, 5));
    EXPECT_FLOAT_EQ(f.lastX, 39890);
    EXPECT_FLOAT_EQ(f.lastY, 5);

    f.View.SetWidth(140);
    EXPECT_EQ(shownAt(119, 5), RGB(0, 255, 0));
    EXPECT_EQ(shownAt(125, 5), RGB(0, 0, 0)) << "past the box, the view";
}

TEST_F(PictureBoxes, ImageControlSharesItsPictureAndTakesItsSize) {
    const StdPicture pic = Solid(16, 12, RGB(1, 2, 3));
    F().Image1.SetPicture(pic);
    EXPECT_TRUE(F().Image1.Picture() == pic) << "the same picture object";
    EXPECT_NEAR(F().Image1.Width(), 16, 0.5) << "natural size in the form's pixels";
    EXPECT_NEAR(F().Image1.Height(), 12, 0.5);
    F().Image1.SetStretch(true);
    F().Image1.SetWidth(50);
    EXPECT_FLOAT_EQ(F().Image1.Width(), 50);
}

TEST_F(PictureBoxes, AutoSizeFitsThePicture) {
    PictureBox& box = F().Picture2;
    box.SetAutoSize(true);
    box.SetPicture(Solid(40, 30, RGB(0, 0, 0)));
    RECT client{};
    GetClientRect(box.hWnd(), &client);
    EXPECT_EQ(client.right, 40);
    EXPECT_EQ(client.bottom, 30);
}

}  // namespace
