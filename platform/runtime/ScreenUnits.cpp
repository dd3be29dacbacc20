#include "platform/runtime/ScreenUnits.h"

#include <windows.h>

#include "platform/runtime/OwnedHandles.h"

namespace forms {

int ScreenDpi(Axis axis) {
    static const int dpiX = [] { ScopedGetDC dc(nullptr); return GetDeviceCaps(dc.get(), LOGPIXELSX); }();
    static const int dpiY = [] { ScopedGetDC dc(nullptr); return GetDeviceCaps(dc.get(), LOGPIXELSY); }();
    const int dpi = axis == Axis::X ? dpiX : dpiY;
    return dpi > 0 ? dpi : 96;
}

float TwipsPerPixel(Axis axis) { return static_cast<float>(1440.0 / ScreenDpi(axis)); }

std::int32_t WholeTwipsPerPixel(Axis axis) { return 1440 / ScreenDpi(axis); }

}  // namespace forms
