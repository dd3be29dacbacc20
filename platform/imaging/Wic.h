#pragma once
// The system's imaging codecs (WIC) as the stand-ins use them: PNG and TIFF decoding from memory, and
// encoding 24-bit rows to a file through a temporary file beside it.

#include <windows.h>
#include <wincodec.h>
#include <wrl/client.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>

#include "platform/imaging/decoders/Image24.h"

namespace imaging {

using Microsoft::WRL::ComPtr;

// The imaging factory of the calling thread's apartment. Raises error 429 when it cannot be created.
ComPtr<IWICImagingFactory> WicFactory();

// Decodes the first frame of a file held in memory into 24-bit rows; DecodeError when it cannot.
Image24 WicDecode(std::span<const std::uint8_t> bytes);

// Converts a decoded frame to 24-bit BGR and copies it out, top-down, after the size check.
Image24 WicCopyFrame(IWICBitmapSource* frame);

// Where row `row` (counted from the top) of a copy goes: width * 3 bytes.
using RowTarget = std::function<std::uint8_t*(std::uint32_t row)>;

// Copies every row of the source as 24-bit BGR, in bands: grey (three equal bytes) and CMYK (as the codec
// gives it) from the source's own layout, other formats through 32-bit BGRA, alpha dropped. False when the
// source fails to deliver; every path that takes a system codec's frame as 24-bit BGR comes through here.
bool WicCopyBgr24(IWICBitmapSource* source, const RowTarget& target);

// The 24-bit BGR pixels of row `row`, counted from the top (width * 3 bytes, read during the call only).
using RowSource = std::function<const std::uint8_t*(std::uint32_t row)>;

struct EncodeRequest {
    GUID container;                 // GUID_ContainerFormatJpeg, GUID_ContainerFormatTiff...
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::optional<float> quality;   // 0..1, for encoders with the ImageQuality option
};

// Encodes to `path` through a temporary file that replaces it only once the encoder has committed.
// False when anything failed; the target is then untouched.
bool WicEncodeToFile(const std::string& path, const EncodeRequest& request, const RowSource& rows);

}  // namespace imaging
