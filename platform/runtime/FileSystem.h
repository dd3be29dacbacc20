#pragma once
// File-system functions of the runtime. Errors are those of FileErrors.h.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/runtime/Dates.h"

namespace forms {

// Attribute bits, as Dir and SetAttr take them.
namespace attr {
inline constexpr int Normal = 0;
inline constexpr int ReadOnly = 1;
inline constexpr int Hidden = 2;
inline constexpr int System = 4;
inline constexpr int Directory = 16;
inline constexpr int Archive = 32;
}  // namespace attr

// The name (without folder) of the first entry matching `path` (wildcards allowed; a path ending in "\" lists
// that folder), or "" when none does. Ordinary and read-only files always match; hidden and system entries only
// when `attributes` asks for Hidden or System; folders only with Directory. An empty path matches nothing.
std::string Dir(std::string_view path, int attributes = attr::Normal);

// Deletes a file, or every file matching wildcards; 53 when nothing matches.
void Kill(std::string_view path);
void MkDir(std::string_view path);
void RmDir(std::string_view path);
// ReadOnly, Hidden, System and Archive bits; 0 clears them all.
void SetAttr(std::string_view path, int attributes);
std::int64_t FileLen(std::string_view path);
// Last-modified time, local.
Date FileDateTime(std::string_view path);

}  // namespace forms
