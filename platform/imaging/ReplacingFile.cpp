#include "platform/imaging/ReplacingFile.h"

#include <windows.h>

#include <utility>

namespace imaging {
namespace {

std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of("\\/");
    if (slash == std::string::npos) return ".";
    if (slash == 0 || (slash == 2 && path[1] == ':')) return path.substr(0, slash + 1);  // a root
    return path.substr(0, slash);
}

}  // namespace

ReplacingFile::ReplacingFile(std::string target) : target_(std::move(target)) {
    if (target_.empty()) return;
    char name[MAX_PATH + 1] = {};
    if (GetTempFileNameA(FolderOf(target_).c_str(), "qv", 0, name) != 0) temp_ = name;
}

ReplacingFile::~ReplacingFile() {
    if (!temp_.empty()) DeleteFileA(temp_.c_str());
}

bool ReplacingFile::Commit() {
    if (temp_.empty()) return false;
    if (!MoveFileExA(temp_.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING)) return false;
    temp_.clear();
    return true;
}

}  // namespace imaging
