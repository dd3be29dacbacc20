#pragma once
// PCX: 1-bit mono, 2- and 4-bit packed, 1-bit x 2..4 planes (EGA), 8-bit with the 256-colour palette at
// the end (grey levels for files older than version 5, which had none), 8-bit x 3 or 4 planes (true colour; a fourth plane is ignored); run-length coded or raw.

#include <cstdint>
#include <span>

#include "platform/imaging/decoders/Image24.h"

namespace imaging::pcx {

// The signature only: manufacturer byte, a known version, encoding and depth.
bool Probe(std::span<const std::uint8_t> bytes) noexcept;
// Validates the header (layout and size cap); throws DecodeError.
ImageInfo ReadHeader(std::span<const std::uint8_t> bytes);
Image24 Decode(std::span<const std::uint8_t> bytes);

}  // namespace imaging::pcx
