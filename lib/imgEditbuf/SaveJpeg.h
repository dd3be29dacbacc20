#pragma once
// Moving pixels between a bitmap buffer and a JPEG file through the JPEG codec library.

#include <cstdint>
#include <optional>
#include <string>

#include "lib/imgEditbuf/cDIBSection.h"

namespace imgbuf {

// Sizes the buffer from the file's header and decodes the file into it; true when the image was decoded.
// Failures are shown in a message box (the buffer failure silently).
bool LoadJPG(cDIBSection& buffer, const std::string& path);

// The rows of a 24-bit bitmap in memory, borrowed from whoever owns them.
struct BitmapBits {
    std::uint8_t* bits = nullptr;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t stride = 0;  // bytes from one row to the next in memory
    bool bottomUp = true;     // the first row in memory is the picture's last
};

// The picture's own rows when its bitmap is a 24-bit DIB section; nothing otherwise (a device bitmap, another
// depth, not a bitmap). They live as long as the picture.
std::optional<BitmapBits> DibSectionBits(IPictureDisp* picture);

// Encodes the rows into the file with the given quality, passed through as it is; true when written.
bool SaveJPG(const BitmapBits& rows, const std::string& path, std::int32_t quality);
bool SaveJPG(cDIBSection& buffer, const std::string& path, std::int32_t quality);

}  // namespace imgbuf
