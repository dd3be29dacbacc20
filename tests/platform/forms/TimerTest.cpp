#include "FormsTestSupport.h"

#include "platform/forms/Form.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/forms/Timer.h"
#include "ErrorNumber.h"

#include <gtest/gtest.h>

using namespace forms;
using formstest::Later;
using formstest::PumpUntil;

namespace {

class frmTimers : public Form {
public:
    frmTimers() : Form({.Caption = "Timers"}) {
        Timer1.Tick = [this] { ++ticks1; };
        Timer2.Tick = [this] { ++ticks2; };
    }
    Timer Timer1{*this, "Timer1", {.Interval = 15}};
    Timer Timer2{*this, "Timer2", {.Interval = 0}};
    int ticks1 = 0;
    int ticks2 = 0;
};

class frmModal : public Form {
public:
    frmModal() : Form({.Caption = "Modal"}) {}
};

class Timers : public ::testing::Test {
protected:
    void TearDown() override {
        Default<frmTimers>().Unload();
        ReleaseDefault<frmTimers>();
        ReleaseDefault<frmModal>();
    }
};

TEST_F(Timers, FireWhileTheFormIsHiddenAndStopOnUnload) {
    frmTimers& f = Default<frmTimers>();
    f.Load();  // loaded, never shown
    EXPECT_TRUE(PumpUntil([&] { return f.ticks1 >= 3; }));
    EXPECT_EQ(f.ticks2, 0) << "interval 0 never fires";
    f.Unload();
    const int after = f.ticks1;
    PumpUntil([] { return false; }, 100);
    EXPECT_EQ(f.ticks1, after);
}

TEST_F(Timers, EnabledAndIntervalRestartAndStop) {
    frmTimers& f = Default<frmTimers>();
    f.Timer1.SetEnabled(false);  // loads the form
    EXPECT_TRUE(f.IsLoaded());
    f.Timer2.SetInterval(10);
    EXPECT_TRUE(PumpUntil([&] { return f.ticks2 >= 2; }));
    EXPECT_EQ(f.ticks1, 0);
    EXPECT_EQ(ErrorNumber([&] { f.Timer2.SetInterval(-1); }), err::InvalidPropertyValue);
    EXPECT_EQ(f.Timer2.Interval(), 10);
    f.Timer2.SetEnabled(false);
    const int after = f.ticks2;
    PumpUntil([] { return false; }, 60);
    EXPECT_EQ(f.ticks2, after);
}

TEST_F(Timers, KeepFiringUnderAModalForm) {
    frmTimers& f = Default<frmTimers>();
    frmModal& modal = Default<frmModal>();
    f.Show();
    int seenUnderModal = 0;
    f.Timer2.Tick = [&] {
        ++seenUnderModal;
        if (seenUnderModal == 3) modal.Unload();
    };
    f.Timer2.SetInterval(10);
    modal.Show(ShowMode::Modal);
    EXPECT_GE(seenUnderModal, 3);
}

TEST_F(Timers, ATickDuringItsOwnHandlerIsSkipped) {
    frmTimers& f = Default<frmTimers>();
    int depth = 0, maxDepth = 0, calls = 0;
    f.Timer1.Tick = [&] {
        ++calls;
        maxDepth = std::max(maxDepth, ++depth);
        if (calls == 1) PumpUntil([] { return false; }, 80);  // a nested loop inside the handler
        --depth;
    };
    f.Load();
    EXPECT_TRUE(PumpUntil([&] { return calls >= 2; }));
    EXPECT_EQ(maxDepth, 1);
}

TEST(TimerSeconds, CountsFromLocalMidnight) {
    SYSTEMTIME t{};
    GetLocalTime(&t);
    const float expected = static_cast<float>(t.wHour * 3600 + t.wMinute * 60 + t.wSecond);
    if (expected > 86397.0f) GTEST_SKIP() << "too close to midnight";
    const float seconds = TimerSeconds();
    EXPECT_GE(seconds, 0.0f);
    EXPECT_LT(seconds, 86400.0f);
    EXPECT_NEAR(seconds, expected, 2.0f);
}

}  // namespace
