#pragma once
// clsImgEditCtlBuf as a creatable object behind its dual interface _clsImgEditCtlBuf, which it also gives
// out under the interface identifier of its earlier release.

#include "lib/comserver/Dispatch.h"
#include "lib/imgEditbuf/clsImgEditCtlBuf.h"
#include "rvimgctl.h"

namespace imgbuf {

// The interface identifier the class had before _clsImgEditCtlBuf; callers built then still ask for it.
inline constexpr IID IID_clsImgEditCtlBufEarlier = {
    0xBEA83270, 0x975B, 0x469A, {0x8C, 0xDB, 0xC0, 0x50, 0x5F, 0x6B, 0x79, 0x3A}};

class ComImgEditCtlBuf final : public comserver::Dispatch<_clsImgEditCtlBuf> {
public:
    ComImgEditCtlBuf();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override;

    HRESULT STDMETHODCALLTYPE LoadImage(BSTR* Path, IPictureDisp** result) noexcept override;
    HRESULT STDMETHODCALLTYPE LoadOtherImage(BSTR* Path, IPictureDisp** result) noexcept override;
    HRESULT STDMETHODCALLTYPE SavetoTIFF(IPictureDisp** Pic, BSTR* Path, BSTR* Filename) noexcept override;
    HRESULT STDMETHODCALLTYPE SaveToJpeg(BSTR* PathFileName, IPictureDisp** sPicture, LONG* lngQuality,
                                         VARIANT_BOOL* result) noexcept override;
    HRESULT STDMETHODCALLTYPE LoadJPGFile(BSTR* FQPath, VARIANT_BOOL* Fail, IPictureDisp** result) noexcept override;

private:
    clsImgEditCtlBuf buffer_;
};

}  // namespace imgbuf
