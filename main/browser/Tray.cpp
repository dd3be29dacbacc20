// The tray icon's events and its menu's own commands. Nothing here acts while a secondary window is shown.
#include "main/browser/frmQuillview.h"
#include "main/core/Module1.h"
#include "main/windows/frmAbout.h"
#include "platform/runtime/ErrorSteps.h"
#include "platform/runtime/MsgBox.h"

void frmQuillview::ShowHideCaption() {
    mnuShowQV.SetCaption(WindowState() == forms::windowstate::Minimized ? "Show Quillview" : "Hide Quillview");
}

void frmQuillview::morwen_MouseUp(int& Button) {
    using forms::IgnoringErrors;
    if (Module1::DialogOpen() || Button != 2) return;
    ShowHideCaption();
    IgnoringErrors([&] { mnuCopyImg.SetEnabled(mnuCopy.Enabled()); });
    // The Go submenu holds exactly the imaging sites as they are now.
    IgnoringErrors([&] {
        const int last = mnuImgWebs.UBound();
        for (int i = mnuImgWebs.LBound(); i <= last; ++i) {
            IgnoringErrors([&] {
                if (!mnuImgWebs2.Exists(i)) mnuImgWebs2.Load(i);
                mnuImgWebs2(i).SetCaption(mnuImgWebs(i).Caption());
                mnuImgWebs2(i).SetTag(mnuImgWebs(i).Tag());
            });
        }
        for (const int i : mnuImgWebs2.Indexes()) {
            if (i > last) IgnoringErrors([&] { mnuImgWebs2.Unload(i); });
        }
    });
    IgnoringErrors([&] {
        if (mnuImgWebs2(0).Caption().empty()) mnuImgWebs2(0).SetCaption("Update...");
    });
    IgnoringErrors([&] { PopupMenu(mnuMorwen, 0, {}, {}, &mnuShowQV); });
}

void frmQuillview::morwen_DblClick(int) {
    ShowHideCaption();
    mnuCopyImg.SetEnabled(mnuCopy.Enabled());
    mnuShowQV_Click();
}

void frmQuillview::mnuAboutQV_Click() {
    mnuShowQV_Click();
    forms::Default<frmAbout>().Show(forms::ShowMode::Modal, this);
}

void frmQuillview::mnuCloseQV_Click() {
    if (forms::MsgBox("Exit Quillview?", forms::mb::YesNo) != forms::answer::Yes) return;
    // The icon leaves with the shutdown once it goes ahead: a close refused at the save question keeps it, so
    // the window can still be brought back.
    mnuExit_Click();
}
