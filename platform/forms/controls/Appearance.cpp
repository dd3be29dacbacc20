#include "platform/forms/controls/Appearance.h"

#include "platform/runtime/RuntimeError.h"

namespace forms {

int CheckedAppearance(int value) {
    if (value != appearance::Flat && value != appearance::ThreeD) throw RuntimeError(err::InvalidPropertyValue);
    return value;
}

void ApplyAppearance(HWND window, int value) {
    if (!window) return;
    const LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
    const LONG_PTR ex = GetWindowLongPtrA(window, GWL_EXSTYLE);
    const LONG_PTR newStyle = (style & ~static_cast<LONG_PTR>(WS_BORDER)) | AppearanceStyle(value);
    const LONG_PTR newEx = (ex & ~static_cast<LONG_PTR>(WS_EX_CLIENTEDGE)) | AppearanceExStyle(value);
    // The options apply the look the lists already have at each start: no new frame to lay out and paint.
    if (newStyle == style && newEx == ex) return;
    SetWindowLongPtrA(window, GWL_STYLE, newStyle);
    SetWindowLongPtrA(window, GWL_EXSTYLE, newEx);
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE);
}

}  // namespace forms
