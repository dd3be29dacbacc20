// Shell services: path splitting, system folders, shortcuts where the user sees them, running a
// document, the wallpaper values, window placement and the folder picker driven for real.

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "DialogDriver.h"
#include "PropertyBag.h"
#include "ServerFixture.h"
#include "lib/services/Client.h"
#include "lib/services/FileIo.h"
#include "platform/runtime/ReplacingFile.h"
#include "lib/services/clsReg_n_FileAssoc.h"
#include "lib/services/clsShell.h"
#include "lib/services/stdFunctions.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/ScriptedAnswerer.h"
#include "tests/support/Apartment.h"
#include "tests/support/TempFolder.h"

using comserver::Variant;

namespace {

using Shell = services::clsShell;
using Functions = services::stdFunctions;

const std::string kPid = std::to_string(GetCurrentProcessId());

std::string Special(int csidl) {
    char path[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

// Pumps messages until the condition holds or about ten seconds pass.
template <class Condition>
bool PumpUntil(Condition condition) {
    const ULONGLONG end = GetTickCount64() + 10000;
    while (!condition()) {
        if (GetTickCount64() > end) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
    return true;
}

std::pair<std::string, std::string> ResolveLink(const std::string& file) {
    IShellLinkA* link = nullptr;
    CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, reinterpret_cast<void**>(&link));
    if (!link) return {};
    IPersistFile* persist = nullptr;
    link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist));
    const std::wstring wide(file.begin(), file.end());
    char path[MAX_PATH] = {};
    char args[MAX_PATH] = {};
    if (persist && SUCCEEDED(persist->Load(wide.c_str(), STGM_READ))) {
        link->GetPath(path, MAX_PATH, nullptr, 0);
        link->GetArguments(args, MAX_PATH);
    }
    if (persist) persist->Release();
    link->Release();
    return {path, args};
}

// A top-level window of the test's own, noting WM_CLOSE.
class TestWindow {
public:
    explicit TestWindow(const std::string& title, DWORD exStyle = 0) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "QvServicesTestWindow";
        RegisterClassA(&wc);
        hwnd_ = CreateWindowExA(exStyle, wc.lpszClassName, title.c_str(), WS_OVERLAPPEDWINDOW, 10, 10, 200, 100,
                                nullptr, nullptr, wc.hInstance, nullptr);
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~TestWindow() { DestroyWindow(hwnd_); }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;
    HWND Handle() const { return hwnd_; }
    bool Closed() const { return closed_; }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
        auto* self = reinterpret_cast<TestWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        if (msg == WM_CLOSE && self) {
            self->closed_ = true;
            return 0;
        }
        return DefWindowProcA(hwnd, msg, wp, lp);
    }
    HWND hwnd_ = nullptr;
    bool closed_ = false;
};

TEST(GetFile, SplitsAtTheLastBackslash) {
    struct Case {
        std::string line, file, folder;
    };
    const Case cases[] = {
        {"C:\\dir\\file.ext", "file.ext", "C:\\dir"},
        {"C:\\file.ext", "file.ext", "C:"},
        {"file.ext", "", "unchanged"},
        {"C:\\dir\\", "", "C:\\dir"},
        {"", "", "unchanged"},
        // Only the last 1500 characters are searched.
        {"C:\\" + std::string(1500, 'a'), "", "unchanged"},
        {"C:\\" + std::string(1499, 'a'), std::string(1499, 'a'), "C:"},
    };
    for (const Case& c : cases) {
        std::string folder = "unchanged";
        EXPECT_EQ(Functions::GetFile(c.line, folder), c.file) << c.line.substr(0, 40);
        EXPECT_EQ(folder, c.folder) << c.line.substr(0, 40);
    }
}

TEST(GetShortName, GivesTheSystemsShortFormOrNothing) {
    const qvtest::TempFolder temp;
    const std::string folder = temp / ("qv long folder name " + kPid);
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    char expected[MAX_PATH] = {};
    GetShortPathNameA(folder.c_str(), expected, MAX_PATH);
    EXPECT_EQ(Functions::GetShortName(folder), expected);
    EXPECT_EQ(Functions::GetShortName(folder + "\\missing"), "");
}

TEST(SystemFolders, AreFoldersThatHoldWhatTheyShould) {
    const std::string windows = Shell::GetWindowsDir();
    ASSERT_FALSE(windows.empty());
    EXPECT_NE(windows.back(), '\\');
    EXPECT_TRUE(services::FileExists(windows + "\\notepad.exe")) << windows;
    const std::string system = Shell::GetSystemPath();
    EXPECT_EQ(system.rfind(windows + "\\", 0), 0u) << system << " lies in " << windows;
    EXPECT_TRUE(services::FileExists(system + "\\kernel32.dll")) << system;
    const std::string temp = Shell::GetTmpPath();
    EXPECT_EQ(temp.back(), '\\');
    EXPECT_TRUE(services::FolderExists(temp));
    EXPECT_FALSE(Shell::UserName().empty());
}

TEST(Shortcuts, DesktopLinkIsWhereTheUserSeesIt) {
    const qvtest::Apartment apartment;
    const std::string name = "\\QvTest" + kPid;
    const std::string target = Shell::GetWindowsDir() + "\\notepad.exe";
    const std::string file = Special(CSIDL_DESKTOPDIRECTORY) + name + ".lnk";
    ASSERT_TRUE(Shell::StartMenLnkCreate("..\\..\\Desktop", name, target, "-x"));
    EXPECT_TRUE(services::FileExists(file));
    const auto [path, args] = ResolveLink(file);
    EXPECT_EQ(lstrcmpiA(path.c_str(), target.c_str()), 0) << path;
    EXPECT_EQ(args, "-x");
    EXPECT_TRUE(Shell::StartMenuLinkChk("..\\..\\Desktop", name));
    Shell::StartMenuLnkDel("..\\..\\Desktop", name);
    EXPECT_FALSE(services::FileExists(file));
    EXPECT_FALSE(Shell::StartMenuLinkChk("..\\..\\Desktop", name));

    Shell::CreateDesktopIcon("Icon" + kPid, target);
    const std::string icon = Special(CSIDL_DESKTOPDIRECTORY) + "\\Icon" + kPid + ".lnk";
    EXPECT_TRUE(services::FileExists(icon));
    DeleteFileA(icon.c_str());
}

TEST(Shortcuts, StartMenuFolderIsTrueOnlyWhenItExistsAfterwards) {
    const std::string name = "QvTestFolder" + kPid;
    const std::string folder = Special(CSIDL_PROGRAMS) + "\\" + name;
    EXPECT_TRUE(Shell::StartMenuCreateFldr(name));
    EXPECT_TRUE(services::FolderExists(folder));
    EXPECT_TRUE(Shell::StartMenuCreateFldr(name));  // already there
    Shell::StartMenuDelFldr(name);
    EXPECT_FALSE(services::FolderExists(folder));
    forms::ReplaceWholeFile(folder, "a file, not a folder");
    EXPECT_FALSE(Shell::StartMenuCreateFldr(name));
    DeleteFileA(folder.c_str());
}

TEST(Shortcuts, QuickLaunchFolderOfTheUser) {
    const qvtest::Apartment apartment;
    const std::string folder = Shell::QuickLaunchFolder();
    EXPECT_EQ(folder, Special(CSIDL_APPDATA) + "\\Microsoft\\Internet Explorer\\Quick Launch");
    const bool existed = services::FolderExists(folder);
    if (!existed) SHCreateDirectoryExA(nullptr, folder.c_str(), nullptr);
    EXPECT_TRUE(Shell::QuickStart());
    EXPECT_TRUE(Shell::QuickStartShCutMak(Shell::GetWindowsDir() + "\\notepad.exe", "Quick" + kPid));
    const std::string link = folder + "\\Quick" + kPid + ".lnk";
    EXPECT_TRUE(services::FileExists(link));
    DeleteFileA(link.c_str());
    if (!existed) RemoveDirectoryA(folder.c_str());
}

TEST(RunFile, OpensADocumentWithItsAssociatedProgram) {
    // A document type of the test's own whose program copies the document.
    const std::string ext = ".qvrun" + kPid;
    const std::string progId = "QuillviewTest.Run" + kPid;
    const services::clsReg_n_FileAssoc registry;
    constexpr auto classes = services::clsReg_n_FileAssoc::ClassesRoot;
    registry.savestring(classes, ext, "", progId);
    registry.savestring(classes, progId + "\\shell\\open\\command", "",
                        "\"" + Shell::GetSystemPath() + "\\cmd.exe\" /c copy \"%1\" \"%1.ran\"");
    const qvtest::TempFolder temp;
    const std::string& folder = temp.Path();
    const std::string document = folder + "\\doc" + ext;
    forms::ReplaceWholeFile(document, "content");

    Shell::RunFile("doc" + ext, folder, SW_HIDE);
    EXPECT_TRUE(PumpUntil([&] { return services::FileExists(document + ".ran"); }));

    RegDeleteTreeA(HKEY_CLASSES_ROOT, ext.c_str());
    RegDeleteTreeA(HKEY_CLASSES_ROOT, progId.c_str());
    std::error_code ignored;
    PumpUntil([&] { return std::filesystem::remove_all(folder, ignored) > 0 && !ignored; });
}

TEST(Wallpaper, ValuesAreWrittenForTheUser) {
    const services::clsReg_n_FileAssoc registry;
    constexpr auto user = services::clsReg_n_FileAssoc::CurrentUser;
    const char* key = "Control Panel\\desktop";
    const auto oldWallpaper = registry.getstring(user, key, "Wallpaper");
    const auto oldTile = registry.getstring(user, key, "TileWallpaper");
    const qvtest::TempFolder temp;
    const std::string& folder = temp.Path();
    const std::string picture = folder + "\\QVWallpaper.bmp";
    forms::ReplaceWholeFile(picture, "BM");

    Shell::SetDesktopImage(picture, "1");
    EXPECT_EQ(registry.getstring(user, key, "Wallpaper"), picture);
    EXPECT_EQ(registry.getstring(user, key, "TileWallpaper"), "1");
    Shell::SetDesktopImage(picture, "0");
    EXPECT_EQ(registry.getstring(user, key, "TileWallpaper"), "0");

    Shell::SetDesktopImage(oldWallpaper.value_or(""), oldTile.value_or("0"));
}

TEST(Windows, TaskBarStyleAndCloseByTitle) {
    const TestWindow tool("QvTool" + kPid, WS_EX_TOOLWINDOW);
    Shell::ShowInTaskBar(tool.Handle(), true);
    const LONG_PTR style = GetWindowLongPtrA(tool.Handle(), GWL_EXSTYLE);
    EXPECT_FALSE(style & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(style & WS_EX_APPWINDOW);
    Shell::ShowInTaskBar(tool.Handle(), false);
    EXPECT_FALSE(GetWindowLongPtrA(tool.Handle(), GWL_EXSTYLE) & WS_EX_APPWINDOW);

    const TestWindow other("QvClose" + kPid);
    Shell::CloseApp("QvClose" + kPid + "x");  // no such title: nothing happens
    Shell::CloseApp("QvClose" + kPid);
    EXPECT_TRUE(PumpUntil([&] { return other.Closed(); }));
}

TEST(Windows, ARefusedCloseRequestIsReportedInABox) {
    const TestWindow other("QvRefuse" + kPid);
    forms::ScriptedAnswerer script([](const std::string& message) { ADD_FAILURE() << message; });
    script.ExpectMsgBox("Error closing application.", forms::mb::OkOnly, "Toolcraft", forms::answer::Ok);
    {
        const forms::ScopedAnswerer installed(script);
        Shell::FailCloseRequestsForTest(true);
        Shell::CloseApp("QvRefuse" + kPid);
        Shell::FailCloseRequestsForTest(false);
    }
    EXPECT_EQ(script.Remaining(), 0u);
}

class ShellThroughCom : public RegisteredServer {};

TEST_F(ShellThroughCom, FormStayOnTopPlacesTheWindowInPixels) {
    const TestWindow window("QvTop" + kPid);
    const HDC screen = GetDC(nullptr);
    const int perPixelX = 1440 / GetDeviceCaps(screen, LOGPIXELSX);
    const int perPixelY = 1440 / GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    const auto shell = services::client::Shell::Create();
    struct Case {
        int x, y, cx, cy;
    };
    // The second lies beyond 16-bit pixel coordinates, as on a wide multi-monitor desktop.
    for (const Case c : {Case{100, 50, 300, 200}, Case{40000, 20, 320, 240}}) {
        const auto form = PropertyBag::Create({
            {"hwnd", 1, Variant(static_cast<std::int32_t>(reinterpret_cast<LONG_PTR>(window.Handle())))},
            {"Left", 2, Variant(c.x * perPixelX)},
            {"Top", 3, Variant(c.y * perPixelY)},
            {"Width", 4, Variant(c.cx * perPixelX)},
            {"Height", 5, Variant(c.cy * perPixelY)},
        });
        shell.FormStayOnTop(form->Dispatch(), true);
        EXPECT_TRUE(GetWindowLongPtrA(window.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
        RECT r{};
        GetWindowRect(window.Handle(), &r);
        // The window manager keeps positions within its own limits; below them, where asked.
        if (c.x < 32000) {
            EXPECT_EQ(r.left, c.x);
        }
        EXPECT_EQ(r.top, c.y);
        EXPECT_EQ(r.right - r.left, c.cx);
        shell.FormStayOnTop(form->Dispatch(), false);
        EXPECT_FALSE(GetWindowLongPtrA(window.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    }
}

TEST_F(ShellThroughCom, MenuItemGetsThePictureBoxesBitmaps) {
    const TestWindow window("QvMenu" + kPid);
    const HMENU bar = CreateMenu();
    const HMENU popup = CreatePopupMenu();
    AppendMenuA(popup, MF_STRING, 100, "First");
    AppendMenuA(popup, MF_STRING, 101, "Second");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), "File");
    SetMenu(window.Handle(), bar);
    const HBITMAP unchecked = CreateBitmap(13, 13, 1, 1, nullptr);
    const HBITMAP checked = CreateBitmap(13, 13, 1, 1, nullptr);
    const auto box = [](HBITMAP bitmap) {
        const auto picture = PropertyBag::Create(
            {{"Handle", 0, Variant(static_cast<std::int32_t>(reinterpret_cast<LONG_PTR>(bitmap)))}});
        return PropertyBag::Create({{"Picture", 1, Variant::Object(picture->Dispatch())}});
    };
    const auto form = PropertyBag::Create(
        {{"hwnd", 1, Variant(static_cast<std::int32_t>(reinterpret_cast<LONG_PTR>(window.Handle())))}});
    const auto uncheckedBox = box(unchecked);
    const auto checkedBox = box(checked);
    services::client::Shell::Create().BMPonMenu(form->Dispatch(), uncheckedBox->Dispatch(), checkedBox->Dispatch(),
                                                0, 1);
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_CHECKMARKS;
    ASSERT_TRUE(GetMenuItemInfoA(bar, 101, FALSE, &info));
    EXPECT_EQ(info.hbmpUnchecked, unchecked);
    EXPECT_EQ(info.hbmpChecked, checked);
    SetMenu(window.Handle(), nullptr);
    DestroyMenu(bar);
    DeleteObject(unchecked);
    DeleteObject(checked);
}

TEST_F(ShellThroughCom, PropertiesOfAMissingFileFail) {
    const auto result = services::client::Shell::Create().ShowProperties(qvtest::TempFolder() / "missing.txt",
                                                                           nullptr);
    EXPECT_LE(result, 32);
}

TEST_F(ShellThroughCom, FolderPickerGivesTheFolderOrEmpty) {
    const TestWindow owner("QvOwner" + kPid);
    const auto form = PropertyBag::Create(
        {{"hwnd", 1, Variant(static_cast<std::int32_t>(reinterpret_cast<LONG_PTR>(owner.Handle())))}});
    const auto shell = services::client::Shell::Create();
    {
        const DialogDriver driver(DialogDriver::Cancel);
        EXPECT_EQ(shell.Folders("Pick one", form->Dispatch()), std::nullopt);
        EXPECT_TRUE(driver.Acted());
    }
    const qvtest::TempFolder temp;
    const std::string& folder = temp.Path();
    {
        const DialogDriver driver([&](HWND dialog) {
            // The tree may still be filling in when the dialog first shows: select, let the tree's own
            // messages run, select again, and only then confirm.
            SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(folder.c_str()));
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
            SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(folder.c_str()));
            DialogDriver::Confirm(dialog);
        });
        const auto chosen = shell.Folders("Pick one", form->Dispatch());
        ASSERT_TRUE(chosen.has_value());
        EXPECT_EQ(lstrcmpiA(chosen->c_str(), folder.c_str()), 0) << *chosen;
    }
}

}  // namespace
