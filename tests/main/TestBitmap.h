#pragma once
// Real picture files for tests that open one: 24-bit bitmaps of the given size and colours (0x00BBGGRR).

#include <windows.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <utility>
#include <string>
#include <vector>

namespace qvtest {

// A bitmap whose pixel (x, y), counted from the top left, is pixel(x, y) (0x00BBGGRR).
inline bool WritePixels(const std::string& path, int width, int height,
                        const std::function<std::uint32_t(int, int)>& pixel) {
    const int stride = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biSizeImage = static_cast<DWORD>(stride * height);
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + info.biSizeImage;
    std::vector<BYTE> pixels(info.biSizeImage);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint32_t colour = pixel(x, y);
            BYTE* p = &pixels[static_cast<std::size_t>(height - 1 - y) * stride + x * 3];
            p[0] = static_cast<BYTE>(colour >> 16);
            p[1] = static_cast<BYTE>(colour >> 8);
            p[2] = static_cast<BYTE>(colour);
        }
    }
    const HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = WriteFile(h, &file, sizeof file, &written, nullptr) && WriteFile(h, &info, sizeof info, &written, nullptr) &&
              WriteFile(h, pixels.data(), info.biSizeImage, &written, nullptr);
    CloseHandle(h);
    return ok;
}

inline bool WriteBitmap(const std::string& path, int width = 4, int height = 3, std::uint32_t colour = 0x0000FF) {
    return WritePixels(path, width, height, [colour](int, int) { return colour; });
}

// A 24-bit DIB section of the given size with each rectangle filled in its colour, in order; the caller owns it.
inline HBITMAP PaintedBitmap(int width, int height, std::initializer_list<std::pair<RECT, COLORREF>> areas) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, width, height, 1, 24, BI_RGB};
    void* bits = nullptr;
    const HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HDC dc = CreateCompatibleDC(nullptr);
    const HGDIOBJ old = SelectObject(dc, bitmap);
    for (const auto& [rect, colour] : areas) {
        const HBRUSH brush = CreateSolidBrush(colour);
        FillRect(dc, &rect, brush);
        DeleteObject(brush);
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    return bitmap;
}

}  // namespace qvtest
