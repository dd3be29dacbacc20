#include "platform/runtime/FileVersion.h"

#include <cstring>
#include <vector>

namespace forms {

std::optional<VS_FIXEDFILEINFO> FixedFileVersion(const std::string& path) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (size == 0) return std::nullopt;
    std::vector<char> block(size);
    if (!GetFileVersionInfoA(path.c_str(), 0, size, block.data())) return std::nullopt;
    void* fixed = nullptr;
    UINT length = 0;
    char root[] = "\\";
    if (!VerQueryValueA(block.data(), root, &fixed, &length) || !fixed || length < sizeof(VS_FIXEDFILEINFO))
        return std::nullopt;
    VS_FIXEDFILEINFO info{};
    std::memcpy(&info, fixed, sizeof info);
    return info;
}

}  // namespace forms
