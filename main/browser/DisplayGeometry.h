#pragma once
// The arithmetic of the display modes, apart from the window: portable and tested as tables.

#include <cstdint>

namespace browser {

// Halves to even, as the window's whole-number conversions round.
std::int32_t Nearest(double value);

struct Fit {
    bool scaled = false;  // false: the picture fits and keeps its size and place
    std::int32_t width = 0;
    std::int32_t height = 0;
    float left = 0;
    float top = 0;
};

// Best Fit of a picture of the given size into a view of outer size pw x ph and inner size sw x sh. The
// computed side uses the outer size when one side is too large and the inner size when both are.
Fit BestFit(float imageWidth, float imageHeight, float pw, float ph, float sw, float sh);

}  // namespace browser
