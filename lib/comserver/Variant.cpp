#include "lib/comserver/Variant.h"

#include <new>
#include <utility>

#include "lib/comserver/Bstr.h"
#include "platform/runtime/RuntimeError.h"

namespace comserver {

namespace {

// The value behind a by-reference VARIANT, or the VARIANT itself.
const VARIANT& Deref(const VARIANT& v) noexcept {
    if (V_VT(&v) == (VT_VARIANT | VT_BYREF) && V_VARIANTREF(&v)) return *V_VARIANTREF(&v);
    return v;
}

void CheckConversion(HRESULT hr) {
    if (hr == E_OUTOFMEMORY) throw std::bad_alloc();
    if (hr == DISP_E_OVERFLOW) throw forms::RuntimeError(forms::err::Overflow);
    if (FAILED(hr)) throw forms::RuntimeError(forms::err::TypeMismatch);
}

Variant Converted(const VARIANT& from, VARTYPE type) {
    Variant result;
    CheckConversion(VariantChangeType(result.Put(), const_cast<VARIANT*>(&Deref(from)), 0, type));
    return result;
}

}  // namespace

bool IsMissing(const VARIANT* value) noexcept {
    if (!value) return true;
    const VARIANT& v = Deref(*value);
    return V_VT(&v) == VT_ERROR && V_ERROR(&v) == DISP_E_PARAMNOTFOUND;
}

Variant::Variant(std::string_view text) : Variant() {
    V_BSTR(&v_) = AllocBstr(text);
    V_VT(&v_) = VT_BSTR;
}

Variant::Variant(std::int32_t number) noexcept : Variant() {
    V_VT(&v_) = VT_I4;
    V_I4(&v_) = number;
}

Variant Variant::Bool(bool value) noexcept {
    Variant r;
    V_VT(&r.v_) = VT_BOOL;
    V_BOOL(&r.v_) = ToVariantBool(value);
    return r;
}

Variant Variant::Missing() noexcept {
    Variant r;
    V_VT(&r.v_) = VT_ERROR;
    V_ERROR(&r.v_) = DISP_E_PARAMNOTFOUND;
    return r;
}

Variant Variant::Object(IDispatch* object) noexcept {
    Variant r;
    V_VT(&r.v_) = VT_DISPATCH;
    V_DISPATCH(&r.v_) = object;
    if (object) object->AddRef();
    return r;
}

Variant::Variant(const Variant& other) : Variant() {
    if (VariantCopy(&v_, const_cast<VARIANT*>(&other.v_)) == E_OUTOFMEMORY) throw std::bad_alloc();
}

Variant& Variant::operator=(const Variant& other) {
    if (this != &other) {
        Variant copy(other);
        *this = std::move(copy);
    }
    return *this;
}

Variant::Variant(Variant&& other) noexcept : v_(other.v_) { VariantInit(&other.v_); }

Variant& Variant::operator=(Variant&& other) noexcept {
    if (this != &other) {
        VariantClear(&v_);
        v_ = other.v_;
        VariantInit(&other.v_);
    }
    return *this;
}

Variant Variant::Take(VARIANT& from) noexcept {
    Variant r;
    r.v_ = from;
    VariantInit(&from);
    return r;
}

Variant Variant::CopyOf(const VARIANT& from) {
    Variant r;
    const HRESULT hr = VariantCopyInd(&r.v_, const_cast<VARIANT*>(&from));
    if (hr == E_OUTOFMEMORY) throw std::bad_alloc();
    if (FAILED(hr)) throw forms::RuntimeError(forms::err::TypeMismatch);
    return r;
}

void Variant::DetachTo(VARIANT* out) noexcept {
    if (!out) return;
    *out = v_;
    VariantInit(&v_);
}

bool Variant::IsObject() const noexcept {
    const VARTYPE t = V_VT(&Deref(v_));
    return t == VT_DISPATCH || t == VT_UNKNOWN;
}

std::string Variant::ToText() const {
    if (V_VT(&Deref(v_)) == VT_BSTR) return ToString(V_BSTR(&Deref(v_)));
    return ToString(V_BSTR(Converted(v_, VT_BSTR).Get()));
}

std::int32_t Variant::ToLong() const { return V_I4(Converted(v_, VT_I4).Get()); }

double Variant::ToDouble() const { return V_R8(Converted(v_, VT_R8).Get()); }

bool Variant::ToBool() const { return IsTrue(V_BOOL(Converted(v_, VT_BOOL).Get())); }

ComPtr<IDispatch> Variant::ToObject() const noexcept {
    const VARIANT& v = Deref(v_);
    ComPtr<IDispatch> result;
    if (V_VT(&v) == VT_DISPATCH) {
        result = ComPtr<IDispatch>(V_DISPATCH(&v));
    } else if (V_VT(&v) == VT_UNKNOWN && V_UNKNOWN(&v)) {
        V_UNKNOWN(&v)->QueryInterface(IID_IDispatch, result.PutVoid());
    } else if (V_VT(&v) == (VT_DISPATCH | VT_BYREF) && V_DISPATCHREF(&v)) {
        result = ComPtr<IDispatch>(*V_DISPATCHREF(&v));
    }
    return result;
}

}  // namespace comserver
