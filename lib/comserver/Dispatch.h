#pragma once
// Base of every creatable class: IUnknown, IDispatch through the type library's ITypeInfo, and
// ISupportErrorInfo for the class's one dual interface. A member is written as
//     HRESULT STDMETHODCALLTYPE Foo(BSTR* a, BSTR* result) noexcept override {
//         return Guard([&] { ... });
//     }
// so that a raised forms::RuntimeError reaches the caller with number, source and description.

#include <windows.h>
#include <oaidl.h>

#include <string>
#include <string_view>

#include "lib/comserver/Boundary.h"
#include "lib/comserver/ComPtr.h"
#include "lib/comserver/InvokeArguments.h"
#include "lib/comserver/Module.h"
#include "lib/comserver/RefCount.h"

namespace comserver {

template <class Interface>
class Dispatch : public Interface, public ISupportErrorInfo {
public:
    Dispatch(const Dispatch&) = delete;
    Dispatch& operator=(const Dispatch&) = delete;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override {
        if (!out) return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == iid_) {
            *out = static_cast<Interface*>(this);
        } else if (iid == IID_ISupportErrorInfo) {
            *out = static_cast<ISupportErrorInfo*>(this);
        } else {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() noexcept override { return refs_.Add(); }
    ULONG STDMETHODCALLTYPE Release() noexcept override { return refs_.Release(this); }

    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) noexcept override {
        if (!count) return E_POINTER;
        *count = 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) noexcept override {
        if (!info) return E_POINTER;
        *info = nullptr;
        if (index != 0) return DISP_E_BADINDEX;
        const HRESULT hr = EnsureTypeInfo();
        if (FAILED(hr)) return hr;
        typeInfo_->AddRef();
        *info = typeInfo_.Get();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) noexcept override {
        if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
        const HRESULT hr = EnsureTypeInfo();
        if (FAILED(hr)) return hr;
        return DispGetIDsOfNames(typeInfo_.Get(), names, count, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argError) noexcept override {
        if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
        const HRESULT hr = EnsureTypeInfo();
        if (FAILED(hr)) return hr;
        try {
            InvokeArguments arguments;
            DISPPARAMS* completed = arguments.Complete(typeInfo_.Get(), id, flags, params);
            const HRESULT invoked = typeInfo_->Invoke(static_cast<Interface*>(this), id, flags, completed, result,
                                                      exception, argError);
            // The member ran (and may have set its by-reference arguments) unless Invoke refused the call.
            if (SUCCEEDED(invoked) || invoked == DISP_E_EXCEPTION) arguments.WriteBack();
            return invoked;
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        } catch (const forms::RuntimeError& e) {
            return ReportError(iid_, source_, e);
        }
    }

    // ISupportErrorInfo
    HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) noexcept override {
        return iid == iid_ ? S_OK : S_FALSE;
    }

protected:
    // source: how errors name their origin, "<library>.<class>".
    Dispatch(REFIID iid, std::string_view source) : iid_(iid), source_(source) { Module::ObjectCreated(); }
    virtual ~Dispatch() { Module::ObjectDestroyed(); }

    template <class Body>
    HRESULT Guard(Body&& body) const noexcept {
        return Boundary(iid_, source_, static_cast<Body&&>(body));
    }
    const std::string& Source() const noexcept { return source_; }

private:
    friend class RefCount;
    HRESULT EnsureTypeInfo() noexcept {
        if (typeInfo_) return S_OK;
        return Module::LoadTypeInfo(iid_, typeInfo_);
    }

    const IID iid_;
    const std::string source_;
    RefCount refs_;
    ComPtr<ITypeInfo> typeInfo_;
};

}  // namespace comserver
