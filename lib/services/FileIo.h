#pragma once
// Whether a file or a folder is there. Whole files are read and written by platform/runtime/WholeFile.h.

#include <string>

namespace services {

bool FileExists(const std::string& path);  // a file, not a folder; hidden and read-only ones count
bool FolderExists(const std::string& path);

}  // namespace services
