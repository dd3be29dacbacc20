#pragma once
// Reading back what a picture object holds: its bitmap's size and pixels.

#include "platform/forms/StdPicture.h"

#include <windows.h>

#include <cstdlib>

inline SIZE BitmapSize(const forms::StdPicture& picture) {
    BITMAP info{};
    GetObjectA(picture.Handle(), sizeof info, &info);
    return {info.bmWidth, std::abs(info.bmHeight)};
}

inline COLORREF PixelAt(const forms::StdPicture& picture, int x, int y) {
    const HDC dc = CreateCompatibleDC(nullptr);
    const HGDIOBJ old = SelectObject(dc, picture.Handle());
    const COLORREF colour = GetPixel(dc, x, y);
    SelectObject(dc, old);
    DeleteDC(dc);
    return colour;
}
