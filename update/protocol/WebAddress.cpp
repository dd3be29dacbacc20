#include "update/protocol/WebAddress.h"

namespace update::protocol {

namespace {

bool StartsNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != prefix[i]) return false;
    }
    return true;
}

}  // namespace

bool IsWebAddress(std::string_view text) {
    std::size_t rest = 0;
    if (StartsNoCase(text, "http://")) {
        rest = 7;
    } else if (StartsNoCase(text, "https://")) {
        rest = 8;
    } else {
        return false;
    }
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u <= 0x20 || u == 0x7F || c == '"' || c == '\\') return false;
    }
    // A host: something before the path, and not an empty authority.
    const std::string_view after = text.substr(rest);
    const auto end = after.find_first_of("/?#");
    const std::string_view host = after.substr(0, end);
    return !host.empty() && host.front() != ':' && host.front() != '@';
}

}  // namespace update::protocol
