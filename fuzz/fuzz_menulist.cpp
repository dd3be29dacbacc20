// An editable menu list file as a user or the update program's server may leave it. Whatever is read back
// must survive being written the way the list writes it: the same items, no line refused.
#include "main/core/MenuListFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

// Stands in for the code page conversion: bytes above 0x7F grow into two, as they do on the way to UTF-8.
std::string Widening(std::string line) {
    std::string out;
    for (const char c : line) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            out += c;
        } else {
            out += static_cast<char>(0xC0 | (byte >> 6));
            out += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return out;
}

std::string Same(std::string line) { return line; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const bool widen = data[0] & 1;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    const menulist::Parsed parsed = menulist::Parse(bytes, widen ? Widening : Same);

    std::string written;
    for (const menulist::Item& item : parsed.items) {
        if (menulist::FindMarker(item.name, false) != std::string::npos ||
            menulist::FindMarker(item.value, false) != std::string::npos ||
            item.name.find('\n') != std::string::npos || item.value.find('\n') != std::string::npos) {
            std::abort();
        }
        written += item.value;
        written += menulist::kMarker;
        written += item.name;
        written += "\r\n";
    }
    const menulist::Parsed again = menulist::Parse(written, Same);
    if (again.badLine || again.items.size() != parsed.items.size()) std::abort();
    for (std::size_t i = 0; i < again.items.size(); ++i) {
        if (again.items[i].name != parsed.items[i].name || again.items[i].value != parsed.items[i].value) {
            std::abort();
        }
    }
    (void)menulist::HoldsLineBreakOrMarker(bytes);
    return 0;
}
