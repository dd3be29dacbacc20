#pragma once
// The last folder shown on each drive, kept by the runtime for the folder lists. The process's own table of
// per-drive directories moves only with its current directory, which the runtime never changes, so it would
// send a list back to a drive's root or to where the program started; this table follows what the user saw.

#include <string>
#include <string_view>

namespace forms {

// The folder last remembered on the drive of `letter` (either case), seeded from the system
// (GetFullPathNameA("X:")) on first use.
std::string DriveFolder(char letter);
// Remembers a folder ("X:\..." form; other paths are ignored) as its drive's last folder.
void RememberDriveFolder(std::string_view folder);

}  // namespace forms
