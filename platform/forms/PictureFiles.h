#pragma once
// Picture file formats the runtime reads or writes itself, where the OLE picture object's own handling differs
// between systems: run-length encoded bitmaps in, and every format SavePicture writes out.

#include <windows.h>

#include <cstdint>
#include <vector>

namespace forms {

bool IsRleBitmap(const std::vector<std::uint8_t>& file);
// Signature of an icon file of type 2.
bool IsCursorFile(const std::vector<std::uint8_t>& file);
// A 24-bit DIB section; runs that skip pixels leave palette colour 0. 481 when the header does not add up,
// 480 when the bitmap cannot be made.
HBITMAP DecodeRleBitmap(const std::vector<std::uint8_t>& file);

// Whole files: a 24-bit BMP, a placeable WMF (the size in HiMetric), a single-image 32-bit ICO, an EMF.
std::vector<std::uint8_t> BitmapFileBytes(HBITMAP bitmap, HPALETTE palette);
std::vector<std::uint8_t> PlaceableMetafileBytes(HMETAFILE metafile, long widthHiMetric, long heightHiMetric);
std::vector<std::uint8_t> IconFileBytes(HICON icon);
std::vector<std::uint8_t> EnhancedMetafileBytes(HENHMETAFILE metafile);

}  // namespace forms
