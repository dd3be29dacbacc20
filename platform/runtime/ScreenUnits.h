#pragma once
// Twips (1440 per inch) per screen pixel, in the two roundings the suite uses: the window toolkit scales
// with the exact ratio, the component libraries with the whole number their callers were written against.

#include <cstdint>

namespace forms {

enum class Axis { X, Y };

// The screen's logical DPI along an axis (96 when the screen gives none), read once per process.
int ScreenDpi(Axis axis);

// 1440 / DPI, exact: 15 at 96 DPI, 9.6 at 150.
float TwipsPerPixel(Axis axis);

// 1440 \ DPI, truncated: 15 at 96 DPI, 9 at 150.
std::int32_t WholeTwipsPerPixel(Axis axis);

}  // namespace forms
