#include <cstdlib>
#include <span>

#include "platform/imaging/decoders/DecodeError.h"
#include "platform/imaging/decoders/GifStructure.h"
#include "platform/imaging/decoders/Image24.h"

// A DecodeError is the answer to garbage; an accepted file holds at least one frame within the caps.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        const imaging::gif::Structure s = imaging::gif::CheckStructure(std::span<const std::uint8_t>(data, size));
        if (s.frames == 0 || s.frames > imaging::gif::kMaxFrames ||
            std::uint64_t{s.width} * s.height > imaging::kMaxPixels) {
            std::abort();
        }
    } catch (const imaging::DecodeError&) {
    }
    return 0;
}
