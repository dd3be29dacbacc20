#pragma once
// Windows metafiles and enhanced metafiles: every record walked by its size within the file before the
// system plays one. Its player trusts a record's object index and point count: an index past the file's
// object table or a count past the record reads outside them, and a record of size 0 never ends.

#include <cstdint>
#include <span>

namespace imaging::wmf {

// True when the file begins as a metafile does (with or without the placeable header).
bool Probe(std::span<const std::uint8_t> bytes) noexcept;
// Throws DecodeError naming the first record that lies outside the file, names an object past the table, or
// holds fewer points than it counts.
void CheckStructure(std::span<const std::uint8_t> bytes);

}  // namespace imaging::wmf

namespace imaging::emf {

bool Probe(std::span<const std::uint8_t> bytes) noexcept;
void CheckStructure(std::span<const std::uint8_t> bytes);

}  // namespace imaging::emf
