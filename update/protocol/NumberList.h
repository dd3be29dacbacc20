#pragma once
// The update server's number-list encoding: each character of the text is sent as the decimal number
// (code XOR 371). Codes are Windows-1252; the decoded text is UTF-8.
//
// A list that is not exactly what the encoding produces is refused whole (nullopt), never half-decoded:
// a piece that is not a plain decimal number, exceeds 32 bits, or XORs outside 0-255.

#include <optional>
#include <string>
#include <string_view>

namespace update::protocol {

inline constexpr long long kNumberListKey = 371;

// The version script's form: numbers separated by exactly two spaces. Blanks and line ends around the
// whole list are ignored (a file may end with a line end); each piece may carry extra spaces around it.
std::optional<std::string> DecodeVersionList(std::string_view body);

// The links file's form: numbers separated by any run of blanks, line ends or single commas.
std::optional<std::string> DecodeFieldList(std::string_view body);

// Encodes UTF-8 text the way the server does (for tests and test servers); characters outside
// Windows-1252 are not representable and give nullopt.
std::optional<std::string> EncodeNumberList(std::string_view utf8, std::string_view separator = "  ");

}  // namespace update::protocol
