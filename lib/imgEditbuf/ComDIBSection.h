#pragma once
// cDIBSection as a creatable object behind its dual interface _cDIBSection.

#include <memory>

#include "lib/comserver/Dispatch.h"
#include "lib/imgEditbuf/cDIBSection.h"
#include "rvimgctl.h"

namespace imgbuf {

class ComDIBSection final : public comserver::Dispatch<_cDIBSection> {
public:
    ComDIBSection();
    // Wraps a buffer made by this library (Resample's result).
    explicit ComDIBSection(std::unique_ptr<cDIBSection> buffer);

    HRESULT STDMETHODCALLTYPE CopyToClipboard(VARIANT_BOOL bAsDIB, VARIANT_BOOL* result) noexcept override;
    HRESULT STDMETHODCALLTYPE CreateDIB(LONG_PTR lhDC, LONG lWidth, LONG lHeight, LONG_PTR* hDib,
                                        VARIANT_BOOL* result) noexcept override;
    HRESULT STDMETHODCALLTYPE CreateFromPicture(IPictureDisp* picThis, VARIANT* result) noexcept override;
    HRESULT STDMETHODCALLTYPE Create(LONG lWidth, LONG lHeight, VARIANT_BOOL* result) noexcept override;
    HRESULT STDMETHODCALLTYPE get_BytesPerScanLine(LONG* result) noexcept override;
    HRESULT STDMETHODCALLTYPE get_Width(LONG* result) noexcept override;
    HRESULT STDMETHODCALLTYPE get_Height(LONG* result) noexcept override;
    HRESULT STDMETHODCALLTYPE LoadPictureBlt(LONG_PTR lhDC, LONG lSrcLeft, LONG lSrcTop, LONG lSrcWidth,
                                             LONG lSrcHeight, LONG eRop) noexcept override;
    HRESULT STDMETHODCALLTYPE PaintPicture(LONG_PTR lhDC, LONG lDestLeft, LONG lDestTop, LONG lDestWidth,
                                           LONG lDestHeight, LONG lSrcLeft, LONG lSrcTop, LONG eRop) noexcept override;
    HRESULT STDMETHODCALLTYPE get_hdc(LONG_PTR* result) noexcept override;
    HRESULT STDMETHODCALLTYPE get_hDib(LONG_PTR* result) noexcept override;
    HRESULT STDMETHODCALLTYPE get_DIBSectionBitsPtr(LONG_PTR* result) noexcept override;
    HRESULT STDMETHODCALLTYPE RandomiseBits(VARIANT_BOOL bGray) noexcept override;
    HRESULT STDMETHODCALLTYPE ClearUp() noexcept override;
    HRESULT STDMETHODCALLTYPE Resample(LONG lNewHeight, LONG lNewWidth, _cDIBSection** result) noexcept override;

private:
    std::unique_ptr<cDIBSection> buffer_;
};

}  // namespace imgbuf
