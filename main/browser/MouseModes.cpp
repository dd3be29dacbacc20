// The picture area's mouse: the crop rectangle, dragging the picture, the View menu on a right-button
// release and the full-screen viewer on a double click.
#include "main/browser/DisplayGeometry.h"
#include "main/browser/frmQuillview.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/ErrorSteps.h"

namespace {

constexpr int kCrop = 1;
constexpr int kZoom = 2;
constexpr int kDrag = 3;

// One axis of a drag: the bar moves against the pointer's distance from the press point, by that distance
// over the divisor. A step out of the bar's range is refused, not clamped.
void DragStep(forms::ScrollBar& bar, float at, float pressedAt, std::int16_t divisor) {
    if (!bar.Enabled()) return;
    if (at >= pressedAt) {
        bar.SetValue(bar.Value() - forms::IntDiv(browser::Nearest(at - pressedAt), divisor));
    } else {
        bar.SetValue(bar.Value() + forms::IntDiv(browser::Nearest(pressedAt - at), divisor));
    }
}

}  // namespace

void frmQuillview::Image1_MouseDown(int Button, int, float X, float Y) {
    if (LogoShown_ || Button == forms::button::Right) return;
    if (CursorMode == kCrop) {
        MouseDownX = X;
        MouseDownY = Y;
        Shape1.SetVisible(false);
        lblSelSize.SetVisible(false);
        Shape1.SetTop(Y);
        Shape1.SetLeft(X);
        Shape1.SetWidth(1);
        Shape1.SetHeight(1);
    } else if (CursorMode == kDrag) {
        MouseDownX = X;
        MouseDownY = Y;
    }
}

void frmQuillview::Image1_MouseMove(int Button, int, float X, float Y) {
    using forms::IgnoringErrors;
    if (Button != forms::button::Left) return;
    if (CursorMode == kDrag) {
        IgnoringErrors([&] { DragStep(VScroll1, Y, MouseDownY, DragDivisor); });
        IgnoringErrors([&] { DragStep(HScroll1, X, MouseDownX, DragDivisor); });
        IgnoringErrors([&] { Image1.Refresh(); });
        return;
    }
    if (CursorMode != kCrop) return;
    IgnoringErrors([&] { Shape1.SetVisible(true); });
    // Dragged back past the press point, the rectangle keeps its last size (a negative size is refused).
    IgnoringErrors([&] {
        if (X < Image1.Width()) {
            Shape1.SetWidth(X - MouseDownX);
        } else if (X > Image1.Width()) {
            Shape1.SetWidth(Image1.Width() - Shape1.Left());
        }
    });
    IgnoringErrors([&] {
        const float right = Shape1.Left() + Shape1.Width();
        if (HScroll1.Value() < HScroll1.Max() && Image1.Width() > Picture1.Width() && right > Picture1.Width()) {
            HScroll1.SetValue(HScroll1.Value() + forms::IntDiv(browser::Nearest(right - Picture1.Width()), 10));
        }
    });
    IgnoringErrors([&] {
        if (Y < Image1.Height()) {
            Shape1.SetHeight(Y - MouseDownY);
        } else if (Y > Image1.Height()) {
            Shape1.SetHeight(Image1.Height() - Shape1.Top());
        }
    });
    IgnoringErrors([&] {
        const float bottom = Shape1.Top() + Shape1.Height();
        if (VScroll1.Value() < VScroll1.Max() && Image1.Height() > Picture1.Height() && bottom > Picture1.Height()) {
            VScroll1.SetValue(VScroll1.Value() + forms::IntDiv(browser::Nearest(bottom - Picture1.Height()), 10));
        }
    });
    IgnoringErrors([&] {
        lblSelSize.SetCaption(forms::NumberText(Shape1.Width()) + "x" + forms::NumberText(Shape1.Height()));
    });
    IgnoringErrors([&] {
        lblSelSize.Move(Shape1.Left() + Shape1.Width() + 9, Shape1.Top() + Shape1.Height() + 9, lblSelSize.Width(),
                        lblSelSize.Height());
    });
    IgnoringErrors([&] { lblSelSize.SetVisible(true); });
}

void frmQuillview::Image1_MouseUp(int Button, int, float, float) {
    if (CursorMode == kZoom || LogoShown_ || !mnuStatus.Enabled() || Button != forms::button::Right) return;
    PopupMenu(mnuView);
}

void frmQuillview::aniImg_MouseUp(int Button, int Shift, float X, float Y) { Image1_MouseUp(Button, Shift, X, Y); }

void frmQuillview::Image1_DblClick() {
    if (!mnuStatus.Enabled()) return;
    // The same viewer as View > Full Screen: modal and without an owner, so it covers the screen on its own.
    mnuFullscrn_Click();
}
