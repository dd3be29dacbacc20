#include "update/ProgressBar.h"

#include "platform/forms/Form.h"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace {

class BarHost : public forms::Form {
public:
    BarHost() : Form({.Caption = "bars", .Width = 4000, .Height = 2000}) {}
    update::ProgressBar Plain{*this, "Plain", {120, 120, 3000, 255}};
    update::ProgressBar MinOne{*this, "MinOne", {120, 600, 3000, 255}, {.Min = 1}};
};

int Messages = 0;
UINT Counted = 0;
LRESULT CALLBACK CountProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR) {
    if (msg == Counted) ++Messages;
    return DefSubclassProc(hwnd, msg, w, l);
}

class ProgressBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        host_ = forms::New<BarHost>();
        host_->Show();
    }
    void TearDown() override { host_->Unload(); }
    std::shared_ptr<BarHost> host_;
};

int Low(HWND bar) { return static_cast<int>(SendMessageA(bar, PBM_GETRANGE, TRUE, 0)); }
int High(HWND bar) { return static_cast<int>(SendMessageA(bar, PBM_GETRANGE, FALSE, 0)); }
int Pos(HWND bar) { return static_cast<int>(SendMessageA(bar, PBM_GETPOS, 0, 0)); }

TEST_F(ProgressBarTest, SavedMinOfOneSendsNoRange) {
    auto& plain = host_->Plain;
    auto& one = host_->MinOne;
    EXPECT_EQ(plain.Min(), 0);
    EXPECT_EQ(one.Min(), 1);
    EXPECT_EQ(plain.BorderStyle(), 1);
    // The bar itself kept the common controls' range for the saved Min of 1; a later Max sends both ends.
    plain.SetMax(300);
    one.SetMax(300);
    EXPECT_EQ(Low(plain.hwnd()), 0);
    EXPECT_EQ(Low(one.hwnd()), 1);
    EXPECT_EQ(High(one.hwnd()), 300);
}

TEST_F(ProgressBarTest, SettersActOnlyOnAChange) {
    auto& bar = host_->Plain;
    bar.SetPosition(30);
    Counted = PBM_SETPOS;
    Messages = 0;
    ASSERT_TRUE(SetWindowSubclass(bar.hwnd(), CountProc, 1, 0));
    bar.SetPosition(30);
    EXPECT_EQ(Messages, 0);
    bar.SetPosition(31);
    EXPECT_EQ(Messages, 1);
    EXPECT_EQ(Pos(bar.hwnd()), 31);
    RemoveWindowSubclass(bar.hwnd(), CountProc, 1);
}

TEST_F(ProgressBarTest, SmoothRebuildKeepsPositionAndColours) {
    auto& bar = host_->Plain;
    bar.SetPosition(40);
    bar.SetForeColor(RGB(10, 200, 30));
    const HWND before = bar.hwnd();
    bar.SetSmooth(true);
    const HWND after = bar.hwnd();
    ASSERT_NE(after, nullptr);
    EXPECT_NE(after, before);
    EXPECT_FALSE(IsWindow(before));
    EXPECT_TRUE(GetWindowLongA(after, GWL_STYLE) & PBS_SMOOTH);
    EXPECT_EQ(Pos(after), 40);
    EXPECT_EQ(static_cast<COLORREF>(SendMessageA(after, PBM_GETBARCOLOR, 0, 0)), RGB(10, 200, 30));
    EXPECT_TRUE(GetWindowLongA(after, GWL_EXSTYLE) & WS_EX_STATICEDGE);  // border style 1 again
    bar.SetOrientation(2);  // drawn horizontal, kept as 2
    EXPECT_EQ(bar.Orientation(), 2);
    EXPECT_FALSE(GetWindowLongA(bar.hwnd(), GWL_STYLE) & PBS_VERTICAL);
}

TEST_F(ProgressBarTest, PositionStaysInRangeAndStepItCounts) {
    auto& bar = host_->Plain;
    bar.SetPosition(500);
    EXPECT_EQ(bar.Position(), 100);
    EXPECT_EQ(Pos(bar.hwnd()), 100);
    bar.SetPosition(-5);
    EXPECT_EQ(bar.Position(), 0);
    bar.SetStep(10);
    bar.StepIt();
    bar.StepIt();
    EXPECT_EQ(bar.Position(), 20);
    EXPECT_EQ(Pos(bar.hwnd()), 20);
    host_->MinOne.SetPosition(0);
    EXPECT_EQ(host_->MinOne.Position(), 1);
}

}  // namespace
