#include "lib/imgEditbuf/ComDIBSection.h"

#include "lib/comserver/Variant.h"

namespace imgbuf {
namespace {

constexpr const char* ErrorSource = "rvimgctl.cDIBSection";

HDC AsDC(LONG_PTR handle) noexcept { return reinterpret_cast<HDC>(handle); }

// A result pointer the caller left out is the caller's fault, reported before anything runs.
template <class T>
bool Missing(T* result) noexcept {
    return result == nullptr;
}

// A read-only property's answer.
template <class T, class V>
HRESULT Answer(T* result, V value) noexcept {
    if (Missing(result)) return E_POINTER;
    *result = static_cast<T>(value);
    return S_OK;
}

LONG_PTR AsLong(const void* handle) noexcept { return reinterpret_cast<LONG_PTR>(handle); }

}  // namespace

ComDIBSection::ComDIBSection() : ComDIBSection(std::make_unique<cDIBSection>()) {}

ComDIBSection::ComDIBSection(std::unique_ptr<cDIBSection> buffer)
    : Dispatch(IID__cDIBSection, ErrorSource), buffer_(std::move(buffer)) {}

HRESULT ComDIBSection::CopyToClipboard(VARIANT_BOOL bAsDIB, VARIANT_BOOL* result) noexcept {
    if (Missing(result)) return E_POINTER;
    return Guard([&] { *result = comserver::ToVariantBool(buffer_->CopyToClipboard(comserver::IsTrue(bAsDIB))); });
}

HRESULT ComDIBSection::CreateDIB(LONG_PTR lhDC, LONG lWidth, LONG lHeight, LONG_PTR* hDib,
                                 VARIANT_BOOL* result) noexcept {
    if (Missing(hDib) || Missing(result)) return E_POINTER;
    return Guard([&] {
        HBITMAP dib = nullptr;
        *result = comserver::ToVariantBool(buffer_->CreateDIB(AsDC(lhDC), lWidth, lHeight, dib));
        *hDib = reinterpret_cast<LONG_PTR>(dib);
    });
}

HRESULT ComDIBSection::CreateFromPicture(IPictureDisp* picThis, VARIANT* result) noexcept {
    if (Missing(result)) return E_POINTER;
    VariantInit(result);
    return Guard([&] { buffer_->CreateFromPicture(picThis); });
}

HRESULT ComDIBSection::Create(LONG lWidth, LONG lHeight, VARIANT_BOOL* result) noexcept {
    if (Missing(result)) return E_POINTER;
    return Guard([&] { *result = comserver::ToVariantBool(buffer_->Create(lWidth, lHeight)); });
}

HRESULT ComDIBSection::get_BytesPerScanLine(LONG* result) noexcept {
    return Answer(result, buffer_->BytesPerScanLine());
}

HRESULT ComDIBSection::get_Width(LONG* result) noexcept {
    return Answer(result, buffer_->Width());
}

HRESULT ComDIBSection::get_Height(LONG* result) noexcept {
    return Answer(result, buffer_->Height());
}

HRESULT ComDIBSection::LoadPictureBlt(LONG_PTR lhDC, LONG lSrcLeft, LONG lSrcTop, LONG lSrcWidth, LONG lSrcHeight,
                                      LONG eRop) noexcept {
    return Guard([&] {
        buffer_->LoadPictureBlt(AsDC(lhDC), lSrcLeft, lSrcTop, lSrcWidth, lSrcHeight, static_cast<DWORD>(eRop));
    });
}

HRESULT ComDIBSection::PaintPicture(LONG_PTR lhDC, LONG lDestLeft, LONG lDestTop, LONG lDestWidth, LONG lDestHeight,
                                    LONG lSrcLeft, LONG lSrcTop, LONG eRop) noexcept {
    return Guard([&] {
        buffer_->PaintPicture(AsDC(lhDC), lDestLeft, lDestTop, lDestWidth, lDestHeight, lSrcLeft, lSrcTop,
                              static_cast<DWORD>(eRop));
    });
}

HRESULT ComDIBSection::get_hdc(LONG_PTR* result) noexcept {
    return Answer(result, AsLong(buffer_->hdc()));
}

HRESULT ComDIBSection::get_hDib(LONG_PTR* result) noexcept {
    return Answer(result, AsLong(buffer_->hDib()));
}

HRESULT ComDIBSection::get_DIBSectionBitsPtr(LONG_PTR* result) noexcept {
    return Answer(result, AsLong(buffer_->DIBSectionBitsPtr()));
}

HRESULT ComDIBSection::RandomiseBits(VARIANT_BOOL bGray) noexcept {
    return Guard([&] { buffer_->RandomiseBits(comserver::IsTrue(bGray)); });
}

HRESULT ComDIBSection::ClearUp() noexcept {
    buffer_->ClearUp();
    return S_OK;
}

HRESULT ComDIBSection::Resample(LONG lNewHeight, LONG lNewWidth, _cDIBSection** result) noexcept {
    if (Missing(result)) return E_POINTER;
    *result = nullptr;
    return Guard([&] {
        std::unique_ptr<cDIBSection> scaled = buffer_->Resample(lNewHeight, lNewWidth);
        if (!scaled) return;  // no object, as when the new buffer cannot be made
        auto* object = new ComDIBSection(std::move(scaled));
        object->AddRef();
        *result = object;
    });
}

}  // namespace imgbuf
