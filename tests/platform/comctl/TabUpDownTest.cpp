#include "ComctlTestSupport.h"
#include "tests/platform/forms/ErrorNumber.h"

#include "platform/comctl/TabControl.h"
#include "platform/comctl/UpDown.h"
#include "platform/forms/Form.h"
#include "platform/forms/controls/TextBox.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>
#include <vector>

using namespace forms;
using namespace comctltest;

namespace {
class frmOptions : public Form {
public:
    frmOptions()
        : Form({.Caption = "Options", .Left = 600, .Top = 600, .Width = 7000, .Height = 5000,
                .StartUp = StartUpPosition::Manual}) {
        TabStrip1.Click = [this](int index) { log("Click " + std::to_string(index)); };
        Text1.Change = [this] { log("Change " + Text1.Text()); };
    }
    Log log;
    TabControl TabStrip1{*this, "TabStrip1", {120, 120, 5000, 3000}};
    TextBox Text1{*this, "Text1", {120, 3300, 600, 300}, {.Text = "5"}};
    UpDown UpDown1{*this, "UpDown1", {800, 3300, 255, 300}, {.Min = 1, .Max = 10, .Value = 5}};
};

class TabUpDownTest : public ::testing::Test {
protected:
    void SetUp() override {
        form->Show();
        ASSERT_TRUE(BringToFront(form->hWnd()));
        form->TabStrip1.AddTab("General", -1, -1, "general");
        form->TabStrip1.AddTab("Links", -1, -1, "links");
        form->TabStrip1.AddTab("First", -1, 1, "first");  // placed before the others
        form->log.Clear();
    }
    void TearDown() override { form->Unload(); }
    std::shared_ptr<frmOptions> form = New<frmOptions>();
};
}  // namespace

TEST_F(TabUpDownTest, TabsAreNumberedInTheirOrderAndClickedByMouse) {
    TabControl& tabs = form->TabStrip1;
    EXPECT_EQ(tabs.TabCaption(1), "First");
    EXPECT_EQ(tabs.TabCaption(3), "Links");
    RECT item{};
    SendMessageA(tabs.hWnd(), TCM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&item));
    ASSERT_TRUE(ClickUntil(CentreOf(tabs.hWnd(), item), [&] { return !form->log.lines.empty(); }));
    EXPECT_EQ(form->log.lines, (std::vector<std::string>{"Click 3"}));
    EXPECT_EQ(tabs.SelectedIndex(), 3);
}

TEST_F(TabUpDownTest, SelectTabRaisesClickOnlyOnAChangeAndWithTheFlag) {
    TabControl& tabs = form->TabStrip1;
    tabs.SelectTab("links");
    tabs.SelectTab("LINKS");  // no change
    tabs.SelectTab("general", false);
    EXPECT_EQ(tabs.SelectedIndex(), 2);
    tabs.SelectTab("first");
    EXPECT_EQ(form->log.lines, (std::vector<std::string>{"Click 3", "Click 1"}));
    EXPECT_EQ(ErrorNumber([&] { tabs.SelectTab("nope"); }), 35601);
    EXPECT_EQ(ErrorNumber([&] { tabs.AddTab("Again", -1, -1, "Links"); }), 35602);
    EXPECT_EQ(tabs.TabCount(), 3);
}

TEST_F(TabUpDownTest, PageAreaLiesInsideTheTabStrip) {
    TabControl& tabs = form->TabStrip1;
    EXPECT_GT(tabs.ClientLeft(), tabs.Left());
    EXPECT_GT(tabs.ClientTop(), tabs.Top() + 100) << "below the row of tabs";
    EXPECT_LT(tabs.ClientLeft() + tabs.ClientWidth(), tabs.Left() + tabs.Width());
    EXPECT_LT(tabs.ClientTop() + tabs.ClientHeight(), tabs.Top() + tabs.Height());
    EXPECT_GT(tabs.ClientWidth(), tabs.Width() / 2);
}

TEST_F(TabUpDownTest, ArrowsStepFromWhatWasTypedWithinTheRange) {
    UpDown& up = form->UpDown1;
    up.SetBuddy(form->Text1.hWnd());
    const HWND arrows = up.hWnd();
    RECT r{};
    GetClientRect(arrows, &r);
    const POINT upper = CentreOf(arrows, RECT{0, 0, r.right, r.bottom / 2});
    const POINT lower = CentreOf(arrows, RECT{0, r.bottom / 2, r.right, r.bottom});

    struct Case {
        const char* typed;
        POINT arrow;
        const char* shown;
    };
    const std::vector<Case> cases{
        {"7", upper, "8"},
        {"10", upper, "10"},   // stays at the top
        {"1", lower, "1"},     // and at the bottom
        {"42", lower, "9"},    // typed beyond the range: from the top end
        {"abc", upper, "10"},  // no number: from the value last stepped to (9)
    };
    for (const auto& c : cases) {
        form->Text1.SetText(c.typed);
        form->log.Clear();
        EXPECT_TRUE(ClickUntil(c.arrow, [&] { return form->Text1.Text() == c.shown && up.Value() == std::stoi(c.shown); }))
            << c.typed << " gave " << form->Text1.Text();
        EXPECT_EQ(up.Value(), std::stoi(c.shown)) << c.typed;
    }
    form->Text1.SetText("3");
    form->log.Clear();
    ASSERT_TRUE(ClickUntil(upper, [&] { return !form->log.lines.empty(); }));
    EXPECT_EQ(form->log.lines, (std::vector<std::string>{"Change 4"})) << "the buddy's Change runs for a step";
    EXPECT_EQ(ErrorNumber([&] { up.SetValue(11); }), 380);
    EXPECT_EQ(up.Value(), 4);
}
