#include "platform/runtime/Paths.h"

namespace forms {

bool IsDriveRoot(std::string_view folder) {
    return folder.size() == 3 && folder[1] == ':' && folder[2] == '\\';
}

std::string JoinPath(std::string_view folder, std::string_view name) {
    std::string path(folder);
    if (!IsDriveRoot(folder)) path += '\\';
    path += name;
    return path;
}

std::string FolderOf(std::string_view path) {
    const std::size_t slash = path.rfind('\\');
    if (slash == std::string_view::npos) return {};
    if (slash == 2 && path[1] == ':') return std::string(path.substr(0, 3));
    return std::string(path.substr(0, slash));
}

std::string FileNameOf(std::string_view path) {
    const std::size_t cut = path.find_last_of("\\:");
    return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

std::string BaseNameOf(std::string_view path) {
    std::string name = FileNameOf(path);
    if (const std::size_t dot = name.rfind('.'); dot != std::string::npos && dot > 0) name.resize(dot);
    return name;
}

}  // namespace forms
