#include "update/protocol/PackageKind.h"

#include <cstdint>

namespace update::protocol {

PackageKind KindOfName(std::string_view name) {
    if (name.size() < 3) return PackageKind::Other;
    std::string ext(name.substr(name.size() - 3));
    for (char& c : ext) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    if (ext == "exe") return PackageKind::Exe;
    if (ext == "msi") return PackageKind::Msi;
    if (ext == "zip") return PackageKind::Zip;
    return PackageKind::Other;
}

bool ContentMatchesKind(PackageKind kind, std::string_view head) {
    switch (kind) {
        case PackageKind::Exe: {
            if (head.size() < 0x40 || head.substr(0, 2) != "MZ") return false;
            std::uint32_t pe = 0;
            for (int i = 3; i >= 0; --i) pe = (pe << 8) | static_cast<unsigned char>(head[0x3C + i]);
            return pe >= 0x40 && pe <= head.size() - 4 && head.substr(pe, 4) == std::string_view("PE\0\0", 4);
        }
        case PackageKind::Msi:
            return head.substr(0, 8) == std::string_view("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
        case PackageKind::Zip:
            return head.substr(0, 4) == std::string_view("PK\x03\x04", 4);
        case PackageKind::Other:
            return true;
    }
    return false;
}

}  // namespace update::protocol
