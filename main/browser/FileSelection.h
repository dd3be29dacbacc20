#pragma once
// Helpers the window's command groups share around the file list: a change of the list made by the program
// that must not load a picture, and the enabled state of the commands that act on the chosen file.

#include <string>

class frmQuillview;

namespace forms {
class FileListBox;
}

namespace browser {

// While held, the file list's Click does nothing (the program, not the user, changes the list). The flag
// goes back to what it was, so a nested hold and an early exit leave it right.
class SuppressFileClick {
public:
    SuppressFileClick() noexcept;
    ~SuppressFileClick();
    SuppressFileClick(const SuppressFileClick&) = delete;
    SuppressFileClick& operator=(const SuppressFileClick&) = delete;

private:
    bool previous_;
};

// The list has no current entry and no selection afterwards (ListIndex is -1), without loading anything.
void DeselectFile(forms::FileListBox& list);

// Delete, Rename, Move and Copy File in the File menu and the four file buttons beside the list.
void EnableFileCommands(frmQuillview& window, bool enabled);

}  // namespace browser
