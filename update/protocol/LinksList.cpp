#include "update/protocol/LinksList.h"

#include "update/protocol/WebAddress.h"

namespace update::protocol {

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto end = text.find_first_of("\r\n", i);
        if (end == std::string_view::npos) {
            lines.emplace_back(text.substr(i));
            break;
        }
        lines.emplace_back(text.substr(i, end - i));
        i = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
    }
    while (!lines.empty() && lines.back().empty()) lines.pop_back();
    return lines;
}

bool IsValidLinksList(std::string_view text) {
    bool any = false;
    for (const auto& line : SplitLines(text)) {
        if (line.empty()) continue;
        const auto marker = line.find("<name>");
        if (marker == std::string::npos) return false;
        if (!IsWebAddress(std::string_view(line).substr(0, marker))) return false;
        const std::string_view caption = std::string_view(line).substr(marker + 6);
        if (caption.find_first_not_of(" \t") == std::string_view::npos) return false;
        for (const char c : caption) {
            const auto u = static_cast<unsigned char>(c);
            if (u < 0x20 || u == 0x7F) return false;
        }
        any = true;
    }
    return any;
}

namespace {

std::vector<std::string> NonEmptyLines(std::string_view text) {
    auto lines = SplitLines(text);
    std::erase_if(lines, [](const std::string& line) { return line.empty(); });
    return lines;
}

}  // namespace

bool SameLines(std::string_view a, std::string_view b) { return NonEmptyLines(a) == NonEmptyLines(b); }

std::string LinksFileText(std::string_view text) {
    std::string out;
    for (const auto& line : SplitLines(text)) {
        out += line;
        out += "\r\n";
    }
    return out;
}

}  // namespace update::protocol
