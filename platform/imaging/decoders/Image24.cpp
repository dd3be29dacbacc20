#include "platform/imaging/decoders/Image24.h"

#include <string>

#include "platform/imaging/decoders/DecodeError.h"

namespace imaging {

ImageLayout CheckedLayout(std::uint64_t width, std::uint64_t height) {
    if (width == 0 || height == 0) {
        throw DecodeError("empty picture");
    }
    // Each side is below 2^32 here only if the product test below cannot overflow: check the sides first.
    if (width > kMaxPixels || height > kMaxPixels || width * height > kMaxPixels) {
        throw DecodeError("picture too large: " + std::to_string(width) + "x" + std::to_string(height));
    }
    const std::uint64_t stride = (width * 3 + 3) & ~std::uint64_t{3};
    return {static_cast<std::size_t>(stride), static_cast<std::size_t>(stride * height)};
}

void RequireInput(std::uint64_t available, std::uint64_t needed) {
    if (available < needed) {
        throw DecodeError("truncated pixel data");
    }
}

Image24 Image24::Allocate(std::uint32_t width, std::uint32_t height, std::uint8_t fill) {
    const ImageLayout layout = CheckedLayout(width, height);
    Image24 image;
    image.width = width;
    image.height = height;
    image.stride = layout.stride;
    image.pixels.assign(layout.bytes, fill);
    return image;
}

}  // namespace imaging
