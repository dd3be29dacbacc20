#pragma once
// TGA: colour-mapped (types 1, 9), true colour 15/16/24/32 bit (2, 10), grey 8 bit, or 16 bit with alpha
// (3, 11); run-length coded or raw; either vertical origin and right-to-left rows. Alpha is dropped.

#include <cstdint>
#include <span>

#include "platform/imaging/decoders/Image24.h"

namespace imaging::tga {

// TGA has no signature: this checks that the header's fields form a supported picture. Weak; run last.
bool Probe(std::span<const std::uint8_t> bytes) noexcept;
ImageInfo ReadHeader(std::span<const std::uint8_t> bytes);
Image24 Decode(std::span<const std::uint8_t> bytes);

}  // namespace imaging::tga
