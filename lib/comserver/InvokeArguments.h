#pragma once
// Completes a late-bound call's argument list before ITypeInfo::Invoke sees it: every optional parameter
// the caller left out gets its default from the type library (without one: the "missing" marker for a
// Variant, the zero of its type otherwise: 0, False or empty text), passed by
// reference when the parameter is by reference. Not every oleaut32 does that for by-reference
// parameters with a default (Wine passes the default itself as the pointer), and the members of the
// suite's servers take most of their optional arguments by reference.
// Script clients pass every variable by reference as a Variant (VT_BYREF | VT_VARIANT), which a typed
// by-reference parameter (BSTR*, long*, VARIANT_BOOL*, IPictureDisp**) would refuse: such an argument is
// coerced to the parameter's type for the call, and the result goes back into the caller's Variant.

#include <windows.h>
#include <oaidl.h>

#include <deque>
#include <vector>

#include "lib/comserver/Variant.h"

namespace comserver {

class InvokeArguments {
public:
    // The arguments to invoke with: the caller's own when nothing is missing or the member is unknown.
    DISPPARAMS* Complete(ITypeInfo* info, DISPID id, WORD flags, DISPPARAMS* params);
    // Once the member ran: the values it left in coerced arguments go into the callers' Variants, typed as
    // the parameters are.
    void WriteBack() noexcept;

private:
    struct Coerced {
        VARIANT* caller;
        Variant* value;
    };
    // The arguments the caller left out, in declared order; none when Invoke should report what is missing.
    std::vector<VARIANT> Defaults(ITypeInfo* info, const std::vector<const ELEMDESC*>& visible, size_t given);
    // Script clients' by-reference Variants given for typed by-reference parameters, coerced in `given`
    // (the caller's order); false when there were none.
    bool CoerceScriptReferences(ITypeInfo* info, const std::vector<const ELEMDESC*>& visible,
                                std::vector<VARIANT>& given);

    std::vector<VARIANT> args_;
    std::deque<Variant> storage_;  // what by-reference arguments point at; a deque keeps addresses stable
    std::vector<Coerced> coerced_;
    DISPPARAMS completed_{};
};

}  // namespace comserver
