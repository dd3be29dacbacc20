#include "lib/imgEditbuf/ComImgEditCtlBuf.h"

#include "lib/comserver/Bstr.h"
#include "lib/comserver/Variant.h"

namespace imgbuf {
namespace {

constexpr const char* ErrorSource = "rvimgctl.clsImgEditCtlBuf";

std::string TextOf(const BSTR* text) { return text ? comserver::ToString(*text) : std::string(); }

IPictureDisp* PictureOf(IPictureDisp* const* picture) noexcept { return picture ? *picture : nullptr; }

// The caller owns the returned picture: its reference moves out of ours.
void HandOut(imaging::ComPtr<IPictureDisp> picture, IPictureDisp** result) noexcept { *result = picture.Detach(); }

}  // namespace

ComImgEditCtlBuf::ComImgEditCtlBuf() : Dispatch(IID__clsImgEditCtlBuf, ErrorSource) {}

HRESULT ComImgEditCtlBuf::QueryInterface(REFIID iid, void** out) noexcept {
    if (out && iid == IID_clsImgEditCtlBufEarlier) {
        *out = static_cast<_clsImgEditCtlBuf*>(this);
        AddRef();
        return S_OK;
    }
    return Dispatch::QueryInterface(iid, out);
}

HRESULT ComImgEditCtlBuf::LoadImage(BSTR* Path, IPictureDisp** result) noexcept {
    if (!result) return E_POINTER;
    *result = nullptr;
    return Guard([&] { HandOut(buffer_.LoadImage(TextOf(Path)), result); });
}

HRESULT ComImgEditCtlBuf::LoadOtherImage(BSTR* Path, IPictureDisp** result) noexcept {
    if (!result) return E_POINTER;
    *result = nullptr;
    return Guard([&] { HandOut(buffer_.LoadOtherImage(TextOf(Path)), result); });
}

HRESULT ComImgEditCtlBuf::SavetoTIFF(IPictureDisp** Pic, BSTR* Path, BSTR* Filename) noexcept {
    return Guard([&] { buffer_.SavetoTIFF(PictureOf(Pic), TextOf(Path), TextOf(Filename)); });
}

HRESULT ComImgEditCtlBuf::SaveToJpeg(BSTR* PathFileName, IPictureDisp** sPicture, LONG* lngQuality,
                                     VARIANT_BOOL* result) noexcept {
    if (!result) return E_POINTER;
    return Guard([&] {
        const std::int32_t quality = lngQuality ? *lngQuality : 0;
        *result = comserver::ToVariantBool(buffer_.SaveToJpeg(TextOf(PathFileName), PictureOf(sPicture), quality));
    });
}

HRESULT ComImgEditCtlBuf::LoadJPGFile(BSTR* FQPath, VARIANT_BOOL* Fail, IPictureDisp** result) noexcept {
    if (!result || !Fail) return E_POINTER;
    *result = nullptr;
    return Guard([&] {
        bool failed = false;
        HandOut(buffer_.LoadJPGFile(TextOf(FQPath), failed), result);
        *Fail = comserver::ToVariantBool(failed);
    });
}

}  // namespace imgbuf
