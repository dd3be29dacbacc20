#pragma once
// stdFunctions of orcmcls.dll through its dual interface; errors raise forms::RuntimeError.

#include <string>

#include "Toolcraft.h"
#include "lib/comserver/ComPtr.h"

namespace services::client {

class StdFunctions {
public:
    // Creates the class by its identifier; error 429 when it cannot be created.
    static StdFunctions Create();

    std::string GetFile(const std::string& cmdLine) const;
    std::string GetFile(const std::string& cmdLine, std::string& pathName) const;
    std::string GetShortName(const std::string& path) const;

private:
    explicit StdFunctions(comserver::ComPtr<_stdFunctions> object) : object_(std::move(object)) {}
    comserver::ComPtr<_stdFunctions> object_;
};

}  // namespace services::client
