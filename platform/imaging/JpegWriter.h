#pragma once
// Encoding 24-bit BGR rows as a JPEG through libjpeg-turbo: baseline, 4:2:0 for colour, the quality on the
// encoder's own 1-100 scale. Portable: the Windows side gives it a file to write into.

#include <cstdint>
#include <functional>
#include <span>

namespace imaging {

// The 24-bit BGR pixels of row `row`, counted from the top: width * 3 bytes, read during the call only.
using JpegRowSource = std::function<const std::uint8_t*(std::uint32_t row)>;

// Takes the next piece of the compressed stream; false stops the encoding.
using JpegSink = std::function<bool(std::span<const std::uint8_t> bytes)>;

struct JpegRequest {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::int32_t quality = 75;  // values outside 1-100 are taken as the nearest end
};

// Encodes the rows straight from where they are (no copy of the picture) and hands the stream to the sink.
// False when a side is 0 or too large for the format, or the sink refused a piece.
bool EncodeJpeg(const JpegRequest& request, const JpegRowSource& rows, const JpegSink& sink);

}  // namespace imaging
