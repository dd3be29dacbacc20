#include "FormsTestSupport.h"

#include "platform/forms/controls/CheckBox.h"
#include "platform/forms/controls/CommandButton.h"
#include "platform/forms/ControlArray.h"
#include "platform/forms/Form.h"
#include "platform/forms/controls/Frame.h"
#include "platform/forms/controls/Label.h"
#include "platform/forms/controls/ListBox.h"
#include "platform/forms/Menu.h"
#include "platform/forms/controls/OptionButton.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/forms/Screen.h"
#include "platform/forms/controls/TextBox.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace forms;
using formstest::Later;
using formstest::PumpUntil;

namespace {

std::vector<std::string>& Log() {
    static std::vector<std::string> log;
    return log;
}
void Note(std::string s) { Log().push_back(std::move(s)); }

class frmControls : public Form {
public:
    frmControls()
        : Form({.Caption = "Controls", .Width = 7000, .Height = 5000, .Scale = ScaleMode::Pixels,
                .KeyPreview = true}) {
        Check1.Click = [] { Note("Check1_Click"); };
        Option1.Click = [] { Note("Option1_Click"); };
        Option2.Click = [] { Note("Option2_Click"); };
        Option3.Click = [] { Note("Option3_Click"); };
        Text1.Change = [] { Note("Text1_Change"); };
        Text1.GotFocus = [] { Note("Text1_GotFocus"); };
        Text1.LostFocus = [] { Note("Text1_LostFocus"); };
        Text1.KeyDown = [](int& KeyCode, int) { Note("Text1_KeyDown " + std::to_string(KeyCode)); };
        Text1.KeyPress = [this](int& KeyAscii) {
            Note("Text1_KeyPress " + std::to_string(KeyAscii));
            if (KeyAscii == 'x') KeyAscii = 0;  // discarded
        };
        Text2.GotFocus = [] { Note("Text2_GotFocus"); };
        Text2.LostFocus = [] { Note("Text2_LostFocus"); };
        List1.Click = [] { Note("List1_Click"); };
        List1.GotFocus = [] { Note("List1_GotFocus"); };
        Command1.Click = [] { Note("Command1_Click"); };
        Command2.Click = [] { Note("Command2_Click"); };
        Label1.Click = [] { Note("Label1_Click"); };
        Label1.MouseUp = [](int Button, int, float X, float) {
            Note("Label1_MouseUp " + std::to_string(Button) + " " + std::to_string(static_cast<int>(X)));
        };
        mnuFile.Click = [this] {
            Note("mnuFile_Click");
            if (enableOpenOnOpen) mnuOpen.SetEnabled(true);
        };
        mnuOpen.Click = [] { Note("mnuOpen_Click"); };
        mnuDel.Click = [] { Note("mnuDel_Click"); };
        mnuHid1.Click = [] { Note("mnuHid1_Click"); };
        mnuHid2.Click = [] { Note("mnuHid2_Click"); };
        mnuHidden.Click = [] { Note("mnuHidden_Click"); };
        mnuFav.OnEach([](Menu& m) { m.Click = [i = m.Index()] { Note("mnuFav_Click " + std::to_string(i)); }; });
    }

    bool enableOpenOnOpen = false;

    CheckBox Check1{*this, "Check1", {8, 8, 120, 20}, {.Caption = "Check"}};
    Frame Frame1{*this, "Frame1", {8, 40, 200, 120}, {.Caption = "Frame"}};
    OptionButton Option1{Frame1, "Option1", {120, 240, 1500, 300}, {.Caption = "One", .Value = true}};
    OptionButton Option2{Frame1, "Option2", {120, 600, 1500, 300}, {.Caption = "Two"}};
    OptionButton Option3{*this, "Option3", {8, 170, 120, 20}, {.Caption = "Three", .Value = true}};
    TextBox Text1{*this, "Text1", {220, 8, 150, 22}, {.Text = "start"}};
    TextBox Text2{*this, "Text2", {220, 36, 150, 22}};
    ListBox List1{*this, "List1", {220, 64, 150, 100}, {.List = {"a", "b", "c"}}};
    CommandButton Command1{*this, "Command1", {8, 200, 90, 26}, {.Caption = "&OK", .Default = true}};
    CommandButton Command2{*this, "Command2", {108, 200, 90, 26}, {.Caption = "Cancel", .Cancel = true}};
    Label Label1{*this, "Label1", {220, 180, 100, 20}, {.Caption = "Hot & strip", .BackStyle = backstyle::Transparent,
                                                         .UseMnemonic = false}};
    ControlArray<Label> Label2{*this, "Label2", {{0, {{220, 210, 60, 20}, {.Caption = "L0"}}}}};
    Menu mnuFile{*this, "mnuFile", {.Caption = "&File"}};
    Menu mnuOpen{mnuFile, "mnuOpen", {.Caption = "&Open...", .Shortcut = CtrlKey('O')}};
    Menu mnuDel{mnuFile, "mnuDel", {.Caption = "Delete File", .Shortcut = Key(VK_DELETE)}};
    Menu mnuSep{mnuFile, "mnuSep", {.Caption = "-"}};
    ControlArray<Menu> mnuFav{mnuFile, "mnuFav", {{0, {.Caption = "Fav0"}}}};
    Menu mnuExit{mnuFile, "mnuExit", {.Caption = "E&xit"}};
    Menu mnuHidden{*this, "mnuHidden", {.Caption = "Hidden", .Visible = false}};
    Menu mnuHid1{mnuHidden, "mnuHid1", {.Caption = "Item 1"}};
    Menu mnuHid2{mnuHidden, "mnuHid2", {.Caption = "Item 2"}};

protected:
    void Form_Load() override { Note("Form_Load"); }
    void Form_KeyDown(int& KeyCode, int) override {
        Note("Form_KeyDown " + std::to_string(KeyCode));
        if (KeyCode == VK_F9) KeyCode = 0;
    }
    void Form_KeyPress(int& KeyAscii) override {
        Note("Form_KeyPress " + std::to_string(KeyAscii));
        if (KeyAscii == 'q') KeyAscii = 'Q';
    }
    void Form_Click() override { Note("Form_Click"); }
};

class Controls : public ::testing::Test {
protected:
    void SetUp() override { Log().clear(); }
    void TearDown() override {
        Default<frmControls>().Unload();
        ReleaseDefault<frmControls>();
    }
    frmControls& F() { return Default<frmControls>(); }
    void Shown() {
        F().Show();
        ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == F().hWnd(); }, 2000));
        Log().clear();
    }
    // Posts a key as the keyboard would and lets the loop run it.
    static void Key(HWND target, WORD vk, bool ctrl = false) {
        BYTE state[256] = {};
        GetKeyboardState(state);
        const BYTE saved = state[VK_CONTROL];
        if (ctrl) state[VK_CONTROL] = 0x80;
        SetKeyboardState(state);
        const LPARAM lp = 1 | (static_cast<LPARAM>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC)) << 16);
        PostMessageA(target, WM_KEYDOWN, vk, lp);
        MSG msg{};
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) MessageLoop::Process(msg);
        PostMessageA(target, WM_KEYUP, vk, lp | (1LL << 30) | (1LL << 31));
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) MessageLoop::Process(msg);
        state[VK_CONTROL] = saved;
        SetKeyboardState(state);
    }
    static void Char(HWND target, char c) {
        PostMessageA(target, WM_CHAR, static_cast<unsigned char>(c), 1);
        MessageLoop::DoEvents();
    }
};

using Action = std::function<void(frmControls&)>;
struct CodeCase {
    const char* what;
    Action act;
    std::vector<std::string> events;
};

TEST_F(Controls, SettingAPropertyFromCodeRaisesTheUsersEventOnlyOnChange) {
    const CodeCase cases[] = {
        {"check on", [](frmControls& f) { f.Check1.SetValue(1); }, {"Check1_Click"}},
        {"check on again", [](frmControls& f) { f.Check1.SetValue(1); f.Check1.SetValue(1); }, {"Check1_Click"}},
        {"check grey then off", [](frmControls& f) { f.Check1.SetValue(2); f.Check1.SetValue(0); },
         {"Check1_Click", "Check1_Click"}},
        {"option set", [](frmControls& f) { f.Option2.SetValue(true); }, {"Option2_Click"}},
        {"option already set", [](frmControls& f) { f.Option1.SetValue(true); }, {}},
        {"option cleared", [](frmControls& f) { f.Option1.SetValue(false); }, {}},
        {"list index", [](frmControls& f) { f.List1.SetListIndex(1); f.List1.SetListIndex(1); }, {"List1_Click"}},
        {"list none to none", [](frmControls& f) { f.List1.SetListIndex(-1); }, {}},
        {"list selected", [](frmControls& f) { f.List1.SetSelected(2, true); f.List1.SetSelected(2, true); },
         {"List1_Click"}},
        {"text", [](frmControls& f) { f.Text1.SetText("other"); f.Text1.SetText("other"); }, {"Text1_Change"}},
        {"text unchanged", [](frmControls& f) { f.Text1.SetText("start"); }, {}},
    };
    for (const CodeCase& c : cases) {
        F().Load();
        Log().clear();
        c.act(F());
        EXPECT_EQ(Log(), c.events) << c.what;
        F().Unload();
    }
}

TEST_F(Controls, OptionButtonsFormOneGroupPerContainer) {
    F().Load();
    EXPECT_TRUE(F().Option1.Value());
    EXPECT_TRUE(F().Option3.Value()) << "another container, another group";
    F().Option2.SetValue(true);
    EXPECT_FALSE(F().Option1.Value());
    EXPECT_TRUE(F().Option3.Value());
    EXPECT_EQ(SendMessageA(F().Option1.hWnd(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    // The user's click goes the same way.
    SendMessageA(F().Option1.hWnd(), BM_CLICK, 0, 0);
    EXPECT_TRUE(F().Option1.Value());
    EXPECT_FALSE(F().Option2.Value());
    EXPECT_EQ(Log().back(), "Option1_Click");
}

TEST_F(Controls, AnErrorInAnEventRaisedByCodeReturnsToTheStatement) {
    F().Check1.Click = [] { throw RuntimeError(err::TypeMismatch); };
    try {
        F().Check1.SetValue(1);
        ADD_FAILURE() << "the handler's error must reach the statement";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Number(), err::TypeMismatch);
    }
    EXPECT_EQ(F().Check1.Value(), 1) << "the value was set before the event ran";
}

TEST_F(Controls, RefusedValuesKeepTheOldValue) {
    F().Load();
    const float w = F().Text1.Width();
    EXPECT_THROW(F().Text1.SetWidth(-5), RuntimeError);
    EXPECT_EQ(F().Text1.Width(), w);
    EXPECT_THROW(F().Check1.SetValue(3), RuntimeError);
    EXPECT_EQ(F().Check1.Value(), 0);
    EXPECT_THROW(F().List1.SetListIndex(3), RuntimeError);
    EXPECT_THROW(F().List1.RemoveItem(9), RuntimeError);
    EXPECT_THROW(F().Label1.SetAlignment(7), RuntimeError);
    // 16-bit properties: overflow (6) before the range check (380).
    struct Case {
        const char* what;
        std::function<void()> set;
        int number;
    };
    const Case cases[] = {
        {"Value 3", [this] { F().Check1.SetValue(3); }, 380},
        {"Value 70000", [this] { F().Check1.SetValue(70000); }, 6},
        {"ListIndex 40000", [this] { F().List1.SetListIndex(40000); }, 6},
        {"TabIndex -40000", [this] { F().Text1.SetTabIndex(-40000); }, 6},
        {"Width -1", [this] { F().Text1.SetWidth(-1); }, 380},
        {"WindowState 99999", [this] { F().SetWindowState(99999); }, 6},
    };
    for (const Case& c : cases) {
        try {
            c.set();
            ADD_FAILURE() << c.what << " was accepted";
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.Number(), c.number) << c.what;
        }
    }
    EXPECT_EQ(F().Check1.Value(), 0);
}

TEST_F(Controls, TouchingAControlLoadsItsFormAndUnloadRestoresTheDesign) {
    frmControls& f = F();
    EXPECT_FALSE(f.IsLoaded());
    f.Label1.SetCaption("changed");
    EXPECT_TRUE(f.IsLoaded());
    EXPECT_EQ(Log(), (std::vector<std::string>{"Form_Load"}));
    EXPECT_FALSE(IsWindowVisible(f.hWnd()));
    f.List1.AddItem("d");
    f.Text1.SetLeft(300);
    f.Unload();
    EXPECT_EQ(f.Label1.Caption(), "Hot & strip");
    EXPECT_EQ(f.List1.ListCount(), 3);
    EXPECT_EQ(f.Text1.Left(), 220);
}

TEST_F(Controls, ListBoxItems) {
    ListBox& l = F().List1;
    l.AddItem("first", 0);
    EXPECT_EQ(l.NewIndex(), 0);
    l.AddItem("last");
    EXPECT_EQ(l.NewIndex(), 4);
    l.SetItemData(4, 42);
    EXPECT_EQ(l.ItemData(4), 42);
    EXPECT_EQ(l.List(0), "first");
    EXPECT_EQ(l.List(9), "");
    EXPECT_EQ(l.Text(), "") << "nothing selected";
    l.SetListIndex(2);
    EXPECT_EQ(l.Text(), "b");
    l.RemoveItem(0);
    EXPECT_EQ(l.ListCount(), 4);
    l.Clear();
    EXPECT_EQ(l.ListCount(), 0);
    EXPECT_EQ(l.ListIndex(), -1);
}

TEST_F(Controls, TextBoxSelection) {
    TextBox& t = F().Text1;
    t.SetText("C:\\Pictures\\cat.jpg");
    t.SetSelStart(0);
    t.SetSelLength(static_cast<int>(t.Text().size()));  // select all, as on focus
    EXPECT_EQ(t.SelText(), t.Text());
    t.SetSelStart(3);
    EXPECT_EQ(t.SelLength(), 0) << "moving the start clears the selection";
    t.SetSelLength(8);
    EXPECT_EQ(t.SelText(), "Pictures");
    EXPECT_THROW(t.SetSelStart(-1), RuntimeError);
    t.SetLocked(true);
    EXPECT_TRUE(GetWindowLongPtrA(t.hWnd(), GWL_STYLE) & ES_READONLY);
}

TEST_F(Controls, FrameChildrenArePlacedInTwipsOnAPixelForm) {
    F().Load();
    RECT frame{}, option{};
    GetWindowRect(F().Frame1.hWnd(), &frame);
    GetWindowRect(F().Option1.hWnd(), &option);
    EXPECT_EQ(option.left - frame.left, ToPixels(120, ScaleMode::Twips, Axis::X));
    EXPECT_EQ(option.top - frame.top, ToPixels(240, ScaleMode::Twips, Axis::Y));
    RECT text{}, client{};
    GetWindowRect(F().Text1.hWnd(), &text);
    POINT origin{0, 0};
    ClientToScreen(F().hWnd(), &origin);
    (void)client;
    EXPECT_EQ(text.left - origin.x, 220) << "form children in the form's pixels";
    EXPECT_EQ(GetParent(F().Option1.hWnd()), F().Frame1.hWnd());
}

TEST_F(Controls, FocusEventsComeInOrderAndSetFocusNeedsAShownForm) {
    F().Load();
    EXPECT_THROW(F().Text1.SetFocus(), RuntimeError) << "form not shown";
    Shown();
    F().Text1.SetFocus();
    F().Text2.SetFocus();
    F().List1.SetFocus();
    EXPECT_EQ(Log(), (std::vector<std::string>{"Text1_GotFocus", "Text1_LostFocus", "Text2_GotFocus",
                                               "Text2_LostFocus", "List1_GotFocus"}));
    EXPECT_EQ(F().ActiveControl(), &F().List1);
    F().Text2.SetVisible(false);
    EXPECT_THROW(F().Text2.SetFocus(), RuntimeError) << "a hidden control cannot take the focus";
}

TEST_F(Controls, TheFocusComesBackAfterAnotherWindowWasActive) {
    Shown();
    EXPECT_EQ(F().ActiveControl(), &F().Check1) << "first in the tab order";
    F().Text2.SetFocus();
    const HWND other = CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                       nullptr, nullptr);
    SetForegroundWindow(other);
    PumpUntil([&] { return GetForegroundWindow() == other; }, 1000);
    DestroyWindow(other);
    SetForegroundWindow(F().hWnd());
    EXPECT_TRUE(PumpUntil([&] { return F().ActiveControl() == &F().Text2; }, 2000));
}

TEST_F(Controls, KeyPreviewSeesKeysBeforeTheControl) {
    Shown();
    F().Text1.SetFocus();
    Log().clear();
    Key(F().Text1.hWnd(), VK_F5);
    Char(F().Text1.hWnd(), 'q');
    Char(F().Text1.hWnd(), 'x');
    Key(F().Text1.hWnd(), VK_F9);
    EXPECT_EQ(Log(), (std::vector<std::string>{"Form_KeyDown 116", "Text1_KeyDown 116", "Form_KeyPress 113",
                                               "Text1_KeyPress 81", "Text1_Change", "Form_KeyPress 120",
                                               "Text1_KeyPress 120",
                                               "Form_KeyDown 120"}));
    EXPECT_EQ(F().Text1.Text().find('x'), std::string::npos) << "KeyAscii 0 discards the key";
    EXPECT_NE(F().Text1.Text().find('Q'), std::string::npos) << "the form's change reaches the box";
}

TEST_F(Controls, EnterAndEscClickTheDefaultAndCancelButtons) {
    Shown();
    F().Text1.SetFocus();
    Log().clear();
    Key(F().Text1.hWnd(), VK_RETURN);
    Key(F().Text1.hWnd(), VK_ESCAPE);
    std::erase_if(Log(), [](const std::string& s) { return s.rfind("Form_Key", 0) == 0 || s.rfind("Text1_Key", 0) == 0; });
    EXPECT_EQ(Log(), (std::vector<std::string>{"Command1_Click", "Command2_Click"}));
}

TEST_F(Controls, AltAndAnAccessLetterChooseTheControl) {
    Shown();
    F().Text1.SetFocus();
    Log().clear();
    PostMessageA(F().Text1.hWnd(), WM_SYSCHAR, 'o', 1 << 29);
    MessageLoop::DoEvents();
    EXPECT_EQ(Log(), (std::vector<std::string>{"Text1_LostFocus", "Command1_Click"})) << "the button takes the focus";
    EXPECT_EQ(Control::AccessKeyOf("Save && &Exit"), 'E');
    EXPECT_EQ(Control::AccessKeyOf("Tom && Jerry"), 0);
}

TEST_F(Controls, TabMovesTheFocusInTabOrder) {
    Shown();
    F().Text1.SetFocus();
    Key(F().Text1.hWnd(), VK_TAB);
    EXPECT_EQ(F().ActiveControl(), &F().Text2);
}

TEST_F(Controls, WindowlessLabelsTakeTheMouseOverTheirContainer) {
    Shown();
    auto click = [&](int x, int y) {
        const LPARAM at = MAKELPARAM(x, y);
        SendMessageA(F().hWnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageA(F().hWnd(), WM_LBUTTONUP, 0, at);
    };
    click(230, 185);
    click(400, 300);
    const int twips = static_cast<int>(10 * TwipsPerPixel(Axis::X));
    EXPECT_EQ(Log(), (std::vector<std::string>{"Label1_MouseUp 1 " + std::to_string(twips), "Label1_Click",
                                               "Form_Click"}));
}

TEST_F(Controls, AButtonMayUnloadItsForm) {
    Shown();
    F().Command1.Click = [this] { F().Unload(); };
    SendMessageA(F().Command1.hWnd(), BM_CLICK, 0, 0);
    EXPECT_FALSE(F().IsLoaded());
    EXPECT_EQ(F().Command1.Window(), nullptr);
}

TEST_F(Controls, MousePointerOfTheScreenOverridesTheForms) {
    Shown();
    F().SetMousePointer(pointer::Hourglass);
    EXPECT_EQ(F().MousePointer(), pointer::Hourglass);
    Screen().SetMousePointer(pointer::Hourglass);
    EXPECT_EQ(Screen().MousePointer(), pointer::Hourglass);
    EXPECT_TRUE(SendMessageA(F().hWnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(F().hWnd()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_WAIT));
    Screen().SetMousePointer(pointer::Default);
    F().SetMousePointer(pointer::Default);
    EXPECT_FALSE(SendMessageA(F().hWnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(F().hWnd()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_THROW(Screen().SetMousePointer(42), RuntimeError);
}

// ---- control arrays ----

TEST_F(Controls, ControlArraysLoadCopiesOfTheFirstElement) {
    auto& arr = F().Label2;
    EXPECT_EQ(arr.Count(), 1);
    arr.Load(3);
    EXPECT_EQ(arr.LBound(), 0);
    EXPECT_EQ(arr.UBound(), 3);
    EXPECT_EQ(arr.Count(), 2);
    EXPECT_EQ(arr(3).Caption(), "L0");
    EXPECT_EQ(arr(3).Index(), 3);
    EXPECT_FALSE(arr(3).Visible()) << "a loaded control starts hidden";
    try {
        arr.Load(3);
        ADD_FAILURE();
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Number(), 360);
    }
    EXPECT_THROW(arr(2), RuntimeError);
    EXPECT_THROW(arr.Unload(0), RuntimeError) << "design elements stay";
    arr.Unload(3);
    EXPECT_EQ(arr.Count(), 1);
    arr.Load(1);
    F().Unload();
    EXPECT_EQ(arr.Count(), 1) << "the form's unload drops run-time elements";
}

std::vector<std::string> Items(HMENU menu) {
    std::vector<std::string> out;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[128] = {};
        GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        out.push_back(text[0] ? text : "-");
    }
    return out;
}

TEST_F(Controls, MenuArraysTakeTheirPlaceAfterTheLastMember) {
    auto& fav = F().mnuFav;
    fav.Load(1);
    fav.Load(2);
    fav(2).SetCaption("Fav2");
    EXPECT_EQ(Items(F().mnuFile.Popup()),
              (std::vector<std::string>{"&Open...\tCtrl+O", "Delete File\tDel", "-", "Fav0", "Fav0", "Fav2", "E&xit"}));
    fav.Unload(1);
    fav(0).SetVisible(false);
    EXPECT_EQ(Items(F().mnuFile.Popup()),
              (std::vector<std::string>{"&Open...\tCtrl+O", "Delete File\tDel", "-", "Fav2", "E&xit"}));
    EXPECT_THROW(fav.Load(2), RuntimeError);
}

// ---- menus ----

TEST_F(Controls, MenuBarShowsOnlyVisibleTopLevelMenus) {
    F().Load();
    const HMENU bar = GetMenu(F().hWnd());
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(Items(bar), (std::vector<std::string>{"&File"}));
    F().mnuFile.SetVisible(false);
    EXPECT_EQ(GetMenu(F().hWnd()), nullptr) << "no visible top-level menu: no bar";
    F().mnuHidden.SetVisible(true);
    EXPECT_EQ(Items(GetMenu(F().hWnd())), (std::vector<std::string>{"Hidden"}));
}

TEST_F(Controls, ATopLevelMenusClickRunsWhenItOpens) {
    F().Load();
    Log().clear();
    SendMessageA(F().hWnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(F().mnuFile.Popup()), 0);
    EXPECT_EQ(Log(), (std::vector<std::string>{"mnuFile_Click"}));
    SendMessageA(F().hWnd(), WM_COMMAND, static_cast<WPARAM>(F().mnuExit.Id()), 0);
    F().mnuOpen.SetEnabled(false);
    SendMessageA(F().hWnd(), WM_COMMAND, static_cast<WPARAM>(F().mnuOpen.Id()), 0);
    EXPECT_EQ(Log(), (std::vector<std::string>{"mnuFile_Click"})) << "mnuExit has no handler; disabled items do nothing";
}

TEST_F(Controls, ShortcutKeysRunTheirItemOnce) {
    Shown();
    F().List1.SetFocus();
    Log().clear();
    Key(F().List1.hWnd(), 'O', true);
    EXPECT_EQ(Log(), (std::vector<std::string>{"mnuFile_Click", "mnuOpen_Click"}))
        << "the menu's own Click first, the item once, and the key goes no further";

    Log().clear();
    F().mnuOpen.SetEnabled(false);
    Key(F().List1.hWnd(), 'O', true);
    EXPECT_EQ(Log(), (std::vector<std::string>{"mnuFile_Click", "Form_KeyDown 79", "Form_KeyPress 15"}))
        << "a disabled item's key does nothing; the key goes on";

    Log().clear();
    F().mnuOpen.SetEnabled(true);
    F().mnuOpen.SetVisible(false);
    Key(F().List1.hWnd(), 'O', true);
    EXPECT_EQ(std::count(Log().begin(), Log().end(), "mnuOpen_Click"), 0) << "a hidden item's key does nothing";
    F().mnuOpen.SetVisible(true);
    F().mnuOpen.SetEnabled(false);

    Log().clear();
    F().enableOpenOnOpen = true;
    Key(F().List1.hWnd(), 'O', true);
    EXPECT_EQ(Log(), (std::vector<std::string>{"mnuFile_Click", "mnuOpen_Click"}));
}

TEST_F(Controls, EditingKeysStayWithTheTextBox) {
    Shown();
    F().Text1.SetFocus();
    Log().clear();
    Key(F().Text1.hWnd(), VK_DELETE);
    EXPECT_EQ(std::count(Log().begin(), Log().end(), "mnuDel_Click"), 0);
    EXPECT_EQ(Log().front(), "Form_KeyDown 46");
    F().List1.SetFocus();
    Log().clear();
    Key(F().List1.hWnd(), VK_DELETE);
    EXPECT_EQ(Log(), (std::vector<std::string>{"mnuFile_Click", "mnuDel_Click"}));
}

// Picks an item of the popup menu that is open, by keys, from inside its loop.
void ChooseFromOpenMenu(int downs, bool cancel = false) {
    Later([downs, cancel] {
        const HWND menu = FindWindowA("#32768", nullptr);
        if (!menu) return;
        if (cancel) {
            EndMenu();
            return;
        }
        for (int i = 0; i < downs; ++i) PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
    }, 50);
}

TEST_F(Controls, PopupMenuReturnsAfterTheChosenItemsClick) {
    Shown();
    F().mnuHid2.Click = [] { Note("mnuHid2_Click"); };
    ChooseFromOpenMenu(2);
    F().PopupMenu(F().mnuHidden, 0, 10.0f, 10.0f, &F().mnuHid2);
    Note("returned");
    EXPECT_EQ(Log(), (std::vector<std::string>{"mnuHid2_Click", "returned"}))
        << "a hidden top-level menu pops up; its own Click does not run";
    Log().clear();
    ChooseFromOpenMenu(0, true);
    F().PopupMenu(F().mnuHidden);
    EXPECT_TRUE(Log().empty()) << "closed without a choice: no Click";
}

}  // namespace
