#include "platform/forms/Units.h"

#include "platform/runtime/Conversions.h"

#include <cmath>

namespace forms {
namespace {

// Units per inch of each scale.
double PerInch(ScaleMode mode, Axis axis) {
    switch (mode) {
    case ScaleMode::Points: return 72.0;
    case ScaleMode::Pixels: return ScreenDpi(axis);
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
