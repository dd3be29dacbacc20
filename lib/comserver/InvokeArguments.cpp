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

// The automation type a parameter's type stands for: enumerations travel as 32-bit integers.
VARTYPE AutomationType(ITypeInfo* info, const TYPEDESC& type) {
    if (type.vt != VT_USERDEFINED) return type.vt;
    ComPtr<ITypeInfo> referenced;
    if (FAILED(info->GetRefTypeInfo(type.hreftype, referenced.Put()))) return VT_EMPTY;
    TYPEATTR* attributes = nullptr;
    if (FAILED(referenced->GetTypeAttr(&attributes))) return VT_EMPTY;
    VARTYPE result = VT_EMPTY;
    if (attributes->typekind == TKIND_ENUM) result = VT_I4;
    else if (attributes->typekind == TKIND_ALIAS) result = attributes->tdescAlias.vt;
    else if (attributes->typekind == TKIND_DISPATCH || attributes->typekind == TKIND_INTERFACE) result = VT_DISPATCH;
    referenced->ReleaseTypeAttr(attributes);
    return result;
}

bool IsVisibleParameter(const ELEMDESC& e) {
    const USHORT f = e.paramdesc.wParamFlags;
    return !(f & PARAMFLAG_FRETVAL) && !(f & PARAMFLAG_FLCID);
}

}  // namespace

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
    if (params->cArgs >= visible.size()) return params;

    // Declared order; DISPPARAMS holds the last argument first.
    std::vector<VARIANT> added;
    for (size_t i = params->cArgs; i < visible.size(); ++i) {
        const ELEMDESC& e = *visible[i];
        const USHORT f = e.paramdesc.wParamFlags;
        const bool byRef = e.tdesc.vt == VT_PTR;
        const VARTYPE type = AutomationType(info, byRef ? *e.tdesc.lptdesc : e.tdesc);
        if (type == VT_EMPTY) return params;
        // The default; without one a Variant is "missing" and any other type its zero (0, False, "").
        Variant value = Variant::Missing();
        if ((f & PARAMFLAG_FHASDEFAULT) && e.paramdesc.pparamdescex) {
            value = Variant::CopyOf(e.paramdesc.pparamdescex->varDefaultValue);
        } else if (!(f & PARAMFLAG_FOPT)) {
            return params;  // a required argument is missing: let Invoke report it
        } else if (type != VT_VARIANT) {
            value = Variant();
        }
        if (type != VT_VARIANT && FAILED(VariantChangeType(value.Get(), value.Get(), 0, type))) return params;
        VARIANT arg;
        VariantInit(&arg);
        if (byRef) {
            storage_.push_back(std::move(value));
            VARIANT* target = storage_.back().Get();
            if (type == VT_VARIANT) {
                V_VT(&arg) = VT_VARIANT | VT_BYREF;
                V_VARIANTREF(&arg) = target;
            } else {
                V_VT(&arg) = static_cast<VARTYPE>(type | VT_BYREF);
                V_BYREF(&arg) = &V_I4(target);  // the union's storage, whatever its type
            }
        } else {
            storage_.push_back(std::move(value));
            arg = *storage_.back().Get();  // borrowed: storage_ owns it
        }
        added.push_back(arg);
    }
    args_.assign(added.rbegin(), added.rend());
    args_.insert(args_.end(), params->rgvarg, params->rgvarg + params->cArgs);
    completed_ = *params;
    completed_.rgvarg = args_.data();
    completed_.cArgs = static_cast<UINT>(args_.size());
    return &completed_;
}

}  // namespace comserver
