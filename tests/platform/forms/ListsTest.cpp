#include "ErrorNumber.h"
#include "FormsTestSupport.h"
#include "InputSupport.h"
#include "tests/support/TempFolder.h"

#include "platform/forms/Form.h"
#include "platform/forms/controls/DirListBox.h"
#include "platform/forms/controls/DriveListBox.h"
#include "platform/forms/controls/FileListBox.h"
#include "platform/forms/controls/ListBox.h"
#include "platform/forms/controls/TextBox.h"
#include "platform/runtime/Paths.h"
#include "platform/runtime/Strings.h"

#include <gtest/gtest.h>
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace forms;
using namespace formstest;

namespace {

class frmLists : public Form {
public:
    frmLists() : Form({.Caption = "Lists", .Width = 9000, .Height = 6000, .Scale = ScaleMode::Pixels}) {
        File1.Click = [this] { events.push_back("File1_Click"); };
        List1.Click = [this] { events.push_back("List1_Click"); };
        Dir1.Change = [this] { events.push_back("Dir1_Change"); };
        Drive1.Change = [this] { events.push_back("Drive1_Change"); };
    }
    std::vector<std::string> events;
    DriveListBox Drive1{*this, "Drive1", {10, 10, 180, 21}};
    DirListBox Dir1{*this, "Dir1", {10, 40, 180, 200}};
    FileListBox File1{*this, "File1", {200, 10, 200, 230}, {.MultiSelect = multiselect::Extended}};
    ListBox List1{*this, "List1", {410, 10, 100, 120}, {.List = {"a", "b", "c"}, .MultiSelect = multiselect::Simple}};
    TextBox Text1{*this, "Text1", {410, 140, 100, 22}, {.Text = "some text"}};
};

// A small tree: mixed-case names, a non-ASCII name, read-only, hidden and system files, subfolders (one
// hidden), a ".jpeg" file, a name without an extension and names whose ordinal and locale orders differ.
class Lists : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"Beta.JPG", "alpha.jpg", "Zeta.bmp", "a.jpeg", "b.jpe", "\xc3\xb1" "and\xc3\xba.gif",
                                 "readonly.ico", "hidden.jpg", "system.jpg", "_under.txt", "noext"})
            tree.Write(name, "x");
        SetFileAttributesA((tree / "readonly.ico").c_str(), FILE_ATTRIBUTE_READONLY);
        SetFileAttributesA((tree / "hidden.jpg").c_str(), FILE_ATTRIBUTE_HIDDEN);
        SetFileAttributesA((tree / "system.jpg").c_str(), FILE_ATTRIBUTE_SYSTEM);
        CreateDirectoryA((tree / "Sub").c_str(), nullptr);
        CreateDirectoryA((tree / "hidden sub").c_str(), nullptr);
        CreateDirectoryA((tree / "another").c_str(), nullptr);
        SetFileAttributesA((tree / "hidden sub").c_str(), FILE_ATTRIBUTE_HIDDEN);
    }
    void TearDown() override {
        Default<frmLists>().Unload();
        ReleaseDefault<frmLists>();
    }
    frmLists& F() { return Default<frmLists>(); }
    static std::vector<std::string> Entries(const FileListBox& list) {
        std::vector<std::string> names;
        for (int i = 0; i < list.ListCount(); ++i) names.push_back(list.List(i));
        return names;
    }
    // What the window itself holds, read with the system's own messages.
    static std::vector<std::string> WindowEntries(HWND list) {
        std::vector<std::string> names;
        const auto count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            std::string text(static_cast<size_t>(SendMessageA(list, LB_GETTEXTLEN, i, 0)), '\0');
            SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
            names.push_back(text);
        }
        return names;
    }
    qvtest::TempFolder tree;
};

TEST_F(Lists, TheFileListShowsTheMatchingFilesInOrdinalOrder) {
    struct Case {
        const char* pattern;
        std::vector<std::string> names;
    };
    const std::string nandu = "\xc3\xb1" "and\xc3\xba.gif";
    const Case cases[] = {
        {"*.jpg", {"alpha.jpg", "Beta.JPG"}},
        {"*.JPE", {"b.jpe"}},  // never through the 8.3 alias of a.jpeg
        {"*.bmp;*.gif", {"Zeta.bmp", nandu}},
        {" *.ico ; ?.jp* ", {"a.jpeg", "b.jpe", "readonly.ico"}},
        {"", {}},
        // "_" sorts after the letters, as upper case compares by code: a locale would put it first.
        {"*.*", {"a.jpeg", "alpha.jpg", "b.jpe", "Beta.JPG", "noext", "readonly.ico", "Zeta.bmp", "_under.txt", nandu}},
    };
    F().File1.SetPath(tree.Path());
    for (const Case& c : cases) {
        F().File1.SetPattern(c.pattern);
        EXPECT_EQ(F().File1.Pattern(), c.pattern);
        EXPECT_EQ(Entries(F().File1), c.names) << c.pattern;
        EXPECT_EQ(WindowEntries(F().File1.hWnd()), c.names) << c.pattern;
    }
    // The order is the file system's, not the user's locale's.
    std::vector<std::string> sorted = Entries(F().File1);
    std::sort(sorted.begin(), sorted.end(), [](const std::string& a, const std::string& b) {
        const std::wstring wa = ToWide(a), wb = ToWide(b);
        return CompareStringOrdinal(wa.c_str(), -1, wb.c_str(), -1, TRUE) == CSTR_LESS_THAN;
    });
    EXPECT_EQ(Entries(F().File1), sorted);
    EXPECT_TRUE(F().events.empty()) << "re-listing raises no Click";
}

TEST_F(Lists, PathsAreKeptAsGivenAndChecked) {
    auto& dir = F().Dir1;
    auto& file = F().File1;
    const std::string root = tree.Path().substr(0, 3);
    struct Case {
        std::string given;
        std::int32_t error;
        std::string path;
        bool change;
    };
    const std::string sub = tree / "Sub";
    const Case cases[] = {
        {sub + "\\", 0, sub, true},
        {sub, 0, sub, false},
        {tree / "SUB", 0, tree / "SUB", true},  // favourites compare case-sensitively: a change
        {tree / "missing", err::PathNotFound, tree / "SUB", false},
        {tree / "noext", err::PathNotFound, tree / "SUB", false},  // a file is no folder
        {sub + "\\..\\another", 0, tree / "another", true},
        {root, 0, root, true},
    };
    for (const Case& c : cases) {
        F().events.clear();
        EXPECT_EQ(ErrorNumber([&] { dir.SetPath(c.given); }), c.error) << c.given;
        EXPECT_EQ(dir.Path(), c.path) << c.given;
        EXPECT_EQ(F().events, c.change ? std::vector<std::string>{"Dir1_Change"} : std::vector<std::string>{})
            << c.given;
        EXPECT_EQ(ErrorNumber([&] { file.SetPath(c.given); }), c.error) << c.given;
        EXPECT_EQ(file.Path(), c.path) << c.given;
    }
    // A letter that is no drive.
    const DWORD drives = GetLogicalDrives();
    for (char letter = 'Q'; letter >= 'D'; --letter) {
        if (drives & (1u << (letter - 'A'))) continue;
        EXPECT_EQ(ErrorNumber([&] { dir.SetPath(std::string(1, letter) + ":\\x"); }), err::DeviceUnavailable);
        EXPECT_EQ(ErrorNumber([&] { F().Drive1.SetDrive(std::string(1, letter) + ":"); }), err::DeviceUnavailable);
        break;
    }
    EXPECT_EQ(dir.Path(), root);
}

// The viewer sets its folder list, then its drive list, and the drive's change sends the folder list to
// that drive's folder: it must come back to the folder last shown there, not to the drive's root.
TEST_F(Lists, ADriveTextReturnsToTheDrivesLastFolder) {
    const DWORD drives = GetLogicalDrives();
    const char home = static_cast<char>(tree.Path()[0] & ~0x20);
    char other = 0;
    for (char letter = 'Z'; letter > 'A'; --letter)
        if (letter != home && (drives & (1u << (letter - 'A'))) &&
            GetDriveTypeA((std::string(1, letter) + ":\\").c_str()) == DRIVE_FIXED)
            other = letter;
    if (!other) GTEST_SKIP() << "one fixed drive only";
    F().Drive1.Change = [this] { F().Dir1.SetPath(F().Drive1.Drive()); };
    auto& dir = F().Dir1;
    dir.SetPath(tree / "Sub");
    dir.SetPath(std::string(1, other) + ":\\");
    F().Drive1.SetDrive(std::string(1, other) + ":");
    F().Drive1.SetDrive(tree.Path().substr(0, 3));
    EXPECT_EQ(dir.Path(), tree / "Sub");
    EXPECT_EQ(F().Drive1.Drive().substr(0, 2), (std::string{static_cast<char>(home | 0x20), ':'}));
    dir.SetPath(std::string(1, other) + ":");
    EXPECT_EQ(dir.Path(), std::string(1, other) + ":\\");
    // The process's own current directory never moved.
    char current[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, current);
    EXPECT_NE(std::string(current), tree / "Sub");
}

TEST_F(Lists, TheDriveListShowsEveryDrive) {
    F().Load();
    const DWORD drives = GetLogicalDrives();
    std::vector<std::string> letters;
    for (int i = 0; i < 26; ++i)
        if (drives & (1u << i)) letters.push_back(std::string{static_cast<char>('a' + i), ':'});
    ASSERT_EQ(F().Drive1.ListCount(), static_cast<int>(letters.size()));
    for (int i = 0; i < F().Drive1.ListCount(); ++i) {
        const std::string entry = F().Drive1.List(i);
        EXPECT_EQ(entry.substr(0, 2), letters[static_cast<size_t>(i)]);
        const std::string root = std::string(1, static_cast<char>(entry[0] & ~0x20)) + ":\\";
        char label[MAX_PATH + 1] = {};
        if (GetDriveTypeA(root.c_str()) == DRIVE_FIXED &&
            GetVolumeInformationA(root.c_str(), label, sizeof label, nullptr, nullptr, nullptr, nullptr, 0) && label[0]) {
            EXPECT_EQ(entry, letters[static_cast<size_t>(i)] + " [" + label + "]");
        }
    }
    char current[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, current);
    EXPECT_EQ(F().Drive1.Drive()[0], static_cast<char>(current[0] | 0x20)) << "it starts on the current drive";
    F().events.clear();
    F().Drive1.SetDrive(F().Drive1.Drive());
    EXPECT_TRUE(F().events.empty()) << "no change, no event";
}

TEST_F(Lists, TheUsersChoiceOfADriveRaisesChangeOnce) {
    F().Show();
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == F().hWnd(); }, 3000));
    auto& drive = F().Drive1;
    if (drive.ListCount() < 2) GTEST_SKIP() << "one drive only";
    drive.SetFocus();
    ASSERT_TRUE(PumpUntil([&] { return GetFocus() == drive.hWnd(); }));
    const bool onFirst = drive.ListIndex() == 0;
    F().events.clear();
    KeyPress(onFirst ? VK_END : VK_HOME);
    ASSERT_TRUE(PumpUntil([&] { return !F().events.empty(); }));
    KeyPress(onFirst ? VK_END : VK_HOME);  // the same drive again: no change
    KeyPress(onFirst ? VK_HOME : VK_END);
    ASSERT_TRUE(PumpUntil([&] { return F().events.size() >= 2; }));
    EXPECT_EQ(F().events, std::vector<std::string>(2, "Drive1_Change"));
    EXPECT_EQ(drive.ListIndex(), onFirst ? 0 : drive.ListCount() - 1);
    EXPECT_EQ(drive.Drive(), drive.List(drive.ListIndex()));
}

TEST_F(Lists, TheCurrentEntryOfAMultiSelectListCanBeNone) {
    auto& file = F().File1;
    file.SetPath(tree.Path());
    file.SetPattern("*.jpg;*.bmp");
    EXPECT_EQ(file.ListIndex(), -1);
    EXPECT_EQ(file.FileName(), "");
    file.SetListIndex(1);
    file.SetListIndex(2);
    EXPECT_EQ(file.FileName(), "Zeta.bmp");
    EXPECT_TRUE(file.Selected(1)) << "the other selections stay";
    EXPECT_TRUE(file.Selected(2));
    file.SetListIndex(2);
    file.SetListIndex(-1);
    EXPECT_EQ(file.ListIndex(), -1) << "although the caret stands on an entry";
    EXPECT_EQ(file.FileName(), "");
    EXPECT_EQ(F().events, std::vector<std::string>(3, "File1_Click"));
    file.SetListIndex(0);
    tree.Write("Added.jpg", "x");
    file.Refresh();
    EXPECT_EQ(file.ListIndex(), -1) << "a re-list leaves no current entry";
    EXPECT_EQ(file.List(0), "Added.jpg") << "Refresh reads the folder again";
    file.SetPattern("*.jpg");
    EXPECT_EQ(F().events, std::vector<std::string>(4, "File1_Click")) << "re-lists raise no Click";
    F().List1.SetListIndex(1);
    F().List1.Clear();
    EXPECT_EQ(F().List1.ListIndex(), -1);
    EXPECT_EQ(F().List1.Text(), "");
}

TEST_F(Lists, ArrowKeysMoveTheCurrentEntryWithOneClick) {
    F().File1.SetPath(tree.Path());
    F().File1.SetPattern("*.jpg;*.bmp");
    F().Show();
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == F().hWnd(); }, 3000));
    struct Case {
        ListControl& list;
        const char* click;
    };
    // The release of the Tab that brought the focus to a list is no choice.
    F().events.clear();
    SendMessageA(F().List1.hWnd(), WM_KEYUP, VK_TAB, static_cast<LPARAM>(static_cast<ULONG_PTR>(0xC0000001u)));
    EXPECT_TRUE(F().events.empty());
    const Case cases[] = {{F().File1, "File1_Click"}, {F().List1, "List1_Click"}};
    for (const Case& c : cases) {
        c.list.SetFocus();
        ASSERT_TRUE(PumpUntil([&] { return GetFocus() == c.list.hWnd(); }));
        const int before = c.list.ListIndex();
        F().events.clear();
        KeyPress(VK_DOWN);
        ASSERT_TRUE(PumpUntil([&] { return !F().events.empty(); })) << c.click;
        KeyPress(VK_DOWN);
        ASSERT_TRUE(PumpUntil([&] { return F().events.size() >= 2; })) << c.click;
        EXPECT_EQ(F().events, std::vector<std::string>(2, c.click));
        const int now = c.list.ListIndex();
        EXPECT_GT(now, before) << c.click;
        EXPECT_EQ(now, static_cast<int>(SendMessageA(c.list.hWnd(), LB_GETCARETINDEX, 0, 0))) << c.click;
    }
    EXPECT_EQ(F().File1.FileName(), F().File1.List(F().File1.ListIndex()));

    // A click on the first entry makes it current, with one Click.
    F().events.clear();
    RECT row{};
    SendMessageA(F().File1.hWnd(), LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
    const POINT first = ScreenPoint(F().File1.hWnd(), row.left + 10, (row.top + row.bottom) / 2);
    LeftDown(first);
    LeftUp(first);
    ASSERT_TRUE(PumpUntil([&] { return !F().events.empty(); }));
    EXPECT_EQ(F().events, std::vector<std::string>{"File1_Click"});
    EXPECT_EQ(F().File1.ListIndex(), 0);
    EXPECT_EQ(F().File1.FileName(), "alpha.jpg");
}

TEST_F(Lists, TheFolderListShowsTheOpenPathAndItsVisibleSubfolders) {
    auto& dir = F().Dir1;
    dir.SetPath(tree.Path());
    EXPECT_EQ(dir.ListCount(), 2) << "the hidden folder is not listed";
    EXPECT_EQ(dir.List(0), tree / "another");
    EXPECT_EQ(dir.List(1), tree / "Sub");
    EXPECT_EQ(dir.List(-1), tree.Path());
    EXPECT_EQ(dir.List(-2), FolderOf(tree.Path()));
    const std::vector<std::string> rows = WindowEntries(dir.hWnd());
    ASSERT_GE(rows.size(), 3u);
    EXPECT_EQ(rows.back(), "Sub");
    EXPECT_EQ(rows[rows.size() - 3], FileNameOf(tree.Path()));
    EXPECT_EQ(dir.ListIndex(), -1);

    // Refresh shows a folder made since.
    CreateDirectoryA((tree / "New").c_str(), nullptr);
    F().events.clear();
    dir.Refresh();
    EXPECT_EQ(dir.ListCount(), 3);
    EXPECT_EQ(dir.List(1), tree / "New");
    EXPECT_TRUE(F().events.empty());

    // Enter opens the highlighted folder.
    F().Show();
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == F().hWnd(); }, 3000));
    dir.SetFocus();
    dir.SetListIndex(2);
    KeyPress(VK_RETURN);
    ASSERT_TRUE(PumpUntil([&] { return !F().events.empty(); }));
    EXPECT_EQ(dir.Path(), tree / "Sub");
    EXPECT_EQ(F().events, std::vector<std::string>{"Dir1_Change"});
}

// A folder change reads the folder once for itself and its handlers; they list it as it is, and what is listed
// after the change is read afresh.
TEST_F(Lists, AFolderChangesHandlersListTheFolderAsItIs) {
    F().Dir1.Change = [this] { F().File1.SetPath(F().Dir1.Path()); };
    F().Dir1.SetPath(tree.Path());
    const std::string nandu = "\xc3\xb1" "and\xc3\xba.gif";
    std::vector<std::string> files{"a.jpeg",       "alpha.jpg", "b.jpe",      "Beta.JPG", "noext",
                                   "readonly.ico", "Zeta.bmp",  "_under.txt", nandu};
    EXPECT_EQ(Entries(F().File1), files);
    EXPECT_EQ(F().Dir1.ListCount(), 2);

    tree.Write("new.jpg", "x");
    CreateDirectoryA((tree / "Newer").c_str(), nullptr);
    F().File1.Refresh();
    F().Dir1.Refresh();
    files.insert(files.begin() + 4, "new.jpg");
    EXPECT_EQ(Entries(F().File1), files);
    EXPECT_EQ(F().Dir1.ListCount(), 3);

    tree.Write("Sub\\inner.jpg", "x");
    F().Dir1.SetPath(tree / "Sub");
    EXPECT_EQ(Entries(F().File1), std::vector<std::string>{"inner.jpg"});
    EXPECT_EQ(F().Dir1.ListCount(), 0);
}

// A handler that changes the folder and lists it again, still within the change (a picture saved at a
// question the change asked), sees its own file.
TEST_F(Lists, AFolderChangesHandlerThatRefreshesSeesWhatItWrote) {
    F().Dir1.Change = [this] {
        F().File1.SetPath(F().Dir1.Path());
        tree.Write("Sub\\saved.jpg", "x");
        F().File1.Refresh();
    };
    F().Dir1.SetPath(tree / "Sub");
    EXPECT_EQ(Entries(F().File1), std::vector<std::string>{"saved.jpg"});
}

// Counts the frame recalculations of a window.
LRESULT CALLBACK CountFrames(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    if (msg == WM_NCCALCSIZE) ++*reinterpret_cast<int*>(data);
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

TEST_F(Lists, AppearanceSwitchesInPlace) {
    auto& file = F().File1;
    file.SetPath(tree.Path());
    file.SetListIndex(2);
    F().Text1.SetSelStart(2);
    F().Text1.SetSelLength(3);
    struct Case {
        HWND window;
        std::function<void(int)> set;
    };
    const Case cases[] = {{file.hWnd(), [&](int v) { file.SetAppearance(v); }},
                          {F().Dir1.hWnd(), [&](int v) { F().Dir1.SetAppearance(v); }},
                          {F().List1.hWnd(), [&](int v) { F().List1.SetAppearance(v); }},
                          {F().Text1.hWnd(), [&](int v) { F().Text1.SetAppearance(v); }}};
    for (const Case& c : cases) {
        ASSERT_TRUE(GetWindowLongPtrA(c.window, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
        c.set(0);
        EXPECT_FALSE(GetWindowLongPtrA(c.window, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
        EXPECT_TRUE(GetWindowLongPtrA(c.window, GWL_STYLE) & WS_BORDER);
        EXPECT_EQ(ErrorNumber([&] { c.set(2); }), err::InvalidPropertyValue);
        c.set(1);
        EXPECT_TRUE(GetWindowLongPtrA(c.window, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
        // The look a window already has (the options apply it at each start) leaves its frame alone.
        int frames = 0;
        ASSERT_TRUE(SetWindowSubclass(c.window, &CountFrames, 7, reinterpret_cast<DWORD_PTR>(&frames)));
        c.set(1);
        EXPECT_EQ(frames, 0);
        c.set(0);
        EXPECT_GT(frames, 0);
        RemoveWindowSubclass(c.window, &CountFrames, 7);
    }
    EXPECT_EQ(file.ListIndex(), 2) << "the window was not made again";
    EXPECT_TRUE(file.Selected(2));
    EXPECT_EQ(F().Text1.SelText(), "me ");
    EXPECT_EQ(F().Dir1.Appearance(), 0);
}

}  // namespace
