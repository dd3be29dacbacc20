#include "platform/imaging/decoders/SystemCodecCheck.h"

#include <algorithm>
#include <array>

#include "platform/imaging/decoders/GifStructure.h"
#include "platform/imaging/decoders/IconStructure.h"
#include "platform/imaging/decoders/MetafileStructure.h"

namespace imaging {

void CheckBeforeSystemCodec(std::span<const std::uint8_t> bytes) {
    // The system's picture loader hands a file to its GIF codec by these two bytes alone.
    static constexpr std::array<std::uint8_t, 2> kGif{'G', 'I'};
    if (bytes.size() >= kGif.size() && std::equal(kGif.begin(), kGif.end(), bytes.begin())) {
        gif::CheckStructure(bytes);
    } else if (bytes.size() >= 4 && bytes[0] == 0 && bytes[1] == 0 && (bytes[2] == 1 || bytes[2] == 2) &&
               bytes[3] == 0) {
        icon::CheckStructure(bytes);
    } else if (emf::Probe(bytes)) {
        emf::CheckStructure(bytes);
    } else if (wmf::Probe(bytes)) {
        wmf::CheckStructure(bytes);
    }
}

}  // namespace imaging
