#pragma once
// The runtime's string functions over byte strings (the programs' active code page is UTF-8).
// Positions are 1-based and 0 means "not found", as the suite's code counts them.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace forms {

inline constexpr std::string_view CrLf = "\r\n";

// Binary compares bytes; Text ignores case (the system's lower-case mapping, so it holds beyond ASCII).
enum class Compare { Binary, Text };

// Lengths past the end take what there is; a negative length or start below 1 raises error 5.
std::string Left(std::string_view text, std::ptrdiff_t length);
std::string Right(std::string_view text, std::ptrdiff_t length);
std::string Mid(std::string_view text, std::ptrdiff_t start);
std::string Mid(std::string_view text, std::ptrdiff_t start, std::ptrdiff_t length);

// First position of `find` at or after `start`; an empty `find` is found at `start`. A start past the end
// of the text (or an empty text) finds nothing.
std::size_t InStr(std::string_view text, std::string_view find, Compare compare = Compare::Binary);
std::size_t InStr(std::ptrdiff_t start, std::string_view text, std::string_view find,
                  Compare compare = Compare::Binary);
// Last position of `find` that ends at or before `start` (0: the end of the text).
std::size_t InStrRev(std::string_view text, std::string_view find, std::ptrdiff_t start = 0,
                     Compare compare = Compare::Binary);

std::string LCase(std::string_view text);
std::string UCase(std::string_view text);

// Spaces only: tabs and line breaks stay.
std::string Trim(std::string_view text);
std::string LTrim(std::string_view text);
std::string RTrim(std::string_view text);

// Empty text gives no parts; an empty delimiter gives the whole text as one part.
std::vector<std::string> Split(std::string_view text, std::string_view delimiter);

// Case-insensitive equality in the sense of Compare::Text.
bool TextEquals(std::string_view a, std::string_view b);

// Byte text <-> UTF-16 at the Win32 and COM boundaries; CP_ACP is the program's code page.
std::wstring ToWide(std::string_view text, unsigned codePage = 0 /* CP_ACP */);
// The same into a buffer the caller keeps, for hot loops.
void ToWide(std::string_view text, std::wstring& out, unsigned codePage = 0 /* CP_ACP */);
// Whether every byte sequence of the text is valid in the code page (for UTF-8: well-formed).
bool IsValidText(std::string_view text, unsigned codePage);
std::string FromWide(std::wstring_view text, unsigned codePage = 0 /* CP_ACP */);

}  // namespace forms
