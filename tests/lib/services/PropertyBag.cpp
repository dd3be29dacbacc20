#include "PropertyBag.h"

#include "lib/comserver/Bstr.h"

using comserver::ComPtr;
using comserver::Variant;

ComPtr<PropertyBag> PropertyBag::Create(std::vector<Property> properties) {
    return ComPtr<PropertyBag>(new PropertyBag(std::move(properties)));
}

Variant PropertyBag::Value(const std::string& name) const {
    for (const Property& p : properties_)
        if (lstrcmpiA(p.name.c_str(), name.c_str()) == 0) return p.value;
    return {};
}

HRESULT PropertyBag::QueryInterface(REFIID iid, void** out) noexcept {
    if (iid == IID_IUnknown || iid == IID_IDispatch) {
        *out = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG PropertyBag::Release() noexcept {
    const ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
}

HRESULT PropertyBag::GetTypeInfoCount(UINT* count) noexcept {
    *count = 0;
    return S_OK;
}

HRESULT PropertyBag::GetTypeInfo(UINT, LCID, ITypeInfo** info) noexcept {
    *info = nullptr;
    return E_NOTIMPL;
}

HRESULT PropertyBag::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) noexcept {
    HRESULT hr = S_OK;
    for (UINT i = 0; i < count; ++i) {
        ids[i] = DISPID_UNKNOWN;
        const std::string name = comserver::ToString(comserver::Bstr::Attach(SysAllocString(names[i])).Get());
        for (const Property& p : properties_)
            if (lstrcmpiA(p.name.c_str(), name.c_str()) == 0) ids[i] = p.id;
        if (ids[i] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
}

HRESULT PropertyBag::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                            UINT*) noexcept {
    for (Property& p : properties_) {
        if (p.id != id) continue;
        if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
            if (!params || params->cArgs != 1) return DISP_E_BADPARAMCOUNT;
            p.value = Variant::CopyOf(params->rgvarg[0]);
            return S_OK;
        }
        if (result) VariantCopy(result, p.value.Get());
        return S_OK;
    }
    return DISP_E_MEMBERNOTFOUND;
}
