#pragma once
// A 32-bit top-down DIB section: the off-screen surface of painting. Unlike a bitmap compatible with the
// screen, making and selecting one does not go back to the display driver for its format each time.

#include "platform/runtime/OwnedHandles.h"

namespace forms {

// At least 1 x 1; null when there is no memory for it.
UniqueBitmap MakeDib(HDC reference, SIZE size);

}  // namespace forms
