#include "lib/comserver/ClientError.h"

#include <oleauto.h>

#include <string>

#include "lib/comserver/Bstr.h"
#include "lib/comserver/ErrorCode.h"

namespace comserver {

namespace {

forms::RuntimeError CannotCreate() { return forms::RuntimeError(forms::err::CannotCreateObject); }

}  // namespace

forms::RuntimeError ErrorFromHresult(HRESULT hr, IUnknown* object, REFIID iid) {
    const std::int32_t number = ErrorOfHresult(hr);
    std::string description;
    std::string source;
    ComPtr<ISupportErrorInfo> supports;
    if (object) object->QueryInterface(IID_ISupportErrorInfo, supports.PutVoid());
    ComPtr<IErrorInfo> info;
    // Always collect the thread's error information, so that a stale one cannot surface later.
    if (GetErrorInfo(0, info.Put()) == S_OK && info && supports && supports->InterfaceSupportsErrorInfo(iid) == S_OK) {
        Bstr text;
        if (SUCCEEDED(info->GetDescription(text.Put()))) description = text.Text();
        if (SUCCEEDED(info->GetSource(text.Put()))) source = text.Text();
    }
    if (description.empty()) description = DescriptionOfError(number);
    return forms::RuntimeError(number, description, source);
}

void Check(HRESULT hr, IUnknown* object, REFIID iid) {
    if (FAILED(hr)) throw ErrorFromHresult(hr, object, iid);
}

forms::RuntimeError ErrorFromExcepInfo(EXCEPINFO& info) {
    if (info.pfnDeferredFillIn) info.pfnDeferredFillIn(&info);
    const Bstr description = Bstr::Attach(info.bstrDescription);
    const Bstr source = Bstr::Attach(info.bstrSource);
    const Bstr help = Bstr::Attach(info.bstrHelpFile);
    info.bstrDescription = info.bstrSource = info.bstrHelpFile = nullptr;
    const std::int32_t number = info.scode != 0 ? ErrorOfHresult(info.scode) : info.wCode;
    std::string text = description.Text();
    if (text.empty()) text = DescriptionOfError(number);
    return forms::RuntimeError(number, text, source.Text());
}

ComPtr<IUnknown> CreateUnknown(REFCLSID clsid, REFIID iid) {
    ComPtr<IUnknown> object;
    if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, iid, object.PutVoid())) || !object)
        throw CannotCreate();
    return object;
}

ComPtr<IDispatch> CreateObject(std::string_view progId) {
    const Bstr name(progId);
    CLSID clsid{};
    if (FAILED(CLSIDFromProgID(name.Get(), &clsid))) throw CannotCreate();
    return CreateInstance<IDispatch>(clsid, IID_IDispatch);
}

}  // namespace comserver
