// The view's scroll bars: they move whatever shows the picture, and never keep the keyboard focus.
#include "main/browser/frmQuillview.h"
#include "platform/runtime/ErrorSteps.h"

void frmQuillview::HScroll1_Change() {
    forms::Control& shown = GifAnimated() ? static_cast<forms::Control&>(aniImg) : Image1;
    shown.SetLeft(-static_cast<float>(HScroll1.Value()));
}

void frmQuillview::HScroll1_Scroll() { HScroll1_Change(); }

void frmQuillview::VScroll1_Change() {
    forms::Control& shown = GifAnimated() ? static_cast<forms::Control&>(aniImg) : Image1;
    shown.SetTop(-static_cast<float>(VScroll1.Value()));
}

void frmQuillview::VScroll1_Scroll() { VScroll1_Change(); }

// A bar that kept the focus would take the arrow keys and blink its thumb in the view's corner.
void frmQuillview::HScroll1_GotFocus() {
    forms::IgnoringErrors([&] { Picture1.SetFocus(); });
}

void frmQuillview::VScroll1_GotFocus() {
    forms::IgnoringErrors([&] { Picture1.SetFocus(); });
}
