#pragma once
// GIF: a walk over the file's structure (header, logical screen, colour tables and every block by its
// length) that decodes no pixel. The system's GIF codec is handed only a file this walk has accepted: it
// reads address 0 for an image without a colour table, and it holds every frame's raster at once.

#include <cstdint>
#include <span>

namespace imaging::gif {

// No file has more frames than this.
inline constexpr std::uint32_t kMaxFrames = 65535;
// The frames' pixels together, as the system's codec holds them (one byte each).
inline constexpr std::uint64_t kMaxFramePixels = std::uint64_t{1} << 30;

struct Structure {
    std::uint32_t width = 0;   // the logical screen
    std::uint32_t height = 0;
    std::uint32_t frames = 0;
    bool gif89a = false;
};

// Throws DecodeError naming the first fault: no GIF signature, a table or block past the end, an image
// with no colour table, an unknown block, no image, or a canvas, frame or frame count beyond the caps.
Structure CheckStructure(std::span<const std::uint8_t> bytes);

}  // namespace imaging::gif
