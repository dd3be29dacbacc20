// The full-screen viewer opened over a small host window that stands in for the main window's lists and
// picture: opening, settings, fitting, keys, showing files, navigation and the close paths.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "main/core/MainWindowView.h"
#include "main/core/Module1.h"
#include "main/windows/PerMonitorDpi.h"
#include "main/windows/frmFullscn.h"
#include "platform/forms/ControlArray.h"
#include "platform/forms/Form.h"
#include "platform/forms/Menu.h"
#include "platform/forms/Screen.h"
#include "platform/forms/StdPicture.h"
#include "platform/forms/controls/DirListBox.h"
#include "platform/forms/controls/DriveListBox.h"
#include "platform/forms/controls/FileListBox.h"
#include "platform/forms/controls/PictureBox.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/Settings.h"
#include "tests/platform/forms/FormsTestSupport.h"
#include "tests/platform/forms/InputSupport.h"
#include "tests/support/TempFolder.h"

namespace {

class frmHost : public forms::Form, public Module1::MainWindowView {
public:
    frmHost() : Form({.Caption = "Host", .Width = 6000, .Height = 4000}) {}
    forms::PictureBox Picture1{*this, "Picture1", {0, 0, 3000, 2000}, {.BorderStyle = 0}};
    forms::PictureBox Image1{Picture1, "Image1", {0, 0, 300, 300}, {.AutoSize = true, .BorderStyle = 0}};
    forms::DriveListBox Drive1{*this, "Drive1", {100, 2100, 2000, 315}, {}};
    forms::DirListBox Dir1{*this, "Dir1", {3100, 0, 2000, 1500}, {}};
    forms::FileListBox File1{*this, "File1", {3100, 1600, 2000, 1500}, {.MultiSelect = forms::multiselect::Extended}};
    forms::Menu mnuFav{*this, "mnuFav", {.Caption = "F&avourites"}};
    forms::ControlArray<forms::Menu> mnuFav1{mnuFav, "mnuFav1", {{0, {.Caption = "No Favourites", .Enabled = false}}}};

    forms::ControlArray<forms::Menu>& FavouritesMenu() override { return mnuFav1; }
    forms::Form& LoaderWindow() override { return *this; }
    forms::PictureBox& PictureArea() override { return Picture1; }
    forms::PictureBox& PictureHolder() override { return Image1; }
    forms::DirListBox& FolderList() override { return Dir1; }
    forms::FileListBox& FileList() override { return File1; }
    forms::DriveListBox& DriveList() override { return Drive1; }
    std::string FolderPath() override { return Dir1.Path(); }
};

// A 24-bit bitmap file of one colour.
std::string BmpBytes(int width, int height, COLORREF colour) {
    const int stride = (width * 3 + 3) & ~3;
    const std::uint32_t imageSize = static_cast<std::uint32_t>(stride) * static_cast<std::uint32_t>(height);
    std::string bytes(54 + imageSize, '\0');
    const auto put32 = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(2, static_cast<std::uint32_t>(bytes.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<std::uint32_t>(width));
    put32(22, static_cast<std::uint32_t>(height));
    bytes[26] = 1;
    bytes[28] = 24;
    put32(34, imageSize);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::size_t at = 54 + static_cast<std::size_t>(y) * stride + static_cast<std::size_t>(x) * 3;
            bytes[at] = static_cast<char>(GetBValue(colour));
            bytes[at + 1] = static_cast<char>(GetGValue(colour));
            bytes[at + 2] = static_cast<char>(GetRValue(colour));
        }
    return bytes;
}

constexpr const char* kApp = "Quillview2";

void ClearSettings() {
    for (const char* key : {"Colour", "Info"}) forms::DeleteSetting(kApp, "FullScreen", key);
    for (const char* key : {"fsmbal", "greymode", "disfsnav", "closeafter1", "fsnav"})
        forms::DeleteSetting(kApp, "Options", key);
}

class FullscnTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearSettings();
        Module1::gStartedFullScreen = false;
        Module1::gFullScreenOpen = false;
        Module1::gCurrentImagePath.clear();
        for (int i = 1; i <= 12; ++i) {
            char name[32];
            wsprintfA(name, "pic%02d.bmp", i);
            folder.Write(name, BmpBytes(8 + i, 6, RGB(10 * i, 0, 0)));
        }
        folder.Write("notes.txt", "not a picture");
        host.Show();
        host.Drive1.SetDrive(folder.Path());
        host.Dir1.SetPath(folder.Path());
        host.File1.SetPath(folder.Path());
        host.File1.SetPattern("*.bmp");
        host.File1.SetListIndex(4);
        host.Image1.SetPicture(forms::LoadPicture(folder / "pic05.bmp"));
        Module1::gCurrentImagePath = folder / "pic05.bmp";
    }
    void TearDown() override {
        if (viewer.IsLoaded()) viewer.Unload();
        host.Unload();
        ClearSettings();
    }
    // Opens the viewer modelessly, with the click guard over.
    void Open() {
        viewer.Show();
        viewer.Tim.SetEnabled(false);
    }
    float Tppx() const { return forms::Screen().TwipsPerPixelX(); }

    qvtest::TempFolder folder;
    frmHost host;
    Module1::ScopedMainWindowView view{host};
    frmFullscn& viewer = forms::Default<frmFullscn>();
};

TEST(FullscnFit, OneAxisAgainstTheScreen) {
    struct Row {
        float image, screen;
        fullscn::AxisFit want;
    };
    const Row rows[] = {
        // Smaller: centred without rounding, the area is the screen, no bar.
        {14900, 15000, {50, 15000, false, 100}},
        {241, 15000, {7379.5f, 15000, false, -14559}},
        // Between the area and the screen counts as smaller.
        {14850, 15000, {75, 15000, false, 50}},
        // Exactly the screen.
        {15000, 15000, {0, 15000, false, 200}},
        // Larger: the bar's range is the part that does not fit beside the bar.
        {16000, 15000, {0, 14800, true, 1200}},
        // Far beyond a 16-bit range of twips: a 6000-pixel photo on a 1920-pixel screen.
        {90000, 28800, {0, 28600, true, 61400}},
    };
    for (const Row& r : rows) {
        const fullscn::AxisFit got = fullscn::FitAxis(r.image, r.screen);
        EXPECT_FLOAT_EQ(got.imagePos, r.want.imagePos) << r.image;
        EXPECT_FLOAT_EQ(got.areaSize, r.want.areaSize) << r.image;
        EXPECT_EQ(got.barVisible, r.want.barVisible) << r.image;
        EXPECT_EQ(got.barMax, r.want.barMax) << r.image;
    }
}

TEST(FullscnMonitor, TheMonitorOfTheWindow) {
    const RECT primary = fullscn::MonitorRectOf(nullptr);
    EXPECT_EQ(primary.right - primary.left, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(primary.bottom - primary.top, GetSystemMetrics(SM_CYSCREEN));
    // A window far off every monitor still gets the nearest one.
    HWND off = CreateWindowExA(0, "STATIC", "", WS_POPUP, -30000, -30000, 10, 10, nullptr, nullptr, nullptr, nullptr);
    const RECT nearest = fullscn::MonitorRectOf(off);
    EXPECT_GT(nearest.right - nearest.left, 0);
    DestroyWindow(off);
}

TEST_F(FullscnTest, OpeningTakesTheMainWindowsPictureAndSelection) {
    // Replaced on disk after the main window showed it: the viewer shows what the main window holds.
    folder.Write("pic05.bmp", BmpBytes(40, 40, RGB(0, 0, 255)));
    Open();
    ASSERT_TRUE(viewer.IsLoaded());
    EXPECT_TRUE(viewer.Image1.Picture() == host.Image1.Picture());
    EXPECT_EQ(viewer.File1.ListCount(), 12);
    EXPECT_EQ(viewer.File1.FileName(), "pic05.bmp");
    EXPECT_EQ(viewer.lblNumber.Caption(), "5");
    EXPECT_EQ(viewer.lblCount.Caption(), "12");
    EXPECT_EQ(viewer.Label1.Caption(), folder / "pic05.bmp");
    EXPECT_EQ(viewer.Dir1.Path(), folder.Path());
    EXPECT_TRUE(Module1::gFullScreenOpen);
    EXPECT_TRUE(Module1::DialogOpen());
    EXPECT_FALSE(Module1::gSuppressFileClick);
    // A 13 x 6 picture, centred on the whole screen by its whole pixels, from (0, 0) of the viewing area.
    const float sw = viewer.ScreenTwipsWidth(), sh = viewer.ScreenTwipsHeight();
    EXPECT_FLOAT_EQ(viewer.Image1.Left(), (sw - 13 * Tppx()) / 2);
    EXPECT_NEAR(viewer.Image1.Width(), 13 * Tppx(), 0.5);
    EXPECT_FLOAT_EQ(viewer.Picture1.Left(), 0);
    EXPECT_FLOAT_EQ(viewer.Picture1.Top(), 0);
    EXPECT_FLOAT_EQ(viewer.Picture1.Width(), sw);
    EXPECT_FLOAT_EQ(viewer.Picture1.Height(), sh);
    EXPECT_FALSE(viewer.HScroll1.Visible());
    EXPECT_FALSE(viewer.VScroll1.Visible());
    // It covers the host's monitor.
    RECT r{};
    GetWindowRect(viewer.hWnd(), &r);
    const RECT monitor = fullscn::MonitorRectOf(host.hWnd());
    EXPECT_EQ(r.right - r.left, monitor.right - monitor.left);
    EXPECT_EQ(r.bottom - r.top, monitor.bottom - monitor.top);
    viewer.Unload();
    EXPECT_FALSE(Module1::gFullScreenOpen);
    EXPECT_FALSE(Module1::DialogOpen());
}

TEST_F(FullscnTest, OpeningFindsTheMainSelectionByName) {
    // The main window's list was read before a file came that sorts first: its fifth entry is pic05.bmp,
    // the viewer's fresh list has it sixth.
    folder.Write("pic00.bmp", BmpBytes(4, 4, RGB(1, 2, 3)));
    Open();
    EXPECT_EQ(viewer.File1.FileName(), "pic05.bmp");
    EXPECT_EQ(viewer.lblNumber.Caption(), "6");
    EXPECT_EQ(viewer.lblCount.Caption(), "13");
    viewer.Unload();
    // The main window's current file is gone: nothing is selected.
    DeleteFileA((folder / "pic05.bmp").c_str());
    Open();
    EXPECT_EQ(viewer.File1.ListIndex(), -1);
    EXPECT_EQ(viewer.lblNumber.Caption(), "0");
}

TEST_F(FullscnTest, BackColourAndInfoFromTheStore) {
    struct Row {
        const char* colour;
        const char* info;
        forms::OleColor area, window, text;
        const char* checked;
        bool infoShown;
    };
    const Row rows[] = {
        {"Blue", "Off", 0xFF0000, 0xFF0000, 0x00FFFF, "Blue", false},
        {"Grey", "On", 0xC0C0C0, 0xC0C0C0, 0x000000, "Grey", true},
        // Not one of the seven words, letter case included: the design stays, nothing is checked.
        {"black", "off", 0xFF0000, 0x808080, 0x00FF00, nullptr, true},
    };
    for (const Row& r : rows) {
        forms::SaveSetting(kApp, "FullScreen", "Colour", r.colour);
        forms::SaveSetting(kApp, "FullScreen", "Info", r.info);
        Open();
        EXPECT_EQ(viewer.Picture1.BackColor(), r.area) << r.colour;
        EXPECT_EQ(viewer.BackColor(), r.window) << r.colour;
        EXPECT_EQ(viewer.Label1.ForeColor(), r.text) << r.colour;
        for (forms::Menu* m : {&viewer.mnuBBlack, &viewer.mnuBWhite, &viewer.mnuBGrey, &viewer.mnuBGreen,
                               &viewer.mnuBBlue, &viewer.mnuBRed, &viewer.mnuBYellow})
            EXPECT_EQ(m->Checked(), r.checked && m->Caption() == r.checked) << r.colour << " " << m->Caption();
        EXPECT_EQ(viewer.Label1.Visible(), r.infoShown) << r.colour;
        EXPECT_EQ(viewer.mnuInfo.Checked(), r.infoShown) << r.colour;
        viewer.Unload();
    }
}

TEST_F(FullscnTest, MenuCommandsStoreTheirChoice) {
    forms::SaveSetting(kApp, "FullScreen", "Colour", "White");
    Open();
    viewer.mnuBRed.Click();
    EXPECT_EQ(viewer.Picture1.BackColor(), 0x0000FFu);
    EXPECT_EQ(viewer.Label1.ForeColor(), 0xFF0000u);
    EXPECT_TRUE(viewer.mnuBRed.Checked());
    EXPECT_FALSE(viewer.mnuBWhite.Checked());
    EXPECT_EQ(forms::GetSetting(kApp, "FullScreen", "Colour", ""), "Red");
    viewer.mnuInfo.Click();
    EXPECT_FALSE(viewer.Label1.Visible());
    EXPECT_EQ(forms::GetSetting(kApp, "FullScreen", "Info", ""), "Off");
    viewer.mnuInfo.Click();
    EXPECT_TRUE(viewer.Label1.Visible());
    EXPECT_EQ(forms::GetSetting(kApp, "FullScreen", "Info", ""), "On");
    viewer.Unload();
    // The next opening starts from the store, the marks from the design.
    Open();
    EXPECT_EQ(viewer.Picture1.BackColor(), 0x0000FFu);
    EXPECT_TRUE(viewer.mnuBRed.Checked());
    EXPECT_FALSE(viewer.mnuBWhite.Checked());
}

TEST_F(FullscnTest, PinnedAndGreyPanel) {
    forms::SaveSetting(kApp, "Options", "fsmbal", "1");
    forms::SaveSetting(kApp, "Options", "greymode", "1");
    Open();
    EXPECT_TRUE(viewer.Frame1.Visible());
    EXPECT_TRUE(viewer.shpPinOn.Visible());
    EXPECT_EQ(viewer.Frame1.BackColor(), 0x808080u);
    EXPECT_EQ(viewer.File1.BackColor(), 0xE0E0E0u);
    EXPECT_EQ(viewer.lblCount.ForeColor(), 0xFFFFFFu);
    // Pinned: the strip beside the panel leaves it open; unpinned it closes it.
    viewer.lblMiniOff.MouseMove(0, 0, 10, 10);
    EXPECT_TRUE(viewer.Frame1.Visible());
    viewer.Image2_Click();
    viewer.lblMiniOff.MouseMove(0, 0, 10, 10);
    EXPECT_FALSE(viewer.Frame1.Visible());
    viewer.lblMiniOn.MouseMove(0, 0, 10, 10);
    EXPECT_TRUE(viewer.Frame1.Visible());
}

TEST_F(FullscnTest, AWordForANumberEndsTheOpening) {
    forms::SaveSetting(kApp, "Options", "fsmbal", "yes");
    formstest::Script script;
    script->ExpectMsgBox("Type mismatch", forms::mb::OkOnly, "Quillview Error", forms::answer::Ok);
    // Shown as the main window shows it: the modal display returns at once.
    viewer.Show(forms::ShowMode::Modal);
    EXPECT_FALSE(viewer.IsLoaded());
    EXPECT_FALSE(Module1::gFullScreenOpen);
    EXPECT_FALSE(Module1::DialogOpen());
    EXPECT_FALSE(Module1::gSuppressFileClick);
}

TEST_F(FullscnTest, ShowingAFileByItsExtension) {
    // Wider than the screen, and a little lower: its vertical bar's range holds a key's step, but the bar is
    // hidden and the picture centred.
    folder.Write("wide.bmp", BmpBytes(GetSystemMetrics(SM_CXSCREEN) + 100, GetSystemMetrics(SM_CYSCREEN) - 4,
                                      RGB(0, 255, 0)));
    folder.Write("picture.qqq", "not read");
    folder.Write("bad.bmp", "not a bitmap at all");
    formstest::Script script;
    Open();
    viewer.File1.SetPattern("*.*");
    host.File1.SetPattern("*.*");
    const auto select = [&](const std::string& name) {
        // Stops at the match: reading a list of the unloaded viewer would load it again.
        for (int i = 0; i < viewer.File1.ListCount(); ++i)
            if (viewer.File1.List(i) == name) return viewer.File1.SetListIndex(i);
    };
    Module1::gStartedFullScreen = true;
    select("wide.bmp");
    EXPECT_FALSE(Module1::gStartedFullScreen);
    EXPECT_EQ(viewer.Label1.Caption(), folder / "wide.bmp");
    const float sw = viewer.ScreenTwipsWidth();
    EXPECT_TRUE(viewer.HScroll1.Visible());
    EXPECT_FALSE(viewer.VScroll1.Visible());
    EXPECT_EQ(viewer.HScroll1.Max(), static_cast<std::int32_t>(viewer.Image1.Width() - (sw - 200)));
    EXPECT_FLOAT_EQ(viewer.Image1.Left(), 0);
    EXPECT_TRUE(viewer.Image1.Visible());
    EXPECT_TRUE(viewer.Picture1.Visible());

    // Keys: a visible bar steps by 100 and refuses to pass its ends; a hidden one takes no key.
    int key = VK_LEFT;
    viewer.Form_KeyDown(key, 0);
    EXPECT_EQ(viewer.HScroll1.Value(), 0);
    key = VK_RIGHT;
    viewer.Form_KeyDown(key, 0);
    EXPECT_EQ(viewer.HScroll1.Value(), 100);
    EXPECT_FLOAT_EQ(viewer.Image1.Left(), -100);
    const float top = viewer.Image1.Top();
    ASSERT_GE(viewer.VScroll1.Max(), 100);
    key = VK_DOWN;
    viewer.Form_KeyDown(key, 0);
    EXPECT_EQ(viewer.VScroll1.Value(), 0);
    EXPECT_FLOAT_EQ(viewer.Image1.Top(), top);

    // A name with no decoder shows no picture under its path; the next picture starts at the corner.
    select("picture.qqq");
    EXPECT_EQ(viewer.Label1.Caption(), folder / "picture.qqq");
    EXPECT_EQ(viewer.Image1.Picture().Type(), forms::PictureType::None);
    EXPECT_EQ(viewer.HScroll1.Value(), 0);
    ASSERT_TRUE(viewer.IsLoaded());

    // A file the decoder cannot read closes the viewer.
    script->ExpectMsgBox("Error!", forms::mb::OkOnly, "Quillview Error", forms::answer::Ok);
    select("bad.bmp");
    EXPECT_FALSE(viewer.IsLoaded());
}

TEST_F(FullscnTest, NothingShownWhileSuppressed) {
    Open();
    Module1::gSuppressFileClick = true;
    viewer.File1.SetListIndex(0);
    Module1::gSuppressFileClick = false;
    EXPECT_EQ(viewer.lblNumber.Caption(), "5");
    EXPECT_TRUE(viewer.Image1.Picture() == host.Image1.Picture());
}

TEST_F(FullscnTest, NavigationTable) {
    struct Row {
        const char* what;
        int start;       // selection before the click
        int button;
        const char* fsnav;
        bool guard;
        int want;        // selection after; -2: the viewer closed
        const char* message;
    };
    constexpr const char* kToLast =
        "There are no more images to view in the current directory, switching to last image.";
    constexpr const char* kToFirst =
        "There are no more images to view in the current directory, switching to first image.";
    const Row rows[] = {
        {"left goes back", 4, 1, "0", false, 3, nullptr},
        {"right goes on", 4, 2, "0", false, 5, nullptr},
        {"left from none", -1, 1, "0", false, 0, nullptr},
        {"right from none", -1, 2, "0", false, 0, nullptr},
        {"left at the first wraps", 0, 1, "0", false, 11, kToLast},
        {"right at the last wraps", 11, 2, "0", false, 0, kToFirst},
        {"middle does nothing", 4, 4, "0", false, 4, nullptr},
        {"within the guard", 4, 2, "0", true, 4, nullptr},
        {"swapped: right goes back", 0, 2, "1", false, 11, kToLast},
        {"swapped: left goes on", 0, 1, "1", false, 1, nullptr},
        {"swapped only when numerically 1", 4, 2, "1.0", false, 3, nullptr},
    };
    for (const Row& r : rows) {
        forms::SaveSetting(kApp, "Options", "fsnav", r.fsnav);
        Open();
        Module1::gSuppressFileClick = true;
        viewer.File1.SetListIndex(r.start);
        Module1::gSuppressFileClick = false;
        viewer.Tim.SetEnabled(r.guard);
        formstest::Script script;
        if (r.message)
            script->ExpectMsgBox(r.message, forms::mb::Information, "Quillview 2", forms::answer::Ok);
        viewer.Navigate(r.button);
        EXPECT_EQ(viewer.File1.ListIndex(), r.want) << r.what;
        viewer.Unload();
    }
}

TEST_F(FullscnTest, ClosePathsAndTheStartFlag) {
    struct Row {
        const char* what;
        std::function<void(frmFullscn&)> close;
        const char* disfsnav;
        const char* closeafter1;
        bool startedAfter;
    };
    const Row rows[] = {
        {"Esc", [](frmFullscn& v) { int k = VK_ESCAPE; v.Form_KeyDown(k, 0); }, "0", "0", true},
        {"close button", [](frmFullscn& v) { v.cmdExit.Click(); }, "0", "0", false},
        {"info line", [](frmFullscn& v) { v.Label1.Click(); }, "0", "0", true},
        {"band under the menu bar", [](frmFullscn& v) { v.Label4.Click(); }, "0", "0", true},
        {"icon double click", [](frmFullscn& v) { v.Image3.DblClick(); }, "0", "0", true},
        {"View Exit", [](frmFullscn& v) { v.mnuExit.Click(); }, "0", "0", false},
        {"icon menu Exit", [](frmFullscn& v) { v.mnuExit2.Click(); }, "0", "0", false},
        {"no navigation: middle click", [](frmFullscn& v) { v.Navigate(4); }, "1", "0", true},
        {"started picture closes", [](frmFullscn& v) { v.Navigate(2); }, "0", "1", true},
    };
    for (const Row& r : rows) {
        forms::SaveSetting(kApp, "Options", "disfsnav", r.disfsnav);
        forms::SaveSetting(kApp, "Options", "closeafter1", r.closeafter1);
        Module1::gStartedFullScreen = true;
        Open();
        r.close(viewer);
        EXPECT_FALSE(viewer.IsLoaded()) << r.what;
        EXPECT_EQ(Module1::gStartedFullScreen, r.startedAfter) << r.what;
        EXPECT_FALSE(Module1::gFullScreenOpen) << r.what;
        EXPECT_FALSE(Module1::DialogOpen()) << r.what;
    }
}

TEST_F(FullscnTest, FolderChangesReachTheMainWindowOnce) {
    qvtest::TempFolder other;
    other.Write("a.bmp", BmpBytes(4, 4, RGB(1, 2, 3)));
    int mainChanges = 0;
    host.Dir1.Change = [&] { ++mainChanges; };
    Open();
    EXPECT_EQ(mainChanges, 0);  // the opening mirrors nothing back
    viewer.Dir1.SetPath(other.Path());
    EXPECT_EQ(mainChanges, 1);
    EXPECT_EQ(host.Dir1.Path(), other.Path());
    EXPECT_EQ(host.File1.Path(), other.Path());
    EXPECT_EQ(viewer.File1.Path(), other.Path());
    EXPECT_EQ(viewer.lblCount.Caption(), "1");
    EXPECT_EQ(viewer.lblNumber.Caption(), "0");
    host.Dir1.Change = nullptr;
}

TEST_F(FullscnTest, TheTreeAndTheFolderListFollowEachOther) {
    const std::string sub = folder / "sub";
    ASSERT_TRUE(CreateDirectoryA(sub.c_str(), nullptr));
    folder.Write("sub\\a.bmp", BmpBytes(4, 4, RGB(1, 2, 3)));
    Open();
    EXPECT_EQ(lstrcmpiA(viewer.ftvDirs.Path().c_str(), folder.Path().c_str()), 0) << viewer.ftvDirs.Path();
    EXPECT_TRUE(viewer.ftvDirs.Visible());
    // A folder chosen in the tree goes to the viewer's lists and the main window's.
    viewer.ftvDirs.SetPath(sub);
    EXPECT_EQ(lstrcmpiA(viewer.Dir1.Path().c_str(), sub.c_str()), 0) << viewer.Dir1.Path();
    EXPECT_EQ(lstrcmpiA(host.Dir1.Path().c_str(), sub.c_str()), 0) << host.Dir1.Path();
    EXPECT_EQ(lstrcmpiA(host.File1.Path().c_str(), sub.c_str()), 0);
    EXPECT_EQ(viewer.lblCount.Caption(), "1");
    EXPECT_EQ(viewer.lblNumber.Caption(), "0");
    // And the folder list's change shows in the tree.
    viewer.Dir1.SetPath(folder.Path());
    EXPECT_EQ(lstrcmpiA(viewer.ftvDirs.Path().c_str(), folder.Path().c_str()), 0) << viewer.ftvDirs.Path();
    EXPECT_EQ(lstrcmpiA(host.Dir1.Path().c_str(), folder.Path().c_str()), 0);
}

// Wine's Z: is the file system's root: a second drive that is always there.
TEST_F(FullscnTest, DriveChangesReachTheMainWindowsDriveList) {
    int mainDriveChanges = 0;
    host.Drive1.Change = [&] { ++mainDriveChanges; };
    Open();
    ASSERT_EQ(std::tolower(viewer.Drive1.Drive()[0]), std::tolower(folder.Path()[0]));
    viewer.Drive1.SetDrive("z:");
    EXPECT_EQ(host.Drive1.Drive().substr(0, 2), "z:");
    EXPECT_EQ(mainDriveChanges, 1);
    EXPECT_EQ(std::tolower(host.Dir1.Path()[0]), 'z') << host.Dir1.Path();
    EXPECT_EQ(std::tolower(viewer.ftvDirs.Path()[0]), 'z') << viewer.ftvDirs.Path();
    // A folder on the first drive chosen in the tree takes both drive lists back with it.
    viewer.ftvDirs.SetPath(folder.Path());
    EXPECT_EQ(std::tolower(viewer.Drive1.Drive()[0]), std::tolower(folder.Path()[0]));
    EXPECT_EQ(std::tolower(host.Drive1.Drive()[0]), std::tolower(folder.Path()[0]));
    EXPECT_EQ(lstrcmpiA(host.Dir1.Path().c_str(), folder.Path().c_str()), 0) << host.Dir1.Path();
    EXPECT_EQ(mainDriveChanges, 2);
    host.Drive1.Change = nullptr;
}

TEST_F(FullscnTest, TheViewerRunsPerMonitorDpiAwareAndLeavesTheThreadAsItWas) {
    using ThreadContextFn = DPI_AWARENESS_CONTEXT(WINAPI*)();
    const auto threadContext = reinterpret_cast<ThreadContextFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetThreadDpiAwarenessContext")));
    const DPI_AWARENESS_CONTEXT before = threadContext ? threadContext() : nullptr;
    Open();
    ASSERT_TRUE(viewer.IsLoaded());
    EXPECT_NE(viewer.Image2.Picture().Handle(), nullptr) << "the pin's icon";
    EXPECT_NE(viewer.Image3.Picture().Handle(), nullptr) << "the panel's icon";
    if (!threadContext) GTEST_SKIP() << "no per-monitor DPI on this system";
    EXPECT_TRUE(PerMonitorDpiScope::WindowIsPerMonitorAware(viewer.hWnd()));
    // The main window and the windows made after the opening keep the program's own awareness.
    EXPECT_EQ(threadContext(), before);
}

// What the screen shows at a point.
using formstest::PumpUntil;

COLORREF ScreenPixel(POINT at) {
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, at.x, at.y);
    ReleaseDC(nullptr, screen);
    return colour;
}

// The real window on the screen: the picture where the fit puts it, the back colour around it, and real
// clicks of the two buttons moving through the folder.
TEST_F(FullscnTest, RealClicksMoveThroughTheFolderOnTheScreen) {
    folder.Write("pic05.bmp", BmpBytes(120, 80, RGB(0, 0, 255)));
    host.Image1.SetPicture(forms::LoadPicture(folder / "pic05.bmp"));
    forms::SaveSetting(kApp, "FullScreen", "Colour", "White");
    Open();
    ASSERT_TRUE(viewer.IsLoaded());
    SetForegroundWindow(viewer.hWnd());
    RECT window{};
    GetWindowRect(viewer.hWnd(), &window);
    const POINT centre{(window.left + window.right) / 2, (window.top + window.bottom) / 2};
    const POINT beside{centre.x - 100, centre.y};  // left of a 120-pixel picture centred on the screen
    const POINT below{centre.x, centre.y + 60};    // under an 80-pixel one
    const auto shows = [&](POINT at, COLORREF colour) {
        return PumpUntil([&] { return ScreenPixel(at) == colour; }, 3000);
    };
    EXPECT_TRUE(shows(centre, RGB(0, 0, 255))) << std::hex << ScreenPixel(centre);
    EXPECT_TRUE(shows(beside, RGB(255, 255, 255))) << std::hex << ScreenPixel(beside);
    EXPECT_TRUE(shows(below, RGB(255, 255, 255))) << std::hex << ScreenPixel(below);

    struct Row {
        const char* what;
        bool right;
        int index;        // the entry shown after the click
        COLORREF colour;  // at the screen's centre
    };
    const Row rows[] = {
        {"right: the next file", true, 5, RGB(60, 0, 0)},
        {"left: back", false, 4, RGB(0, 0, 255)},
        {"left: the one before", false, 3, RGB(40, 0, 0)},
    };
    for (const Row& row : rows) {
        if (row.right) {
            formstest::RightDown(centre);
            formstest::RightUp(centre);
        } else {
            formstest::LeftDown(centre);
            formstest::LeftUp(centre);
        }
        EXPECT_TRUE(PumpUntil([&] { return viewer.File1.ListIndex() == row.index; }, 3000))
            << row.what << ": " << viewer.File1.ListIndex();
        EXPECT_EQ(viewer.lblNumber.Caption(), std::to_string(row.index + 1)) << row.what;
        EXPECT_TRUE(shows(centre, row.colour)) << row.what << ": " << std::hex << ScreenPixel(centre);
        EXPECT_TRUE(shows(beside, RGB(255, 255, 255))) << row.what;
    }
}

// The fit on the real screen, in the monitor's pixels at whatever DPI the system reports: each picture where
// the fit puts it, pixel for pixel (its first and last rows and columns on the screen, the back colour just
// outside), the bars of the axes it overflows, and the window over the whole monitor.
TEST_F(FullscnTest, PicturesSitPixelForPixelWhereTheFitPutsThem) {
    forms::SaveSetting(kApp, "FullScreen", "Colour", "White");
    forms::SaveSetting(kApp, "FullScreen", "Info", "Off");
    const RECT monitor = fullscn::MonitorRectOf(host.hWnd());
    const LONG sw = monitor.right - monitor.left, sh = monitor.bottom - monitor.top;
    const COLORREF blue = RGB(0, 0, 255), white = RGB(255, 255, 255);
    struct Row {
        const char* what;
        LONG w, h;
        LONG left, top;  // where it goes on the screen
        bool hBar, vBar;
    };
    const Row rows[] = {
        {"smaller: centred", 120, 80, (sw - 120) / 2, (sh - 80) / 2, false, false},
        {"the screen's size: at the corner", sw, sh, 0, 0, false, false},
        {"wider: from the left, centred down", sw + 300, 80, 0, (sh - 80) / 2, true, false},
        {"larger both ways: from the corner", sw + 300, sh + 200, 0, 0, true, true},
    };
    const auto shows = [](POINT at, COLORREF colour) {
        return PumpUntil([&] { return ScreenPixel(at) == colour; }, 3000);
    };
    for (const Row& row : rows) {
        folder.Write("pic05.bmp", BmpBytes(row.w, row.h, blue));
        host.Image1.SetPicture(forms::LoadPicture(folder / "pic05.bmp"));
        Open();
        ASSERT_TRUE(viewer.IsLoaded()) << row.what;
        SetForegroundWindow(viewer.hWnd());
        RECT window{};
        GetWindowRect(viewer.hWnd(), &window);
        EXPECT_TRUE(EqualRect(&window, &monitor)) << row.what;
        EXPECT_FLOAT_EQ(viewer.Image1.Left(), static_cast<float>(row.left) * Tppx()) << row.what;
        EXPECT_EQ(viewer.HScroll1.Visible(), row.hBar) << row.what;
        EXPECT_EQ(viewer.VScroll1.Visible(), row.vBar) << row.what;
        // The viewing area is 200 twips short of the screen along an axis the picture overflows.
        const LONG right = row.hBar ? sw - static_cast<LONG>(200 / Tppx()) : sw;
        const LONG bottom = row.vBar ? sh - static_cast<LONG>(200 / Tppx()) : sh;
        const LONG last = std::min(row.left + row.w, right) - 1, lastRow = std::min(row.top + row.h, bottom) - 1;
        const POINT inside[] = {{row.left, row.top}, {last, lastRow}, {row.left, lastRow}, {last, row.top}};
        for (const POINT p : inside) EXPECT_TRUE(shows(p, blue)) << row.what << " at " << p.x << "," << p.y;
        std::vector<POINT> outside;
        if (row.left > 0) outside.insert(outside.end(), {{row.left - 1, row.top}, {last + 1, lastRow}});
        if (row.top > 0) outside.insert(outside.end(), {{row.left, row.top - 1}, {last, lastRow + 1}});
        for (const POINT p : outside) EXPECT_TRUE(shows(p, white)) << row.what << " at " << p.x << "," << p.y;
        viewer.Unload();
    }
}

}  // namespace
