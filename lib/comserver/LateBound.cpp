#include "lib/comserver/LateBound.h"

#include "lib/comserver/Bstr.h"
#include "lib/comserver/ClientError.h"
#include "lib/comserver/ErrorCode.h"
#include "platform/runtime/RuntimeError.h"

namespace comserver {

DISPID LateBound::IdOf(std::string_view name) const {
    if (!object_) throw forms::RuntimeError(forms::err::ObjectNotSet);
    const Bstr text(name);
    LPOLESTR names[] = {text.Get()};
    DISPID id = DISPID_UNKNOWN;
    const HRESULT hr = object_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) throw forms::RuntimeError(forms::err::ObjectLacksMember, DescriptionOfError(forms::err::ObjectLacksMember));
    return id;
}

Variant LateBound::Invoke(DISPID id, WORD flags, const std::vector<Variant>& args, bool put) const {
    if (!object_) throw forms::RuntimeError(forms::err::ObjectNotSet);
    // DISPPARAMS takes the arguments last first.
    std::vector<VARIANT> reversed;
    reversed.reserve(args.size());
    for (auto it = args.rbegin(); it != args.rend(); ++it) reversed.push_back(*it->Get());
    DISPID namedPut = DISPID_PROPERTYPUT;
    DISPPARAMS params{reversed.data(), put ? &namedPut : nullptr, static_cast<UINT>(reversed.size()),
                      put ? 1u : 0u};
    Variant result;
    EXCEPINFO exception{};
    UINT argError = 0;
    const HRESULT hr = object_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                                       put ? nullptr : result.Put(), &exception, &argError);
    if (hr == DISP_E_EXCEPTION) throw ErrorFromExcepInfo(exception);
    if (FAILED(hr)) throw ErrorFromHresult(hr, nullptr, IID_IDispatch);
    return result;
}

Variant LateBound::Get(std::string_view name) const { return GetById(IdOf(name)); }

void LateBound::Put(std::string_view name, const Variant& value) const { PutById(IdOf(name), value); }

Variant LateBound::Call(std::string_view name, const std::vector<Variant>& args) const {
    return Invoke(IdOf(name), DISPATCH_METHOD | DISPATCH_PROPERTYGET, args, false);
}

Variant LateBound::GetById(DISPID id) const { return Invoke(id, DISPATCH_PROPERTYGET | DISPATCH_METHOD, {}, false); }

void LateBound::PutById(DISPID id, const Variant& value) const {
    Invoke(id, DISPATCH_PROPERTYPUT, {value}, true);
}

}  // namespace comserver
