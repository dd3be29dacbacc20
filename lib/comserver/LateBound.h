#pragma once
// An object used late-bound, by member name through its IDispatch (windows, fonts, printers, pictures
// passed in). Failures are raised as forms::RuntimeError: an unknown member is error 438, an error the
// object raised keeps its number and description.

#include <windows.h>
#include <oaidl.h>

#include <string_view>
#include <utility>
#include <vector>

#include "lib/comserver/ComPtr.h"
#include "lib/comserver/Variant.h"

namespace comserver {

class LateBound {
public:
    // A null object raises error 91 on first use.
    explicit LateBound(ComPtr<IDispatch> object) noexcept : object_(std::move(object)) {}

    Variant Get(std::string_view name) const;
    void Put(std::string_view name, const Variant& value) const;
    // Arguments in the order of the member's declaration.
    Variant Call(std::string_view name, const std::vector<Variant>& args = {}) const;

    Variant GetById(DISPID id) const;
    void PutById(DISPID id, const Variant& value) const;

    IDispatch* Get() const noexcept { return object_.Get(); }

private:
    DISPID IdOf(std::string_view name) const;
    Variant Invoke(DISPID id, WORD flags, const std::vector<Variant>& args, bool put) const;

    ComPtr<IDispatch> object_;
};

}  // namespace comserver
