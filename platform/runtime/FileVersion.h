#pragma once
// The fixed part of a file's VERSIONINFO resource: its file and product version words.

#include <windows.h>

#include <optional>
#include <string>

namespace forms {

// Nothing when the file has no version resource or it cannot be read.
std::optional<VS_FIXEDFILEINFO> FixedFileVersion(const std::string& path);

}  // namespace forms
