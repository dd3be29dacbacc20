#include "platform/imaging/Picture.h"

#include <algorithm>
#include <cstring>

#include "platform/runtime/RuntimeError.h"
#include "platform/imaging/decoders/DecodeError.h"

namespace imaging {
namespace {

BITMAPINFO TopDownHeader(std::uint32_t width, std::uint32_t height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = static_cast<LONG>(width);
    info.bmiHeader.biHeight = -static_cast<LONG>(height);
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

ComPtr<IPictureDisp> MakePicture(PICTDESC& desc, BOOL owns) {
    ComPtr<IPictureDisp> picture;
    if (FAILED(OleCreatePictureIndirect(&desc, IID_IPictureDisp, owns, reinterpret_cast<void**>(picture.GetAddressOf())))) {
        throw forms::RuntimeError(forms::err::CannotDrawPicture);
    }
    return picture;
}

}  // namespace

forms::UniqueBitmap BitmapFromImage(const Image24& image) {
    if (image.width == 0 || image.height == 0) return {};
    const BITMAPINFO info = TopDownHeader(image.width, image.height);
    void* bits = nullptr;
    forms::UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits) return {};
    // Both sides use rows padded to 4 bytes, so the pixels go over in one piece.
    std::memcpy(bits, image.pixels.data(), std::min(image.pixels.size(), image.stride * image.height));
    return bitmap;
}

ComPtr<IPictureDisp> PictureFromBitmap(forms::UniqueBitmap bitmap) {
    if (!bitmap) throw forms::RuntimeError(forms::err::CannotDrawPicture);
    PICTDESC desc = {};
    desc.cbSizeofstruct = sizeof(desc);
    desc.picType = PICTYPE_BITMAP;
    desc.bmp.hbitmap = bitmap.get();
    ComPtr<IPictureDisp> picture = MakePicture(desc, TRUE);
    bitmap.release();  // the picture owns it now
    return picture;
}

ComPtr<IPictureDisp> EmptyPicture() {
    PICTDESC desc = {};
    desc.cbSizeofstruct = sizeof(desc);
    desc.picType = PICTYPE_NONE;
    return MakePicture(desc, TRUE);
}

Image24 ImageFromPicture(IPictureDisp* picture) {
    ComPtr<IPicture> pic;
    SHORT type = PICTYPE_UNINITIALIZED;
    OLE_HANDLE handle = 0;
    if (!picture || FAILED(picture->QueryInterface(IID_PPV_ARGS(&pic))) || FAILED(pic->get_Type(&type)) ||
        type != PICTYPE_BITMAP || FAILED(pic->get_Handle(&handle)) || handle == 0) {
        throw forms::RuntimeError(forms::err::InvalidPicture);
    }
    const auto hbitmap = reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle));
    BITMAP record = {};
    if (GetObjectA(hbitmap, sizeof(record), &record) == 0 || record.bmWidth <= 0 || record.bmHeight <= 0) {
        throw forms::RuntimeError(forms::err::InvalidPicture);
    }
    Image24 image;
    try {
        image = Image24::Allocate(static_cast<std::uint32_t>(record.bmWidth), static_cast<std::uint32_t>(record.bmHeight));
    } catch (const DecodeError&) {
        throw forms::RuntimeError(forms::err::InvalidPicture);
    }
    BITMAPINFO info = TopDownHeader(image.width, image.height);
    const forms::ScopedGetDC screen(nullptr);
    if (GetDIBits(screen.get(), hbitmap, 0, image.height, image.pixels.data(), &info, DIB_RGB_COLORS) == 0) {
        throw forms::RuntimeError(forms::err::InvalidPicture);
    }
    return image;
}

}  // namespace imaging
