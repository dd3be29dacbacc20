#pragma once
// Shared by the runtime's tests: pumping until a condition, a scripted answerer that fails the test.

#include "platform/forms/MessageLoop.h"
#include "platform/runtime/ScriptedAnswerer.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace formstest {

// Pumps messages until done() holds, at most ms; false on time-out.
inline bool PumpUntil(const std::function<bool()>& done, DWORD ms = 5000) {
    return forms::MessageLoop::RunUntil(done, ms);
}

// Pumps until every message posted to this thread before the call has been dispatched (a marker posted
// behind them has come through), at most ms; false on time-out. A negative check waits on this, not a time.
bool PumpPosted(DWORD ms = 5000);

// Runs fn from inside the message loop a moment from now (posted as a timer callback), so that a test can
// act while a modal loop runs.
void Later(std::function<void()> fn, UINT ms = 10);

// A scripted answerer installed for the scope; an unexpected prompt fails the test.
class Script {
public:
    Script() : answerer_([](const std::string& m) { ADD_FAILURE() << m; }), scope_(answerer_) {}
    forms::ScriptedAnswerer& operator*() { return answerer_; }
    forms::ScriptedAnswerer* operator->() { return &answerer_; }

private:
    forms::ScriptedAnswerer answerer_;
    forms::ScopedAnswerer scope_;
};

}  // namespace formstest
