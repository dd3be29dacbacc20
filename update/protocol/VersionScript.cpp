#include "update/protocol/VersionScript.h"

#include <optional>

namespace update::protocol {

namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Markers are ASCII letters and punctuation (and "£" in UTF-8, which has no case).
std::size_t FindNoCase(std::string_view text, std::string_view marker) {
    if (marker.empty() || marker.size() > text.size()) return std::string_view::npos;
    for (std::size_t i = 0; i + marker.size() <= text.size(); ++i) {
        std::size_t k = 0;
        while (k < marker.size() && Lower(text[i + k]) == Lower(marker[k])) ++k;
        if (k == marker.size()) return i;
    }
    return std::string_view::npos;
}

std::string_view TrimSpaces(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

// A 32-bit whole number written plainly (an optional sign, digits); anything else is no number.
std::optional<std::int64_t> WholeNumber(std::string_view s) {
    s = TrimSpaces(s);
    bool negative = false;
    if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    if (s.empty() || s.size() > 10) return std::nullopt;
    std::int64_t n = 0;
    for (const char c : s) {
        if (c < '0' || c > '9') return std::nullopt;
        n = n * 10 + (c - '0');
    }
    if (negative) n = -n;
    if (n > INT32_MAX || n < INT32_MIN) return std::nullopt;
    return n;
}

}  // namespace

std::string ExtractField(std::string_view text, std::string_view open, std::string_view close) {
    const auto p = FindNoCase(text, open);
    const auto q = FindNoCase(text, close);
    if (p == std::string_view::npos || q == std::string_view::npos || q < p + open.size()) return {};
    return std::string(TrimSpaces(text.substr(p + open.size(), q - p - open.size())));
}

Version VersionFromText(std::string_view major, std::string_view minor, std::string_view revision) {
    return {WholeNumber(major).value_or(0), WholeNumber(minor).value_or(0), WholeNumber(revision).value_or(0)};
}

VersionScript ParseVersionScript(std::string_view script, const Version& installed) {
    VersionScript s;
    s.version = VersionFromText(ExtractField(script, "<maj>", "</maj>"), ExtractField(script, "<min>", "</min>"),
                                ExtractField(script, "<rev>", "</rev>"));
    s.updwizDownloadUrl = ExtractField(script, "/;", ";/");
    s.updwizDlSize = ExtractField(script, "~@", "@~");
    // One version compared as a whole: a newer major offers an update whatever its minor says.
    if (s.updwizDlSize == kThisBuildMarker && s.version <= installed) {
        s.noUpdate = true;
        return s;
    }
    s.description = ExtractField(script, "*{", "{*");
    s.downloadUrl = ExtractField(script, "{{", "}}");
    s.websiteUrl = ExtractField(script, "%*", "*%");
    s.screenShotUrl = ExtractField(script, "\xC2\xA3<", ">\xC2\xA3");
    s.newVersionNo = ExtractField(script, ":#", "#:");
    s.fileSize = ExtractField(script, "+@", "@+");
    return s;
}

}  // namespace update::protocol
