#include "platform/forms/FormDispatch.h"

#include "platform/forms/FormSite.h"
#include "platform/runtime/RuntimeError.h"

#include <oleauto.h>

#include <cwchar>
#include "platform/runtime/Strings.h"

namespace forms {
namespace {

enum : DISPID { IdHwnd = 1, IdLeft, IdTop, IdWidth, IdHeight };

struct NameId {
    const wchar_t* name;
    DISPID id;
};
constexpr NameId Names[] = {{L"hwnd", IdHwnd}, {L"Left", IdLeft}, {L"Top", IdTop}, {L"Width", IdWidth},
                            {L"Height", IdHeight}};

HRESULT Fail(EXCEPINFO* excep, const RuntimeError& e) {
    if (excep) {
        *excep = {};
        excep->scode = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, e.Number() & 0xFFFF);
        const std::wstring text = ToWide(e.Description());
        excep->bstrDescription = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    }
    return DISP_E_EXCEPTION;
}

}  // namespace

Microsoft::WRL::ComPtr<IDispatch> FormDispatch::Create(Form& form) {
    Microsoft::WRL::ComPtr<IDispatch> out;
    auto shared = FormSite::KeepAlive(form);
    // A shared form is reached only through its shared ownership, so that a view kept after it is gone
    // fails instead of touching freed memory.
    Form* const raw = shared ? nullptr : &form;
    out.Attach(new FormDispatch(std::move(shared), raw));
    return out;
}

HRESULT FormDispatch::QueryInterface(REFIID riid, void** out) noexcept {
    if (!out) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch) {
        *out = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG FormDispatch::AddRef() noexcept { return ++refs_; }

ULONG FormDispatch::Release() noexcept {
    const ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
}

HRESULT FormDispatch::GetTypeInfoCount(UINT* count) noexcept {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT FormDispatch::GetTypeInfo(UINT, LCID, ITypeInfo** info) noexcept {
    if (info) *info = nullptr;
    return DISP_E_BADINDEX;
}

HRESULT FormDispatch::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) noexcept {
    if (!names || !ids) return E_POINTER;
    HRESULT hr = S_OK;
    for (UINT i = 0; i < count; ++i) {
        ids[i] = DISPID_UNKNOWN;
        if (i == 0) {
            for (const NameId& n : Names) {
                if (_wcsicmp(names[0], n.name) == 0) ids[0] = n.id;
            }
        }
        if (ids[i] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
}

HRESULT FormDispatch::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                             EXCEPINFO* excep, UINT* argErr) noexcept {
    if (id < IdHwnd || id > IdHeight) return DISP_E_MEMBERNOTFOUND;
    const auto held = form_.lock();
    Form* form = held ? held.get() : raw_;
    if (!form) return E_UNEXPECTED;
    try {
        if (flags & DISPATCH_PROPERTYPUT) {
            if (id == IdHwnd) return DISP_E_MEMBERNOTFOUND;
            if (!params || params->cArgs != 1) return DISP_E_BADPARAMCOUNT;
            VARIANT v;
            VariantInit(&v);
            if (FAILED(VariantChangeType(&v, &params->rgvarg[0], 0, VT_R4))) {
                if (argErr) *argErr = 0;
                return DISP_E_TYPEMISMATCH;
            }
            const float value = v.fltVal;
            if (id == IdLeft) form->SetLeft(value);
            else if (id == IdTop) form->SetTop(value);
            else if (id == IdWidth) form->SetWidth(value);
            else form->SetHeight(value);
            return S_OK;
        }
        if (!(flags & (DISPATCH_PROPERTYGET | DISPATCH_METHOD))) return DISP_E_MEMBERNOTFOUND;
        if (!result) return S_OK;
        VariantInit(result);
        if (id == IdHwnd) {
            result->vt = VT_I4;
            result->lVal = static_cast<LONG>(reinterpret_cast<LONG_PTR>(form->hWnd()));
            return S_OK;
        }
        result->vt = VT_R4;
        result->fltVal = id == IdLeft ? form->Left() : id == IdTop ? form->Top() : id == IdWidth ? form->Width()
                                                                                               : form->Height();
        return S_OK;
    } catch (const RuntimeError& e) {
        return Fail(excep, e);
    } catch (const std::exception& e) {
        return Fail(excep, RuntimeError(err::InternalError, e.what()));
    }
}

}  // namespace forms
