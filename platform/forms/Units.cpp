#include "platform/forms/Units.h"

#include "platform/runtime/Conversions.h"
#include "platform/runtime/OwnedHandles.h"

#include <cmath>

namespace forms {
namespace {

int LogicalDpi(Axis axis) {
    static const int dpiX = [] { ScopedGetDC dc(nullptr); return GetDeviceCaps(dc.get(), LOGPIXELSX); }();
    static const int dpiY = [] { ScopedGetDC dc(nullptr); return GetDeviceCaps(dc.get(), LOGPIXELSY); }();
    const int dpi = axis == Axis::X ? dpiX : dpiY;
    return dpi > 0 ? dpi : 96;
}

// Units per inch of each scale.
double PerInch(ScaleMode mode, Axis axis) {
    switch (mode) {
    case ScaleMode::Points: return 72.0;
    case ScaleMode::Pixels: return LogicalDpi(axis);
    case ScaleMode::Characters: return axis == Axis::X ? 1440.0 / 120.0 : 1440.0 / 240.0;
    case ScaleMode::Inches: return 1.0;
    case ScaleMode::Millimeters: return 25.4;
    case ScaleMode::Centimeters: return 2.54;
    case ScaleMode::HiMetric: return 2540.0;
    case ScaleMode::User:
    case ScaleMode::Twips: break;
    }
    return 1440.0;
}

}  // namespace

float TwipsPerPixel(Axis axis) { return static_cast<float>(1440.0 / LogicalDpi(axis)); }

float ConvertUnits(float value, ScaleMode from, ScaleMode to, Axis axis) {
    if (from == to) return value;
    return static_cast<float>(value / PerInch(from, axis) * PerInch(to, axis));
}

int ToPixels(float value, ScaleMode from, Axis axis) {
    return static_cast<int>(RoundHalfEven(ConvertUnits(value, from, ScaleMode::Pixels, axis)));
}

float FromPixels(int pixels, ScaleMode to, Axis axis) {
    return ConvertUnits(static_cast<float>(pixels), ScaleMode::Pixels, to, axis);
}

}  // namespace forms
