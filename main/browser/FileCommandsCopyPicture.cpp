// Edit > Copy: the picture, or the part the crop rectangle marks, onto the clipboard.
#include "main/browser/frmQuillview.h"
#include "main/windows/frmCrop.h"
#include "platform/forms/Clipboard.h"
#include "platform/runtime/Conversions.h"

#include <windows.h>

void frmQuillview::mnuCopy_Click() {
    // A rectangle one unit high or wide is a click, not a selection.
    if (Shape1.Visible() && Shape1.Height() > 1 && Shape1.Width() > 1) {
        // The crop window's picture box is the scratch surface the part is cut out on.
        auto& crop = forms::Default<frmCrop>();
        crop.Picture1.SetWidth(Shape1.Width());
        crop.Picture1.SetHeight(Shape1.Height());
        BitBlt(crop.Picture1.hDC(), 0, 0, forms::CLng(Shape1.Width()), forms::CLng(Shape1.Height()), Image1.hDC(),
               forms::CLng(Shape1.Left()), forms::CLng(Shape1.Top()), SRCCOPY);
        forms::Clipboard::Clear();
        forms::Clipboard::SetData(crop.Picture1.Image());
        crop.Unload();
        return;
    }
    forms::Clipboard::Clear();
    forms::Clipboard::SetData(Image1.Picture());
}
