// The window's picture states (logo, picture with a file, picture without one) and the cursor modes.
#include "main/browser/Artwork.h"
#include "main/browser/FileSelection.h"
#include "main/browser/frmQuillview.h"
#include "main/core/Addresses.h"
#include "main/core/Module1.h"
#include "main/windows/frmCap.h"
#include "main/windows/frmCrop.h"
#include "platform/runtime/Shell.h"
#include "platform/runtime/ErrorSteps.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/Strings.h"

#include <cmath>

namespace {

bool IsBitmap(const forms::StdPicture& picture) { return picture && picture.Type() == forms::PictureType::Bitmap; }

bool Blank(const std::string& text) { return text.find_first_not_of(' ') == std::string::npos; }

}  // namespace

void frmQuillview::ShowLogo() {
    using forms::IgnoringErrors;
    IgnoringErrors([&] { Picture1.SetBackColor(0); });
    IgnoringErrors([&] { Image1.SetVisible(false); });
    IgnoringErrors([&] {
        Image1.SetTop(40 * 15 / forms::Screen().TwipsPerPixelY());
        Image1.SetLeft(20 * 15 / forms::Screen().TwipsPerPixelX());
    });
    LogoShown_ = true;
    IgnoringErrors([&] {
        // The picture box shows no more of its picture than its own size: the logo gets its size.
        const forms::StdPicture logo = browser::ProgramBitmap(browser::kBitmapLogo);
        Image1.SetPicture(logo);
        const auto pixels = [](float value) { return static_cast<float>(std::lround(value)); };
        Image1.SetWidth(pixels(ScaleX(static_cast<float>(logo.Width()), forms::ScaleMode::HiMetric, forms::ScaleMode::Pixels)));
        Image1.SetHeight(pixels(ScaleY(static_cast<float>(logo.Height()), forms::ScaleMode::HiMetric, forms::ScaleMode::Pixels)));
    });
    IgnoringErrors([&] { ImageStatic(); });
    IgnoringErrors([&] { SetCaption("Quillview - Vivid Imaging"); });
    Module1::gImageSaved = true;
    IgnoringErrors([&] { mnuSave.SetEnabled(false); });
    Module1::gCurrentImagePath.clear();
    IgnoringErrors([&] { Image1.SetVisible(true); });
    IgnoringErrors([&] { VScroll1.SetEnabled(false); });
    IgnoringErrors([&] { HScroll1.SetEnabled(false); });
    Module1::gStatusPanelsReady = false;
    const forms::StatusBar::Batch panelsAtOnce(SB1);
    for (const char* key : {"size", "fname", "dimen", "date", "mode"}) IgnoringErrors([&] { SB1.RemovePanel(key); });
    IgnoringErrors([&] {
        SB1.SetPanelText("ftype", std::string("Quillview Website ") + addresses::kProductSite + " for news and updates");
    });
    CursorMode = 0;
    IgnoringErrors([&] { CurModUnchk(); });
    IgnoringErrors([&] { mnuNorm.SetChecked(true); });
    IgnoringErrors([&] { mnuWallpaper.SetEnabled(true); });
    for (forms::Menu* item : {&mnuZoom, &mnuFullscrn, &mnuZoommode, &mnuCrop}) {
        IgnoringErrors([&] { item->SetEnabled(false); });
    }
    IgnoringErrors([&] { aniImg.SetVisible(false); });
    IgnoringErrors([&] { TilePic.SetEnabled(false); });
    IgnoringErrors([&] { Toolbar(5).SetEnabled(false); });
    IgnoringErrors([&] { Toolbar(6).SetEnabled(false); });
}

void frmQuillview::CurModUnchk() {
    mnuNorm.SetChecked(false);
    mnuDrag.SetChecked(false);
    mnuZoommode.SetChecked(false);
    mnuCrop.SetChecked(false);
    Shape1.SetVisible(false);
    lblSelSize.SetVisible(false);
}

void frmQuillview::ImageSaved() {
    for (forms::Menu* item : {&mnuRename, &mnuMove, &mnuCopyFile, &mnuDel}) item->SetEnabled(true);
    for (int i = 0; i <= 3; ++i) Fbts(i).SetEnabled(true);
    mnuEditor.SetEnabled(!Blank(mnuEditors(0).Tag()));
    mnuSave.SetEnabled(true);
    mnuWallpaper.SetEnabled(IsBitmap(Image1.Picture()));
    mnuZoom.SetEnabled(true);
    mnuZoommode.SetEnabled(true);
    mnuCrop.SetEnabled(true);
}

void frmQuillview::ImageStatic() {
    for (forms::Menu* item : {&mnuRename, &mnuMove, &mnuCopyFile, &mnuDel}) item->SetEnabled(false);
    for (int i = 0; i <= 3; ++i) Fbts(i).SetEnabled(false);
    mnuEditor.SetEnabled(false);
    mnuSave.SetEnabled(true);
    mnuWallpaper.SetEnabled(IsBitmap(Image1.Picture()));
    mnuZoom.SetEnabled(true);
    mnuZoommode.SetEnabled(true);
    mnuCrop.SetEnabled(true);
    const browser::SuppressFileClick quiet;
    File1.Refresh();
}

void frmQuillview::GetCapture() {
    frmCap& cap = forms::Default<frmCap>();
    forms::StdPicture kept = cap.CapturedPicture;
    cap.Unload();
    forms::Default<frmCrop>().Unload();
    SetVisible(true);
    forms::AppActivate(Caption());
    if (!Module1::gImageSaved) {
        const int answer = AskSaveImage();
        if (answer == forms::answer::Yes) {
            mnuSave_Click();
            // A save that failed or was cancelled keeps the picture it was meant to keep.
            if (Module1::gImageSaved) Module1::ShowImage(cap.CapturedPicture);
        } else if (answer == forms::answer::No) {
            Module1::ShowImage(cap.CapturedPicture);
        }
    } else {
        Module1::ShowImage(kept);
    }
    kept = {};
    if (Image1.Picture().Handle()) {
        Toolbar(5).SetEnabled(true);
        Toolbar(6).SetEnabled(true);
        TilePic.SetEnabled(true);
    }
}

void frmQuillview::mnuNorm_Click() {
    CurModUnchk();
    mnuNorm.SetChecked(true);
    CursorMode = 0;
}

void frmQuillview::mnuCrop_Click() {
    CurModUnchk();
    mnuCrop.SetChecked(true);
    CursorMode = 1;
}

void frmQuillview::mnuZoommode_Click() {
    CurModUnchk();
    mnuZoommode.SetChecked(true);
    CursorMode = 2;
}

void frmQuillview::mnuDrag_Click() {
    CurModUnchk();
    mnuDrag.SetChecked(true);
    CursorMode = 3;
}

void frmQuillview::File1_Click() {
    if (Module1::gSuppressFileClick) return;
    // A change of picture that does not go ahead leaves no entry chosen: the entry clicked is not the picture
    // shown, and the commands that act on the list's selection must not act on it.
    const auto keepPicture = [&] { forms::IgnoringErrors([&] { browser::DeselectFile(File1); }); };
    if (!Module1::gImageSaved) {
        const int answer = AskSaveImage();
        if (answer == forms::answer::Yes) {
            mnuSave_Click();
            if (!Module1::gImageSaved) return keepPicture();
        } else if (answer == forms::answer::Cancel) {
            return keepPicture();
        }
    }
    Module1::ShowImage();
    const forms::StdPicture shown = Image1.Picture();
    if (!shown || shown.Handle() == nullptr || LogoShown_) return;
    Toolbar(5).SetEnabled(true);
    Toolbar(6).SetEnabled(true);
    TilePic.SetEnabled(true);
    const bool hasFile = !Module1::gCurrentImagePath.empty();
    for (forms::Menu* item : {&mnuRename, &mnuMove, &mnuCopyFile, &mnuDel}) item->SetEnabled(hasFile);
    for (int i = 0; i <= 3; ++i) Fbts(i).SetEnabled(hasFile);
    if (File1.Enabled() && File1.Visible()) forms::IgnoringErrors([&] { File1.SetFocus(); });
}
