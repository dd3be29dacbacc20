#pragma once
// The COM face of stdFunctions.

#include <windows.h>

#include "Toolcraft.h"
#include "lib/comserver/Dispatch.h"

namespace services {

class stdFunctionsObject final : public comserver::Dispatch<_stdFunctions> {
public:
    stdFunctionsObject() : Dispatch(IID__stdFunctions, "Toolcraft.stdFunctions") {}

    HRESULT STDMETHODCALLTYPE GetFile(BSTR* cmdLine, BSTR* strPathName, BSTR* result) noexcept override;
    HRESULT STDMETHODCALLTYPE GetShortName(BSTR strPath, BSTR* result) noexcept override;
};

}  // namespace services
