#include "ErrorNumber.h"
#include "FormsTestSupport.h"
#include "InputSupport.h"

#include "platform/forms/Form.h"
#include "platform/forms/controls/HScrollBar.h"
#include "platform/forms/controls/TextBox.h"
#include "platform/forms/controls/VScrollBar.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace forms;
using namespace formstest;

namespace {

class frmBars : public Form {
public:
    frmBars() : Form({.Caption = "Bars", .Width = 6000, .Height = 4500, .Scale = ScaleMode::Pixels}) {
        HScroll1.Change = [this] { events.push_back("Change " + std::to_string(HScroll1.Value())); };
        HScroll1.Scroll = [this] { events.push_back("Scroll " + std::to_string(HScroll1.Value())); };
        HScroll1.GotFocus = [this] { events.push_back("GotFocus"); };
        VScroll1.Change = [this] { events.push_back("VChange " + std::to_string(VScroll1.Value())); };
    }
    std::vector<std::string> events;
    TextBox Text1{*this, "Text1", {10, 10, 100, 22}};
    HScrollBar HScroll1{*this, "HScroll1", {10, 60, 300, 17}, {.Max = 100, .SmallChange = 3, .LargeChange = 20}};
    VScrollBar VScroll1{*this, "VScroll1", {330, 10, 17, 200}, {.Max = 100, .SmallChange = 5}};
};

class ScrollBars : public ::testing::Test {
protected:
    void TearDown() override {
        Default<frmBars>().Unload();
        ReleaseDefault<frmBars>();
    }
    frmBars& F() { return Default<frmBars>(); }
    void Shown() {
        F().Show();
        ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == F().hWnd(); }, 3000));
        F().Text1.SetFocus();
        ASSERT_TRUE(PumpUntil([&] { return GetFocus() == F().Text1.hWnd(); }));
        F().events.clear();
    }
    // A point of the bar's window, in screen pixels.
    POINT At(int x, int y) { return ScreenPoint(F().HScroll1.hWnd(), x, y); }
    SCROLLBARINFO Info() {
        SCROLLBARINFO info{sizeof info};
        GetScrollBarInfo(F().HScroll1.hWnd(), OBJID_CLIENT, &info);
        return info;
    }
    int BarPosition() { return GetScrollPos(F().HScroll1.hWnd(), SB_CTL); }
};

struct RangeCase {
    const char* what;
    std::function<void(ScrollBar&)> act;
    std::int32_t error;
    std::int32_t value;
    std::vector<std::string> events;
};

TEST_F(ScrollBars, RangeAndValueRules) {
    const RangeCase cases[] = {
        {"a value in range", [](ScrollBar& b) { b.SetValue(40); }, 0, 40, {"Change 40"}},
        {"the same value again", [](ScrollBar& b) { b.SetValue(0); }, 0, 0, {}},
        {"above Max is refused", [](ScrollBar& b) { b.SetValue(101); }, err::InvalidPropertyValue, 0, {}},
        {"below Min is refused", [](ScrollBar& b) { b.SetValue(-1); }, err::InvalidPropertyValue, 0, {}},
        {"beyond 32 bits overflows", [](ScrollBar& b) { b.SetValue(2147483648.0); }, err::Overflow, 0, {}},
        {"a Max beyond 32 bits overflows", [](ScrollBar& b) { b.SetMax(-3e9); }, err::Overflow, 0, {}},
        {"a negative step is refused", [](ScrollBar& b) { b.SetSmallChange(-1); }, err::InvalidPropertyValue, 0, {}},
        {"Max below Min: values between them", [](ScrollBar& b) { b.SetMin(100); b.SetMax(10); b.SetValue(50); },
         0, 50, {"Change 100", "Change 50"}},
        {"Max below Min: outside either way", [](ScrollBar& b) { b.SetMin(100); b.SetMax(10); b.SetValue(5); },
         err::InvalidPropertyValue, 100, {"Change 100"}},
        {"Max set below Value moves it to Max", [](ScrollBar& b) { b.SetValue(80); b.SetMax(50); }, 0, 50,
         {"Change 80", "Change 50"}},
        {"Min set above Value moves it to Min", [](ScrollBar& b) { b.SetValue(20); b.SetMin(30); }, 0, 30,
         {"Change 20", "Change 30"}},
        {"a range beyond 16 bits", [](ScrollBar& b) { b.SetMax(100000); b.SetValue(99999); }, 0, 99999,
         {"Change 99999"}},
        {"a range wider than the window's int", [](ScrollBar& b) { b.SetMin(-2000000000); b.SetMax(2000000000);
             b.SetValue(2000000000); }, 0, 2000000000, {"Change 2000000000"}},
    };
    for (const RangeCase& c : cases) {
        F().Load();
        F().events.clear();
        EXPECT_EQ(ErrorNumber([&] { c.act(F().HScroll1); }), c.error) << c.what;
        EXPECT_EQ(F().HScroll1.Value(), c.value) << c.what;
        EXPECT_EQ(F().events, c.events) << c.what;
        F().Unload();
    }
}

TEST_F(ScrollBars, ThePositionShowsWhereValueLiesBetweenMinAndMax) {
    F().Load();
    auto& bar = F().HScroll1;
    bar.SetMin(100);
    bar.SetMax(0);
    bar.SetValue(75);
    int lo = 0, hi = 0;
    GetScrollRange(bar.hWnd(), SB_CTL, &lo, &hi);
    EXPECT_EQ(hi - lo, 100);
    EXPECT_EQ(BarPosition() - lo, 25) << "Min at the left end, Max at the right";
}

TEST_F(ScrollBars, ClicksOnArrowTroughAndThumb) {
    Shown();
    auto& bar = F().HScroll1;
    const int arrow = GetSystemMetrics(SM_CXHSCROLL);
    RECT rc{};
    GetClientRect(bar.hWnd(), &rc);
    const int mid = rc.bottom / 2;

    // Right arrow: one SmallChange; the click takes the focus first.
    LeftDown(At(rc.right - arrow / 2, mid));
    LeftUp(At(rc.right - arrow / 2, mid));
    ASSERT_TRUE(PumpUntil([&] { return F().events.size() >= 2; }));
    EXPECT_EQ(F().events, (std::vector<std::string>{"GotFocus", "Change 3"}));
    EXPECT_EQ(GetFocus(), bar.hWnd());

    // The trough right of the thumb: one LargeChange.
    F().events.clear();
    LeftDown(At(rc.right - arrow - 4, mid));
    LeftUp(At(rc.right - arrow - 4, mid));
    ASSERT_TRUE(PumpUntil([&] { return !F().events.empty(); }));
    EXPECT_EQ(F().events, (std::vector<std::string>{"Change 23"}));

    // Keys of the focused bar step as the arrows do.
    F().events.clear();
    KeyPress(VK_LEFT);
    ASSERT_TRUE(PumpUntil([&] { return !F().events.empty(); }));
    EXPECT_EQ(F().events, (std::vector<std::string>{"Change 20"}));

    // At Min the left key changes nothing and raises nothing: the next key's Change is the only event.
    bar.SetValue(0);
    F().events.clear();
    KeyPress(VK_LEFT);
    KeyPress(VK_RIGHT);
    ASSERT_TRUE(PumpUntil([&] { return !F().events.empty(); }));
    EXPECT_EQ(F().events, (std::vector<std::string>{"Change 3"}));
}

TEST_F(ScrollBars, TheThumbOfARangeBeyond16BitsDragsToItsFarEnd) {
    Shown();
    auto& bar = F().HScroll1;
    bar.SetMax(100000);
    F().events.clear();
    SCROLLBARINFO info = Info();
    const int mid = (info.rcScrollBar.bottom - info.rcScrollBar.top) / 2;
    const int thumb = (info.xyThumbTop + info.xyThumbBottom) / 2;
    RECT rc{};
    GetClientRect(bar.hWnd(), &rc);

    // The bar tracks its thumb in a loop of its own: each further move comes from a timer that loop runs.
    bool released = false;
    std::function<void(int)> step = [&](int x) {
        if (x > rc.right - 2) {
            LeftUp(At(rc.right - 2, mid));
            released = true;
            return;
        }
        MouseAt(At(x, mid));
        Later([&, x] { step(x + 20); }, 30);
    };
    LeftDown(At(thumb, mid));
    Later([&] { step(thumb + 20); }, 30);
    ASSERT_TRUE(PumpUntil([&] { return released && !F().events.empty() && F().events.back() == "Change 100000"; }))
        << ::testing::PrintToString(F().events);
    // The press gave the bar the focus; then one Scroll per position and one Change at the release.
    const auto& events = F().events;
    ASSERT_GT(events.size(), 5u) << ::testing::PrintToString(events);
    EXPECT_EQ(events.front(), "GotFocus");
    EXPECT_EQ(events[events.size() - 2], "Scroll 100000");
    for (size_t i = 1; i + 1 < events.size(); ++i) EXPECT_EQ(events[i].rfind("Scroll ", 0), 0u) << events[i];
    EXPECT_EQ(bar.Value(), 100000);
}

}  // namespace
