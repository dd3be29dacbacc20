#pragma once
// Whole-file reads and writes of the library's small text files, failing as the runtime's file errors
// (53 file not found, 76 path not found, 75 path/file access error, 70 permission denied).

#include <string>

namespace services {

std::string ReadWholeFile(const std::string& path);
// Replaces the file's contents (creates it when missing).
void WriteWholeFile(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);  // a file, not a folder; hidden and read-only ones count
bool FolderExists(const std::string& path);

}  // namespace services
