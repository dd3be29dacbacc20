#include "main/browser/DisplayGeometry.h"

#include <cmath>

namespace browser {

std::int32_t Nearest(double value) { return static_cast<std::int32_t>(std::nearbyint(value)); }

Fit BestFit(float imageWidth, float imageHeight, float pw, float ph, float sw, float sh) {
    const std::int32_t imgW = Nearest(imageWidth);
    const std::int32_t imgH = Nearest(imageHeight);
    Fit fit;
    const bool wide = imageWidth > pw;
    const bool tall = imageHeight > ph;
    if (!wide && !tall) return fit;
    if (imgW == 0 || imgH == 0) return fit;
    const auto toWidth = [&] {
        fit.width = Nearest(sw);
        fit.height = Nearest(static_cast<double>(sw) * imgH) / imgW;
    };
    const auto toHeight = [&] {
        fit.width = Nearest(static_cast<double>(sh) * imgW) / imgH;
        fit.height = Nearest(sh);
    };
    if (wide && !tall) {
        fit.width = Nearest(sw);
        fit.height = Nearest(static_cast<double>(pw) * imgH) / imgW;
    } else if (!wide && tall) {
        fit.width = Nearest(static_cast<double>(ph) * imgW) / imgH;
        fit.height = Nearest(sh);
    } else {
        const float dh = imageWidth - pw;
        const float dv = imageHeight - ph;
        if (dh > dv) {
            const std::int32_t h = Nearest(static_cast<double>(sw) * imgH) / imgW;
            if (h > ph) toHeight(); else toWidth();
        } else {
            const std::int32_t w = Nearest(static_cast<double>(sh) * imgW) / imgH;
            if (w > pw) toWidth(); else toHeight();
        }
    }
    fit.scaled = true;
    // Equal slack centres vertically.
    if (pw - fit.width <= ph - fit.height) {
        fit.top = (ph - fit.height) / 2;
        fit.left = 0;
    } else {
        fit.left = (pw - fit.width) / 2;
        fit.top = 0;
    }
    return fit;
}

}  // namespace browser
