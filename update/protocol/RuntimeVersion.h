#pragma once
// The runtime library the suite needs: a product version of 6.0.84.95 or newer, its four words compared as
// numbers (so 6.0.100.0 is newer, and a word of 32768 or more counts as a large number).

#include <array>
#include <cstdint>
#include <string>

namespace update::protocol {

using FourWords = std::array<std::uint16_t, 4>;
inline constexpr FourWords kRequiredRuntime{6, 0, 84, 95};

inline bool IsOlderRuntime(const FourWords& words) { return words < kRequiredRuntime; }

// The version text the warning shows: the four words as decimal numbers joined without separator.
inline std::string JoinedVersionText(const FourWords& words) {
    std::string text;
    for (const auto w : words) text += std::to_string(w);
    return text;
}

}  // namespace update::protocol
