#pragma once
// What printing code needs of a printer: the page's orientation, its printable area in the printer's scale,
// conversions out of that scale, and painting a picture. The runtime's Printer implements it; tests pass a
// fake.

#include "platform/forms/StdPicture.h"
#include "platform/forms/Units.h"

#include <optional>

namespace forms {

namespace orientation {
inline constexpr int Portrait = 1;
inline constexpr int Landscape = 2;
}  // namespace orientation

class IPrinter {
public:
    virtual ~IPrinter() = default;

    virtual int Orientation() const = 0;
    // The printable area follows the orientation.
    virtual void SetOrientation(int value) = 0;
    virtual ScaleMode GetScaleMode() const = 0;
    // The printable area, in the printer's ScaleMode.
    virtual float ScaleWidth() const = 0;
    virtual float ScaleHeight() const = 0;
    // Converts a length between units on the printer's page (to: the printer's ScaleMode when omitted).
    virtual float ScaleX(float value, ScaleMode from, std::optional<ScaleMode> to = {}) const = 0;
    virtual float ScaleY(float value, ScaleMode from, std::optional<ScaleMode> to = {}) const = 0;
    // Paints the picture with its top-left corner at x, y, at the given size (its own size when omitted).
    virtual void PaintPicture(const StdPicture& picture, float x, float y, std::optional<float> width = {},
                              std::optional<float> height = {}) = 0;
    virtual void EndDoc() = 0;

protected:
    IPrinter() = default;
    IPrinter(const IPrinter&) = default;
    IPrinter& operator=(const IPrinter&) = default;
};

}  // namespace forms
