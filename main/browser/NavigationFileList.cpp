// The file list's mouse, the file buttons beside it and the window's keys.
#include "main/browser/frmQuillview.h"
#include "main/core/Module1.h"
#include "platform/runtime/ErrorSteps.h"

void frmQuillview::File1_MouseDown(int, int, float, float) { txtSearch.SetText("Enter search here"); }

void frmQuillview::File1_MouseUp(int Button, int, float, float) {
    mnuProp.SetEnabled(!Module1::gCurrentImagePath.empty() && Module1::gImageSaved);
    if (Button != forms::button::Right) return;
    mnuProp.SetVisible(true);
    lin857.SetVisible(true);
    // Only ever visible inside this popup, also when the chosen command fails.
    struct HideAfter {
        frmQuillview& w;
        ~HideAfter() {
            forms::IgnoringErrors([&] { w.mnuProp.SetVisible(false); });
            forms::IgnoringErrors([&] { w.lin857.SetVisible(false); });
        }
    } hide{*this};
    PopupMenu(mnuFT);
}

void frmQuillview::Fbts_Click(int Index) {
    Fbts(Index).ResetLook(0);
    switch (Index) {
    case 0: mnuDel_Click(); break;
    case 1: mnuCopyFile_Click(); break;
    case 2: mnuMove_Click(); break;
    case 3: mnuRename_Click(); break;
    default: break;
    }
    if (Module1::gCurrentImagePath.empty()) {
        for (int i = 0; i <= 3; ++i) Fbts(i).SetEnabled(false);
    }
}

void frmQuillview::Form_KeyDown(int& KeyCode, int) {
    using forms::IgnoringErrors;
    const forms::Control* active = ActiveControl();
    // Delete, Home and the arrows edit the text of a text box: the Fileseek box never deletes a file.
    if (dynamic_cast<const forms::TextBox*>(active) != nullptr) return;
    const bool inFileList = active != nullptr && active->Name() == "File1";
    switch (KeyCode) {
    case VK_DELETE:
        if (!Module1::gCurrentImagePath.empty()) IgnoringErrors([&] { mnuDel_Click(); });
        break;
    case VK_HOME: IgnoringErrors([&] { Toolbar_Click(2); }); break;
    case VK_LEFT:
        if (!inFileList) IgnoringErrors([&] { Toolbar_Click(0); });
        break;
    case VK_RIGHT:
        if (!inFileList) IgnoringErrors([&] { Toolbar_Click(1); });
        break;
    default: break;
    }
}
