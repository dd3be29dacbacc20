#pragma once
// One picture file's bytes to 24-bit rows, whatever its name says: the format is recognised by content.
// Our own decoders for PCX, TGA, PICT and IFF; the system codecs for PNG, TIFF, JPEG, BMP and GIF; an EPS
// file by its TIFF preview (system codecs) or its WMF preview (GDI metafile).

#include <cstdint>
#include <span>

#include "platform/imaging/decoders/Image24.h"

namespace imaging {

// DecodeError for a file of no supported format or one that cannot be read; error 429 when the system
// codecs it needs cannot be created.
Image24 DecodeContent(std::span<const std::uint8_t> bytes);

// A placeable-less Windows metafile played onto a white 24-bit canvas of its own bounds.
Image24 DecodeWindowsMetafile(std::span<const std::uint8_t> bytes);

}  // namespace imaging
