#pragma once
// The decoders' output: 24-bit BGR rows, top-down, each row padded to a multiple of 4 bytes, so the
// Windows side can hand the pixels to a top-down DIB as they are.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace imaging {

// No picture larger than this many pixels is decoded (about 268 megapixels, 805 MB of pixels).
inline constexpr std::uint64_t kMaxPixels = std::uint64_t{1} << 28;

// Dimensions read from a header, before any pixel is decoded.
struct ImageInfo {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

// Row and buffer size of a width x height picture, computed in 64 bits.
struct ImageLayout {
    std::size_t stride = 0;
    std::size_t bytes = 0;
};

// The checked size helper: throws DecodeError when a side is 0 or the picture exceeds kMaxPixels.
ImageLayout CheckedLayout(std::uint64_t width, std::uint64_t height);

// Throws DecodeError when `available` input bytes cannot hold what a header claims; called before the
// output is allocated, so that a tiny file cannot ask for a huge buffer.
void RequireInput(std::uint64_t available, std::uint64_t needed);

struct Image24 {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::size_t stride = 0;
    std::vector<std::uint8_t> pixels;

    // A picture of the checked size with every byte set to `fill`.
    static Image24 Allocate(std::uint32_t width, std::uint32_t height, std::uint8_t fill = 0);

    std::uint8_t* Row(std::uint32_t y) noexcept { return pixels.data() + y * stride; }
    const std::uint8_t* Row(std::uint32_t y) const noexcept { return pixels.data() + y * stride; }
};

}  // namespace imaging
