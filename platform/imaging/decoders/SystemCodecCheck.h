#pragma once
// The bounded checks a file passes before the system's decoders see it, chosen by the file's content (the
// system's loaders choose by content too, whatever the name says): GIF, icons and cursors, metafiles and
// enhanced metafiles. Formats without a check pass.

#include <cstdint>
#include <span>

namespace imaging {

// Throws DecodeError when the file is of a format whose system decoder fails unsafely on hostile input and
// our structure check of that format refuses it.
void CheckBeforeSystemCodec(std::span<const std::uint8_t> bytes);

}  // namespace imaging
