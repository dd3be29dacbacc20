#include "lib/imgEditbuf/cDIBSection.h"

#include <olectl.h>

#include <cmath>
#include <random>

#include "lib/imgEditbuf/Messages.h"
#include "lib/imgEditbuf/resample/Resample.h"
#include "platform/runtime/OwnedHandles.h"

namespace imgbuf {
namespace {

// No buffer is larger than the decoders' ceiling (2^28 pixels), so its byte count always fits.
constexpr std::int64_t MaxPixels = std::int64_t{1} << 28;

bool SizeAllowed(std::int32_t width, std::int32_t height) {
    return width >= 1 && height >= 1 && std::int64_t{width} * height <= MaxPixels;
}

std::uint8_t RoundedByte(float r) {
    return static_cast<std::uint8_t>(std::nearbyint(static_cast<double>(r) * 255.0));
}

}  // namespace

std::int32_t cDIBSection::BytesPerScanLine() const noexcept {
    return static_cast<std::int32_t>(imgbuf::BytesPerScanLine(header_.biWidth));
}

bool cDIBSection::CreateDIB(HDC dc, std::int32_t width, std::int32_t height, HBITMAP& dib) {
    header_ = {};
    header_.biSize = sizeof(BITMAPINFOHEADER);
    header_.biWidth = width;
    header_.biHeight = height;
    header_.biPlanes = 1;
    header_.biBitCount = 24;
    header_.biCompression = BI_RGB;
    if (!SizeAllowed(width, height)) {
        dib = nullptr;
        return false;
    }
    header_.biSizeImage = static_cast<DWORD>(height * BytesPerScanLine());
    BITMAPINFO info = {};
    info.bmiHeader = header_;
    void* bits = nullptr;
    dib = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bits_ = dib ? static_cast<std::uint8_t*>(bits) : nullptr;
    return dib != nullptr;
}

bool cDIBSection::Create(std::int32_t width, std::int32_t height) {
    ClearUp();
    forms::UniqueDC dc(CreateCompatibleDC(nullptr));
    if (!dc) return false;
    HBITMAP dib = nullptr;
    if (CreateDIB(dc.get(), width, height, dib)) surface_ = forms::BitmapDC(std::move(dc), forms::UniqueBitmap(dib));
    if (!surface_) bits_ = nullptr;
    return static_cast<bool>(surface_);
}

void cDIBSection::ClearUp() noexcept {
    surface_.reset();
    bits_ = nullptr;
}

void cDIBSection::CreateFromPicture(IPictureDisp* picture) {
    IPicture* pic = nullptr;
    if (!picture || FAILED(picture->QueryInterface(IID_IPicture, reinterpret_cast<void**>(&pic)))) return;
    OLE_HANDLE handle = 0;
    SHORT type = PICTYPE_UNINITIALIZED;
    const bool isBitmap = SUCCEEDED(pic->get_Type(&type)) && type == PICTYPE_BITMAP &&
                          SUCCEEDED(pic->get_Handle(&handle)) && handle != 0;
    pic->Release();  // the caller's reference keeps the picture (and its bitmap) alive
    BITMAP record = {};
    const auto hbitmap = reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle));
    if (isBitmap) GetObjectA(hbitmap, sizeof(record), &record);
    if (!Create(record.bmWidth, record.bmHeight)) return;
    const forms::UniqueDC source(CreateCompatibleDC(nullptr));
    if (!source) return;
    const forms::ScopedSelect selected(source.get(), hbitmap);
    if (selected.Selected()) LoadPictureBlt(source.get());
}

void cDIBSection::LoadPictureBlt(HDC source, std::int32_t srcLeft, std::int32_t srcTop, std::int32_t srcWidth,
                                 std::int32_t srcHeight, DWORD rop) {
    if (srcWidth < 0) srcWidth = Width();
    if (srcHeight < 0) srcHeight = Height();
    BitBlt(surface_.dc(), 0, 0, srcWidth, srcHeight, source, srcLeft, srcTop, rop);
}

void cDIBSection::PaintPicture(HDC target, std::int32_t destLeft, std::int32_t destTop, std::int32_t destWidth,
                               std::int32_t destHeight, std::int32_t srcLeft, std::int32_t srcTop, DWORD rop) const {
    if (destWidth < 0) destWidth = Width();
    if (destHeight < 0) destHeight = Height();
    BitBlt(target, destLeft, destTop, destWidth, destHeight, surface_.dc(), srcLeft, srcTop, rop);
}

bool cDIBSection::CopyToClipboard(bool asDIB) {
    const forms::ScopedGetDC screen(nullptr);
    if (!screen.get()) return false;
    const forms::UniqueDC memory(CreateCompatibleDC(screen.get()));
    if (!memory) return false;
    if (asDIB) {
        ShowMessage("I don't know how to put a DIB on the clipboard! Copy as bitmap instead!!!", MB_OK);
        return false;
    }
    forms::UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), Width(), Height()));
    if (!bitmap) return false;
    {
        const forms::ScopedSelect selected(memory.get(), bitmap.get());
        PaintPicture(memory.get());
    }
    if (!OpenClipboard(nullptr)) return false;
    EmptyClipboard();
    const bool taken = SetClipboardData(CF_BITMAP, bitmap.get()) != nullptr;
    CloseClipboard();
    if (taken) bitmap.release();  // the clipboard owns it now
    return taken;
}

void cDIBSection::RandomiseBits(bool gray) {
    if (!bits_) return;
    GdiFlush();
    SYSTEMTIME now = {};
    GetLocalTime(&now);
    const std::uint32_t secondsSinceMidnight = now.wHour * 3600u + now.wMinute * 60u + now.wSecond;
    std::mt19937 generator(secondsSinceMidnight);
    std::uniform_real_distribution<float> next(0.0f, 1.0f);
    const std::size_t stride = static_cast<std::size_t>(BytesPerScanLine());
    const std::int32_t width = Width();
    const std::int32_t height = Height();
    if (gray) {
        for (std::int32_t y = 0; y < height; ++y) {
            std::uint8_t* row = bits_ + y * stride;
            for (std::int32_t x = 0; x < width; ++x) {
                const std::uint8_t v = RoundedByte(next(generator));
                row[3 * x] = row[3 * x + 1] = row[3 * x + 2] = v;
            }
        }
        return;
    }
    for (std::int32_t x = 0; x < width; ++x) {
        for (std::int32_t y = 0; y < height; ++y) {
            std::uint8_t* pixel = bits_ + y * stride + 3 * static_cast<std::size_t>(x);
            pixel[0] = 0;
            pixel[1] = RoundedByte(next(generator));
            pixel[2] = RoundedByte(next(generator));
        }
    }
}

std::unique_ptr<cDIBSection> cDIBSection::Resample(std::int32_t newHeight, std::int32_t newWidth) const {
    auto result = std::make_unique<cDIBSection>();
    if (!result->Create(newWidth, newHeight)) return nullptr;
    if (newWidth == Width() && newHeight == Height()) {
        result->LoadPictureBlt(surface_.dc());
        return result;
    }
    if (!bits_) return result;
    GdiFlush();  // pending drawing into either DIB must land before the bytes are read
    const std::size_t stride = static_cast<std::size_t>(BytesPerScanLine());
    ResampleBilinear({bits_, Width(), Height(), stride},
                     {result->bits_, newWidth, newHeight, static_cast<std::size_t>(result->BytesPerScanLine())});
    return result;
}

}  // namespace imgbuf
