#include "lib/comserver/Boundary.h"

#include <oleauto.h>

#include <string>

#include "lib/comserver/Bstr.h"
#include "lib/comserver/ComPtr.h"
#include "lib/comserver/ErrorCode.h"

namespace comserver {

HRESULT ReportError(REFIID iid, std::string_view source, const forms::RuntimeError& error) noexcept {
    const HRESULT hr = HresultOfError(error.Number());
    try {
        ComPtr<ICreateErrorInfo> create;
        if (FAILED(CreateErrorInfo(create.Put()))) return hr;
        std::string description = error.Description();
        if (description.empty()) description = DescriptionOfError(error.Number());
        const std::string& from = error.Source().empty() ? std::string(source) : error.Source();
        const Bstr sourceText(from);
        const Bstr descriptionText(description);
        create->SetGUID(iid);
        create->SetSource(sourceText.Get());
        create->SetDescription(descriptionText.Get());
        if (const auto info = create.As<IErrorInfo>(IID_IErrorInfo)) SetErrorInfo(0, info.Get());
    } catch (const std::bad_alloc&) {
        // The HRESULT still carries the number.
    }
    return hr;
}

}  // namespace comserver
