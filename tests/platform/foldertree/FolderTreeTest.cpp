#include "../comctl/ComctlTestSupport.h"
#include "HeldTree.h"
#include "tests/platform/forms/ErrorNumber.h"

#include "platform/foldertree/FolderTree.h"
#include "platform/forms/Form.h"
#include "platform/runtime/Strings.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

using namespace forms;
using namespace comctltest;
using namespace foldertreetest;
namespace fs = std::filesystem;

namespace {
class frmTree : public Form {
public:
    frmTree()
        : Form({.Caption = "Tree", .Left = 300, .Top = 300, .Width = 6000, .Height = 7000,
                .StartUp = StartUpPosition::Manual, .Scale = ScaleMode::Pixels}) {
        Tree.FolderChange = [this](const forms::FolderItem& item) {
            changes.push_back(item);
        };
        Tree.MouseUp = [this](int Button, int, float X, float Y) {
            mouseUps.push_back({Button, static_cast<int>(X), static_cast<int>(Y)});
        };
    }
    struct Up {
        int button, x, y;
    };
    std::vector<forms::FolderItem> changes;
    std::vector<Up> mouseUps;
    FolderTree Tree{*this, "Tree", {8, 8, 360, 420}};
};

// A small tree of our own: Photos with mixed-case children and a hidden one, shown and filled.
class FolderTreeTest : public ::testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        base = fs::path(temp) / ("qvtree" + std::to_string(GetCurrentProcessId()));
        fs::remove_all(base);
        for (const char* sub : {"Photos/beach", "Photos/Alps", "Photos/cats", "Photos/.hidden", "Other"})
            fs::create_directories(base / sub);
        SetFileAttributesA((base / "Photos/.hidden").string().c_str(), FILE_ATTRIBUTE_HIDDEN);
        form->Show();
        ASSERT_TRUE(BringToFront(form->hWnd()));
        ASSERT_TRUE(PumpUntil([&] { return Held(tree(), TVM_GETCOUNT) > 0; }));
    }
    void TearDown() override {
        form->Unload();
        fs::remove_all(base);
    }
    std::string P(const char* sub = "") const {
        std::string s = (base / sub).string();
        while (s.size() > 3 && s.back() == '\\') s.pop_back();
        return s;
    }
    HWND tree() const { return form->Tree.hWnd(); }
    HTREEITEM Selected() const {
        return reinterpret_cast<HTREEITEM>(SendMessageA(tree(), TVM_GETNEXTITEM, TVGN_CARET, 0));
    }
    std::vector<std::string> ChildNames(HTREEITEM parent) const {
        std::vector<std::string> names;
        for (auto c = reinterpret_cast<HTREEITEM>(SendMessageA(tree(), TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(parent)));
             c; c = reinterpret_cast<HTREEITEM>(SendMessageA(tree(), TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(c))))
            names.push_back(Text(c));
        return names;
    }
    HTREEITEM Child(HTREEITEM parent, const std::string& name) const {
        for (auto c = reinterpret_cast<HTREEITEM>(SendMessageA(tree(), TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(parent)));
             c; c = reinterpret_cast<HTREEITEM>(SendMessageA(tree(), TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(c))))
            if (Text(c) == name) return c;
        return nullptr;
    }
    std::string Text(HTREEITEM item) const { return HeldText(tree(), item); }
    POINT ScreenPointOf(HTREEITEM item) const {
        RECT r{};
        std::memcpy(&r, &item, sizeof item);  // TVM_GETITEMRECT takes the item in the rectangle
        SendMessageA(tree(), TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
        SendMessageA(tree(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r));
        return CentreOf(tree(), r);
    }
    HTREEITEM Root() const { return reinterpret_cast<HTREEITEM>(SendMessageA(tree(), TVM_GETNEXTITEM, TVGN_ROOT, 0)); }
    TVITEMA Item(HTREEITEM item) const {
        TVITEMA tv{};
        tv.mask = TVIF_HANDLE | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE;
        tv.hItem = item;
        tv.stateMask = TVIS_SELECTED;
        SendMessageA(tree(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
        return tv;
    }
    RECT Label(HTREEITEM item) const {
        RECT r{};
        std::memcpy(&r, &item, sizeof item);
        SendMessageA(tree(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r));
        return r;
    }

    fs::path base;
    std::shared_ptr<frmTree> form = New<frmTree>();
};

// 32-bit pixels of a rectangle, copied from a device context.
struct Pixels {
    int width = 0, height = 0;
    std::vector<std::uint32_t> bits;
    Pixels(HDC from, const RECT& r) : width(r.right - r.left), height(r.bottom - r.top), bits(static_cast<size_t>(width) * height) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB};
        void* data = nullptr;
        const HDC dc = CreateCompatibleDC(from);
        const HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &data, nullptr, 0);
        const HGDIOBJ old = SelectObject(dc, bitmap);
        BitBlt(dc, 0, 0, width, height, from, r.left, r.top, SRCCOPY);
        GdiFlush();
        std::memcpy(bits.data(), data, bits.size() * 4);
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    // Of the pixels where `other` is not plain `background`: how many differ from it by more than rounding
    // in a colour channel, and how many there are.
    std::pair<int, int> Mismatches(const Pixels& other, COLORREF background) const {
        const auto channel = [](std::uint32_t p, int shift) { return static_cast<int>((p >> shift) & 0xFF); };
        const std::uint32_t plain = (GetRValue(background) << 16) | (GetGValue(background) << 8) | GetBValue(background);
        int mismatched = 0, compared = 0;
        for (size_t i = 0; i < bits.size() && i < other.bits.size(); ++i) {
            if ((other.bits[i] & 0xFFFFFF) == plain) continue;
            ++compared;
            int most = 0;
            for (int shift : {0, 8, 16}) most = std::max(most, std::abs(channel(bits[i], shift) - channel(other.bits[i], shift)));
            mismatched += most > 2;
        }
        return {mismatched, compared};
    }
};

// The system image list's small icon, drawn by the image list itself over a background of one colour.
Pixels ShellIcon(int index, COLORREF background, SIZE size) {
    SHFILEINFOA info{};
    const auto system = reinterpret_cast<HIMAGELIST>(SHGetFileInfoA(
        "folder", FILE_ATTRIBUTE_DIRECTORY, &info, sizeof info, SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    const HDC screen = GetDC(nullptr);
    const HDC dc = CreateCompatibleDC(screen);
    const HBITMAP bitmap = CreateCompatibleBitmap(screen, size.cx, size.cy);
    const HGDIOBJ old = SelectObject(dc, bitmap);
    const HBRUSH brush = CreateSolidBrush(background);
    const RECT all{0, 0, size.cx, size.cy};
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    ImageList_Draw(system, index, dc, 0, 0, ILD_TRANSPARENT);
    Pixels out(dc, all);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return out;
}

int ShellIndex(const char* name, bool open) {
    SHFILEINFOA info{};
    SHGetFileInfoA(name, FILE_ATTRIBUTE_DIRECTORY, &info, sizeof info,
                   SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON | (open ? SHGFI_OPENICON : 0));
    return info.iIcon;
}

int ShellIndex(int csidl) {
    PIDLIST_ABSOLUTE pidl = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, &pidl))) return -1;
    SHFILEINFOW info{};
    SHGetFileInfoW(reinterpret_cast<LPCWSTR>(pidl), 0, &info, sizeof info, SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
    CoTaskMemFree(pidl);
    return info.iIcon;
}

}  // namespace

TEST_F(FolderTreeTest, PathSelectsAndExpandsOnlyOnAChange) {
    FolderTree& t = form->Tree;
    struct Case {
        std::string given;
        std::string reads;
        size_t changes;  // FolderChange calls so far
    };
    std::string lower = P("Photos");
    for (auto& ch : lower) ch = static_cast<char>(tolower(static_cast<unsigned char>(ch)));
    const std::vector<Case> cases{
        {P("Photos"), P("Photos"), 1},
        {P("Photos") + "\\", P("Photos"), 1},  // the same folder: no change
        {lower, P("Photos"), 1},                // in another case: the same folder
        {P("Photos\\.hidden"), P("Photos\\.hidden"), 2},  // hidden, not listed, still selectable
        {P("Other"), P("Other"), 3},
    };
    for (const auto& c : cases) {
        t.SetPath(c.given);
        EXPECT_EQ(t.Path(), c.reads) << c.given;
        EXPECT_EQ(form->changes.size(), c.changes) << c.given;
    }
    ASSERT_FALSE(form->changes.empty());
    EXPECT_TRUE(form->changes.back().IsFileSystem);
    EXPECT_EQ(form->changes.back().Name, "Other");

    t.SetPath(P("Photos"));
    const HTREEITEM photos = Selected();
    EXPECT_TRUE(SendMessageA(tree(), TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(photos), TVIS_EXPANDED) & TVIS_EXPANDED);
    EXPECT_EQ(ChildNames(photos), (std::vector<std::string>{".hidden", "Alps", "beach", "cats"}))
        << "sorted without regard to case; the hidden one stays where it was selected";

    EXPECT_EQ(ErrorNumber([&] { t.SetPath(P("missing")); }), 76);
    EXPECT_EQ(t.Path(), P("Photos"));
}

TEST_F(FolderTreeTest, AUserClickGivesOneFolderChange) {
    FolderTree& t = form->Tree;
    t.SetPath(P("Photos"));
    form->changes.clear();
    const HTREEITEM cats = Child(Selected(), "cats");
    ASSERT_TRUE(cats);
    ClickAt(ScreenPointOf(cats));
    ASSERT_TRUE(PumpUntil([&] { return !form->changes.empty(); }));
    Settle();
    ASSERT_EQ(form->changes.size(), 1u);
    EXPECT_EQ(form->changes[0].Path, P("Photos\\cats"));
    EXPECT_EQ(t.Path(), P("Photos\\cats"));
}

TEST_F(FolderTreeTest, ShellNodesAreNoFileSystemAndRefreshComesBackFromThem) {
    FolderTree& t = form->Tree;
    t.SetPath(P("Photos"));
    // Wine's own names for the computer and the recycle bin under the Desktop.
    for (const char* name : {"My Computer", "Trash"}) {
        const HTREEITEM node = Child(Root(), name);
        ASSERT_TRUE(node) << name;
        form->changes.clear();
        ClickAt(ScreenPointOf(node));
        ASSERT_TRUE(PumpUntil([&] { return !form->changes.empty(); })) << name;
        EXPECT_FALSE(form->changes.back().IsFileSystem) << name;
        EXPECT_EQ(form->changes.back().Path, "") << name;
        EXPECT_EQ(t.Path(), "") << name;
    }
    fs::create_directories(base / "Photos" / "new one");
    form->changes.clear();
    t.Refresh();
    EXPECT_EQ(t.Path(), P("Photos"));
    ASSERT_EQ(form->changes.size(), 1u);
    EXPECT_EQ(form->changes[0].Path, P("Photos"));
    EXPECT_EQ(ChildNames(Selected()), (std::vector<std::string>{"Alps", "beach", "cats", "new one"}));
}

TEST_F(FolderTreeTest, RefreshGivesAVanishedFolderToItsAncestor) {
    FolderTree& t = form->Tree;
    t.SetPath(P("Photos\\beach"));
    fs::remove_all(base / "Photos" / "beach");
    t.Refresh();
    EXPECT_EQ(t.Path(), P("Photos"));
    EXPECT_EQ(ChildNames(Selected()), (std::vector<std::string>{"Alps", "cats"}));
}

TEST_F(FolderTreeTest, RightClickGivesMouseUpAndKeepsTheSelection) {
    FolderTree& t = form->Tree;
    t.SetPath(P("Photos"));
    const HTREEITEM alps = Child(Selected(), "Alps");
    ASSERT_TRUE(alps);
    const POINT at = ScreenPointOf(alps);
    ClickAt(at, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
    ASSERT_TRUE(PumpUntil([&] { return !form->mouseUps.empty(); }));
    Settle();
    ASSERT_EQ(form->mouseUps.size(), 1u);
    EXPECT_EQ(form->mouseUps[0].button, 2);
    POINT client = at;
    ScreenToClient(tree(), &client);
    EXPECT_EQ(form->mouseUps[0].x, client.x);
    EXPECT_EQ(form->mouseUps[0].y, client.y);
    EXPECT_EQ(t.Path(), P("Photos"));
}

TEST_F(FolderTreeTest, RowsShowTheShellsIconsAndTheSelectedOneOpen) {
    form->Tree.SetPath(P("Photos"));
    const HTREEITEM photos = Selected();
    struct Case {
        const char* what;
        HTREEITEM item;
        int image;  // the system image list's index the row reports and shows
    };
    const std::vector<Case> cases{
        {"a plain folder", Child(photos, "Alps"), ShellIndex("folder", false)},
        {"the selected folder", photos, ShellIndex("folder", true)},
        {"a shell node", Child(Root(), "My Computer"), ShellIndex(CSIDL_DRIVES)},
    };
    int cx = 16, cy = 16;
    ImageList_GetIconSize(reinterpret_cast<HIMAGELIST>(SendMessageA(tree(), TVM_GETIMAGELIST, TVSIL_NORMAL, 0)), &cx, &cy);
    for (const Case& c : cases) {
        ASSERT_TRUE(c.item) << c.what;
        const TVITEMA item = Item(c.item);
        EXPECT_EQ((item.state & TVIS_SELECTED) ? item.iSelectedImage : item.iImage, c.image) << c.what;

        SendMessageA(tree(), TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(c.item));
        RedrawWindow(tree(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        const RECT label = Label(c.item);
        const int top = label.top + (label.bottom - label.top - cy) / 2;
        const RECT room{label.left - cx, top, label.left, top + cy};
        const HDC dc = GetDC(tree());
        const Pixels shown(dc, room);
        ReleaseDC(tree(), dc);
        const COLORREF background = GetSysColor(COLOR_WINDOW);
        const auto [mismatched, compared] = shown.Mismatches(ShellIcon(c.image, background, SIZE{cx, cy}), background);
        EXPECT_GT(compared, cx * cy / 4) << c.what << ": the shell's icon is mostly blank";
        // The tree's dotted line may run under the icon's edge.
        EXPECT_LE(mismatched, 2) << c.what << ": not the shell's icon";
    }
}


// Set before the window is on screen, a folder is reported at once, in the disk's spelling, and the nodes come
// when the loop is first idle after the showing: the folder's branch open, the folder selected and in view,
// with no second report.
TEST_F(FolderTreeTest, APathSetBeforeTheLoopRunsIsReportedAtOnceAndShownOnceIdle) {
    const std::string drive = P().substr(0, 3);
    std::string lower = P("photos\\BEACH");
    for (auto& ch : lower) ch = static_cast<char>(tolower(static_cast<unsigned char>(ch)));
    struct Case {
        const char* what;
        std::string given;
        std::string reads;
        std::vector<std::string> branch;  // the selected node's text, then its parents' up to the drive
    };
    const std::vector<Case> cases{
        {"a folder in another case", lower, P("Photos\\beach"), {"beach", "Photos"}},
        {"a hidden folder", P("Photos\\.hidden"), P("Photos\\.hidden"), {".hidden", "Photos"}},
        {"a drive", drive, UCase(drive), {}},
    };
    for (const Case& c : cases) {
        auto f = New<frmTree>();
        f->Tree.SetPath(c.given);
        const HWND tree = f->Tree.Window();
        ASSERT_TRUE(tree) << c.what;
        EXPECT_EQ(f->Tree.Path(), c.reads) << c.what;
        ASSERT_EQ(f->changes.size(), 1u) << c.what;
        EXPECT_EQ(f->changes[0].Path, c.reads) << c.what;
        EXPECT_TRUE(f->changes[0].IsFileSystem) << c.what;
        f->Show();
        EXPECT_EQ(Held(tree, TVM_GETCOUNT), 0) << c.what << ": filled before the loop ran";

        ASSERT_TRUE(PumpUntil([&] { return Held(tree, TVM_GETCOUNT) > 0; })) << c.what;
        Settle();
        const HTREEITEM selected = HeldNext(tree, TVGN_CARET);
        ASSERT_TRUE(selected) << c.what;
        EXPECT_EQ(HeldText(tree, selected), f->changes[0].Name) << c.what << ": reported under another name";
        HTREEITEM at = selected;
        for (const std::string& name : c.branch) {
            EXPECT_EQ(HeldText(tree, at), name) << c.what;
            at = HeldNext(tree, TVGN_PARENT, at);
        }
        for (HTREEITEM up = HeldNext(tree, TVGN_PARENT, selected); up; up = HeldNext(tree, TVGN_PARENT, up))
            EXPECT_TRUE(HeldExpanded(tree, up)) << c.what << ": " << HeldText(tree, up) << " closed";
        EXPECT_TRUE(HeldInView(tree, selected)) << c.what << ": not in view";
        EXPECT_EQ(f->Tree.Path(), c.reads) << c.what;
        EXPECT_EQ(f->changes.size(), 1u) << c.what << ": the filling reported again";
        f->Unload();
    }
}

// Whoever asks for a node before the loop is idle gets the filled tree, with the recorded folder selected; the
// path alone needs no node.
TEST_F(FolderTreeTest, AskingForANodeBeforeTheIdleFillsTheTreeAtOnce) {
    struct Case {
        const char* what;
        std::function<void(frmTree&)> ask;
        std::string selected;  // the selected node's text after the asking
        size_t changes;
    };
    const std::vector<Case> cases{
        {"a tree view message", [](frmTree& f) { SendMessageA(f.Tree.Window(), TVM_GETNEXTITEM, TVGN_CARET, 0); },
         "cats", 1},
        {"Refresh", [](frmTree& f) { f.Tree.Refresh(); }, "cats", 1},
        {"a key", [](frmTree& f) { SendMessageA(f.Tree.Window(), WM_KEYDOWN, VK_UP, 0); }, "beach", 2},
    };
    for (const Case& c : cases) {
        auto f = New<frmTree>();
        f->Show();
        const HWND tree = f->Tree.Window();
        char desktop[MAX_PATH] = {};
        ASSERT_TRUE(SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, 0, desktop)));
        EXPECT_EQ(f->Tree.Path(), desktop) << c.what << ": the Desktop is selected at first";
        f->Tree.SetPath(P("Photos\\cats"));
        ASSERT_EQ(Held(tree, TVM_GETCOUNT), 0) << c.what;
        c.ask(*f);
        EXPECT_GT(Held(tree, TVM_GETCOUNT), 0) << c.what;
        const HTREEITEM selected = HeldNext(tree, TVGN_CARET);
        ASSERT_TRUE(selected) << c.what;
        EXPECT_EQ(HeldText(tree, selected), c.selected) << c.what;
        EXPECT_EQ(f->changes.size(), c.changes) << c.what;
        f->Unload();
    }
}
