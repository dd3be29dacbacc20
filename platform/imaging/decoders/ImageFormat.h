#pragma once
// Recognises a picture by its content: callers route by the last three letters of a name (".tiff" arrives
// as "iff"), so the extension cannot be trusted. Strong signatures are tested first and TGA, which has
// none, last.

#include <cstdint>
#include <span>

namespace imaging {

enum class ImageFormat { Unknown, Pcx, Tga, Pict, Iff, Eps, Png, Tiff, Jpeg, Bmp, Gif };

ImageFormat DetectFormat(std::span<const std::uint8_t> bytes) noexcept;

}  // namespace imaging
