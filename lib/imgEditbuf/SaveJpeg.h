#pragma once
// Moving pixels between a bitmap buffer and a JPEG file through the JPEG codec library.

#include <cstdint>
#include <string>

#include "lib/imgEditbuf/cDIBSection.h"

namespace imgbuf {

// Sizes the buffer from the file's header and decodes the file into it; true when the image was decoded.
// Failures are shown in a message box (the buffer failure silently).
bool LoadJPG(cDIBSection& buffer, const std::string& path);

// Encodes the buffer into the file with the given quality, passed through as it is; true when written.
bool SaveJPG(cDIBSection& buffer, const std::string& path, std::int32_t quality);

}  // namespace imgbuf
