// A form loaded without being shown keeps its controls on the objects: no control window exists until its
// first showing or until code needs one (a handle), and the windows then show what was set meanwhile.
#include "FormsTestSupport.h"

#include "platform/forms/Form.h"
#include "platform/forms/Screen.h"
#include "platform/forms/controls/CheckBox.h"
#include "platform/forms/controls/CommandButton.h"
#include "platform/forms/controls/DirListBox.h"
#include "platform/forms/controls/DriveListBox.h"
#include "platform/forms/controls/Frame.h"
#include "platform/forms/controls/Label.h"
#include "platform/forms/controls/ListBox.h"
#include "platform/forms/controls/OptionButton.h"
#include "platform/forms/controls/PictureBox.h"
#include "platform/forms/controls/TextBox.h"
#include "tests/support/WindowReads.h"

#include <gtest/gtest.h>
#include <commctrl.h>

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

using namespace forms;

namespace {

class frmHidden : public Form {
public:
    frmHidden() : Form({.Caption = "Hidden", .Width = 6000, .Height = 5000}) {
        Check1.Click = [this] { ++checkClicks; };
        List1.Click = [this] { ++listClicks; };
    }
    Frame Frame1{*this, "Frame1", {120, 120, 5400, 4200}, {.Caption = "Page"}};
    CheckBox Check1{Frame1, "Check1", {120, 300, 2000, 255}, {.Caption = "Box"}};
    OptionButton Option1{Frame1, "Option1", {120, 600, 2000, 255}, {.Caption = "One", .Value = true}};
    OptionButton Option2{Frame1, "Option2", {120, 900, 2000, 255}, {.Caption = "Two"}};
    TextBox Text1{Frame1, "Text1", {120, 1200, 2000, 300}, {.Text = "design"}};
    Label Label1{Frame1, "Label1", {120, 1560, 2000, 255}, {.Caption = "Label"}};
    ListBox List1{Frame1, "List1", {2400, 300, 2000, 1500}, {.List = {"design row"}}};
    ListBox Multi1{Frame1, "Multi1", {2400, 1900, 2000, 1500}, {.MultiSelect = multiselect::Extended}};
    // Two buttons on one place: which one lies on top is the z-order's.
    CommandButton First{*this, "First", {120, 4380, 1200, 360}, {.Caption = "First"}};
    CommandButton Second{*this, "Second", {120, 4380, 1200, 360}, {.Caption = "Second"}};
    int checkClicks = 0;
    int listClicks = 0;
};

// A form with a control whose state is its window's (a picture box's drawing).
class frmWithPicture : public Form {
public:
    frmWithPicture() : Form({.Caption = "Picture"}) {}
    CheckBox Check1{*this, "Check1", {120, 120, 2000, 255}, {.Caption = "Box"}};
    PictureBox Picture1{*this, "Picture1", {120, 600, 2000, 1500}};
};

// A shown form with hidden controls: three buttons on one place, the middle one hidden, a hidden text box and
// a hidden drive list. frmStacked shows the same buttons all at once, the stacking to compare with.
class frmHiddenControls : public Form {
public:
    frmHiddenControls() : Form({.Caption = "Hidden controls", .Width = 6000, .Height = 5000}) {}
    // Steps run as one layout, the way the main window lays itself out.
    void Layout(const std::function<void()>& steps) {
        const DeferredMoves moves(*this);
        steps();
    }
    CommandButton First{*this, "First", {120, 120, 1200, 360}, {.Caption = "First"}};
    CommandButton Second{*this, "Second", {120, 120, 1200, 360}, {.Caption = "Second"}, {.Visible = false}};
    CommandButton Third{*this, "Third", {120, 120, 1200, 360}, {.Caption = "Third"}};
    TextBox Text1{*this, "Text1", {120, 600, 2000, 300}, {.Text = "design"}, {.Visible = false}};
    DriveListBox Drive1{*this, "Drive1", {120, 1000, 2000, 300}, {}, {.Visible = false}};
    ListBox List1{*this, "List1", {2400, 120, 2000, 1000}, {.List = {"a", "b", "c"}}};
    DirListBox Dir1{*this, "Dir1", {2400, 1200, 2000, 1000}, {}, {.Visible = false}};
};

class frmStacked : public Form {
public:
    frmStacked() : Form({.Caption = "Stacked", .Width = 6000, .Height = 5000}) {}
    CommandButton First{*this, "First", {120, 120, 1200, 360}, {.Caption = "First"}};
    CommandButton Second{*this, "Second", {120, 120, 1200, 360}, {.Caption = "Second"}};
    CommandButton Third{*this, "Third", {120, 120, 1200, 360}, {.Caption = "Third"}};
};

// The captions of a form's child windows from the top of the z-order down.
std::vector<std::string> Stacking(HWND form) {
    std::vector<std::string> captions;
    for (HWND h = GetWindow(form, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
        char text[64] = {};
        GetWindowTextA(h, text, sizeof text);
        const std::string caption = text;
        if (caption == "First" || caption == "Second" || caption == "Third") captions.push_back(caption);
    }
    return captions;
}

std::string WindowText(HWND h) {
    char text[256] = {};
    GetWindowTextA(h, text, sizeof text);
    return text;
}

// Fills the form the way code fills a hidden form.
void FillWhileHidden(frmHidden& f) {
    f.Check1.SetValue(1);
    f.Option2.SetValue(true);
    f.Text1.SetText("typed");
    f.Frame1.SetCaption("Renamed page");
    f.Check1.SetCaption("Renamed box");
    f.Label1.SetCaption("Renamed label");
    f.List1.AddItem("second");
    f.List1.AddItem("first", 0);
    f.List1.SetListIndex(2);
    f.List1.RemoveItem(1);  // the chosen row moves up with it
    f.Multi1.AddItem("a");
    f.Multi1.AddItem("b");
    f.Multi1.AddItem("c");
    f.Multi1.SetSelected(0, true);
    f.Multi1.SetListIndex(2);
    f.Text1.SetEnabled(false);
    f.Option1.SetVisible(false);
    f.Check1.Move(240, 330, 2400, 285);
    f.First.ZOrder(1);  // below Second now, which was made after it
}

class HiddenForm : public ::testing::Test {
protected:
    void TearDown() override {
        Default<frmHidden>().Unload();
        Default<frmWithPicture>().Unload();
    }
    static frmHidden& F() { return Default<frmHidden>(); }
};

TEST_F(HiddenForm, LoadedHiddenItHasNoControlWindowsAndItsControlsKeepWhatCodeSets) {
    F().Load();
    ASSERT_TRUE(F().IsLoaded());
    EXPECT_TRUE(qvtest::ChildWindows(F().hWnd()).empty());
    FillWhileHidden(F());
    EXPECT_TRUE(qvtest::ChildWindows(F().hWnd()).empty()) << "a property made a window";

    EXPECT_EQ(F().Check1.Value(), 1);
    EXPECT_EQ(F().checkClicks, 1);
    EXPECT_FALSE(F().Option1.Value());
    EXPECT_TRUE(F().Option2.Value());
    EXPECT_EQ(F().Text1.Text(), "typed");
    EXPECT_EQ(F().Frame1.Caption(), "Renamed page");
    EXPECT_EQ(F().Check1.Caption(), "Renamed box");
    EXPECT_EQ(F().Label1.Caption(), "Renamed label");
    EXPECT_EQ(F().List1.ListCount(), 2);
    EXPECT_EQ(F().List1.List(0), "first");
    EXPECT_EQ(F().List1.List(1), "second");
    EXPECT_EQ(F().List1.ListIndex(), 1);
    EXPECT_EQ(F().List1.Text(), "second");
    EXPECT_EQ(F().listClicks, 1);
    EXPECT_TRUE(F().Multi1.Selected(0));
    EXPECT_FALSE(F().Multi1.Selected(1));
    EXPECT_TRUE(F().Multi1.Selected(2));
    EXPECT_EQ(F().Multi1.SelCount(), 2);
    EXPECT_EQ(F().Multi1.ListIndex(), 2);
    EXPECT_FALSE(F().Text1.Enabled());
    EXPECT_FALSE(F().Option1.Visible());
    EXPECT_EQ(F().Check1.Width(), 2400);
    EXPECT_TRUE(qvtest::ChildWindows(F().hWnd()).empty());
}

TEST_F(HiddenForm, ItsFirstShowingMakesTheWindowsFromTheControlsState) {
    F().Load();
    FillWhileHidden(F());
    const int clicks = F().checkClicks + F().listClicks;
    F().Show();
    ASSERT_TRUE(IsWindowVisible(F().hWnd()));
    EXPECT_EQ(F().checkClicks + F().listClicks, clicks) << "the windows' creation raised an event";

    EXPECT_EQ(GetParent(F().Check1.hWnd()), F().Frame1.hWnd());
    EXPECT_EQ(SendMessageA(F().Check1.hWnd(), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageA(F().Option1.hWnd(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(SendMessageA(F().Option2.hWnd(), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(WindowText(F().Text1.hWnd()), "typed");
    EXPECT_EQ(WindowText(F().Frame1.hWnd()), "Renamed page");
    EXPECT_EQ(WindowText(F().Check1.hWnd()), "Renamed box");
    EXPECT_FALSE(IsWindowEnabled(F().Text1.hWnd()));
    EXPECT_FALSE(IsWindowVisible(F().Option1.hWnd()));
    EXPECT_TRUE(IsWindowVisible(F().Option2.hWnd()));
    RECT box{};
    GetWindowRect(F().Check1.hWnd(), &box);
    MapWindowPoints(nullptr, F().Frame1.hWnd(), reinterpret_cast<POINT*>(&box), 2);
    EXPECT_EQ(box.left, F().Check1.PixelRect().left);
    EXPECT_EQ(box.right - box.left, F().Check1.PixelRect().right - F().Check1.PixelRect().left);

    const HWND list = F().List1.hWnd();
    ASSERT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(qvtest::ListBoxText(list, 0), "first");
    EXPECT_EQ(qvtest::ListBoxText(list, 1), "second");
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 1);
    const HWND multi = F().Multi1.hWnd();
    ASSERT_EQ(SendMessageA(multi, LB_GETCOUNT, 0, 0), 3);
    EXPECT_GT(SendMessageA(multi, LB_GETSEL, 0, 0), 0);
    EXPECT_EQ(SendMessageA(multi, LB_GETSEL, 1, 0), 0);
    EXPECT_GT(SendMessageA(multi, LB_GETSEL, 2, 0), 0);
    EXPECT_EQ(SendMessageA(multi, LB_GETCARETINDEX, 0, 0), 2);

    // The move to the back made while hidden holds among the windows: Second lies above First.
    const POINT onBoth{F().First.PixelRect().left + 2, F().First.PixelRect().top + 2};
    EXPECT_EQ(ChildWindowFromPointEx(F().hWnd(), onBoth, CWP_SKIPINVISIBLE), F().Second.hWnd());

    // From then on the windows are the controls': a change reaches them at once.
    F().List1.AddItem("third");
    EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 3);
    F().List1.SetListIndex(0);
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 0);
}

TEST_F(HiddenForm, AHandleReadWhileHiddenMakesTheWindowsAtOnce) {
    F().Load();
    F().List1.AddItem("added hidden");
    const HWND list = F().List1.hWnd();
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(IsWindow(list));
    EXPECT_FALSE(IsWindowVisible(F().hWnd()));
    EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(qvtest::ListBoxText(list, 1), "added hidden");
    EXPECT_NE(F().Check1.Window(), nullptr) << "the form's other controls come with it";
    // The showing that follows keeps them.
    F().Show();
    EXPECT_EQ(F().List1.hWnd(), list);
}

TEST_F(HiddenForm, AnUnloadWhileHiddenAndTheNextLoadStartFromTheDesign) {
    F().Load();
    FillWhileHidden(F());
    F().Unload();
    F().Show();
    EXPECT_EQ(SendMessageA(F().Check1.hWnd(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(SendMessageA(F().Option1.hWnd(), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageA(F().List1.hWnd(), LB_GETCOUNT, 0, 0), 1);
    EXPECT_EQ(qvtest::ListBoxText(F().List1.hWnd(), 0), "design row");
    EXPECT_EQ(WindowText(F().Text1.hWnd()), "design");
}

TEST_F(HiddenForm, AFormWithAControlThatNeedsItsWindowGetsItsWindowsAtTheLoad) {
    frmWithPicture& f = Default<frmWithPicture>();
    f.Load();
    EXPECT_NE(f.Check1.Window(), nullptr);
    EXPECT_NE(f.Picture1.Window(), nullptr);
}

// A shown form makes no windows for its hidden controls; each comes when the control is shown or its handle
// is read, with what code set meanwhile, in the place among its siblings its declaration gives it.
TEST_F(HiddenForm, AShownFormsHiddenControlsGetTheirWindowsWhenShown) {
    frmHiddenControls& f = Default<frmHiddenControls>();
    f.Show();
    EXPECT_EQ(f.Second.Window(), nullptr);
    EXPECT_EQ(f.Text1.Window(), nullptr);
    EXPECT_EQ(f.Drive1.Window(), nullptr);
    EXPECT_NE(f.First.Window(), nullptr);

    f.Text1.SetText("typed");
    f.Second.SetCaption("Second");
    f.Second.SetVisible(true);
    f.Text1.SetVisible(true);
    ASSERT_NE(f.Second.Window(), nullptr);
    EXPECT_TRUE(IsWindowVisible(f.Second.Window()));
    EXPECT_EQ(WindowText(f.Text1.Window()), "typed");

    frmStacked& reference = Default<frmStacked>();
    reference.Show();
    EXPECT_EQ(Stacking(f.hWnd()), Stacking(reference.hWnd())) << "the shown button takes its declared place";
    reference.Unload();

    const int drives = f.Drive1.ListCount();
    EXPECT_GT(drives, 0) << "the drives are read without the window";
    const HWND list = f.Drive1.hWnd();
    ASSERT_NE(list, nullptr);
    EXPECT_FALSE(IsWindowVisible(list));
    EXPECT_EQ(SendMessageA(list, CB_GETCOUNT, 0, 0), drives);

    // The folder list opens a folder and highlights a subfolder without its window; its window, made when
    // its handle is read, shows the open path and the subfolders with that one highlighted.
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "qvhiddendir" + std::to_string(GetCurrentProcessId());
    for (const char* sub : {"", "\\apple", "\\pear"}) CreateDirectoryA((folder + sub).c_str(), nullptr);
    f.Dir1.SetPath(folder);
    f.Dir1.SetListIndex(1);
    EXPECT_EQ(f.Dir1.Window(), nullptr);
    EXPECT_EQ(f.Dir1.ListCount(), 2);
    EXPECT_EQ(f.Dir1.List(1), folder + "\\pear");
    EXPECT_EQ(f.Dir1.ListIndex(), 1);
    const HWND dirs = f.Dir1.hWnd();
    ASSERT_NE(dirs, nullptr);
    const int rows = static_cast<int>(SendMessageA(dirs, LB_GETCOUNT, 0, 0));
    ASSERT_GE(rows, 3);
    EXPECT_EQ(qvtest::ListBoxText(dirs, rows - 3), "qvhiddendir" + std::to_string(GetCurrentProcessId()));
    EXPECT_EQ(qvtest::ListBoxText(dirs, rows - 1), "pear");
    EXPECT_EQ(SendMessageA(dirs, LB_GETCURSEL, 0, 0), rows - 1);
    EXPECT_EQ(f.Dir1.ListIndex(), 1);
    f.Unload();
    for (const char* sub : {"\\apple", "\\pear", ""}) RemoveDirectoryA((folder + sub).c_str());
}

// Counts the moves asked of a window: the system asks its procedure even when nothing changes. A list box
// that keeps whole rows moves itself again while it takes a new size; that inner move is not counted.
struct MoveCount {
    int moves = 0;
    int inChanged = 0;
};

LRESULT CALLBACK CountMoves(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    auto& count = *reinterpret_cast<MoveCount*>(data);
    if (msg == WM_WINDOWPOSCHANGING && count.inChanged == 0) ++count.moves;
    if (msg != WM_WINDOWPOSCHANGED) return DefSubclassProc(hwnd, msg, wParam, lParam);
    ++count.inChanged;
    const LRESULT result = DefSubclassProc(hwnd, msg, wParam, lParam);
    --count.inChanged;
    return result;
}

// A layout sets a control to where it already is, one side at a time: the window is moved only when that
// changes where it is, also for a list box the system keeps at whole rows, and a window moved by other means
// is put back. Inside a layout the window moves once, when the layout ends.
TEST_F(HiddenForm, SettingAControlsPlaceMovesItsWindowOnlyWhenThePlaceChanges) {
    frmHiddenControls& f = Default<frmHiddenControls>();
    f.Show();
    ListBox& list = f.List1;
    const HWND h = list.hWnd();
    MoveCount count;
    ASSERT_TRUE(SetWindowSubclass(h, &CountMoves, 1, reinterpret_cast<DWORD_PTR>(&count)));
    struct Case {
        const char* what;
        std::function<void()> steps;
        int moves;
    };
    const Case cases[] = {
        {"each side set to what it is", [&] {
             list.SetLeft(list.Left());
             list.SetTop(list.Top());
             list.SetWidth(list.Width());
             list.SetHeight(list.Height());
         }, 0},
        {"a new width", [&] { list.SetWidth(list.Width() + 300); }, 1},
        {"a height between whole rows, asked twice", [&] {
             list.SetHeight(1000 + 37);
             list.SetHeight(1000 + 37);
         }, 1},
        {"each side changed in one layout, twice over", [&] {
             f.Layout([&] {
                 list.SetLeft(list.Left() + 150);
                 list.SetTop(list.Top() + 150);
                 f.Layout([&] { list.SetWidth(list.Width() - 150); });
                 list.SetHeight(list.Height() + 300);
             });
         }, 1},
        {"moved by other means, then its place again", [&] {
             SetWindowPos(h, nullptr, 300, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
             list.SetLeft(list.Left());
         }, 2},
    };
    for (const Case& c : cases) {
        count.moves = 0;
        c.steps();
        EXPECT_EQ(count.moves, c.moves) << c.what;
    }
    RECT r{};
    GetWindowRect(h, &r);
    MapWindowPoints(HWND_DESKTOP, f.hWnd(), reinterpret_cast<POINT*>(&r), 2);
    const float tx = Screen().TwipsPerPixelX(), ty = Screen().TwipsPerPixelY();
    EXPECT_EQ(r.left, static_cast<int>(list.Left() / tx)) << "put back where the control is";
    EXPECT_EQ(r.top, static_cast<int>(list.Top() / ty));
    EXPECT_EQ(r.right - r.left, static_cast<int>(list.Width() / tx)) << "the layout's last width";
    RemoveWindowSubclass(h, &CountMoves, 1);
    f.Unload();
}

}  // namespace
