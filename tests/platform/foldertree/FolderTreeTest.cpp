#include "../comctl/ComctlTestSupport.h"
#include "tests/platform/forms/ErrorNumber.h"

#include "platform/foldertree/FolderTree.h"
#include "platform/forms/Form.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

using namespace forms;
using namespace comctltest;
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

// A small tree of our own: Photos with mixed-case children and a hidden one.
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
    std::string Text(HTREEITEM item) const {
        char text[260] = {};
        TVITEMA tv{};
        tv.mask = TVIF_TEXT | TVIF_HANDLE;
        tv.hItem = item;
        tv.pszText = text;
        tv.cchTextMax = sizeof text;
        SendMessageA(tree(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
        return text;
    }
    POINT ScreenPointOf(HTREEITEM item) const {
        RECT r{};
        std::memcpy(&r, &item, sizeof item);  // TVM_GETITEMRECT takes the item in the rectangle
        SendMessageA(tree(), TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
        SendMessageA(tree(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r));
        return CentreOf(tree(), r);
    }
    HTREEITEM Root() const { return reinterpret_cast<HTREEITEM>(SendMessageA(tree(), TVM_GETNEXTITEM, TVGN_ROOT, 0)); }

    fs::path base;
    std::shared_ptr<frmTree> form = New<frmTree>();
};
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
