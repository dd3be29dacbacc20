#pragma once
// VARIANT helpers of the component boundary: an owning Variant, Booleans as -1/0, absent optional arguments.

#include <windows.h>
#include <oleauto.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "lib/comserver/ComPtr.h"

namespace comserver {

inline constexpr VARIANT_BOOL ToVariantBool(bool value) noexcept { return value ? VARIANT_TRUE : VARIANT_FALSE; }
// Automation's rule: only -1 is True; a caller passing 1 gets False, as the interface's callers do.
inline constexpr bool IsTrue(VARIANT_BOOL value) noexcept { return value == VARIANT_TRUE; }

// An optional argument the caller left out arrives as VT_ERROR with DISP_E_PARAMNOTFOUND.
bool IsMissing(const VARIANT* value) noexcept;

// Owns one VARIANT; copies are deep (VariantCopy).
class Variant {
public:
    Variant() noexcept { VariantInit(&v_); }
    explicit Variant(std::string_view text);
    explicit Variant(std::int32_t number) noexcept;
    static Variant Bool(bool value) noexcept;
    // The marker of an absent optional argument.
    static Variant Missing() noexcept;
    // Borrows the object with a reference of its own.
    static Variant Object(IDispatch* object) noexcept;
    Variant(const Variant& other);
    Variant& operator=(const Variant& other);
    Variant(Variant&& other) noexcept;
    Variant& operator=(Variant&& other) noexcept;
    ~Variant() { VariantClear(&v_); }

    // Takes over the contents of a VARIANT the caller owned (it is left VT_EMPTY).
    static Variant Take(VARIANT& from) noexcept;
    // Copies a VARIANT the caller keeps, following a by-reference value to what it points at.
    static Variant CopyOf(const VARIANT& from);

    VARIANT* Get() noexcept { return &v_; }
    const VARIANT* Get() const noexcept { return &v_; }
    // Clears the contents and hands the VARIANT to a callee that fills it.
    VARIANT* Put() noexcept {
        VariantClear(&v_);
        return &v_;
    }
    // Moves the contents into a caller-supplied [out] VARIANT.
    void DetachTo(VARIANT* out) noexcept;

    VARTYPE Type() const noexcept { return V_VT(&v_); }
    bool IsEmpty() const noexcept { return V_VT(&v_) == VT_EMPTY; }
    bool IsObject() const noexcept;

    // Conversions by the automation rules (VariantChangeType); a value that does not convert raises
    // the type-mismatch error.
    std::string ToText() const;
    std::int32_t ToLong() const;
    double ToDouble() const;
    bool ToBool() const;
    // The object inside (with a reference of its own), or null when the value holds none.
    ComPtr<IDispatch> ToObject() const noexcept;

private:
    VARIANT v_;
};

}  // namespace comserver
