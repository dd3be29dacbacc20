#pragma once
// Windows paths as the suite builds them: a folder and a name are joined with "\" unless the folder is a drive
// root ("C:\"), which already ends in one.

#include <string>
#include <string_view>

namespace forms {

// "C:\" (three characters, ending in "\").
bool IsDriveRoot(std::string_view folder);
// The root a path lives on: "C:\a\b" -> "C:\", "C:" -> "C:\", "\\server\share\a" -> "\\server\share\".
// A path with neither a drive letter nor a share has no root ("").
std::string RootOf(std::string_view path);
// The path is a drive or share root itself (a trailing "\" or not).
bool IsRootFolder(std::string_view path);
std::string JoinPath(std::string_view folder, std::string_view name);
// The folder of a file path without a trailing "\", except at a drive root: "C:\a\b.exe" -> "C:\a",
// "C:\b.exe" -> "C:\". A path without "\" has no folder ("").
std::string FolderOf(std::string_view path);
// What follows the last "\" (or ":"); and that name without its last extension.
std::string FileNameOf(std::string_view path);
std::string BaseNameOf(std::string_view path);

}  // namespace forms
