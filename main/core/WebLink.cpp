#include "main/core/WebLink.h"

#include "platform/runtime/Strings.h"

#include <array>

namespace Module1 {

bool IsWebLink(std::string_view address) {
    constexpr std::array<std::string_view, 3> kSchemes{"http://", "https://", "mailto:"};
    for (const std::string_view scheme : kSchemes) {
        if (address.size() > scheme.size() && forms::TextEquals(address.substr(0, scheme.size()), scheme)) return true;
    }
    return false;
}

}  // namespace Module1
