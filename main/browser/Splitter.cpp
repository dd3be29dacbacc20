// The splitter between the browser-tools panel and the picture: a drag bar follows the pointer within the
// width limits, and the release gives the panel its new width.
#include "main/browser/frmQuillview.h"
#include "main/core/clsIface.h"
#include "platform/forms/Screen.h"
#include "platform/runtime/OleColor.h"

void frmQuillview::imgSplitter_MouseDown(int, int, float X, float) {
    lblBTfiles.SetBackColor(forms::color::ActiveCaption);
    picSplitter.Move(imgSplitter.Left(), FraFiles.Top(), browser::DesignPx(3), FraFiles.Height());
    picSplitter.SetVisible(true);
    SplitterDragging = true;
    splitterMoved_ = false;
    splitterOnEdge_ = false;
    splitterPressX_ = imgSplitter.Left() + X / forms::Screen().TwipsPerPixelX();
}

void frmQuillview::imgSplitter_MouseMove(int, int, float X, float) {
    if (!SplitterDragging) return;
    const float x = imgSplitter.Left() + X / forms::Screen().TwipsPerPixelX();
    if (x == imgSplitter.Left()) {
        SplitterAtLimit = true;
        splitterOnEdge_ = true;
        return;
    }
    SplitterAtLimit = false;
    splitterOnEdge_ = false;
    const float sw = ScaleWidth();
    const float least = browser::DesignPx(150);
    const float most = sw / 100 * 90;
    const auto limit = [&](float left, std::int32_t kind) {
        imgSplitter.SetLeft(left);
        SplitterAtLimit = true;
        SplitterLimitKind = kind;
        splitterMoved_ = true;
    };
    if (mInterface->BrowserToolsDockMode() == 0) {
        if (x < least) {
            limit(least, 1);
        } else if (most < x) {
            limit(most - 1, 0);
        }
    } else {
        const float fromRight = sw - x;
        if (fromRight < least) {
            limit(sw - least, 1);
        } else if (most < fromRight) {
            limit(sw - most, 0);
        }
    }
    if (!SplitterAtLimit) {
        picSplitter.SetLeft(x);
        // The window reports a move where the button went down too; that is no move of the bar.
        if (x != splitterPressX_) splitterMoved_ = true;
    }
}

void frmQuillview::imgSplitter_MouseUp(int, int, float, float) {
    const float sw = ScaleWidth();
    const float least = browser::DesignPx(150);
    const float most = sw / 100 * 90;
    const bool dockedLeft = mInterface->BrowserToolsDockMode() == 0;
    // A release on the splitter's own edge keeps the bar where it was drawn last.
    if (SplitterAtLimit && !splitterOnEdge_) {
        if (dockedLeft) {
            picSplitter.SetLeft(SplitterLimitKind == 1 ? least : most);
        } else {
            picSplitter.SetLeft(SplitterLimitKind == 1 ? sw - least : sw - most);
        }
    }
    SplitterAtLimit = false;
    splitterOnEdge_ = false;
    // A click with no move leaves the panel as it was: the bar starts on the splitter, not on the panel's edge.
    if (splitterMoved_) {
        const float offset = browser::DesignPx(4);
        FraFiles.SetWidth(dockedLeft ? picSplitter.Left() - offset : sw - (picSplitter.Left() + offset));
        imgSplitter.SetLeft(picSplitter.Left());
    }
    splitterMoved_ = false;
    picSplitter.SetVisible(false);
    SplitterDragging = false;
    File1.SetFocus();
    Form_Resize();
}
