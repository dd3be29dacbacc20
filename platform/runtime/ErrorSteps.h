#pragma once
// "Errors ignored, go on with the next step": each step is guarded on its own, and only the runtime's
// errors are passed over; anything else is a fault and goes on to the caller.

#include "platform/runtime/RuntimeError.h"

#include <concepts>

namespace forms {

// Runs one step; a run-time error inside it ends the step and is ignored. True when the step completed.
template <std::invocable Step>
bool IgnoringErrors(Step&& step) {
    try {
        step();
        return true;
    } catch (const RuntimeError&) {
        return false;
    }
}

}  // namespace forms
