#pragma once
// The class factory of one creatable class T (default-constructible, a COM object whose reference count
// starts at zero). Factories count as live objects for DllCanUnloadNow.

#include <windows.h>
#include <unknwn.h>

#include <exception>
#include <new>

#include "lib/comserver/Module.h"
#include "lib/comserver/RefCount.h"

namespace comserver {

template <class T>
class ClassFactory final : public IClassFactory {
public:
    ClassFactory() noexcept { Module::ObjectCreated(); }
    ClassFactory(const ClassFactory&) = delete;
    ClassFactory& operator=(const ClassFactory&) = delete;

    // The factory's own creation, for DllGetClassObject.
    static HRESULT Create(REFIID iid, void** out) noexcept {
        if (!out) return E_POINTER;
        *out = nullptr;
        auto* factory = new (std::nothrow) ClassFactory();
        if (!factory) return E_OUTOFMEMORY;
        factory->AddRef();
        const HRESULT hr = factory->QueryInterface(iid, out);
        factory->Release();
        return hr;
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override {
        if (!out) return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IClassFactory) {
            *out = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() noexcept override { return refs_.Add(); }
    ULONG STDMETHODCALLTYPE Release() noexcept override { return refs_.Release(this); }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) noexcept override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        T* object = nullptr;
        try {
            object = new T();
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        } catch (const std::exception&) {
            return E_FAIL;
        }
        object->AddRef();
        const HRESULT hr = object->QueryInterface(iid, out);
        object->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) noexcept override {
        Module::Lock(lock != FALSE);
        return S_OK;
    }

private:
    friend class RefCount;
    ~ClassFactory() { Module::ObjectDestroyed(); }
    RefCount refs_;
};

}  // namespace comserver
