#include "platform/runtime/Strings.h"

#include <windows.h>

#include <algorithm>
#include <optional>

#include "platform/runtime/RuntimeError.h"

namespace forms {
namespace {

void RequireNotNegative(std::ptrdiff_t value) {
    if (value < 0) throw RuntimeError(err::InvalidProcedureCall);
}

bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Strict decoding: text that is not valid in the code page is left to the byte-wise paths.
std::optional<std::wstring> DecodeStrict(std::string_view text) {
    if (!IsValidText(text, CP_ACP)) return std::nullopt;
    return ToWide(text);
}

// The invariant mapping keeps case-insensitive file names and markers independent of the user's locale.
std::optional<std::wstring> MapCase(std::wstring_view wide, DWORD flag) {
    if (wide.empty()) return std::wstring{};
    const int size = static_cast<int>(wide.size());
    const int n = LCMapStringEx(LOCALE_NAME_INVARIANT, flag, wide.data(), size, nullptr, 0, nullptr, nullptr, 0);
    if (n != size) return std::nullopt;  // positions would no longer line up with the source
    std::wstring mapped(wide.size(), L'\0');
    LCMapStringEx(LOCALE_NAME_INVARIANT, flag, wide.data(), size, mapped.data(), n, nullptr, nullptr, 0);
    return mapped;
}

std::string MapText(std::string_view text, DWORD flag, char (*ascii)(char)) {
    if (!IsAscii(text)) {
        if (const auto wide = DecodeStrict(text)) {
            if (const auto mapped = MapCase(*wide, flag)) return FromWide(*mapped);
        }
    }
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(), ascii);
    return result;
}

// Both texts folded to lower case, with a way back from a folded position to a byte position of `text`.
struct Folded {
    std::wstring text;
    std::wstring find;
    std::wstring original;  // `text` decoded, unfolded
};

std::optional<Folded> FoldWide(std::string_view text, std::string_view find) {
    auto wideText = DecodeStrict(text);
    auto wideFind = DecodeStrict(find);
    if (!wideText || !wideFind) return std::nullopt;
    auto foldedText = MapCase(*wideText, LCMAP_LOWERCASE);
    auto foldedFind = MapCase(*wideFind, LCMAP_LOWERCASE);
    if (!foldedText || !foldedFind) return std::nullopt;
    return Folded{std::move(*foldedText), std::move(*foldedFind), std::move(*wideText)};
}

std::size_t BytePosition(const Folded& folded, std::size_t wideIndex) {
    return FromWide(std::wstring_view(folded.original).substr(0, wideIndex)).size();
}

// The UTF-16 index of a byte position of `text`.
std::size_t WideIndex(std::string_view text, std::size_t bytes) { return ToWide(text.substr(0, bytes)).size(); }

std::string FoldAscii(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(), AsciiLower);
    return result;
}

}  // namespace

std::string Left(std::string_view text, std::ptrdiff_t length) {
    RequireNotNegative(length);
    return std::string(text.substr(0, static_cast<std::size_t>(length)));
}

std::string Right(std::string_view text, std::ptrdiff_t length) {
    RequireNotNegative(length);
    const std::size_t n = std::min(text.size(), static_cast<std::size_t>(length));
    return std::string(text.substr(text.size() - n));
}

std::string Mid(std::string_view text, std::ptrdiff_t start) {
    return Mid(text, start, static_cast<std::ptrdiff_t>(text.size()));
}

std::string Mid(std::string_view text, std::ptrdiff_t start, std::ptrdiff_t length) {
    if (start < 1) throw RuntimeError(err::InvalidProcedureCall);
    RequireNotNegative(length);
    const auto from = static_cast<std::size_t>(start - 1);
    if (from >= text.size()) return {};
    return std::string(text.substr(from, static_cast<std::size_t>(length)));
}

std::size_t InStr(std::string_view text, std::string_view find, Compare compare) {
    return InStr(1, text, find, compare);
}

std::size_t InStr(std::ptrdiff_t start, std::string_view text, std::string_view find, Compare compare) {
    if (start < 1) throw RuntimeError(err::InvalidProcedureCall);
    const auto from = static_cast<std::size_t>(start - 1);
    if (from >= text.size()) return 0;  // a start past the end, or an empty text
    if (find.empty()) return from + 1;
    if (compare == Compare::Text && !(IsAscii(text) && IsAscii(find))) {
        if (const auto folded = FoldWide(text, find)) {
            const std::size_t at = folded->text.find(folded->find, WideIndex(text, from));
            return at == std::wstring::npos ? 0 : BytePosition(*folded, at) + 1;
        }
    }
    const std::size_t at = compare == Compare::Text ? FoldAscii(text).find(FoldAscii(find), from)
                                                    : text.find(find, from);
    return at == std::string_view::npos ? 0 : at + 1;
}

std::size_t InStrRev(std::string_view text, std::string_view find, std::ptrdiff_t start, Compare compare) {
    if (start < 0) throw RuntimeError(err::InvalidProcedureCall);
    if (start == 0) start = static_cast<std::ptrdiff_t>(text.size());
    if (static_cast<std::size_t>(start) > text.size()) return 0;
    const auto end = static_cast<std::size_t>(start);  // the match must end at or before this byte
    if (find.empty()) return end;
    if (find.size() > end) return 0;
    const std::size_t last = end - find.size();
    if (compare == Compare::Text && !(IsAscii(text) && IsAscii(find))) {
        if (const auto folded = FoldWide(text, find)) {
            const std::size_t wideEnd = WideIndex(text, end);
            if (folded->find.size() > wideEnd) return 0;
            const std::size_t at = folded->text.rfind(folded->find, wideEnd - folded->find.size());
            return at == std::wstring::npos ? 0 : BytePosition(*folded, at) + 1;
        }
    }
    const std::size_t at = compare == Compare::Text ? FoldAscii(text).rfind(FoldAscii(find), last)
                                                    : text.rfind(find, last);
    return at == std::string_view::npos ? 0 : at + 1;
}

std::string LCase(std::string_view text) { return MapText(text, LCMAP_LOWERCASE, AsciiLower); }
std::string UCase(std::string_view text) { return MapText(text, LCMAP_UPPERCASE, AsciiUpper); }

std::string LTrim(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string{} : std::string(text.substr(first));
}

std::string RTrim(std::string_view text) {
    const std::size_t last = text.find_last_not_of(' ');
    return last == std::string_view::npos ? std::string{} : std::string(text.substr(0, last + 1));
}

std::string Trim(std::string_view text) { return LTrim(RTrim(text)); }

std::vector<std::string> Split(std::string_view text, std::string_view delimiter) {
    std::vector<std::string> parts;
    if (text.empty()) return parts;
    if (delimiter.empty()) {
        parts.emplace_back(text);
        return parts;
    }
    std::size_t from = 0;
    for (;;) {
        const std::size_t at = text.find(delimiter, from);
        if (at == std::string_view::npos) break;
        parts.emplace_back(text.substr(from, at - from));
        from = at + delimiter.size();
    }
    parts.emplace_back(text.substr(from));
    return parts;
}

bool TextEquals(std::string_view a, std::string_view b) {
    if (IsAscii(a) && IsAscii(b)) return a.size() == b.size() && FoldAscii(a) == FoldAscii(b);
    return LCase(a) == LCase(b);
}

void ToWide(std::string_view text, std::wstring& out, unsigned codePage) {
    // A byte never gives more than one UTF-16 unit, so one pass fills a buffer of the text's length.
    out.resize(text.size());
    if (text.empty()) return;
    const int n = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(),
                                      static_cast<int>(out.size()));
    out.resize(static_cast<std::size_t>(std::max(n, 0)));
}

std::wstring ToWide(std::string_view text, unsigned codePage) {
    std::wstring wide;
    ToWide(text, wide, codePage);
    return wide;
}

bool IsValidText(std::string_view text, unsigned codePage) {
    return text.empty() || MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(),
                                               static_cast<int>(text.size()), nullptr, 0) > 0;
}

std::string FromWide(std::wstring_view text, unsigned codePage) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int n = WideCharToMultiByte(codePage, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(std::max(n, 0)), '\0');
    if (n > 0) WideCharToMultiByte(codePage, 0, text.data(), size, bytes.data(), n, nullptr, nullptr);
    return bytes;
}

}  // namespace forms
