#include "update/protocol/NumberList.h"

#include "update/protocol/Ansi.h"

#include <array>
#include <cstdint>
#include <vector>

namespace update::protocol {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

std::string_view TrimSpaces(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

// Appends the piece's character; false when the piece is not a number the encoding can produce.
bool AppendPiece(std::string& out, std::string_view piece) {
    if (piece.empty() || piece.size() > 10) return false;
    long long n = 0;
    for (const char c : piece) {
        if (c < '0' || c > '9') return false;
        n = n * 10 + (c - '0');
    }
    if (n > INT32_MAX) return false;
    const long long code = n ^ kNumberListKey;
    if (code < 0 || code > 255) return false;
    AppendCp1252(out, static_cast<unsigned char>(code));
    return true;
}

}  // namespace

std::optional<std::string> DecodeVersionList(std::string_view body) {
    body = TrimBlanks(body);
    if (body.empty()) return std::nullopt;
    std::string out;
    out.reserve(body.size() / 4);
    while (true) {
        const auto sep = body.find("  ");
        if (!AppendPiece(out, TrimSpaces(body.substr(0, sep)))) return std::nullopt;
        if (sep == std::string_view::npos) break;
        body.remove_prefix(sep + 2);
    }
    return out;
}

std::optional<std::string> DecodeFieldList(std::string_view body) {
    body = TrimBlanks(body);
    if (body.empty()) return std::nullopt;
    std::string out;
    std::size_t i = 0;
    while (i < body.size()) {
        std::size_t end = i;
        while (end < body.size() && !IsBlank(body[end]) && body[end] != ',') ++end;
        if (!AppendPiece(out, body.substr(i, end - i))) return std::nullopt;
        // One field ends at its separator: blanks around a single comma belong to it.
        i = end;
        while (i < body.size() && IsBlank(body[i])) ++i;
        if (i < body.size() && body[i] == ',') {
            ++i;
            while (i < body.size() && IsBlank(body[i])) ++i;
            if (i == body.size()) return std::nullopt;
        }
    }
    return out;
}

std::optional<std::string> EncodeNumberList(std::string_view utf8, std::string_view separator) {
    // Reverse of the 1252 table for the characters tests use; everything below U+0100 maps to itself.
    static constexpr std::array<std::pair<std::uint32_t, unsigned char>, 27> kHigh = {{
        {0x20AC, 0x80}, {0x201A, 0x82}, {0x0192, 0x83}, {0x201E, 0x84}, {0x2026, 0x85}, {0x2020, 0x86},
        {0x2021, 0x87}, {0x02C6, 0x88}, {0x2030, 0x89}, {0x0160, 0x8A}, {0x2039, 0x8B}, {0x0152, 0x8C},
        {0x017D, 0x8E}, {0x2018, 0x91}, {0x2019, 0x92}, {0x201C, 0x93}, {0x201D, 0x94}, {0x2022, 0x95},
        {0x2013, 0x96}, {0x2014, 0x97}, {0x02DC, 0x98}, {0x2122, 0x99}, {0x0161, 0x9A}, {0x203A, 0x9B},
        {0x0153, 0x9C}, {0x017E, 0x9E}, {0x0178, 0x9F},
    }};
    std::string out;
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        std::uint32_t cp = 0;
        std::size_t len = 1;
        if (b < 0x80) {
            cp = b;
        } else if ((b & 0xE0) == 0xC0 && i + 1 < utf8.size()) {
            cp = ((b & 0x1F) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3F);
            len = 2;
        } else if ((b & 0xF0) == 0xE0 && i + 2 < utf8.size()) {
            cp = ((b & 0x0F) << 12) | ((static_cast<unsigned char>(utf8[i + 1]) & 0x3F) << 6) |
                 (static_cast<unsigned char>(utf8[i + 2]) & 0x3F);
            len = 3;
        } else {
            return std::nullopt;
        }
        int code = -1;
        if (cp < 0x100 && !(cp >= 0x80 && cp < 0xA0)) code = static_cast<int>(cp);
        for (const auto& [u, c] : kHigh) {
            if (u == cp) code = c;
        }
        if (code < 0) return std::nullopt;
        if (!out.empty()) out += separator;
        out += std::to_string(code ^ kNumberListKey);
        i += len;
    }
    return out;
}

}  // namespace update::protocol
