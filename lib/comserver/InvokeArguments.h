#pragma once
// Completes a late-bound call's argument list before ITypeInfo::Invoke sees it: every optional parameter
// the caller left out gets its default from the type library (without one: the "missing" marker for a
// Variant, the zero of its type otherwise: 0, False or empty text), passed by
// reference when the parameter is by reference. Not every oleaut32 does that for by-reference
// parameters with a default (Wine passes the default itself as the pointer), and the members of the
// suite's servers take most of their optional arguments by reference.

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

private:
    std::vector<VARIANT> args_;
    std::deque<Variant> storage_;  // what by-reference defaults point at; a deque keeps addresses stable
    DISPPARAMS completed_{};
};

}  // namespace comserver
