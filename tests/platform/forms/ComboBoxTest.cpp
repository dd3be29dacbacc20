#include "ErrorNumber.h"
#include "FormsTestSupport.h"
#include "InputSupport.h"

#include "platform/forms/Form.h"
#include "platform/forms/controls/ComboBox.h"
#include "platform/forms/controls/TextBox.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace forms;
using namespace formstest;

namespace {

class frmCombo : public Form {
public:
    frmCombo() : Form({.Caption = "Combo", .Width = 6000, .Height = 4500, .Scale = ScaleMode::Pixels}) {
        cboKeys.Click = [this] { events.push_back("Click " + std::to_string(cboKeys.ListIndex())); };
    }
    std::vector<std::string> events;
    TextBox Text1{*this, "Text1", {10, 10, 100, 22}};
    ComboBox cboKeys{*this, "cboKeys", {10, 50, 120, 21}, {.List = {"F1", "F2", "F3", "F4"}}};
    ComboBox cboSorted{*this, "cboSorted", {150, 50, 120, 21}, {.List = {"pear", "apple", "fig"}, .Sorted = true}};
};

class Combo : public ::testing::Test {
protected:
    void TearDown() override {
        Default<frmCombo>().Unload();
        ReleaseDefault<frmCombo>();
    }
    frmCombo& F() { return Default<frmCombo>(); }
    std::string WindowItem(HWND combo, int i) {
        char text[64] = {};
        SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        return text;
    }
};

TEST_F(Combo, ListIndexFromCodeRaisesClickOnlyOnAChange) {
    F().Load();
    auto& c = F().cboKeys;
    EXPECT_EQ(c.ListIndex(), -1);
    EXPECT_EQ(c.Text(), "");
    c.SetListIndex(2);
    c.SetListIndex(2);
    EXPECT_EQ(c.Text(), "F3");
    EXPECT_EQ(SendMessageA(c.hWnd(), CB_GETCURSEL, 0, 0), 2) << "the window shows the choice";
    c.SetListIndex(-1);
    EXPECT_EQ(F().events, (std::vector<std::string>{"Click 2", "Click -1"}));
    EXPECT_EQ(ErrorNumber([&] { c.SetListIndex(4); }), err::InvalidPropertyValue);
    EXPECT_EQ(ErrorNumber([&] { c.SetListIndex(-2); }), err::InvalidPropertyValue);
    EXPECT_EQ(ErrorNumber([&] { c.SetListIndex(40000); }), err::Overflow);
    EXPECT_EQ(c.ListIndex(), -1);
}

TEST_F(Combo, EntriesAreKeptAsTheWindowShowsThem) {
    F().Load();
    auto& c = F().cboKeys;
    c.SetListIndex(1);
    c.AddItem("F0", 0);
    EXPECT_EQ(c.NewIndex(), 0);
    EXPECT_EQ(c.ListIndex(), 2) << "the chosen entry moves with an insertion";
    EXPECT_EQ(c.Text(), "F2");
    c.SetItemData(4, 12);
    c.RemoveItem(0);
    EXPECT_EQ(c.ListIndex(), 1);
    EXPECT_EQ(c.ItemData(3), 12) << "item data moves with its entry";
    EXPECT_EQ(ErrorNumber([&] { c.RemoveItem(4); }), err::InvalidProcedureCall);
    EXPECT_EQ(ErrorNumber([&] { (void)c.ItemData(4); }), err::InvalidPropertyArrayIndex);
    EXPECT_EQ(c.List(4), "");
    ASSERT_EQ(SendMessageA(c.hWnd(), CB_GETCOUNT, 0, 0), c.ListCount());
    for (int i = 0; i < c.ListCount(); ++i) EXPECT_EQ(WindowItem(c.hWnd(), i), c.List(i)) << i;

    auto& s = F().cboSorted;
    s.AddItem("banana");
    EXPECT_EQ(s.NewIndex(), 1) << "a sorted box places the entry itself";
    const std::vector<std::string> expected{"apple", "banana", "fig", "pear"};
    for (int i = 0; i < s.ListCount(); ++i) {
        EXPECT_EQ(s.List(i), expected[static_cast<size_t>(i)]);
        EXPECT_EQ(WindowItem(s.hWnd(), i), expected[static_cast<size_t>(i)]);
    }
    c.Clear();
    EXPECT_EQ(c.ListCount(), 0);
    EXPECT_EQ(c.ListIndex(), -1);
    EXPECT_EQ(c.NewIndex(), -1);
}

TEST_F(Combo, TheUsersChoiceByKeysAndMouseRaisesOneClickEach) {
    F().Show();
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == F().hWnd(); }, 3000));
    auto& c = F().cboKeys;
    c.SetFocus();
    ASSERT_TRUE(PumpUntil([&] { return GetFocus() == c.hWnd(); }));
    F().events.clear();

    KeyPress(VK_DOWN);
    ASSERT_TRUE(PumpUntil([&] { return !F().events.empty(); }));
    KeyPress(VK_DOWN);
    ASSERT_TRUE(PumpUntil([&] { return F().events.size() >= 2; }));
    EXPECT_EQ(F().events, (std::vector<std::string>{"Click 0", "Click 1"}));

    // Drop the list with a click, then click its fourth entry.
    F().events.clear();
    RECT box{};
    GetClientRect(c.hWnd(), &box);
    const POINT face = ScreenPoint(c.hWnd(), box.right / 2, 10);
    LeftDown(face);
    LeftUp(face);
    ASSERT_TRUE(PumpUntil([&] { return SendMessageA(c.hWnd(), CB_GETDROPPEDSTATE, 0, 0) != 0; }));
    COMBOBOXINFO parts{sizeof parts};
    ASSERT_TRUE(GetComboBoxInfo(c.hWnd(), &parts));
    RECT list{};
    GetClientRect(parts.hwndList, &list);
    const auto item = static_cast<int>(SendMessageA(parts.hwndList, LB_GETITEMHEIGHT, 0, 0));
    const POINT fourth = ScreenPoint(parts.hwndList, list.right / 2, item * 3 + item / 2);
    MouseAt(fourth);
    LeftDown(fourth);
    LeftUp(fourth);
    ASSERT_TRUE(PumpUntil([&] { return SendMessageA(c.hWnd(), CB_GETDROPPEDSTATE, 0, 0) == 0; }));
    ASSERT_TRUE(PumpUntil([&] { return !F().events.empty(); }));
    EXPECT_EQ(F().events, (std::vector<std::string>{"Click 3"}));
    EXPECT_EQ(c.Text(), "F4");
}

}  // namespace
