#include "FormsTestSupport.h"

#include "platform/forms/Form.h"
#include "platform/forms/MessageLoop.h"
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

// WM_TIMER messages of one timer as the message loop takes them, before they are dispatched.
class TimerMessages {
public:
    explicit TimerMessages(const Timer& timer)
        : filter_(MessageLoop::AddFilter([this, id = timer.Id()](MSG& m) {
              if (m.message == WM_TIMER && m.wParam == id) ++count;
              return false;
          })) {}
    ~TimerMessages() { MessageLoop::RemoveFilter(filter_); }
    TimerMessages(const TimerMessages&) = delete;
    TimerMessages& operator=(const TimerMessages&) = delete;
    int count = 0;

private:
    const int filter_;
};

TEST_F(Timers, FireWhileTheFormIsHidden) {
    frmTimers& f = Default<frmTimers>();
    f.Load();  // loaded, never shown
    EXPECT_TRUE(PumpUntil([&] { return f.ticks1 >= 3; }));
    EXPECT_EQ(f.ticks2, 0) << "interval 0 never fires";
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
    // A second timer of the same interval, started after the first stopped: by its third tick the stopped
    // one would have ticked too.
    f.Timer1.SetInterval(10);
    f.Timer1.SetEnabled(true);
    EXPECT_TRUE(PumpUntil([&] { return f.ticks1 >= 3; }));
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
    f.Load();
    TimerMessages messages(f.Timer1);
    bool nestedLoopSawTicks = false;
    f.Timer1.Tick = [&] {
        ++calls;
        maxDepth = std::max(maxDepth, ++depth);
        if (calls == 1) {
            // A nested loop inside the handler (a message box would run one), until the timer's next two
            // messages came: the first of them was dispatched while this handler still ran.
            const int seen = messages.count;
            nestedLoopSawTicks = PumpUntil([&] { return messages.count >= seen + 2; }, 2000);
        }
        --depth;
    };
    EXPECT_TRUE(PumpUntil([&] { return calls >= 2; }));
    EXPECT_TRUE(nestedLoopSawTicks);
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
