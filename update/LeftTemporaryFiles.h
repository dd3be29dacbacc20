#pragma once
// Temporary files of a run that died: the names this program makes with GetTempFileNameA (a prefix of its
// own, up to four hexadecimal digits, ".tmp") that no running copy holds open.

#include <string>

namespace update {

// Removes, in `folder`, each file named by `prefix` that can be opened for exclusive access; a file a running
// copy holds open, or anyone else's name, stays.
void RemoveLeftTemporaryFiles(const std::string& folder, const char* prefix);

// Whether `name` (a file name without its folder) is one GetTempFileNameA makes with `prefix`.
bool IsTemporaryName(const std::string& name, const char* prefix);

}  // namespace update
