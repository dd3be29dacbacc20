#include "lib/services/server/stdFunctionsObject.h"

#include "lib/comserver/Arguments.h"
#include "lib/services/stdFunctions.h"

namespace services {

using namespace comserver;

HRESULT stdFunctionsObject::GetFile(BSTR* cmdLine, BSTR* strPathName, BSTR* result) noexcept {
    return Guard([&] {
        std::string pathName = strPathName ? TextOf(strPathName) : std::string();
        const std::string file = stdFunctions::GetFile(TextOf(cmdLine), pathName);
        if (strPathName) SetText(strPathName, pathName);
        ReturnText(result, file);
    });
}

HRESULT stdFunctionsObject::GetShortName(BSTR strPath, BSTR* result) noexcept {
    return Guard([&] { ReturnText(result, stdFunctions::GetShortName(ToString(strPath))); });
}

}  // namespace services
