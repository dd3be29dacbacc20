#pragma once
// A test-only automation object: named properties (with fixed dispatch identifiers) that late-bound code
// reads and writes, standing in for a form, a font or a printer.

#include <windows.h>
#include <oaidl.h>

#include <string>
#include <vector>

#include "lib/comserver/ComPtr.h"
#include "lib/comserver/Variant.h"

class PropertyBag final : public IDispatch {
public:
    struct Property {
        std::string name;
        DISPID id;
        comserver::Variant value;
    };
    static comserver::ComPtr<PropertyBag> Create(std::vector<Property> properties);

    comserver::Variant Value(const std::string& name) const;
    IDispatch* Dispatch() noexcept { return this; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override;
    ULONG STDMETHODCALLTYPE AddRef() noexcept override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() noexcept override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) noexcept override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) noexcept override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) noexcept override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO*, UINT*) noexcept override;

private:
    explicit PropertyBag(std::vector<Property> properties) : properties_(std::move(properties)) {}
    ~PropertyBag() = default;
    ULONG refs_ = 0;
    std::vector<Property> properties_;
};
