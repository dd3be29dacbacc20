#include "platform/foldertree/FolderIcons.h"

#include <shellapi.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace forms {

namespace {
BITMAPINFO TopDown32(SIZE size) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size.cx;
    info.bmiHeader.biHeight = -size.cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// The pixels of a bitmap as 32-bit top-down rows of `size`, or nothing when they cannot be read.
std::vector<std::uint32_t> Pixels(HBITMAP bitmap, SIZE size) {
    std::vector<std::uint32_t> pixels(static_cast<size_t>(size.cx) * size.cy);
    BITMAPINFO info = TopDown32(size);
    const UniqueDC dc(CreateCompatibleDC(nullptr));
    if (!bitmap || !dc || GetDIBits(dc.get(), bitmap, 0, size.cy, pixels.data(), &info, DIB_RGB_COLORS) != size.cy)
        return {};
    return pixels;
}
}  // namespace

FolderIcons& FolderIcons::Shared() {
    static FolderIcons icons;
    return icons;
}

FolderIcons::FolderIcons() {
    SHFILEINFOA info{};
    system_ = reinterpret_cast<HIMAGELIST>(SHGetFileInfoA(
        "folder", FILE_ATTRIBUTE_DIRECTORY, &info, sizeof info, SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    int cx = 0, cy = 0;
    if (system_ && ImageList_GetIconSize(system_, &cx, &cy) && cx > 0 && cy > 0) size_ = SIZE{cx, cy};
    room_.reset(ImageList_Create(size_.cx, size_.cy, ILC_COLOR32, 0, 1));
}

BitmapDC FolderIcons::Copy(int index) const {
    if (!system_ || index < 0 || index >= ImageList_GetImageCount(system_)) return {};
    const UniqueIcon icon(ImageList_GetIcon(system_, index, ILD_TRANSPARENT));
    ICONINFO parts{};
    if (!icon || !GetIconInfo(icon.get(), &parts)) return {};
    const UniqueBitmap colour(parts.hbmColor), mask(parts.hbmMask);
    const std::vector<std::uint32_t> colours = Pixels(colour.get(), size_);
    const std::vector<std::uint32_t> masks = Pixels(mask.get(), size_);
    if (colours.empty() || masks.empty()) return {};
    bool alpha = false;
    for (const std::uint32_t p : colours) alpha = alpha || (p >> 24) != 0;

    const BITMAPINFO info = TopDown32(size_);
    void* bits = nullptr;
    UniqueBitmap surface(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!surface || !bits) return {};
    auto* out = static_cast<std::uint32_t*>(bits);
    for (size_t i = 0; i < colours.size(); ++i) {
        // An icon without an alpha channel takes its transparency from the mask (a set bit is transparent).
        const std::uint32_t a = alpha ? colours[i] >> 24 : ((masks[i] & 0xFFFFFF) ? 0 : 255);
        const auto scaled = [&](int shift) { return (((colours[i] >> shift) & 0xFF) * a / 255) << shift; };
        out[i] = (a << 24) | scaled(16) | scaled(8) | scaled(0);
    }
    GdiFlush();
    return BitmapDC(UniqueDC(CreateCompatibleDC(nullptr)), std::move(surface));
}

void FolderIcons::Draw(HDC dc, int index, int x, int y) {
    auto found = copies_.find(index);
    if (found == copies_.end()) found = copies_.emplace(index, Copy(index)).first;
    const HDC source = found->second.dc();
    if (!source) return;
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(dc, x, y, size_.cx, size_.cy, source, 0, 0, size_.cx, size_.cy, blend);
}

}  // namespace forms
