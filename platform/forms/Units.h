#pragma once
// Units of the runtime's coordinates: twips (1440 per inch) at every window's edge, and the scale of
// each object inside it.

#include "platform/runtime/ScreenUnits.h"

namespace forms {

enum class ScaleMode { User = 0, Twips = 1, Points = 2, Pixels = 3, Characters = 4, Inches = 5,
                       Millimeters = 6, Centimeters = 7, HiMetric = 8 };

// Converts a length between units (User counts as twips: the runtime has no user scales).
float ConvertUnits(float value, ScaleMode from, ScaleMode to, Axis axis);

// A length in the given units as whole screen pixels (rounded to nearest) and back.
int ToPixels(float value, ScaleMode from, Axis axis);
float FromPixels(int pixels, ScaleMode to, Axis axis);

}  // namespace forms
