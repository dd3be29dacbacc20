#pragma once
// Appearance of the boxes with a border (text, list, folder and file lists): 0 flat, a one-line border;
// 1 3-D, a sunken edge. Switched in place, so text, selection and scroll position stay.

#include <windows.h>

namespace forms {

namespace appearance {
inline constexpr int Flat = 0;
inline constexpr int ThreeD = 1;
}  // namespace appearance

// Other values raise 380.
int CheckedAppearance(int value);
inline DWORD AppearanceStyle(int value) noexcept { return value == appearance::Flat ? WS_BORDER : 0; }
inline DWORD AppearanceExStyle(int value) noexcept { return value == appearance::Flat ? 0 : WS_EX_CLIENTEDGE; }
// Restyles a live window's border (nothing without a window).
void ApplyAppearance(HWND window, int value);

}  // namespace forms
