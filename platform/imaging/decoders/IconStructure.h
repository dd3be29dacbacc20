#pragma once
// Icons and cursors: the directory and each entry's extent, walked before the system's loaders see the file
// (its cursor loader reads as far as an entry's stated size, past the end of the file).

#include <cstdint>
#include <span>

namespace imaging::icon {

// Throws DecodeError when the directory or an entry's image lies outside the file, or an image is neither
// a PNG nor a bitmap header that fits its entry.
void CheckStructure(std::span<const std::uint8_t> bytes);

}  // namespace imaging::icon
