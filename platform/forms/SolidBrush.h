#pragma once
// A solid brush kept for the colour last asked for: a window that paints or colours its background on every
// message makes a brush only when the colour changes, and the brush goes with its owner.

#include "platform/runtime/OwnedHandles.h"

#include <windows.h>

namespace forms {

class SolidBrush {
public:
    // The brush of that colour; valid until the next call with another colour or the owner's end.
    HBRUSH For(COLORREF color) {
        if (!brush_ || color_ != color) {
            brush_.reset(CreateSolidBrush(color));
            color_ = color;
        }
        return brush_.get();
    }

private:
    UniqueBrush brush_;
    COLORREF color_ = CLR_INVALID;
};

}  // namespace forms
