#include "platform/inet/ReplyNumber.h"

namespace inet {

std::optional<std::uint64_t> ParseLength(const std::optional<std::string>& text) {
    if (!text || text->empty() || text->size() > 19) return std::nullopt;
    std::uint64_t n = 0;
    for (const char ch : *text) {
        if (ch < '0' || ch > '9') return std::nullopt;
        n = n * 10 + static_cast<std::uint64_t>(ch - '0');
    }
    return n;
}

}  // namespace inet
