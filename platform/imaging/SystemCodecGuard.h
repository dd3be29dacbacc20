#pragma once
// A picture file's structure checked by our own bounded reader before any system decoder is handed it.

#include <string>

namespace imaging {

// Raises 481 when the file's structure check refuses it. A file that cannot be read is left to the loader
// that follows, which reports it as it always has.
void RequireSafeForSystemCodec(const std::string& path);

}  // namespace imaging
