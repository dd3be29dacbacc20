#include "platform/runtime/Paths.h"

#include <cctype>

namespace forms {

bool IsDriveRoot(std::string_view folder) {
    return folder.size() == 3 && folder[1] == ':' && folder[2] == '\\';
}

std::string RootOf(std::string_view path) {
    if (path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]))) {
        return std::string(path.substr(0, 2)) + '\\';
    }
    if (path.size() > 2 && path[0] == '\\' && path[1] == '\\') {
        const std::size_t server = path.find('\\', 2);
        if (server == std::string_view::npos || server == 2) return {};
        const std::size_t share = path.find('\\', server + 1);
        const std::string_view root = path.substr(0, share);
        if (root.size() == server + 1) return {};
        return std::string(root) + '\\';
    }
    return {};
}

bool IsRootFolder(std::string_view path) {
    const std::string root = RootOf(path);
    if (root.empty()) return false;
    return path == root || path == std::string_view(root).substr(0, root.size() - 1);
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
