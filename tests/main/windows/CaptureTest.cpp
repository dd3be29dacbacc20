// The capture window's settings, seconds box, arming and firing, recovery and failure, and the custom-area
// window's selection over a shot of known pixels. Real screen captures and the foreground: desktop lock.
#include "main/browser/frmQuillview.h"
#include "main/core/MainWindowView.h"
#include "main/core/Module1.h"
#include "main/windows/Dialog.h"
#include "main/windows/frmCap.h"
#include "main/windows/WindowResources.h"
#include "main/windows/frmCrop.h"
#include "platform/forms/Screen.h"
#include "platform/runtime/Settings.h"
#include "tests/lib/comserver/TestSupport.h"
#include "tests/main/core/CoreFixture.h"
#include "tests/platform/forms/InputSupport.h"
#include "tests/support/Apartment.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace {

using formstest::Later;
using formstest::PumpUntil;

SIZE BitmapSize(const forms::StdPicture& picture) {
    BITMAP bm{};
    if (!picture.Handle() || !GetObjectA(picture.Handle(), sizeof(bm), &bm)) return {0, 0};
    return {bm.bmWidth, bm.bmHeight};
}

COLORREF PixelOf(const forms::StdPicture& picture, int x, int y) {
    HDC dc = CreateCompatibleDC(nullptr);
    const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HBITMAP>(picture.Handle()));
    const COLORREF c = GetPixel(dc, x, y);
    SelectObject(dc, old);
    DeleteDC(dc);
    return c;
}

// The real main window, loaded without its start-up, takes every hand-over.
class Capture : public coretest::CoreTest {
protected:
    Capture() {
        Module1::gImageSaved = true;
        Module1::gStatusPanelsReady = false;
        Main().LoadWithoutStartUp();
    }
    ~Capture() override {
        forms::Default<frmCap>().Unload();
        forms::Default<frmCrop>().Unload();
        Main().Unload();
        Main().TrayIconEnabled = false;
        Main().TrayIconMode = 0;
    }
    // The main window's tray icon shown, as its "always" option keeps it.
    static void ShowTrayIcon() {
        Main().TrayIconEnabled = true;
        Main().TrayIconMode = 1;
        Main().morwen.SetIcon(forms::LoadResPicture(windows_res::kCaptureIcon, forms::res_kind::Icon));
        Main().morwen.SetShown(true);
    }
    static frmCap& Cap() { return forms::Default<frmCap>(); }
    static frmQuillview& Main() { return forms::Default<frmQuillview>(); }
    static std::string Stored(const char* key) { return forms::GetSetting("Quillview2", "ScreenCapture", key, "-"); }
    // What the main window shows, once a capture has reached it.
    static forms::StdPicture HandedOver() { return Main().Image1.Picture(); }
    static bool Handed() {
        const forms::StdPicture shown = HandedOver();
        return !shown.IsNothing() && shown.Handle();
    }

    const Module1::ScopedMainWindowView mainView_{Main()};
    formstest::Script unexpectedBoxes_;
};

TEST_F(Capture, SettingsReadEitherFormAndAreStoredAsTheOptionsWrite) {
    Cap().Load();
    EXPECT_TRUE(Cap().OptCapfull.Value());
    EXPECT_TRUE(Cap().optTimer.Value());
    EXPECT_EQ(Cap().cboKeys.ListIndex(), 0);
    EXPECT_EQ(Cap().Text1.Text(), "1");
    EXPECT_EQ(Cap().chkQVinvis.Value(), 0);
    Cap().Unload();

    for (const auto& [key, value] : std::vector<std::pair<const char*, const char*>>{
             {"fullscrn", "False"}, {"custarea", "1"}, {"timer", "0"}, {"systray", "True"}, {"cbokeys", "11"},
             {"timerval", "7"}, {"qvinvis", "1"}}) {
        forms::SaveSetting("Quillview2", "ScreenCapture", key, value);
    }
    Cap().Load();
    EXPECT_TRUE(Cap().optCapCust.Value());
    EXPECT_TRUE(Cap().optSystray.Value());
    EXPECT_TRUE(Cap().Frasys.Visible());
    EXPECT_FALSE(Cap().FraTimer.Visible());
    EXPECT_EQ(Cap().cboKeys.ListIndex(), 11);
    EXPECT_EQ(Cap().Text1.Text(), "7");
    EXPECT_EQ(Cap().chkQVinvis.Value(), 1);
    // Arming by tray icon stores everything, in the options' own forms.
    Cap().chkQVinvis.SetValue(0);
    Cap().cmdOK.SetValue(true);
    EXPECT_EQ(Stored("fullscrn"), "False");
    EXPECT_EQ(Stored("custarea"), "True");
    EXPECT_EQ(Stored("systray"), "True");
    EXPECT_EQ(Stored("timer"), "False");
    EXPECT_EQ(Stored("cbokeys"), "11");
    EXPECT_EQ(Stored("timerval"), "7");
    EXPECT_EQ(Stored("qvinvis"), "0");
    EXPECT_TRUE(Cap().sysCapture.Shown());
    EXPECT_FALSE(Cap().Visible());
    EXPECT_FALSE(Main().Toolbar(9).Enabled()) << "the Capture Screen button waits for the capture";
    Cap().Unload();
    EXPECT_TRUE(Main().Toolbar(9).Enabled());
    EXPECT_FALSE(Handed());
}

TEST_F(Capture, SecondsBoxTakesDigitsWithinOneToThreeHundred) {
    struct Row {
        const char* before;
        const char* typed;
        const char* after;
    };
    const Row rows[] = {
        {"", "a", ""}, {"", "12", "12"}, {"30", "1", "300"}, {"0", "5", "1"},
        {"400", "\b", "40"}, {"12", "\b", "1"}, {"", "07", "17"},
    };
    Cap().Show();
    for (const Row& row : rows) {
        Cap().Text1.SetText(row.before);
        Cap().Text1.SetSelStart(static_cast<int>(std::string(row.before).size()));
        for (const char* c = row.typed; *c; ++c) {
            const WPARAM key = *c == '\b' ? VK_BACK : static_cast<WPARAM>(VkKeyScanA(*c) & 0xFF);
            SendMessageA(Cap().Text1.hWnd(), WM_KEYDOWN, key, 0);
            SendMessageA(Cap().Text1.hWnd(), WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(*c)), 0);
            SendMessageA(Cap().Text1.hWnd(), WM_KEYUP, key, 0xC0000001);
        }
        EXPECT_EQ(Cap().Text1.Text(), row.after) << row.before << " + " << row.typed;
    }
    struct OkRow {
        const char* text;
        std::int16_t seconds;
    };
    for (const OkRow& r : {OkRow{"", 1}, OkRow{"12x", 1}, OkRow{"0", 1}, OkRow{"301", 300}, OkRow{"45", 45}}) {
        EXPECT_EQ(frmCap::SecondsFrom(r.text), r.seconds) << r.text;
    }
}

TEST_F(Capture, TrayTriggerRefusesClientAreaAndActiveWindow) {
    for (forms::OptionButton* kind : {&Cap().optCapClient, &Cap().OptCapActWnd}) {
        formstest::Script script;
        script->ExpectMsgBox("You cannot initiate a capture of a client area, or an active window with the System "
                             "Tray Icon activation method. More information is in the Offline Help in the Features "
                             "Guide.",
                             forms::mb::Exclamation, "Screen Capture", forms::answer::Ok);
        bool stillUp = false;
        Later([&] {
            kind->SetValue(true);
            Cap().optSystray.SetValue(true);
            Cap().cmdOK.SetValue(true);
            stillUp = Cap().Visible();
            Cap().cmdCancel.SetValue(true);
        });
        Cap().Show(forms::ShowMode::Modal);
        EXPECT_TRUE(stillUp);
        EXPECT_EQ(Stored("systray"), "-") << "nothing saved";
        EXPECT_EQ(script->Remaining(), 0u);
    }
    EXPECT_FALSE(Handed());
}

TEST_F(Capture, CountDownCapturesTheWholeScreenOnItsLastTick) {
    ShowTrayIcon();
    Main().Show();
    Later([] {
        Cap().Text1.SetText("1");
        Cap().chkQVinvis.SetValue(1);
        Cap().cmdOK.SetValue(true);
    });
    Cap().Show(forms::ShowMode::Modal);  // returns when the window hides at OK
    EXPECT_TRUE(Cap().IsLoaded());
    EXPECT_FALSE(Module1::DialogOpen()) << "an armed window holds nothing";
    EXPECT_FALSE(Main().Visible());
    EXPECT_FALSE(Main().morwen.Shown());
    EXPECT_FALSE(Main().Toolbar(9).Enabled());
    ASSERT_TRUE(PumpUntil([&] { return Handed(); }, 5000));
    const SIZE size = BitmapSize(HandedOver());
    EXPECT_EQ(size.cx, GetSystemMetrics(SM_CXVIRTUALSCREEN));
    EXPECT_EQ(size.cy, GetSystemMetrics(SM_CYVIRTUALSCREEN));
    EXPECT_TRUE(Main().Visible());
    EXPECT_TRUE(Main().morwen.Shown()) << "the tray icon comes back with the window";
    EXPECT_TRUE(Main().Toolbar(9).Enabled());
    EXPECT_FALSE(Cap().IsLoaded());
    EXPECT_EQ(Cap().TickCount, 0);
}

TEST_F(Capture, RecoveryClosesOnlyTheRecoveryProgramsWindow) {
    Form().Show();
    Later([] {
        Cap().Text1.SetText("300");
        Cap().cmdOK.SetValue(true);
    });
    Cap().Show(forms::ShowMode::Modal);
    ASSERT_TRUE(Cap().Rec.Enabled());
    formstest::Script script;
    script->ExpectMsgBox("Quillview has been recovered.",
                         forms::mb::Information | forms::mb::SystemModal, "Recovered", forms::answer::Ok);
    const std::string foreign = std::to_string(reinterpret_cast<LONG_PTR>(Form().hWnd()));
    forms::SaveSetting("Quillview2", "Options", "qvrechwnd", foreign);
    forms::SaveSetting("Quillview2", "Options", "qvrec", "1");
    ASSERT_TRUE(PumpUntil([] { return !Cap().IsLoaded(); }, 5000));
    EXPECT_EQ(script->Remaining(), 0u);
    EXPECT_TRUE(IsWindow(Form().hWnd()));
    PumpUntil([] { return false; }, 200);
    EXPECT_TRUE(Form().IsLoaded()) << "a window of another program is left alone";
    EXPECT_FALSE(frmCap::IsRecoveryWindow(Form().hWnd()));
    EXPECT_EQ(forms::GetSetting("Quillview2", "Options", "qvrec", "-"), "0");
    EXPECT_FALSE(Handed());
}

// A capture that cannot be taken (with the program made invisible no window of another program is active)
// is told, and the main window comes back as it was before, its tray icon too; OK is pressed by the mouse.
TEST_F(Capture, ACaptureThatCannotBeTakenIsToldAndTheMainWindowComesBack) {
    struct Row {
        const char* what;
        forms::OptionButton& kind;
        bool tray;
    };
    const Row rows[] = {
        {"active window", Cap().OptCapActWnd, false},
        {"active window, tray icon shown", Cap().OptCapActWnd, true},
        {"client area", Cap().optCapClient, false},
    };
    for (const Row& row : rows) {
        Main().TrayIconEnabled = false;
        Main().morwen.SetShown(false);
        if (row.tray) ShowTrayIcon();
        Main().Show();
        formstest::Script script;
        script->ExpectMsgBox("The screen could not be captured.", forms::mb::Exclamation, "Screen Capture",
                             forms::answer::Ok);
        Later([&] {
            row.kind.SetValue(true);
            Cap().optTimer.SetValue(true);
            Cap().Text1.SetText("1");
            Cap().chkQVinvis.SetValue(1);
            EXPECT_TRUE(PumpUntil([] { return GetForegroundWindow() == Cap().hWnd(); }, 3000));
            RECT ok{};
            GetWindowRect(Cap().cmdOK.hWnd(), &ok);
            const POINT at{(ok.left + ok.right) / 2, (ok.top + ok.bottom) / 2};
            formstest::MouseAt(at);
            formstest::LeftDown(at);
            formstest::LeftUp(at);
        });
        Cap().Show(forms::ShowMode::Modal);  // returns when the window hides at OK
        EXPECT_FALSE(Main().Visible()) << row.what;
        ASSERT_TRUE(PumpUntil([] { return !Cap().IsLoaded(); }, 5000)) << row.what;
        EXPECT_EQ(script->Remaining(), 0u) << row.what;
        EXPECT_TRUE(Main().Visible()) << row.what;
        EXPECT_EQ(Main().morwen.Shown(), row.tray) << row.what;
        EXPECT_TRUE(Main().Toolbar(9).Enabled()) << row.what;
        EXPECT_FALSE(Handed()) << row.what;
    }
}

// The window ends one margin below its buttons, the margin on their left, at whatever DPI it runs.
TEST_F(Capture, TheWindowEndsOneMarginBelowItsButtons) {
    Cap().Show();
    RECT client{}, ok{};
    GetClientRect(Cap().hWnd(), &client);
    GetWindowRect(Cap().cmdOK.hWnd(), &ok);
    MapWindowPoints(nullptr, Cap().hWnd(), reinterpret_cast<POINT*>(&ok), 2);
    EXPECT_NEAR(client.bottom - ok.bottom, ok.left, 1) << "client " << client.bottom << ", button " << ok.bottom;
    Cap().Unload();
}

TEST(CaptureRecovery, TheStoredHandleIsTheWholePointerSizedNumber) {
    struct Row {
        std::string text;
        LONG_PTR handle;
    };
    std::vector<Row> rows = {
        {"0", 0}, {"65548", 65548}, {"1000001", 1000001}, {"2147483647", 2147483647},
        // Not a number of its own: no handle at all.
        {"", 0}, {"12x", 0}, {" 12", 0}, {"99999999999999999999999", 0},
    };
    if constexpr (sizeof(LONG_PTR) == 8) rows.push_back({"4294967298", static_cast<LONG_PTR>(4294967298LL)});
    for (const Row& row : rows)
        EXPECT_EQ(reinterpret_cast<LONG_PTR>(frmCap::RecoveryHandleFrom(row.text)), row.handle) << row.text;
}

TEST(CaptureArea, ActiveWindowTakesItsVisiblePartOnItsMonitor) {
    const RECT monitor{0, 0, 1920, 1080};
    struct Row {
        RECT frame;
        bool zoomed;
        RECT expected;
    };
    for (const Row& r : {Row{{100, 80, 500, 380}, false, {100, 80, 500, 380}},
                         Row{{-8, -8, 1928, 1048}, true, {0, 0, 1920, 1048}},
                         Row{{2000, 0, 2400, 300}, true, {0, 0, 0, 0}}}) {
        const RECT a = frmCap::ActiveWindowArea(r.frame, r.zoomed, monitor);
        EXPECT_TRUE(EqualRect(&a, &r.expected)) << a.left << "," << a.top << "," << a.right << "," << a.bottom;
    }
}

// A shot of known pixels: each pixel's colour encodes its position.
COLORREF PatternAt(int x, int y) { return RGB((x >> 8) * 16 + (y >> 8), y & 0xFF, x & 0xFF); }

forms::StdPicture PatternShot(int w, int h) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 24, BI_RGB};
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const int stride = (w * 3 + 3) & ~3;
    for (int y = 0; y < h; ++y) {
        auto* row = static_cast<unsigned char*>(bits) + y * stride;
        for (int x = 0; x < w; ++x) {
            row[x * 3 + 0] = static_cast<unsigned char>(x & 0xFF);
            row[x * 3 + 1] = static_cast<unsigned char>(y & 0xFF);
            row[x * 3 + 2] = static_cast<unsigned char>((x >> 8) * 16 + (y >> 8));
        }
    }
    return forms::StdPicture::FromBitmap(bmp);
}

class Crop : public Capture {
protected:
    const qvtest::Apartment apartment_;
    const testsupport::RegisteredServer services_{ORCMCLS_DLL};
};

TEST_F(Crop, DragInAnyDirectionCapturesExactlyTheDrawnArea) {
    ASSERT_TRUE(services_.Registered());
    forms::SaveSetting("Quillview2", "Options", "scrnnowarn", "1");
    struct Row {
        POINT press, release;
        RECT area;
    };
    const Row rows[] = {
        {{100, 50}, {340, 185}, {100, 50, 340, 185}},
        {{340, 185}, {100, 50}, {100, 50, 340, 185}},
        {{300, 40}, {60, 200}, {60, 40, 300, 200}},
        {{60, 200}, {300, 40}, {60, 40, 300, 200}},
    };
    for (const Row& row : rows) {
        // A capture shown is an unsaved picture: the next one would ask to save it.
        Module1::gImageSaved = true;
        Main().Image1.SetPicture({});
        auto& crop = forms::Default<frmCrop>();
        crop.SetPic(PatternShot(400, 300));
        crop.Show();
        const auto at = [](POINT p) { return MAKELPARAM(p.x, p.y); };
        SendMessageA(crop.hWnd(), WM_LBUTTONDOWN, MK_LBUTTON, at(row.press));
        SendMessageA(crop.hWnd(), WM_MOUSEMOVE, MK_LBUTTON, at(row.release));
        const std::string readout = crop.Size.Caption();
        const float sizeLeft = crop.Size.Left(), sizeTop = crop.Size.Top();
        SendMessageA(crop.hWnd(), WM_LBUTTONUP, 0, at(row.release));
        SendMessageA(crop.hWnd(), WM_KEYDOWN, 'A', 0);
        ASSERT_TRUE(Handed());
        const forms::StdPicture handedOver = HandedOver();
        const LONG w = row.area.right - row.area.left, h = row.area.bottom - row.area.top;
        EXPECT_EQ(readout, std::to_string(w) + "x" + std::to_string(h));
        EXPECT_EQ(sizeLeft, row.area.right + 9);
        EXPECT_EQ(sizeTop, row.area.bottom + 9);
        const SIZE got = BitmapSize(handedOver);
        EXPECT_EQ(got.cx, w);
        EXPECT_EQ(got.cy, h);
        // The first and last pixels are those of the area's corners in the shot.
        EXPECT_EQ(PixelOf(handedOver, 0, 0), PatternAt(row.area.left, row.area.top));
        EXPECT_EQ(PixelOf(handedOver, w - 1, h - 1), PatternAt(row.area.right - 1, row.area.bottom - 1));
        EXPECT_FALSE(crop.IsLoaded());
    }
}

TEST_F(Crop, AKeyWithoutAnAreaAsksAndTheHintIsShownUntilTicked) {
    ASSERT_TRUE(services_.Registered());
    auto& crop = forms::Default<frmCrop>();
    // The hint first; ticking its box stores the choice.
    Later([] {
        auto& dialog = forms::Default<Dialog>();
        EXPECT_EQ(dialog.Caption(), "Custom Capture");
        EXPECT_EQ(dialog.Label1.Caption(), "The whole screen has now been captured, you may now draw an area with "
                                           "the mouse and then press any key to select it.");
        dialog.Check1.SetValue(1);
        dialog.OKButton.SetValue(true);
    });
    crop.SetPic(PatternShot(400, 300));
    EXPECT_EQ(forms::GetSetting("Quillview2", "Options", "scrnnowarn", "-"), "1");
    EXPECT_TRUE(GetWindowLongA(crop.hWnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    crop.Show();
    for (const int answer : {forms::answer::No, forms::answer::Yes}) {
        formstest::Script script;
        script->ExpectMsgBox("No area has been selected, would you like to capture the whole screen?",
                             forms::mb::YesNo | forms::mb::Question | forms::mb::SystemModal, "Capture Error", answer);
        // A click without a drag leaves nothing drawn.
        SendMessageA(crop.hWnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
        SendMessageA(crop.hWnd(), WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
        SendMessageA(crop.hWnd(), WM_KEYDOWN, VK_SHIFT, 0);
        EXPECT_EQ(script->Remaining(), 0u);
        EXPECT_EQ(Handed(), answer == forms::answer::Yes);
    }
    ASSERT_TRUE(Handed());
    EXPECT_EQ(BitmapSize(HandedOver()).cx, 400);

    // Loaded again for a copy: no hint, nothing on top.
    crop.Picture1.SetWidth(10);
    EXPECT_FALSE(GetWindowLongA(crop.hWnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    crop.Unload();
}

TEST_F(Crop, CustomAreaWithTheMainWindowHiddenBringsItsTrayIconBack) {
    ASSERT_TRUE(services_.Registered());
    forms::SaveSetting("Quillview2", "Options", "scrnnowarn", "1");
    ShowTrayIcon();
    Main().Show();
    Later([] {
        Cap().optCapCust.SetValue(true);
        Cap().Text1.SetText("1");
        Cap().chkQVinvis.SetValue(1);
        Cap().cmdOK.SetValue(true);
    });
    Cap().Show(forms::ShowMode::Modal);
    auto& crop = forms::Default<frmCrop>();
    ASSERT_TRUE(PumpUntil([&] { return crop.IsLoaded() && crop.Visible(); }, 5000));
    EXPECT_FALSE(Main().morwen.Shown());
    SendMessageA(crop.hWnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    SendMessageA(crop.hWnd(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(50, 40));
    SendMessageA(crop.hWnd(), WM_LBUTTONUP, 0, MAKELPARAM(50, 40));
    SendMessageA(crop.hWnd(), WM_KEYDOWN, 'A', 0);
    ASSERT_TRUE(Handed());
    EXPECT_EQ(BitmapSize(HandedOver()).cx, 40);
    EXPECT_EQ(BitmapSize(HandedOver()).cy, 30);
    EXPECT_TRUE(Main().Visible());
    EXPECT_TRUE(Main().morwen.Shown()) << "back before the hand-over, as for the other kinds";
    EXPECT_FALSE(crop.IsLoaded());
    EXPECT_FALSE(Cap().IsLoaded());
}

}  // namespace
