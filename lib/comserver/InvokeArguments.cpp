#include "lib/comserver/InvokeArguments.h"

#include "lib/comserver/ComPtr.h"

namespace comserver {

namespace {

// The function description of a member, released with its type info.
class FuncDescription {
public:
    FuncDescription(ITypeInfo* info, DISPID id, WORD flags) : info_(info) {
        const auto info2 = ComPtr<ITypeInfo>(info).As<ITypeInfo2>(IID_ITypeInfo2);
        if (!info2) return;
        const INVOKEKIND kinds[] = {INVOKE_FUNC, INVOKE_PROPERTYGET, INVOKE_PROPERTYPUT, INVOKE_PROPERTYPUTREF};
        for (const INVOKEKIND kind : kinds) {
            if (!(flags & kind)) continue;
            UINT index = 0;
            if (SUCCEEDED(info2->GetFuncIndexOfMemId(id, kind, &index)) &&
                SUCCEEDED(info->GetFuncDesc(index, &desc_)))
                return;
        }
    }
    ~FuncDescription() {
        if (desc_) info_->ReleaseFuncDesc(desc_);
    }
    FuncDescription(const FuncDescription&) = delete;
    FuncDescription& operator=(const FuncDescription&) = delete;
    const FUNCDESC* Get() const noexcept { return desc_; }

private:
    ITypeInfo* info_;
    FUNCDESC* desc_ = nullptr;
};

// The automation type a parameter's type stands for: enumerations travel as 32-bit integers, an alias as
// what it names (IPictureDisp is an alias of the picture's dispatch interface in some type libraries).
VARTYPE AutomationType(ITypeInfo* info, const TYPEDESC& type, int aliases = 0) {
    if (type.vt != VT_USERDEFINED) return type.vt;
    ComPtr<ITypeInfo> referenced;
    if (FAILED(info->GetRefTypeInfo(type.hreftype, referenced.Put()))) return VT_EMPTY;
    TYPEATTR* attributes = nullptr;
    if (FAILED(referenced->GetTypeAttr(&attributes))) return VT_EMPTY;
    VARTYPE result = VT_EMPTY;
    if (attributes->typekind == TKIND_ENUM) result = VT_I4;
    else if (attributes->typekind == TKIND_ALIAS && aliases < 8)
        result = AutomationType(referenced.Get(), attributes->tdescAlias, aliases + 1);
    else if (attributes->typekind == TKIND_DISPATCH || attributes->typekind == TKIND_INTERFACE) result = VT_DISPATCH;
    referenced->ReleaseTypeAttr(attributes);
    return result;
}

// The type a typed by-reference parameter points at (BSTR*: VT_BSTR, IPictureDisp**: VT_DISPATCH), or
// VT_EMPTY for a Variant, an object passed by value or a type the frame does not know.
VARTYPE ReferencedType(ITypeInfo* info, const TYPEDESC& parameter) {
    if (parameter.vt != VT_PTR) return VT_EMPTY;
    const TYPEDESC& pointee = *parameter.lptdesc;
    if (pointee.vt == VT_PTR) {
        return pointee.lptdesc->vt == VT_USERDEFINED && AutomationType(info, *pointee.lptdesc) == VT_DISPATCH
                   ? static_cast<VARTYPE>(VT_DISPATCH)
                   : static_cast<VARTYPE>(VT_EMPTY);
    }
    const VARTYPE type = AutomationType(info, pointee);
    if (pointee.vt == VT_USERDEFINED && type == VT_DISPATCH) return VT_EMPTY;  // IFoo*: by value
    return type == VT_VARIANT ? static_cast<VARTYPE>(VT_EMPTY) : type;
}

// The caller's value as the parameter's type; an empty Variant is no object for an object parameter.
bool Coerce(const VARIANT& from, VARTYPE type, Variant& to) {
    if (V_VT(&from) == VT_EMPTY && (type == VT_DISPATCH || type == VT_UNKNOWN)) {
        V_VT(to.Put()) = type;
        V_UNKNOWN(to.Get()) = nullptr;
        return true;
    }
    return SUCCEEDED(VariantChangeType(to.Put(), const_cast<VARIANT*>(&from), 0, type));
}

bool IsVisibleParameter(const ELEMDESC& e) {
    const USHORT f = e.paramdesc.wParamFlags;
    return !(f & PARAMFLAG_FRETVAL) && !(f & PARAMFLAG_FLCID);
}

}  // namespace

bool InvokeArguments::CoerceScriptReferences(ITypeInfo* info, const std::vector<const ELEMDESC*>& visible,
                                             std::vector<VARIANT>& given) {
    bool changed = false;
    for (size_t i = 0; i < given.size() && i < visible.size(); ++i) {
        VARIANT& arg = given[given.size() - 1 - i];  // DISPPARAMS holds the last argument first
        if (V_VT(&arg) != (VT_VARIANT | VT_BYREF) || !V_VARIANTREF(&arg)) continue;
        const VARTYPE type = ReferencedType(info, visible[i]->tdesc);
        if (type == VT_EMPTY) continue;
        VARIANT* caller = V_VARIANTREF(&arg);
        if (V_VT(caller) == (type | VT_BYREF)) {  // a reference of the parameter's own type inside
            arg = *caller;
            changed = true;
            continue;
        }
        Variant value;
        // A value that does not convert, or a further reference, stays for Invoke to refuse as it would.
        if ((V_VT(caller) & VT_BYREF) || !Coerce(*caller, type, value)) continue;
        storage_.push_back(std::move(value));
        Variant& stored = storage_.back();
        V_VT(&arg) = static_cast<VARTYPE>(type | VT_BYREF);
        V_BYREF(&arg) = &V_I4(stored.Get());  // the union's storage, whatever its type
        coerced_.push_back({caller, &stored});
        changed = true;
    }
    return changed;
}

std::vector<VARIANT> InvokeArguments::Defaults(ITypeInfo* info, const std::vector<const ELEMDESC*>& visible,
                                               size_t given) {
    std::vector<VARIANT> added;
    for (size_t i = given; i < visible.size(); ++i) {
        const ELEMDESC& e = *visible[i];
        const USHORT f = e.paramdesc.wParamFlags;
        const bool byRef = e.tdesc.vt == VT_PTR;
        const VARTYPE type = AutomationType(info, byRef ? *e.tdesc.lptdesc : e.tdesc);
        if (type == VT_EMPTY) return {};
        // The default; without one a Variant is "missing" and any other type its zero (0, False, "").
        Variant value = Variant::Missing();
        if ((f & PARAMFLAG_FHASDEFAULT) && e.paramdesc.pparamdescex) {
            value = Variant::CopyOf(e.paramdesc.pparamdescex->varDefaultValue);
        } else if (!(f & PARAMFLAG_FOPT)) {
            return {};  // a required argument is missing: let Invoke report it
        } else if (type != VT_VARIANT) {
            value = Variant();
        }
        if (type != VT_VARIANT && FAILED(VariantChangeType(value.Get(), value.Get(), 0, type))) return {};
        storage_.push_back(std::move(value));
        VARIANT* target = storage_.back().Get();
        VARIANT arg;
        VariantInit(&arg);
        if (!byRef) {
            arg = *target;  // borrowed: storage_ owns it
        } else if (type == VT_VARIANT) {
            V_VT(&arg) = VT_VARIANT | VT_BYREF;
            V_VARIANTREF(&arg) = target;
        } else {
            V_VT(&arg) = static_cast<VARTYPE>(type | VT_BYREF);
            V_BYREF(&arg) = &V_I4(target);  // the union's storage, whatever its type
        }
        added.push_back(arg);
    }
    return added;
}

DISPPARAMS* InvokeArguments::Complete(ITypeInfo* info, DISPID id, WORD flags, DISPPARAMS* params) {
    // Named arguments (other than a property put's value) are left to the type library's Invoke.
    if (!params || params->cNamedArgs > 0) return params;
    const FuncDescription func(info, id, flags);
    const FUNCDESC* desc = func.Get();
    if (!desc) return params;
    std::vector<const ELEMDESC*> visible;
    for (SHORT i = 0; i < desc->cParams; ++i) {
        if (IsVisibleParameter(desc->lprgelemdescParam[i])) visible.push_back(&desc->lprgelemdescParam[i]);
    }
    std::vector<VARIANT> given(params->rgvarg, params->rgvarg + params->cArgs);  // borrowed
    const bool coerced = CoerceScriptReferences(info, visible, given);
    std::vector<VARIANT> added = Defaults(info, visible, params->cArgs);
    if (!coerced && added.empty()) return params;
    args_.assign(added.rbegin(), added.rend());
    args_.insert(args_.end(), given.begin(), given.end());
    completed_ = *params;
    completed_.rgvarg = args_.data();
    completed_.cArgs = static_cast<UINT>(args_.size());
    return &completed_;
}

void InvokeArguments::WriteBack() noexcept {
    for (const Coerced& c : coerced_) {
        VariantClear(c.caller);
        *c.caller = *c.value->Get();  // moved: the caller's Variant owns it now
        VariantInit(c.value->Get());
    }
    coerced_.clear();
}

}  // namespace comserver
