#pragma once
// Path splitting and short (8.3) names.

#include <string>

namespace services {

class stdFunctions {
public:
    // The file name after the last "\" (looked for in the last 1500 characters); the folder before it goes
    // to pathName. Without a "\" the result is empty and pathName is left as it is.
    static std::string GetFile(const std::string& cmdLine, std::string& pathName);
    static std::string GetShortName(const std::string& path);
};

}  // namespace services
