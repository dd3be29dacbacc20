#pragma once
// IFF pictures: FORM ILBM (1-8 bit planes with CMAP, EHB, HAM6/HAM8, 24- and 32-plane true colour) and
// FORM PBM (8-bit chunky), raw or ByteRun1; a masking plane is skipped, alpha is dropped.

#include <cstdint>
#include <span>

#include "platform/imaging/decoders/Image24.h"

namespace imaging::iff {

bool Probe(std::span<const std::uint8_t> bytes) noexcept;
ImageInfo ReadHeader(std::span<const std::uint8_t> bytes);
Image24 Decode(std::span<const std::uint8_t> bytes);

}  // namespace imaging::iff
