#include "lib/imgEditbuf/cDIBSection.h"

#include <olectl.h>

#include <array>
#include <cmath>
#include <cstring>
#include <mutex>
#include <random>
#include <utility>

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

// A new buffer's cost is its memory's first touch, not anything done per pixel: the system hands in each
// page on the first write to it, at several microseconds a page on the machines we run on (about 23 ms for a
// 1920 x 1280 buffer, twice the blend). Resampling makes buffers of one size again and again (a picture
// fitted to a window), so a released result keeps its pages mapped for the next result of its size.
struct KeptBuffer {
    forms::BitmapDC surface;
    std::uint8_t* bits = nullptr;
    BITMAPINFOHEADER header = {};
    std::uint64_t age = 0;
};

class KeptBuffers {
public:
    static KeptBuffers& Shared() {
        static KeptBuffers kept;
        return kept;
    }

    // The last kept buffer of exactly that size (its drawing state as new), or an empty one.
    KeptBuffer Take(std::int32_t width, std::int32_t height) noexcept {
        const std::lock_guard lock(mutex_);
        KeptBuffer* newest = nullptr;
        for (KeptBuffer& slot : slots_) {
            if (slot.surface && slot.header.biWidth == width && slot.header.biHeight == height &&
                (!newest || slot.age > newest->age))
                newest = &slot;
        }
        if (!newest) return {};
        bytes_ -= newest->header.biSizeImage;
        return std::exchange(*newest, KeptBuffer{});
    }

    // Keeps a released buffer, the oldest giving way while the kept ones would pass the ceiling.
    void Keep(KeptBuffer buffer) noexcept {
        if (!buffer.surface || buffer.header.biSizeImage > MaxBytes) return;
        const std::lock_guard lock(mutex_);
        buffer.age = ++clock_;
        while (bytes_ + buffer.header.biSizeImage > MaxBytes || !FreeSlot()) {
            KeptBuffer* oldest = nullptr;
            for (KeptBuffer& slot : slots_) {
                if (slot.surface && (!oldest || slot.age < oldest->age)) oldest = &slot;
            }
            if (!oldest) return;
            bytes_ -= oldest->header.biSizeImage;
            *oldest = KeptBuffer{};
        }
        bytes_ += buffer.header.biSizeImage;
        *FreeSlot() = std::move(buffer);
    }

    void FreeAll() noexcept {
        const std::lock_guard lock(mutex_);
        slots_ = {};
        bytes_ = 0;
    }

private:
    // Four results of 1920 x 1280; nothing near a camera's full picture.
    static constexpr std::uint64_t MaxBytes = std::uint64_t{32} << 20;

    KeptBuffer* FreeSlot() noexcept {
        for (KeptBuffer& slot : slots_) {
            if (!slot.surface) return &slot;
        }
        return nullptr;
    }

    std::mutex mutex_;
    std::array<KeptBuffer, 4> slots_;
    std::uint64_t bytes_ = 0;
    std::uint64_t clock_ = 0;
};

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

bool cDIBSection::CreateForOverwrite(std::int32_t width, std::int32_t height) {
    ClearUp();
    if (KeptBuffer kept = KeptBuffers::Shared().Take(width, height); kept.surface) {
        surface_ = std::move(kept.surface);
        bits_ = kept.bits;
        header_ = kept.header;
        // The pixels are the caller's to write; the row padding is as a new buffer has it.
        const auto stride = static_cast<std::size_t>(BytesPerScanLine());
        const std::size_t pixelBytes = static_cast<std::size_t>(width) * 3;
        if (stride > pixelBytes) {
            for (std::int32_t y = 0; y < height; ++y) std::memset(bits_ + y * stride + pixelBytes, 0, stride - pixelBytes);
        }
        kept_ = true;
        return true;
    }
    if (!Create(width, height)) {
        FreeKeptBuffers();  // the memory may be short because of them
        if (!Create(width, height)) return false;
    }
    // The state a kept buffer's DC goes back to when it is released, whatever its user selected or set.
    kept_ = SaveDC(surface_.dc()) == 1;
    return true;
}

void cDIBSection::ClearUp() noexcept {
    if (std::exchange(kept_, false) && surface_) {
        const HDC dc = surface_.dc();
        GdiFlush();
        // Kept only when its own bitmap is selected again after the restore, with the state saved anew.
        if (RestoreDC(dc, 1) && GetCurrentObject(dc, OBJ_BITMAP) == surface_.bitmap() && SaveDC(dc) == 1)
            KeptBuffers::Shared().Keep(KeptBuffer{std::move(surface_), bits_, header_});
    }
    surface_.reset();
    bits_ = nullptr;
}

void cDIBSection::FreeKeptBuffers() noexcept { KeptBuffers::Shared().FreeAll(); }

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
    if (!result->CreateForOverwrite(newWidth, newHeight)) return nullptr;
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
