#pragma once
// The numbers the transfer reads from a server's reply headers (status code, content length). Portable.

#include <cstdint>
#include <optional>
#include <string>

namespace inet {

// Plain decimal digits, at most 19 of them so the value fits; anything else (no header, a sign, blanks, a
// list) is no number.
std::optional<std::uint64_t> ParseLength(const std::optional<std::string>& text);

}  // namespace inet
