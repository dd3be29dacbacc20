#include "main/browser/FileSelection.h"

#include "main/browser/frmQuillview.h"
#include "main/core/Module1.h"

namespace browser {

SuppressFileClick::SuppressFileClick() noexcept : previous_(Module1::gSuppressFileClick) {
    Module1::gSuppressFileClick = true;
}

SuppressFileClick::~SuppressFileClick() { Module1::gSuppressFileClick = previous_; }

void DeselectFile(forms::FileListBox& list) {
    const SuppressFileClick suppress;
    // Every selection: the file commands act on each selected entry, not on the current one alone.
    for (int i = 0; i < list.ListCount(); ++i) {
        if (list.Selected(i)) list.SetSelected(i, false);
    }
    list.SetListIndex(-1);
}

void EnableFileCommands(frmQuillview& window, bool enabled) {
    for (forms::Menu* item : {&window.mnuDel, &window.mnuRename, &window.mnuMove, &window.mnuCopyFile}) {
        item->SetEnabled(enabled);
    }
    for (int i = 0; i <= 3; ++i) window.Fbts(i).SetEnabled(enabled);
}

}  // namespace browser
