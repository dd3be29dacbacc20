// The Edit menu's clipboard commands and the tray's Copy Image.
#include "main/browser/frmQuillview.h"
#include "main/core/Module1.h"
#include "platform/forms/Clipboard.h"
#include "platform/runtime/MsgBox.h"

void frmQuillview::mnuEdit_Click() {
    mnuEditor.SetEnabled(!Module1::gCurrentImagePath.empty() && !mnuEditors(0).Tag().empty());
    bool picture = false;
    for (const int format : {forms::clipformat::Bitmap, forms::clipformat::Dib, forms::clipformat::EnhMetafile,
                             forms::clipformat::Metafile}) {
        if (forms::Clipboard::GetFormat(format)) {
            picture = true;
            break;
        }
    }
    mnuPaste.SetEnabled(picture);
}

void frmQuillview::mnuPaste_Click() {
    bool paste = true;
    if (!Module1::gImageSaved) {
        const int answer = AskSaveImage();
        if (answer == forms::answer::Cancel) return;
        // Yes saves the picture shown and pastes nothing: a second Paste is needed.
        if (answer == forms::answer::Yes) {
            mnuSave_Click();
            paste = false;
        }
    }
    if (paste) Module1::ShowImage(forms::Clipboard::GetData());
    const forms::StdPicture shown = Image1.Picture();
    if (shown && shown.Handle() != nullptr) {
        Toolbar(5).SetEnabled(true);
        Toolbar(6).SetEnabled(true);
    }
}

void frmQuillview::mnuClear_Click() { forms::Clipboard::Clear(); }

void frmQuillview::mnuCopyImg_Click() {
    forms::Clipboard::Clear();
    forms::Clipboard::SetData(Image1.Picture());
}
