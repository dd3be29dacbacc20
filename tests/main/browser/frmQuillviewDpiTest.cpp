// One real start of the program at 144 DPI, this test in the same 144-DPI prefix so that it reads the
// program's windows at the program's own DPI: the placement and the design geometry in real pixels, the
// status bar clear of the horizontal scroll bar, the picture at its own pixel size, and the panel width
// stored in design pixels across a clean close.
#include "platform/runtime/Settings.h"
#include "tests/main/TestBitmap.h"
#include "tests/main/core/ProcessHarness.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using qvtest::Process;
using qvtest::ProgramFolder;
using qvtest::PumpUntil;

constexpr DWORD kStartMs = 60000;

// Everything the program stores, in this prefix's settings root.
void CleanSettings() {
    RegDeleteTreeA(HKEY_CURRENT_USER, std::string(forms::SettingsRoot).c_str());
}

struct Child {
    HWND hwnd;
    std::string cls;
    RECT rect;  // in the main window's client coordinates
};

std::string ClassOf(HWND hwnd) {
    char name[64] = {};
    GetClassNameA(hwnd, name, sizeof name);
    return name;
}

RECT ClientRectOf(HWND hwnd, HWND main) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    MapWindowPoints(HWND_DESKTOP, main, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// The visible windows directly on the main window.
std::vector<Child> Children(HWND main) {
    std::vector<Child> children;
    for (HWND c = GetWindow(main, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (IsWindowVisible(c)) children.push_back({c, ClassOf(c), ClientRectOf(c, main)});
    }
    return children;
}

// The first visible window directly on `parent` of the class (and, for scroll bars, of the direction).
const Child* Find(const std::vector<Child>& children, const char* cls, DWORD style = 0) {
    for (const Child& c : children) {
        if (c.cls == cls && (static_cast<DWORD>(GetWindowLongA(c.hwnd, GWL_STYLE)) & style) == style) return &c;
    }
    return nullptr;
}

bool HasChildOfClass(HWND parent, const char* cls) {
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (ClassOf(c) == cls) return true;
    }
    return false;
}

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

TEST(HighDpiStart, LaysOutInRealPixelsAndKeepsThePanelWidthInDesignPixels) {
    if (!std::getenv("QV_EXPECT_DPI")) GTEST_SKIP() << "runs in the 144-DPI prefix only";
    {
        const HDC screen = GetDC(nullptr);
        const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
        ReleaseDC(nullptr, screen);
        ASSERT_EQ(dpi, 144) << "the test's prefix has LogPixels 144";
    }
    CleanSettings();
    ProgramFolder folder;
    const std::string picture = folder.File("wide.bmp");
    ASSERT_TRUE(qvtest::WriteBitmap(picture, 200, 120, 0x00FF00));
    // 1200 x 900 pixels at 15 / 1.5 twips per pixel; the panel 200 design pixels wide, docked on the left.
    for (const auto& [key, value] : std::vector<std::pair<const char*, const char*>>{
             {"window", "0"}, {"left", "1500"}, {"top", "1200"}, {"width", "12000"}, {"height", "9000"},
             {"btwidth", "200"}, {"browsertools", "0"}, {"browserdock", "0"}, {"Show Tips at Startup", "0"}}) {
        forms::SaveSetting("Quillview2", "Options", key, value);
    }
    forms::SaveSetting("Quillview2", "Interface", "ImageSize", "Actual");
    forms::SaveSetting("Quillview2", "Interface", "Startdir", folder.Folder());

    Process program(folder.Program(), ("\"" + picture + "\"").c_str());
    HWND main = nullptr;
    ASSERT_TRUE(PumpUntil(
        [&] {
            main = qvtest::FindProcessWindow(program.Id(), "QuillviewForm");
            return main && qvtest::WindowText(main) == "Quillview - wide.bmp";
        },
        kStartMs))
        << "the main window shows the picture";

    RECT window{};
    GetWindowRect(main, &window);
    EXPECT_EQ(window.left, 150);
    EXPECT_EQ(window.top, 120);
    EXPECT_EQ(Width(window), 1200);
    EXPECT_EQ(Height(window), 900);
    RECT client{};
    GetClientRect(main, &client);

    const std::vector<Child> children = Children(main);
    const Child* panel = nullptr;
    const Child* view = nullptr;
    for (const Child& c : children) {
        if (HasChildOfClass(c.hwnd, "SysTreeView32")) panel = &c;
        if (c.cls == "QuillviewPictureBox" && HasChildOfClass(c.hwnd, "QuillviewPictureBox")) view = &c;
    }
    const Child* vertical = Find(children, "ScrollBar", SBS_VERT);
    const Child* horizontal = nullptr;
    for (const Child& c : children) {
        if (c.cls == "ScrollBar" && &c != vertical) horizontal = &c;
    }
    const Child* status = Find(children, STATUSCLASSNAMEA);
    ASSERT_TRUE(panel && view && vertical && horizontal && status);

    // The layout's constants are design pixels: 2 -> 3, 4 -> 6, 1 -> 2 (half to even), 8 -> 12, 70 -> 105.
    EXPECT_EQ(panel->rect.left, 3);
    EXPECT_EQ(Width(panel->rect), 300) << "200 design pixels";
    EXPECT_EQ(Height(panel->rect), Height(client) - 105);
    EXPECT_EQ(view->rect.left, panel->rect.right + 6);
    EXPECT_EQ(Width(view->rect), Width(client) - 300 - Width(vertical->rect) - 12);
    EXPECT_EQ(Height(view->rect), Height(client) - Height(horizontal->rect) - 105);
    EXPECT_EQ(vertical->rect.left, view->rect.right + 2);
    EXPECT_EQ(horizontal->rect.top, view->rect.bottom + 2);
    EXPECT_LE(horizontal->rect.bottom, status->rect.top) << "the status bar leaves the scroll bar uncovered";
    EXPECT_EQ(status->rect.bottom, client.bottom);

    // The picture keeps its own pixel size, centred in the view.
    const std::vector<Child> inView = Children(view->hwnd);
    const Child* shownBox = Find(inView, "QuillviewPictureBox");
    ASSERT_TRUE(shownBox);
    const RECT shown = ClientRectOf(shownBox->hwnd, main);
    EXPECT_EQ(Width(shown), 200);
    EXPECT_EQ(Height(shown), 120);
    EXPECT_LE(std::abs((shown.left + shown.right) - (view->rect.left + view->rect.right)), 4);
    EXPECT_LE(std::abs((shown.top + shown.bottom) - (view->rect.top + view->rect.bottom)), 4);

    // The loader's panel widths are design pixels too (date 150, size 70, dimensions 120, name 200); the
    // mode panel after them shows its whole text. The bar is another process's: its answers come through
    // memory of that process.
    std::vector<int> parts;
    std::string modeText;
    {
        DWORD pid = 0;
        GetWindowThreadProcessId(status->hwnd, &pid);
        const HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        ASSERT_TRUE(process);
        void* remote = VirtualAllocEx(process, nullptr, 4096, MEM_COMMIT, PAGE_READWRITE);
        ASSERT_TRUE(remote);
        const int n = static_cast<int>(SendMessageA(status->hwnd, SB_GETPARTS, 0, 0));
        parts.resize(static_cast<size_t>(std::max(n, 0)));
        SendMessageA(status->hwnd, SB_GETPARTS, static_cast<WPARAM>(n), reinterpret_cast<LPARAM>(remote));
        ReadProcessMemory(process, remote, parts.data(), parts.size() * sizeof(int), nullptr);
        char text[64] = {};
        SendMessageA(status->hwnd, SB_GETTEXTA, 5, reinterpret_cast<LPARAM>(remote));
        ReadProcessMemory(process, remote, text, sizeof text - 1, nullptr);
        modeText = text;
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
        CloseHandle(process);
    }
    ASSERT_EQ(parts.size(), 6u);
    EXPECT_EQ(parts[1] - parts[0], 225) << "date";
    EXPECT_EQ(parts[2] - parts[1], 105) << "size";
    EXPECT_EQ(parts[3] - parts[2], 180) << "dimensions";
    EXPECT_EQ(parts[4] - parts[3], 300) << "name";
    EXPECT_GE(parts[0], 150) << "the type panel's least width, 100 design pixels";
    EXPECT_EQ(modeText, "Mode: Actual Size");
    {
        // The bar's font: 8-point MS Sans Serif at this DPI.
        const HDC dc = GetDC(nullptr);
        const HFONT font = CreateFontA(-MulDiv(8, 144, 72), 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0,
                                       "MS Sans Serif");
        const HGDIOBJ before = SelectObject(dc, font);
        SIZE extent{};
        GetTextExtentPoint32A(dc, modeText.c_str(), static_cast<int>(modeText.size()), &extent);
        SelectObject(dc, before);
        DeleteObject(font);
        ReleaseDC(nullptr, dc);
        EXPECT_GE(parts[5] - parts[4], extent.cx + 8) << "the mode panel holds its text";
        EXPECT_GE(parts[5], Width(status->rect) - 1) << "and reaches the bar's end";
    }

    PostMessageA(main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(program.WaitForExit(kStartMs));
    // What the next start restores: the placement in twips, the panel in design pixels.
    const auto stored = [](const char* key) { return forms::GetSetting("Quillview2", "Options", key); };
    EXPECT_EQ(stored("btwidth"), "200");
    EXPECT_EQ(stored("left"), "1500");
    EXPECT_EQ(stored("top"), "1200");
    EXPECT_EQ(stored("width"), "12000");
    EXPECT_EQ(stored("height"), "9000");
    CleanSettings();
}

}  // namespace
