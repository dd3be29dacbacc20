#pragma once
// The number of the runtime error a call raises, or 0 when it raises none.

#include <cstdint>

#include "platform/runtime/RuntimeError.h"

namespace forms {

template <typename F>
std::int32_t ErrorNumber(F&& f) {
    try {
        f();
    } catch (const RuntimeError& e) {
        return e.Number();
    }
    return 0;
}

}  // namespace forms
