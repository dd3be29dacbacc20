// Numeric text as the settings store and the windows' text boxes hand it to the runtime: whatever is read is a
// number or infinity, never NaN, and blanks around it change nothing.
#include "platform/runtime/Conversions.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // The user's decimal separator: the usual ones, none, and one of several bytes.
    static constexpr std::string_view kSeparators[] = {".", ",", "", "\xC2\xA0", "'"};
    const std::string_view separator = kSeparators[data[0] % std::size(kSeparators)];
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    double value = 0;
    if (!forms::ParseNumber(text, separator, value)) return 0;
    if (std::isnan(value)) std::abort();
    double padded = 0;
    if (!forms::ParseNumber(" \t" + std::string(text) + "\t ", separator, padded) || padded != value) std::abort();
    return 0;
}
