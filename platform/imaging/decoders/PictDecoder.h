#pragma once
// Mac PICT, version 1 and 2, with or without the 512-byte file header: the bitmap opcodes a paint program
// writes (BitsRect, PackBitsRect/Rgn, DirectBitsRect/Rgn with pack types 1-4) drawn into the picture
// frame on white; every other opcode is skipped by its length. A picture without a bitmap is not decoded.

#include <cstdint>
#include <span>

#include "platform/imaging/decoders/Image24.h"

namespace imaging::pict {

bool Probe(std::span<const std::uint8_t> bytes) noexcept;
ImageInfo ReadHeader(std::span<const std::uint8_t> bytes);
Image24 Decode(std::span<const std::uint8_t> bytes);

}  // namespace imaging::pict
