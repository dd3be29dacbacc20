#include "lib/services/client/StdFunctionsClient.h"

#include "lib/comserver/Bstr.h"
#include "lib/services/client/ClientCall.h"

namespace services::client {

StdFunctions StdFunctions::Create() {
    return StdFunctions(comserver::CreateInstance<_stdFunctions>(CLSID_stdFunctions, IID__stdFunctions));
}

std::string StdFunctions::GetFile(const std::string& cmdLine) const {
    std::string unused;
    return GetFile(cmdLine, unused);
}

std::string StdFunctions::GetFile(const std::string& cmdLine, std::string& pathName) const {
    comserver::Bstr line(cmdLine);
    comserver::Bstr folder(pathName);
    comserver::Bstr result;
    Check(object_->GetFile(line.InOut(), folder.InOut(), result.Put()), object_, IID__stdFunctions);
    pathName = folder.Text();
    return result.Text();
}

std::string StdFunctions::GetShortName(const std::string& path) const {
    const comserver::Bstr text(path);
    comserver::Bstr result;
    Check(object_->GetShortName(text.Get(), result.Put()), object_, IID__stdFunctions);
    return result.Text();
}

}  // namespace services::client
