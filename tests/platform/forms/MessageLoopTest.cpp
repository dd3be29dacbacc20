// The message loop's filter list changing while a message is filtered: by the filter that runs, by another,
// and from a nested loop inside a filter.
#include "FormsTestSupport.h"

#include "platform/forms/MessageLoop.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using forms::MessageLoop;

namespace {

constexpr UINT Probe = WM_APP + 0x2F11;  // a thread message only these tests post

void PostProbe(WPARAM n) { PostThreadMessageA(GetCurrentThreadId(), Probe, n, 0); }

// Filters of one test: each records the probes it saw as "<name><n>", and is removed at the end.
class Filters {
public:
    ~Filters() {
        for (const int id : ids_) MessageLoop::RemoveFilter(id);
    }
    int Add(const std::string& name, std::function<void(WPARAM)> also = {}) {
        const int id = MessageLoop::AddFilter([this, name, also = std::move(also)](MSG& m) {
            if (m.message != Probe) return false;
            seen.push_back(name + std::to_string(m.wParam));
            if (also) also(m.wParam);
            return false;
        });
        ids_.push_back(id);
        return id;
    }
    // Posts probes 1..count and pumps until the last one was dispatched.
    void Run(WPARAM count) {
        bool last = false;
        const int end = MessageLoop::AddFilter([&, count](MSG& m) {
            if (m.message == Probe && m.wParam == count) last = true;
            return false;
        });
        for (WPARAM n = 1; n <= count; ++n) PostProbe(n);
        EXPECT_TRUE(formstest::PumpUntil([&] { return last; }, 2000));
        MessageLoop::RemoveFilter(end);
    }
    std::vector<std::string> seen;

private:
    std::vector<int> ids_;
};

using Seen = std::vector<std::string>;

TEST(MessageLoopFilters, AFilterRemovingItselfSeesNoMoreAndTheOthersGoOn) {
    Filters f;
    int a = 0;
    a = f.Add("a", [&](WPARAM n) {
        if (n == 1) MessageLoop::RemoveFilter(a);
    });
    f.Add("b");
    f.Run(2);
    EXPECT_EQ(f.seen, (Seen{"a1", "b1", "b2"}));
}

TEST(MessageLoopFilters, AFilterRemovedByAnEarlierOneMissesTheCurrentMessage) {
    Filters f;
    int b = 0;
    f.Add("a", [&](WPARAM n) {
        if (n == 1) MessageLoop::RemoveFilter(b);
    });
    b = f.Add("b");
    f.Add("c");
    f.Run(2);
    EXPECT_EQ(f.seen, (Seen{"a1", "c1", "a2", "c2"}));
}

TEST(MessageLoopFilters, AFilterAddedWhileFilteringStartsWithTheNextMessage) {
    Filters f;
    f.Add("a", [&](WPARAM n) {
        if (n == 1) {
            // Enough to make the list move to new storage while "a" runs.
            for (int i = 0; i < 64; ++i) f.Add("x" + std::to_string(i) + "-", [](WPARAM) {});
            f.Add("b");
        }
    });
    f.Run(2);
    ASSERT_GE(f.seen.size(), 3u);
    EXPECT_EQ(f.seen.front(), "a1");
    EXPECT_EQ(f.seen[1], "a2");
    EXPECT_EQ(f.seen.back(), "b2");
    EXPECT_EQ(f.seen.size(), 67u) << "each added filter saw probe 2 once, none probe 1";
}

TEST(MessageLoopFilters, ARemovalInsideANestedLoopHoldsForTheOuterWalk) {
    Filters f;
    int c = 0;
    f.Add("a", [&](WPARAM n) {
        if (n != 1) return;
        PostProbe(10);
        MessageLoop::DoEvents();  // a nested loop filters probe 10 while probe 1 is being filtered
    });
    f.Add("b", [&](WPARAM n) {
        if (n == 10) MessageLoop::RemoveFilter(c);
    });
    c = f.Add("c");
    f.Run(1);
    EXPECT_EQ(f.seen, (Seen{"a1", "a10", "b10", "b1"})) << "c is gone for the outer walk too";
}

}  // namespace
