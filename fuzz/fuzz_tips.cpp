// The tips file as it lies in the program folder: its lines, and the pick of one of them.
#include "main/browser/TipLines.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto tips = browser::TipLines(bytes);
    std::size_t held = 0;
    for (const auto& tip : tips) {
        if (tip.find('\r') != std::string::npos) std::abort();
        held += tip.size();
    }
    if (held > size) std::abort();

    // The random number is drawn in [0, 1): every pick names a tip.
    if (size >= sizeof(float)) {
        float r = 0;
        std::memcpy(&r, data, sizeof r);
        if (std::isfinite(r)) {
            r = std::fabs(std::fmod(r, 1.0f));
            const int pick = browser::TipPick(r, tips.size());
            if (!tips.empty() && (pick < 1 || pick > static_cast<int>(tips.size()))) std::abort();
        }
    }
    return 0;
}
