#include "platform/forms/Dib.h"

#include <algorithm>

namespace forms {

UniqueBitmap MakeDib(HDC reference, SIZE size) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = std::max<LONG>(size.cx, 1);
    bi.bmiHeader.biHeight = -std::max<LONG>(size.cy, 1);
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    return UniqueBitmap(CreateDIBSection(reference, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
}

}  // namespace forms
