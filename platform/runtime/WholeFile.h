#pragma once
// Whole-file reads, failing with the runtime's file errors (FileErrors.h). Whole files are written through
// ReplaceWholeFile (ReplacingFile.h), which leaves the old file as it was when a write fails.

#include <cstdint>
#include <string>
#include <vector>

namespace forms {

// A file larger than maxBytes fails with 7 (out of memory) before anything is allocated for it.
inline constexpr std::uint64_t WholeFileLimit = std::uint64_t{1} << 30;

std::vector<std::uint8_t> ReadWholeFileBytes(const std::string& path, std::uint64_t maxBytes = WholeFileLimit);
std::string ReadWholeFile(const std::string& path, std::uint64_t maxBytes = WholeFileLimit);

}  // namespace forms
