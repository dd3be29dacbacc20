// Captures of a topmost window that paints a known pattern: red on the left half of its client area, blue on
// the right. Fit-to-page printing over a fake printer.

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "main/core/clsScreen.h"
#include "platform/forms/Form.h"
#include "platform/forms/IPrinter.h"
#include "PictureProbe.h"
#include "tests/platform/forms/FormsTestSupport.h"

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr int kClientWidth = 200;
constexpr int kClientHeight = 100;

int g_paints = 0;

LRESULT CALLBACK PatternProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        const HDC dc = BeginPaint(hwnd, &ps);
        RECT left{0, 0, kClientWidth / 2, kClientHeight};
        RECT right{kClientWidth / 2, 0, kClientWidth, kClientHeight};
        const HBRUSH red = CreateSolidBrush(kRed);
        const HBRUSH blue = CreateSolidBrush(kBlue);
        FillRect(dc, &left, red);
        FillRect(dc, &right, blue);
        DeleteObject(red);
        DeleteObject(blue);
        EndPaint(hwnd, &ps);
        ++g_paints;
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

class PatternWindow {
public:
    PatternWindow() {
        static const ATOM atom = [] {
            WNDCLASSA wc{};
            wc.lpfnWndProc = PatternProc;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.lpszClassName = "QvCapturePattern";
            wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
            return RegisterClassA(&wc);
        }();
        // Towards the desktop's far corner, away from where new windows and boxes of other tests appear.
        RECT frame{0, 0, kClientWidth, kClientHeight};
        AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, WS_EX_TOPMOST);
        hwnd_ = CreateWindowExA(WS_EX_TOPMOST, MAKEINTATOM(atom), "Pattern", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 1000,
                                820, frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
        SetForegroundWindow(hwnd_);
        const int before = g_paints;
        InvalidateRect(hwnd_, nullptr, TRUE);
        formstest::PumpUntil([&] { return g_paints > before; });
        GdiFlush();
    }
    ~PatternWindow() { Destroy(); }
    void Destroy() {
        if (hwnd_) DestroyWindow(hwnd_);
        hwnd_ = nullptr;
    }
    HWND hwnd() const { return hwnd_; }
    POINT ClientOrigin() const {
        POINT p{};
        ClientToScreen(hwnd_, &p);
        return p;
    }
    RECT Frame() const {
        RECT r{};
        GetWindowRect(hwnd_, &r);
        return r;
    }

private:
    HWND hwnd_ = nullptr;
};

TEST(Screen, ClientCapturesFromItsOriginAndAnOffset) {
    const PatternWindow window;
    const clsScreen screen;
    const forms::StdPicture whole = screen.CaptureWindow(window.hwnd(), true, 0, 0, kClientWidth, kClientHeight);
    ASSERT_NE(whole.Handle(), nullptr);
    EXPECT_EQ(whole.Type(), forms::PictureType::Bitmap);
    EXPECT_EQ(BitmapSize(whole).cx, kClientWidth);
    EXPECT_EQ(BitmapSize(whole).cy, kClientHeight);
    EXPECT_EQ(PixelAt(whole, 0, 0), kRed);
    EXPECT_EQ(PixelAt(whole, kClientWidth / 2 - 1, kClientHeight - 1), kRed);
    EXPECT_EQ(PixelAt(whole, kClientWidth / 2, 0), kBlue);
    EXPECT_EQ(PixelAt(whole, kClientWidth - 1, kClientHeight - 1), kBlue);
    // On a true-colour screen no palette travels with the picture.
    EXPECT_EQ(whole.hPal(), nullptr);

    const forms::StdPicture part = screen.CaptureWindow(window.hwnd(), true, kClientWidth / 2 - 10, 20, 20, 10);
    EXPECT_EQ(BitmapSize(part).cx, 20);
    EXPECT_EQ(PixelAt(part, 9, 0), kRed);
    EXPECT_EQ(PixelAt(part, 10, 9), kBlue);
}

TEST(Screen, WholeWindowScreenAndActiveWindow) {
    const PatternWindow window;
    const clsScreen screen;
    const RECT frame = window.Frame();
    const POINT client = window.ClientOrigin();
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;

    const forms::StdPicture framed = screen.CaptureWindow(window.hwnd(), false, 0, 0, width, height);
    EXPECT_EQ(BitmapSize(framed).cx, width);
    EXPECT_EQ(PixelAt(framed, client.x - frame.left, client.y - frame.top), kRed);
    EXPECT_EQ(PixelAt(framed, client.x - frame.left + kClientWidth - 1, client.y - frame.top), kBlue);
    // The frame the desktop draws is in the picture, and it is not the client's colour.
    EXPECT_NE(PixelAt(framed, width / 2, 1), kBlue);

    const forms::StdPicture desktop = screen.CaptureScreen();
    EXPECT_EQ(BitmapSize(desktop).cx, GetSystemMetrics(SM_CXVIRTUALSCREEN));
    EXPECT_EQ(BitmapSize(desktop).cy, GetSystemMetrics(SM_CYVIRTUALSCREEN));
    const int dx = -GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int dy = -GetSystemMetrics(SM_YVIRTUALSCREEN);
    EXPECT_EQ(PixelAt(desktop, client.x + dx + 5, client.y + dy + 5), kRed);
    EXPECT_EQ(PixelAt(desktop, client.x + dx + kClientWidth - 5, client.y + dy + 5), kBlue);

    ASSERT_TRUE(formstest::PumpUntil([&] {
        SetForegroundWindow(window.hwnd());
        return GetForegroundWindow() == window.hwnd();
    }));
    const forms::StdPicture active = screen.CaptureActiveWindow();
    EXPECT_EQ(BitmapSize(active).cx, width);
    EXPECT_EQ(BitmapSize(active).cy, height);
}

class frmCaptured : public forms::Form {
public:
    frmCaptured() : Form({.Caption = "Captured", .Left = 1500, .Top = 1500, .Width = 4500, .Height = 3000}) {}
};

TEST(Screen, FormAndClientAreSizedByTheForm) {
    auto form = forms::New<frmCaptured>();
    form->Show();
    const clsScreen screen;
    RECT frame{};
    GetWindowRect(form->hWnd(), &frame);
    RECT client{};
    GetClientRect(form->hWnd(), &client);
    const forms::StdPicture outer = screen.CaptureForm(*form);
    EXPECT_EQ(BitmapSize(outer).cx, frame.right - frame.left);
    EXPECT_EQ(BitmapSize(outer).cy, frame.bottom - frame.top);
    form->SetScaleMode(forms::ScaleMode::Inches);
    const forms::StdPicture inner = screen.CaptureClient(*form);
    EXPECT_EQ(BitmapSize(inner).cx, client.right);
    EXPECT_EQ(BitmapSize(inner).cy, client.bottom);
    form->Unload();
}

TEST(Screen, FailedCapturesAreEmptyPictures) {
    const clsScreen screen;
    PatternWindow window;
    const HWND gone = window.hwnd();
    struct Row {
        const char* what;
        HWND hwnd;
        int width, height;
    };
    window.Destroy();
    const PatternWindow alive;
    const Row rows[] = {
        {"destroyed window", gone, 10, 10},
        {"zero width", alive.hwnd(), 0, 10},
        {"zero height", alive.hwnd(), 10, 0},
        {"negative size", alive.hwnd(), -5, -5},
    };
    for (const Row& row : rows) {
        const forms::StdPicture picture = screen.CaptureWindow(row.hwnd, true, 0, 0, row.width, row.height);
        EXPECT_FALSE(picture.IsNothing()) << row.what;
        EXPECT_EQ(picture.Handle(), nullptr) << row.what;
    }
}

// A page of 8 x 10 inches (portrait) in twips; landscape swaps the sides.
class FakePrinter final : public forms::IPrinter {
public:
    int Orientation() const override { return orientation_; }
    void SetOrientation(int value) override { orientation_ = value; }
    forms::ScaleMode GetScaleMode() const override { return forms::ScaleMode::Twips; }
    float ScaleWidth() const override { return orientation_ == forms::orientation::Portrait ? 11520 : 14400; }
    float ScaleHeight() const override { return orientation_ == forms::orientation::Portrait ? 14400 : 11520; }
    float ScaleX(float value, forms::ScaleMode from, std::optional<forms::ScaleMode> to) const override {
        return Convert(value, from, to.value_or(forms::ScaleMode::Twips));
    }
    float ScaleY(float value, forms::ScaleMode from, std::optional<forms::ScaleMode> to) const override {
        return Convert(value, from, to.value_or(forms::ScaleMode::Twips));
    }
    void PaintPicture(const forms::StdPicture&, float x, float y, std::optional<float> width,
                      std::optional<float> height) override {
        paints.push_back({x, y, width.value_or(-1), height.value_or(-1)});
    }
    void EndDoc() override {}

    struct Paint {
        float x, y, width, height;
    };
    std::vector<Paint> paints;

private:
    // Twips <-> HiMetric: 1440 twips = 2540 HiMetric.
    static float Convert(float value, forms::ScaleMode from, forms::ScaleMode to) {
        if (from == to) return value;
        return from == forms::ScaleMode::Twips ? value * 2540.0f / 1440.0f : value * 1440.0f / 2540.0f;
    }
    int orientation_ = forms::orientation::Portrait;
};

forms::StdPicture BitmapOf(int width, int height) {
    const HDC screen = GetDC(nullptr);
    const HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    return forms::StdPicture::FromBitmap(bitmap);
}

TEST(Screen, PrintPictureToFitPage) {
    struct Row {
        int width, height;
        int orientation;
        float printedWidth, printedHeight;
    };
    const Row rows[] = {
        // 4:3 is wider than a 10 x 8 inch landscape page: full width.
        {800, 600, forms::orientation::Landscape, 14400, 10800},
        // 3:4 is taller than an 8 x 10 inch portrait page: full height.
        {600, 800, forms::orientation::Portrait, 10800, 14400},
        {500, 500, forms::orientation::Portrait, 11520, 11520},
    };
    const clsScreen screen;
    for (const Row& row : rows) {
        FakePrinter printer;
        screen.PrintPictureToFitPage(printer, BitmapOf(row.width, row.height));
        EXPECT_EQ(printer.Orientation(), row.orientation) << row.width;
        ASSERT_EQ(printer.paints.size(), 1u);
        EXPECT_EQ(printer.paints[0].x, 0);
        EXPECT_EQ(printer.paints[0].y, 0);
        EXPECT_NEAR(printer.paints[0].width, row.printedWidth, 1) << row.width;
        EXPECT_NEAR(printer.paints[0].height, row.printedHeight, 1) << row.width;
    }
    // A picture without size prints nothing.
    FakePrinter printer;
    screen.PrintPictureToFitPage(printer, forms::StdPicture::Empty());
    EXPECT_TRUE(printer.paints.empty());
}

TEST(Screen, WallpaperFromWinIni) {
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    const std::string ini = std::string(windows) + "\\win.ini";
    char old[260] = {};
    const DWORD had = GetPrivateProfileStringA("Desktop", "wallpaper", "\x01", old, sizeof old, ini.c_str());
    const bool existed = !(had == 1 && old[0] == '\x01');
    const clsScreen screen;
    WritePrivateProfileStringA("Desktop", "wallpaper", "C:\\pictures\\sunset.bmp", ini.c_str());
    EXPECT_EQ(screen.GetWallPaper(), "C:\\pictures\\sunset.bmp");
    WritePrivateProfileStringA("Desktop", "wallpaper", nullptr, ini.c_str());
    EXPECT_EQ(screen.GetWallPaper(), "");
    if (existed) WritePrivateProfileStringA("Desktop", "wallpaper", old, ini.c_str());
}

TEST(Screen, TaskbarHidesAndShows) {
    // The desktop of the tests may have no taskbar: then a window of the taskbar's class stands in for it.
    HWND taskbar = FindWindowA("Shell_TrayWnd", "");
    HWND standIn = nullptr;
    if (!taskbar) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "Shell_TrayWnd";
        RegisterClassA(&wc);
        standIn = CreateWindowExA(WS_EX_TOOLWINDOW, "Shell_TrayWnd", "", WS_POPUP | WS_VISIBLE, 0, 990, 1280, 34,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        taskbar = standIn;
    }
    ASSERT_NE(taskbar, nullptr);
    RECT before{};
    GetWindowRect(taskbar, &before);
    const clsScreen screen;
    // In the order that leaves the taskbar as it was.
    if (IsWindowVisible(taskbar)) {
        screen.HideTB();
        EXPECT_FALSE(IsWindowVisible(taskbar));
        screen.ShowTB();
        EXPECT_TRUE(IsWindowVisible(taskbar));
    } else {
        screen.ShowTB();
        EXPECT_TRUE(IsWindowVisible(taskbar));
        screen.HideTB();
        EXPECT_FALSE(IsWindowVisible(taskbar));
    }
    RECT after{};
    GetWindowRect(taskbar, &after);
    EXPECT_TRUE(EqualRect(&before, &after));
    if (standIn) DestroyWindow(standIn);
}

}  // namespace
