#include "main/core/MenuListFile.h"

namespace menulist {

namespace {

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool Blank(std::string_view text) { return text.find_first_not_of(' ') == std::string_view::npos; }

}  // namespace

std::size_t FindMarker(std::string_view text, bool last) {
    if (text.size() < kMarker.size()) return std::string_view::npos;
    const std::size_t final = text.size() - kMarker.size();
    for (std::size_t n = 0; n <= final; ++n) {
        const std::size_t at = last ? final - n : n;
        bool same = true;
        for (std::size_t k = 0; k < kMarker.size() && same; ++k) same = AsciiLower(text[at + k]) == kMarker[k];
        if (same) return at;
    }
    return std::string_view::npos;
}

bool HoldsLineBreakOrMarker(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos || FindMarker(text, false) != std::string_view::npos;
}

Parsed Parse(std::string_view bytes, const std::function<std::string(std::string)>& toUtf8) {
    Parsed parsed;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos) end = bytes.size();
        std::string line(bytes.substr(start, end - start));
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (Blank(line)) continue;
        line = toUtf8(std::move(line));
        const std::size_t first = FindMarker(line, false);
        if (first == std::string::npos) {
            parsed.badLine = true;
            continue;
        }
        const std::size_t last = FindMarker(line, true);
        Item item{line.substr(last + kMarker.size()), line.substr(0, first)};
        if (Blank(item.name) != Blank(item.value)) continue;
        parsed.items.push_back(std::move(item));
    }
    return parsed;
}

}  // namespace menulist
