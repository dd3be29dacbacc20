#pragma once
// A 24-bit bottom-up DIB section selected into a memory DC of its own, with direct access to its bytes.

#include <windows.h>
#include <ocidl.h>

#include "platform/runtime/OwnedHandles.h"

#include <cstdint>
#include <memory>

namespace imgbuf {

class cDIBSection {
public:
    cDIBSection() = default;
    cDIBSection(const cDIBSection&) = delete;
    cDIBSection& operator=(const cDIBSection&) = delete;
    ~cDIBSection() { ClearUp(); }

    // Puts the image on the clipboard as a device-dependent bitmap; the DIB form is refused with a message.
    bool CopyToClipboard(bool asDIB = true);
    // Fills the header and creates the DIB section on dc; true when a bitmap came back.
    bool CreateDIB(HDC dc, std::int32_t width, std::int32_t height, HBITMAP& dib);
    // A buffer of the picture's size holding a copy of it (nothing for a picture that is not a bitmap).
    void CreateFromPicture(IPictureDisp* picture);
    // Replaces the buffer by a new one of that size; false (and empty) for a size below 1 or too large.
    bool Create(std::int32_t width, std::int32_t height);

    std::int32_t BytesPerScanLine() const noexcept;
    std::int32_t Width() const noexcept { return header_.biWidth; }
    std::int32_t Height() const noexcept { return header_.biHeight; }

    // Negative sizes stand for the buffer's own; plain block transfers, no stretching.
    void LoadPictureBlt(HDC source, std::int32_t srcLeft = 0, std::int32_t srcTop = 0, std::int32_t srcWidth = -1,
                        std::int32_t srcHeight = -1, DWORD rop = SRCCOPY);
    void PaintPicture(HDC target, std::int32_t destLeft = 0, std::int32_t destTop = 0, std::int32_t destWidth = -1,
                      std::int32_t destHeight = -1, std::int32_t srcLeft = 0, std::int32_t srcTop = 0,
                      DWORD rop = SRCCOPY) const;

    HDC hdc() const noexcept { return surface_.dc(); }
    HBITMAP hDib() const noexcept { return surface_.bitmap(); }
    std::uint8_t* DIBSectionBitsPtr() const noexcept { return bits_; }

    void RandomiseBits(bool gray = false);
    void ClearUp() noexcept;
    // A new buffer with the image scaled bilinearly; nullptr when the new buffer cannot be made. Its memory,
    // once released, is kept (32 MB in all at most) for the next result of the same size.
    std::unique_ptr<cDIBSection> Resample(std::int32_t newHeight, std::int32_t newWidth) const;
    // Frees the memory kept from released results of Resample.
    static void FreeKeptBuffers() noexcept;

private:
    // Like Create, from a buffer of the same size released earlier when there is one; its pixels are left
    // as they were, for a caller that writes every one.
    bool CreateForOverwrite(std::int32_t width, std::int32_t height);

    forms::BitmapDC surface_;
    std::uint8_t* bits_ = nullptr;
    BITMAPINFOHEADER header_ = {};
    bool kept_ = false;  // goes back to the kept buffers when released
};

}  // namespace imgbuf
