#pragma once
// The screen object: twips per pixel and the program-wide mouse pointer.

#include <windows.h>

namespace forms {

namespace pointer {
inline constexpr int Default = 0;
inline constexpr int Arrow = 1;
inline constexpr int Cross = 2;
inline constexpr int IBeam = 3;
inline constexpr int SizeAll = 5;
inline constexpr int SizeNS = 7;
inline constexpr int SizeWE = 9;
inline constexpr int Hourglass = 11;
inline constexpr int NoDrop = 12;
inline constexpr int ArrowHourglass = 13;
}  // namespace pointer

// The cursor of a MousePointer value (nullptr for 0 = the window's own); an unknown value raises 380.
HCURSOR CursorOf(int mousePointer);

class ScreenObject {
public:
    float TwipsPerPixelX() const;
    float TwipsPerPixelY() const;

    // A pointer other than 0 overrides every window's own pointer while the program runs.
    int MousePointer() const noexcept { return mousePointer_; }
    void SetMousePointer(int value);

private:
    int mousePointer_ = pointer::Default;
};

// The one screen object (single UI thread).
ScreenObject& Screen();

}  // namespace forms
