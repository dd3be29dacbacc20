#include <cstdlib>
#include <span>

#include "platform/imaging/decoders/ImageFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto format = imaging::DetectFormat(std::span<const std::uint8_t>(data, size));
    if (format < imaging::ImageFormat::Unknown || format > imaging::ImageFormat::Gif) {
        std::abort();
    }
    return 0;
}
