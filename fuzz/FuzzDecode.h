#pragma once
// The body every decoder target shares: probe, header, decode, as the component calls them. A DecodeError
// is the expected answer to garbage; anything else (a crash, a sanitizer report, another exception,
// a timeout, too much memory) is a finding.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "platform/imaging/decoders/DecodeError.h"
#include "platform/imaging/decoders/Image24.h"

namespace imaging::fuzz {

template <typename Probe, typename Header, typename Decode>
int Run(const std::uint8_t* data, std::size_t size, Probe probe, Header header, Decode decode) {
    const std::span<const std::uint8_t> bytes(data, size);
    static_cast<void>(probe(bytes));
    try {
        const ImageInfo info = header(bytes);
        const Image24 image = decode(bytes);
        // A decoded picture has the header's size and a whole buffer.
        if (image.width != info.width || image.height != info.height ||
            image.pixels.size() != image.stride * image.height) {
            std::abort();
        }
    } catch (const DecodeError&) {
    }
    return 0;
}

}  // namespace imaging::fuzz
