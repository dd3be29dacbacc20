#include "platform/forms/Screen.h"

#include "platform/runtime/Conversions.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/forms/Units.h"

namespace forms {

HCURSOR CursorOf(int mousePointer) {
    const char* id = nullptr;
    switch (CInt(mousePointer)) {  // a 16-bit value: error 6 beyond its range
    case pointer::Default: return nullptr;
    case pointer::Arrow: case 4: id = IDC_ARROW; break;
    case pointer::Cross: id = IDC_CROSS; break;
    case pointer::IBeam: id = IDC_IBEAM; break;
    case pointer::SizeAll: case 15: id = IDC_SIZEALL; break;
    case 6: id = IDC_SIZENESW; break;
    case pointer::SizeNS: id = IDC_SIZENS; break;
    case 8: id = IDC_SIZENWSE; break;
    case pointer::SizeWE: id = IDC_SIZEWE; break;
    case 10: id = IDC_UPARROW; break;
    case pointer::Hourglass: id = IDC_WAIT; break;
    case pointer::NoDrop: id = IDC_NO; break;
    case pointer::ArrowHourglass: id = IDC_APPSTARTING; break;
    case 14: id = IDC_HELP; break;
    default: throw RuntimeError(err::InvalidPropertyValue);
    }
    return LoadCursorA(nullptr, id);
}

float ScreenObject::TwipsPerPixelX() const { return TwipsPerPixel(Axis::X); }
float ScreenObject::TwipsPerPixelY() const { return TwipsPerPixel(Axis::Y); }

void ScreenObject::SetMousePointer(int value) {
    HCURSOR cursor = CursorOf(value);
    mousePointer_ = value;
    // Show it now; the windows' WM_SETCURSOR keeps it while the pointer moves.
    if (cursor) {
        SetCursor(cursor);
    } else {
        POINT pt{};
        GetCursorPos(&pt);
        SetCursorPos(pt.x, pt.y);  // makes the window under the pointer set its own cursor again
    }
}

ScreenObject& Screen() {
    static ScreenObject screen;
    return screen;
}

}  // namespace forms
