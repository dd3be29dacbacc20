#pragma once
// What the file and folder commands share: the chosen files as full paths, whole-name tests on them, the
// one report of a failed operation, and the window's own setting reads.

#include <string>
#include <vector>

class frmQuillview;

namespace forms {
class FileListBox;
}

namespace browser {

// "<folder>\<entry>" for every selected entry of the list, in list order.
std::vector<std::string> SelectedPaths(const forms::FileListBox& list, const std::string& folder);
// The paths as the file service takes several: separated by single NULs, none at the end.
std::string JoinWithNul(const std::vector<std::string>& paths);
// Whether one of the paths names that file: the whole name after the last "\", letter case ignored. An
// empty name is in no list.
bool NamesFile(const std::vector<std::string>& paths, const std::string& fileName);

// Deletions go to the recycle bin unless the user turned that off (Options\recyc "0").
bool RecycleDeletions();

// After the file service returned False: one message naming what failed and why, unless the user cancelled
// (then the service has no reason to give).
void ReportFileFailure(const std::string& what);

// The file shown has a path and the path is still there.
bool ShownFileExists();

}  // namespace browser
