#pragma once
// A late-bound view of a form for the component servers, which receive forms as objects and use them by
// name: hwnd (read), Left, Top, Width, Height (twips, read and written).

#include <windows.h>
#include <oaidl.h>
#include <wrl/client.h>

#include <memory>

namespace forms {

class Form;

class FormDispatch final : public IDispatch {
public:
    static Microsoft::WRL::ComPtr<IDispatch> Create(Form& form);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) noexcept override;
    ULONG STDMETHODCALLTYPE AddRef() noexcept override;
    ULONG STDMETHODCALLTYPE Release() noexcept override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) noexcept override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) noexcept override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) noexcept override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* excep, UINT* argErr) noexcept override;

private:
    explicit FormDispatch(std::weak_ptr<Form> form, Form* raw) : form_(std::move(form)), raw_(raw) {}
    ~FormDispatch() = default;

    std::weak_ptr<Form> form_;
    Form* raw_;  // only for a form never held by the runtime's shared ownership
    ULONG refs_ = 1;
};

}  // namespace forms
