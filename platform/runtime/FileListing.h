#pragma once
// What the folder and file lists show, without a window: the checked path of a list, the files of a folder
// that match a pattern, and its subfolders, in one order.
//
// Listed are entries that are neither hidden nor system (any other attribute is listed, as Dir does).
// Patterns are ";"-separated, with "*" and "?", matched against the long name without regard to case and
// never against 8.3 aliases; an empty pattern lists nothing. The order is that of CompareStringOrdinal with
// case ignored: the file system's own, independent of the user's locale.

#include <string>
#include <string_view>
#include <vector>

namespace forms {

// A folder as a list keeps it: as given (letter case kept, "." and ".." resolved), without a trailing "\"
// except at a root ("C:\"). A drive text ("c:" or "c: [LABEL]", as the drive list shows it) stands for that
// drive's last folder (DriveFolders.h); if that folder has gone, its nearest existing ancestor.
// A drive that is not ready or does not exist raises 68, a missing folder 76.
std::string CheckedListFolder(std::string_view given);

// Whether a name matches one of the pattern's wildcards (the lists' own test).
bool MatchesPattern(std::string_view name, std::string_view pattern);

// One enumeration of the folder; 76 when it cannot be read.
std::vector<std::string> ListFiles(const std::string& folder, std::string_view pattern);
std::vector<std::string> ListSubfolders(const std::string& folder);

// While one is held on this thread, a folder is read from disk once: the entries of the last folder read are
// kept and both its files and its subfolders are listed from them, each once; listing a kind again reads the
// disk again, so a refresh sees what the handlers changed. A folder list holds one across a change of its
// path, whose handlers list the same folder's files; the copy goes with the outermost holder, so nothing
// listed after the change is older than the change.
class ListingSnapshot {
public:
    ListingSnapshot() noexcept;
    ~ListingSnapshot();
    ListingSnapshot(const ListingSnapshot&) = delete;
    ListingSnapshot& operator=(const ListingSnapshot&) = delete;
};

}  // namespace forms
