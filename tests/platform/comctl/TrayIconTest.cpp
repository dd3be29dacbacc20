#include "ComctlTestSupport.h"

#include "platform/comctl/TrayIcon.h"
#include "platform/forms/Form.h"
#include "platform/forms/Menu.h"

#include <gtest/gtest.h>

#include <shellapi.h>

#include <optional>
#include <string>

using namespace forms;
using namespace comctltest;

namespace {
constexpr COLORREF Marker = RGB(255, 0, 0);

class frmTray : public Form {
public:
    frmTray() : Form({.Caption = "Tray", .Width = 4000, .Height = 3000}) {
        morwen.MouseUp = [this](int& Button) {
            log("MouseUp " + std::to_string(Button));
            if (Button == 2 && popupOnRight) {
                PopupMenu(mnuMorwen);
                log("popup closed");
            }
        };
        morwen.DblClick = [this](int Button) { log("DblClick " + std::to_string(Button)); };
    }
    Log log;
    bool popupOnRight = false;
    TrayIcon morwen{*this, "morwen", {.Icon = StdPicture::FromIcon(SolidIcon(Marker)), .ToolTip = "Quillview"}};
    Menu mnuMorwen{*this, "mnuMorwen", {.Caption = "Morwen", .Visible = false}};
    Menu mnuShow{mnuMorwen, "mnuShow", {.Caption = "Show"}};
};

// Where the marker icon shows in the taskbar's notification area, if it does.
std::optional<POINT> FindIcon() {
    const HWND taskbar = FindWindowA("Shell_TrayWnd", nullptr);
    if (!taskbar) return std::nullopt;
    RECT r{};
    GetWindowRect(taskbar, &r);
    // The strip along the taskbar's middle, copied once: a pixel read per point is slow on a real screen.
    const int width = r.right - r.left;
    const int y = (r.top + r.bottom) / 2;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -1, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const HDC screen = GetDC(nullptr);
    const HDC dc = CreateCompatibleDC(screen);
    HBITMAP strip = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, strip);
    BitBlt(dc, 0, 0, width, 1, screen, r.left, y, SRCCOPY);
    GdiFlush();
    std::optional<POINT> found;
    const auto* px = static_cast<const DWORD*>(bits);
    for (int x = width - 1; x >= 0 && !found; --x) {
        if ((px[x] & 0xFFFFFF) == 0xFF0000) found = POINT{r.left + x - 4, y};  // inside the 16-pixel square
    }
    SelectObject(dc, old);
    DeleteObject(strip);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return found;
}

bool IconShows() { return FindIcon().has_value(); }

class TrayIconTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(FindWindowA("Shell_TrayWnd", nullptr)) << "the test desktop has no taskbar";
        // A previous test's icon may still be on its way out.
        ASSERT_TRUE(PumpUntil([] { return !IconShows(); })) << "a marker icon is in the tray already";
    }
    void TearDown() override { form->Unload(); }
    std::shared_ptr<frmTray> form = New<frmTray>();
};
}  // namespace

TEST_F(TrayIconTest, ShowsAndReportsButtonsOverTheIcon) {
    // The shell's messages come to a window of the icon's, made when it first goes into the tray.
    form->morwen.SetToolTip("Quillview");
    EXPECT_EQ(form->morwen.CallbackWindow(), nullptr);
    form->morwen.SetShown(true);
    EXPECT_NE(form->morwen.CallbackWindow(), nullptr);
    ASSERT_TRUE(PumpUntil(IconShows));
    const POINT at = *FindIcon();

    ASSERT_TRUE(ClickUntil(at, [&] { return !form->log.lines.empty(); }, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP));
    EXPECT_EQ(form->log.lines, (std::vector<std::string>{"MouseUp 2"}));

    form->log.Clear();
    DoubleClickAt(at);
    ASSERT_TRUE(PumpUntil([&] { return form->log.lines.size() >= 3; }));
    EXPECT_EQ(form->log.lines, (std::vector<std::string>{"MouseUp 1", "DblClick 1", "MouseUp 1"}));
}

TEST_F(TrayIconTest, HidingOrUnloadingTakesTheIconAway) {
    form->morwen.SetShown(true);
    ASSERT_TRUE(PumpUntil(IconShows));
    form->morwen.SetShown(false);
    EXPECT_FALSE(form->morwen.Shown());
    EXPECT_TRUE(PumpUntil([] { return !IconShows(); }));

    form->morwen.SetShown(true);
    ASSERT_TRUE(PumpUntil(IconShows));
    form->Unload();
    EXPECT_TRUE(PumpUntil([] { return !IconShows(); }));
    EXPECT_FALSE(form->morwen.Shown()) << "a new load starts from the design";
}

TEST_F(TrayIconTest, ANewTaskbarGetsTheShownIconBack) {
    form->morwen.SetShown(true);
    ASSERT_TRUE(PumpUntil(IconShows));
    // The taskbar lost its icons (as when it restarts), then announces itself.
    for (UINT id = 1; id < 64; ++id) {
        NOTIFYICONDATAA gone{sizeof gone};
        gone.hWnd = form->morwen.CallbackWindow();
        gone.uID = id;
        Shell_NotifyIconA(NIM_DELETE, &gone);
    }
    ASSERT_TRUE(PumpUntil([] { return !IconShows(); }));
    EXPECT_TRUE(form->morwen.Shown()) << "Shown reads what was set, whatever the shell holds";
    PostMessageA(form->morwen.CallbackWindow(), RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_TRUE(PumpUntil(IconShows));
}

TEST_F(TrayIconTest, PopupMenuFromTheIconClosesOnAClickElsewhere) {
    form->popupOnRight = true;  // the form stays hidden, as when it sits in the tray
    form->morwen.SetShown(true);
    ASSERT_TRUE(PumpUntil(IconShows));
    const POINT at = *FindIcon();
    // Elsewhere: the taskbar left of its notification area, which no test's window covers.
    RECT bar{};
    GetWindowRect(FindWindowA("Shell_TrayWnd", nullptr), &bar);
    const POINT elsewhere{bar.right - 200, (bar.top + bar.bottom) / 2};
    bool menuSeen = false;
    bool pollDone = false;
    int polls = 0;
    std::function<void()> poll = [&] {
        const HWND menu = FindWindowA("#32768", nullptr);
        // A click elsewhere, pressed again every half second in case a synthesized press was lost.
        if (menu && IsWindowVisible(menu) && polls % 25 == 0) {
            menuSeen = true;
            SendClickAt(elsewhere);
        }
        // A menu that stays open is ended so the test can report it instead of hanging.
        if (++polls == 200) EndMenu();
        if (polls < 200 && form->log.lines.size() < 2) Later(poll, 20);
        else pollDone = true;
    };
    Later(poll, 20);
    EXPECT_TRUE(ClickUntil(at, [&] { return !form->log.lines.empty(); }, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP));
    EXPECT_TRUE(PumpUntil([&] { return form->log.lines.size() >= 2; }, 8000));
    ASSERT_TRUE(PumpUntil([&] { return pollDone; }, 10000)) << "the poll must end before its state goes";
    EXPECT_TRUE(menuSeen);
    EXPECT_LT(polls, 200) << "the menu stayed open after the click elsewhere";
    EXPECT_EQ(form->log.lines, (std::vector<std::string>{"MouseUp 2", "popup closed"}));
}

TEST(TrayIconTip, CutAtACharacterBoundaryWithin127Bytes) {
    const std::string ascii(200, 'a');
    EXPECT_EQ(TrayIcon::ShellTip(ascii), std::string(127, 'a'));
    // "é" is two bytes in the program's code page (UTF-8): a cut inside it drops the whole character.
    const std::string accented = std::string(126, 'a') + "\xC3\xA9" + "b";
    EXPECT_EQ(TrayIcon::ShellTip(accented), std::string(126, 'a'));
    EXPECT_EQ(TrayIcon::ShellTip("Quillview"), "Quillview");
}
