#pragma once
// Reading and writing the by-reference arguments of interface members.

#include <windows.h>
#include <oleauto.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "lib/comserver/Bstr.h"
#include "lib/comserver/ErrorCode.h"
#include "lib/comserver/Variant.h"
#include "platform/runtime/RuntimeError.h"

namespace comserver {

// The argument behind a pointer; a caller passing none gets "Invalid procedure call or argument".
template <class T>
T& Ref(T* p) {
    if (!p) throw forms::RuntimeError(forms::err::InvalidProcedureCall, DescriptionOfError(forms::err::InvalidProcedureCall));
    return *p;
}

inline std::string TextOf(BSTR* p) { return ToString(Ref(p)); }
inline void SetText(BSTR* p, std::string_view text) { AssignBstr(&Ref(p), text); }
inline bool BoolOf(VARIANT_BOOL* p) { return IsTrue(Ref(p)); }
inline void SetBool(VARIANT_BOOL* p, bool value) { Ref(p) = ToVariantBool(value); }
// Results: the value moved into the [out, retval] slot.
inline void Return(VARIANT* result, Variant value) { value.DetachTo(&Ref(result)); }
inline void ReturnEmpty(VARIANT* result) { VariantInit(&Ref(result)); }
inline void ReturnText(BSTR* result, std::string_view text) { Ref(result) = AllocBstr(text); }
inline void ReturnBool(VARIANT_BOOL* result, bool value) { Ref(result) = ToVariantBool(value); }

}  // namespace comserver
