#pragma once
// Colours as the suite writes them: RGB values (&HBBGGRR) or system colours &H800000nn.

#include <windows.h>

#include <cstdint>

namespace forms {

using OleColor = std::uint32_t;

namespace color {
inline constexpr OleColor ActiveCaption = 0x80000002u;
inline constexpr OleColor InactiveCaption = 0x80000003u;
inline constexpr OleColor Window = 0x80000005u;
inline constexpr OleColor WindowText = 0x80000008u;
inline constexpr OleColor CaptionText = 0x80000009u;
inline constexpr OleColor AppWorkspace = 0x8000000Cu;
inline constexpr OleColor Highlight = 0x8000000Du;
inline constexpr OleColor ButtonFace = 0x8000000Fu;
inline constexpr OleColor ButtonShadow = 0x80000010u;
inline constexpr OleColor ButtonText = 0x80000012u;
}  // namespace color

// The colour to draw with; an invalid value raises error 380.
COLORREF ToColorRef(OleColor color);
// For painting: the fallback when the value is no colour.
COLORREF ToColorRefOr(OleColor color, COLORREF fallback) noexcept;

}  // namespace forms
