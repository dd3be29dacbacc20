#pragma once
// The reference of the loader rows: what the system's imaging codec alone takes to decode a file.

#include <string>

namespace bench {

// Decoder from the file name, frame 0, 24-bit BGR copied into a fresh buffer (said when it fails).
void BareDecode(const std::string& path);

}  // namespace bench
