// Where every resizable part of the window goes, and the browser-tools state applied to the controls.
#include "main/browser/DisplayGeometry.h"
#include "main/browser/frmQuillview.h"
#include "main/core/Module1.h"
#include "main/core/clsIface.h"
#include "platform/forms/Screen.h"
#include "platform/runtime/ErrorSteps.h"
#include "platform/runtime/Strings.h"

#include <algorithm>

namespace browser {

float DesignPx(float pixels) { return static_cast<float>(Nearest(pixels * 15.0 / forms::Screen().TwipsPerPixelX())); }

std::int32_t ToDesignPx(float pixels) { return Nearest(pixels * forms::Screen().TwipsPerPixelX() / 15.0); }

}  // namespace browser

namespace {

using browser::DesignPx;

// In twips, from the design: the lists' margin to the panel's right edge, and the room the file buttons' row
// needs with that margin after it.
constexpr float kPanelRightMargin = 30;
constexpr float kFileButtonsRow =
    browser::kFileButtonLeft + 3 * browser::kFileButtonStep + browser::kFileButtonWidth + kPanelRightMargin;

bool GifPath() {
    const std::string& path = Module1::gCurrentImagePath;
    return path.size() >= 3 && forms::LCase(path.substr(path.size() - 3)) == "gif";
}

}  // namespace

void frmQuillview::AddStatusPanel(const std::string& key) {
    MainWindowView::AddStatusPanel(key);
    SB1.SetPanelWidth(key, static_cast<int>(DesignPx(64)));
    if (key != "mode") return;
    SB1.SetPanelSpring(key, true);
    SB1.SetPanelFitsText(key, true);
}

void frmQuillview::SetStatusPanelWidth(const std::string& key, float width) {
    MainWindowView::SetStatusPanelWidth(key, DesignPx(width));
}

void frmQuillview::Form_Resize() {
    using forms::IgnoringErrors;
    if (!mInterface) return;
    const DeferredMoves moves(*this);
    const float sw = ScaleWidth();
    const float sh = ScaleHeight();
    const float tx = forms::Screen().TwipsPerPixelX();
    const float ty = forms::Screen().TwipsPerPixelY();
    const float two = DesignPx(2);
    // 1
    IgnoringErrors([&] {
        if (mInterface->BrowserTools() == 0 && mInterface->BrowserToolsDockMode() == 0) {
            IgnoringErrors([&] { FraFiles.SetLeft(two); });
            IgnoringErrors([&] { imgSplitter.SetLeft(FraFiles.Left() + FraFiles.Width() - two); });
            IgnoringErrors([&] { Picture1.SetLeft(FraFiles.Left() + FraFiles.Width() + DesignPx(4)); });
        } else if (mInterface->BrowserTools() == 0) {
            IgnoringErrors([&] { FraFiles.SetLeft(sw - FraFiles.Width() - two); });
            IgnoringErrors([&] { imgSplitter.SetLeft(FraFiles.Left() - DesignPx(3)); });
            IgnoringErrors([&] { Picture1.SetLeft(two); });
        } else {
            IgnoringErrors([&] { Picture1.SetLeft(two); });
        }
    });
    // 2
    IgnoringErrors([&] { Picture1.SetWidth(sw - FraFiles.Width() - VScroll1.Width() - DesignPx(8)); });
    IgnoringErrors([&] { Picture1.SetHeight(sh - HScroll1.Height() - DesignPx(70)); });
    IgnoringErrors([&] { VScroll1.SetLeft(Picture1.Left() + Picture1.Width() + DesignPx(1)); });
    IgnoringErrors([&] { VScroll1.SetTop(Picture1.Top()); });
    IgnoringErrors([&] { VScroll1.SetHeight(Picture1.Height()); });
    IgnoringErrors([&] { HScroll1.SetTop(Picture1.Top() + Picture1.Height() + DesignPx(1)); });
    IgnoringErrors([&] { HScroll1.SetLeft(Picture1.Left()); });
    IgnoringErrors([&] { HScroll1.SetWidth(Picture1.Width()); });
    // 3
    IgnoringErrors([&] { Line2(1).SetX2(Width()); });
    IgnoringErrors([&] { Line9(1).SetX2(Width()); });
    // 4
    const float fw = FraFiles.Width() * tx;
    IgnoringErrors([&] { lblBTfiles.SetWidth(fw); });
    IgnoringErrors([&] { lblBTFiles2.SetWidth(fw); });
    IgnoringErrors([&] { SoftBttn1.SetLeft(fw - SoftBttn1.Width() - 45); });
    IgnoringErrors([&] { stbBTRefresh.SetLeft(SoftBttn1.Left() - stbBTRefresh.Width() - 45); });
    IgnoringErrors([&] { sbtToggleDock.SetLeft(stbBTRefresh.Left() - sbtToggleDock.Width() - 45); });
    IgnoringErrors([&] { sbtCloseFileseek.SetLeft(SoftBttn1.Left()); });
    // The lists and the file buttons keep the design's right margin inside the panel at any width down to
    // the narrowest; the buttons shrink, in the design's proportions, where four no longer fit.
    for (forms::Control* c : std::initializer_list<forms::Control*>{&ftvDirs, &FavList, &File1, &List1, &txtSearch}) {
        IgnoringErrors([&] { c->SetWidth(std::max(fw - c->Left() - kPanelRightMargin, 0.0f)); });
    }
    IgnoringErrors([&] {
        Picture2.SetWidth(std::max(fw - Picture2.Left() - kPanelRightMargin, 0.0f));
        const float f = std::min(Picture2.Width() / kFileButtonsRow, 1.0f);
        for (int i = 0; i < 4; ++i) {
            IgnoringErrors([&] {
                Fbts(i).Move(f * (browser::kFileButtonLeft + static_cast<float>(i) * browser::kFileButtonStep), Fbts(i).Top(),
                             f * browser::kFileButtonWidth,
                             Fbts(i).Height());
            });
        }
    });
    // 5: the frame's height from before this run.
    IgnoringErrors([&] { imgSplitter.SetHeight(FraFiles.Height()); });
    IgnoringErrors([&] { picSplitter.SetHeight(FraFiles.Height()); });
    // 6
    IgnoringErrors([&] {
        const float a = Picture1.Height() * ty - lblBTfiles.Height() - Picture2.Height() - 10;
        const bool paneShown = mInterface->FileseekToggle() != 1;
        const float treeHeight = a / (paneShown ? 3 : 2);
        IgnoringErrors([&] { ftvDirs.SetHeight(treeHeight); });
        IgnoringErrors([&] { FavList.SetHeight(ftvDirs.Height()); });
        IgnoringErrors([&] { File1.SetTop(ftvDirs.Top() + ftvDirs.Height() + 70); });
        IgnoringErrors([&] { File1.SetHeight(ftvDirs.Height()); });
        IgnoringErrors([&] { Picture2.SetTop(File1.Top() + File1.Height() + 30); });
        if (!paneShown) return;
        IgnoringErrors([&] { lblBTFiles2.SetTop(Picture2.Top() + Picture2.Height() + 15); });
        const auto centre = [&](forms::Control& c) {
            IgnoringErrors([&] { c.SetTop(lblBTFiles2.Top() + (lblBTFiles2.Height() - c.Height()) / 2); });
        };
        centre(sbtCloseFileseek);
        centre(imgBrowserTools(2));
        centre(Label3);
        IgnoringErrors([&] { txtSearch.SetTop(lblBTFiles2.Top() + lblBTFiles2.Height() + 30); });
        IgnoringErrors([&] { List1.SetTop(txtSearch.Top() + txtSearch.Height() + 30); });
        IgnoringErrors([&] { List1.SetHeight(File1.Height() - 135); });
    });
    // 7
    IgnoringErrors([&] { Image2.SetVisible(sw > DesignPx(647)); });
    IgnoringErrors([&] { Image2.SetLeft(sw - Image2.Width() - DesignPx(10)); });
    IgnoringErrors([&] { FraFiles.SetHeight(sh - DesignPx(70)); });
    // 8: 32-bit ranges, so a huge picture still scrolls to its far edge.
    if (!LogoShown_ && !Tiled_) {
        IgnoringErrors([&] {
            if (Image1.Width() > Picture1.Width()) {
                IgnoringErrors([&] { HScroll1.SetMax(browser::Nearest(Image1.Width() - Picture1.Width())); });
                HScroll1.SetEnabled(true);
            } else {
                HScroll1.SetEnabled(false);
            }
        });
        IgnoringErrors([&] {
            if (Image1.Height() > Picture1.Height()) {
                IgnoringErrors([&] { VScroll1.SetMax(browser::Nearest(Image1.Height() - Picture1.Height())); });
                VScroll1.SetEnabled(true);
            } else {
                VScroll1.SetEnabled(false);
            }
        });
        // The animation is centred vertically only over a picture not shorter than the view, horizontally
        // only over a narrower one.
        const bool gif = GifPath();
        IgnoringErrors([&] {
            if (Image1.Height() < Picture1.Height()) {
                Image1.SetTop((Picture1.Height() - Image1.Height()) / 2);
            } else if (gif) {
                aniImg.SetTop((Picture1.Height() - aniImg.Height()) / 2);
            }
        });
        IgnoringErrors([&] {
            if (Image1.Width() < Picture1.Width()) {
                Image1.SetLeft((Picture1.Width() - Image1.Width()) / 2);
                if (gif) aniImg.SetLeft((Picture1.Width() - aniImg.Width()) / 2);
            }
        });
        IgnoringErrors([&] {
            if (Picture1.Height() < Image1.Height()) Image1.SetTop(0);
        });
        IgnoringErrors([&] {
            if (Picture1.Width() < Image1.Width()) Image1.SetLeft(0);
        });
    }
    // 9
    IgnoringErrors([&] { ApplyTrayIcon(); });
    if (WindowState() == 2) {
        if (!ResizeRepeated) {
            ResizeRepeated = true;
            Form_Resize();
        } else {
            ResizeRepeated = false;
        }
    }
}

void frmQuillview::mInterface_Change() {
    using forms::IgnoringErrors;
    if (!mInterface) return;
    // 1
    if (mInterface->BrowserTools() == 1) {
        IgnoringErrors([&] { mnuBrowseTools.SetChecked(false); });
        // A width of a panel already hidden is no width to come back to.
        IgnoringErrors([&] {
            if (FraFiles.Width() > 10) mInterface->SetBrowserToolsWidth(browser::ToDesignPx(FraFiles.Width()));
        });
        IgnoringErrors([&] { FraFiles.SetWidth(0); });
        IgnoringErrors([&] { imgSplitter.SetEnabled(false); });
        IgnoringErrors([&] { imgSplitter.SetVisible(false); });
        IgnoringErrors([&] { picSplitter.SetEnabled(false); });
        IgnoringErrors([&] { picSplitter.SetVisible(false); });
        IgnoringErrors([&] { mnuBTDock.SetEnabled(false); });
        IgnoringErrors([&] { mnuFileseekToggle.SetEnabled(false); });
    } else if (mInterface->BrowserTools() == 0) {
        IgnoringErrors([&] { mnuBrowseTools.SetChecked(true); });
        IgnoringErrors([&] {
            if (mInterface->BrowserToolsWidth() > 10) FraFiles.SetWidth(DesignPx(static_cast<float>(mInterface->BrowserToolsWidth())));
        });
        IgnoringErrors([&] { imgSplitter.SetEnabled(true); });
        IgnoringErrors([&] { imgSplitter.SetVisible(true); });
        IgnoringErrors([&] { picSplitter.SetEnabled(true); });
        IgnoringErrors([&] { mnuBTDock.SetEnabled(true); });
        IgnoringErrors([&] { mnuFileseekToggle.SetEnabled(true); });
    }
    // 2
    if (mInterface->BrowserToolsDockMode() == 0) {
        IgnoringErrors([&] { imgSplitter.SetLeft(FraFiles.Width() + 1); });
        IgnoringErrors([&] { mnuBTDock.SetCaption("Dock Browser Right"); });
    } else if (mInterface->BrowserToolsDockMode() == 1) {
        IgnoringErrors([&] { imgSplitter.SetLeft(FraFiles.Left() - 3); });
        IgnoringErrors([&] { mnuBTDock.SetCaption("Dock Browser Left"); });
    }
    // 3
    const bool paneShown = mInterface->FileseekToggle() != 1;
    for (forms::Control* c : std::initializer_list<forms::Control*>{&List1, &txtSearch, &sbtCloseFileseek,
                                                                    &lblBTFiles2, &Label3, &imgBrowserTools(2)}) {
        IgnoringErrors([&] { c->SetVisible(paneShown); });
    }
    IgnoringErrors([&] { mnuFileseekToggle.SetChecked(paneShown); });
    if (paneShown) IgnoringErrors([&] { txtSearch.SetFocus(); });
    // 4
    IgnoringErrors([&] { Form_Resize(); });
}
