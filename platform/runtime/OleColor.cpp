#include "platform/runtime/OleColor.h"

#include "platform/runtime/RuntimeError.h"

#include <olectl.h>

namespace forms {

COLORREF ToColorRef(OleColor color) {
    COLORREF out = 0;
    if (FAILED(OleTranslateColor(static_cast<OLE_COLOR>(color), nullptr, &out)))
        throw RuntimeError(err::InvalidPropertyValue);
    return out;
}

COLORREF ToColorRefOr(OleColor color, COLORREF fallback) noexcept {
    COLORREF out = 0;
    return SUCCEEDED(OleTranslateColor(static_cast<OLE_COLOR>(color), nullptr, &out)) ? out : fallback;
}

}  // namespace forms
