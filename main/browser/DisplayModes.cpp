// Actual Size, Best Fit and tiling of the picture in the view.
#include "main/browser/Artwork.h"
#include "main/browser/DisplayGeometry.h"
#include "main/browser/frmQuillview.h"
#include "main/core/Module1.h"
#include "platform/forms/Screen.h"
#include "platform/runtime/ErrorSteps.h"
#include "platform/runtime/Strings.h"

#include <windows.h>

namespace {

// Shrinks or stretches a bitmap into the box's drawing with HALFTONE: the default mode drops whole rows and
// columns, which darkens and aliases photos. Other kinds of picture go through the box's own drawing.
void StretchInto(forms::PictureBox& box, const forms::StdPicture& picture, int width, int height, int sourceWidth,
                 int sourceHeight) {
    if (picture.Type() != forms::PictureType::Bitmap) {
        box.PaintPicture(picture, 0, 0, static_cast<float>(width), static_cast<float>(height), 0, 0,
                         static_cast<float>(sourceWidth), static_cast<float>(sourceHeight), SRCCOPY);
        return;
    }
    const HDC target = box.hDC();
    const HDC source = CreateCompatibleDC(target);
    const HGDIOBJ old = SelectObject(source, static_cast<HBITMAP>(picture.Handle()));
    SetStretchBltMode(target, HALFTONE);
    SetBrushOrgEx(target, 0, 0, nullptr);
    StretchBlt(target, 0, 0, width, height, source, 0, 0, sourceWidth, sourceHeight, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
    box.Refresh();
}

FILETIME LastWrite(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return {};
    return data.ftLastWriteTime;
}

// The screen's hourglass for a scope: a load that fails still gives the pointer back.
class Hourglass {
public:
    Hourglass() { forms::Screen().SetMousePointer(forms::pointer::Hourglass); }
    ~Hourglass() { forms::Screen().SetMousePointer(forms::pointer::Default); }
    Hourglass(const Hourglass&) = delete;
    Hourglass& operator=(const Hourglass&) = delete;
};

}  // namespace

void frmQuillview::DisplayImage() {
    SetMousePointer(forms::pointer::Default);
    if (Tiled_) {
        TileImage(false);
    } else if (DisplayMode_ == 101) {
        ActualSizeImage();
    } else if (DisplayMode_ == 102) {
        BestFitImage();
    }
}

void frmQuillview::ActualSizeImage() {
    const auto w = static_cast<float>(Module1::gImageWidth);
    const auto h = static_cast<float>(Module1::gImageHeight);
    Image1.SetVisible(false);
    Image1.Cls();
    Image1.Move(0, 0, w, h);
    Image1.PaintPicture(Image1.Picture(), 0, 0, w, h, 0, 0, w, h);
    // Centred on the inner size, scrolled on the outer one.
    if (Image1.Height() < Picture1.ScaleHeight()) Image1.SetTop((Picture1.ScaleHeight() - Image1.Height()) / 2);
    if (Image1.Width() < Picture1.ScaleWidth()) Image1.SetLeft((Picture1.ScaleWidth() - Image1.Width()) / 2);
    if (Image1.Height() > Picture1.Height()) {
        VScroll1.SetMax(browser::Nearest(Image1.Height() - Picture1.Height()));
        VScroll1.SetValue(0);
        VScroll1.SetEnabled(true);
    } else {
        VScroll1.SetEnabled(false);
    }
    if (Image1.Width() > Picture1.Width()) {
        HScroll1.SetMax(browser::Nearest(Image1.Width() - Picture1.Width()));
        HScroll1.SetEnabled(true);
        HScroll1.SetValue(0);
    } else {
        HScroll1.SetEnabled(false);
    }
    Shape1.SetVisible(false);
    lblSelSize.SetVisible(false);
    GifHandOver();
}

void frmQuillview::BestFitImage() {
    using forms::IgnoringErrors;
    const browser::Fit fit = browser::BestFit(Image1.Width(), Image1.Height(), Picture1.Width(), Picture1.Height(),
                                              Picture1.ScaleWidth(), Picture1.ScaleHeight());
    if (!fit.scaled) {
        IgnoringErrors([&] { Image1.SetVisible(true); });
    } else {
        // The box takes the fitted size before the picture is stretched into it, so that its surface is made
        // at that size and not at the photo's.
        const int naturalWidth = browser::Nearest(Image1.Width()), naturalHeight = browser::Nearest(Image1.Height());
        IgnoringErrors([&] { Image1.SetWidth(static_cast<float>(fit.width)); });
        IgnoringErrors([&] { Image1.SetHeight(static_cast<float>(fit.height)); });
        IgnoringErrors([&] {
            StretchInto(Image1, Image1.Picture(), fit.width, fit.height, naturalWidth, naturalHeight);
        });
        IgnoringErrors([&] { Image1.SetTop(fit.top); });
        IgnoringErrors([&] { Image1.SetLeft(fit.left); });
    }
    IgnoringErrors([&] { GifHandOver(); });
    IgnoringErrors([&] { HScroll1.SetEnabled(false); });
    IgnoringErrors([&] { VScroll1.SetEnabled(false); });
}

bool frmQuillview::GifAnimated() const {
    const std::string& path = Module1::gCurrentImagePath;
    if (path.size() < 3 || forms::LCase(path.substr(path.size() - 3)) != "gif") return false;
    return Module1::gGif87a == 0 || (Module1::gGif87a == 1 && Module1::gAnimateGif87a);
}

void frmQuillview::GifHandOver() {
    if (!GifAnimated()) {
        Image1.SetVisible(true);
        aniImg.SetVisible(false);
        aniImg.Stop();
        return;
    }
    const std::string& path = Module1::gCurrentImagePath;
    const FILETIME written = LastWrite(path);
    const auto placeOverPicture = [&] {
        aniImg.SetHeight(Image1.Height());
        aniImg.SetWidth(Image1.Width());
        aniImg.SetLeft(Image1.Left());
        aniImg.SetTop(Image1.Top());
    };
    // A file rewritten under the same name is another animation.
    if (path != AnimatedGifPath || CompareFileTime(&written, &animatedGifWritten_) != 0) {
        aniImg.SetText("");
        aniImg.SetAutoSize(false);
        placeOverPicture();
        aniImg.SetVisible(false);
        aniImg.SetBackColor(Picture1.BackColor());
        aniImg.Clear();
        {
            const Hourglass waiting;
            aniImg.Load(path);
            Image1.SetVisible(false);
        }
        AnimatedGifPath = path;
        animatedGifWritten_ = written;
        aniImg.SetVisible(true);
    } else {
        Image1.SetVisible(false);
        aniImg.SetAutoSize(false);
        placeOverPicture();
        aniImg.SetVisible(true);
    }
    aniImg.Play();
}

void frmQuillview::TileImage(bool untile) {
    using forms::IgnoringErrors;
    if (untile) {
        IgnoringErrors([&] { Picture1.Cls(); });
        if (DisplayMode_ == 101) {
            IgnoringErrors([&] { ActualSizeImage(); });
            IgnoringErrors([&] { ShowDisplayMode(101, false); });
        } else if (DisplayMode_ == 102) {
            IgnoringErrors([&] { BestFitImage(); });
            IgnoringErrors([&] { ShowDisplayMode(102, false); });
        }
        Tiled_ = false;
        return;
    }
    IgnoringErrors([&] { Picture1.Cls(); });
    IgnoringErrors([&] { Image1.SetVisible(false); });
    IgnoringErrors([&] { aniImg.SetVisible(false); });
    IgnoringErrors([&] { Picture1.Tile(Image1); });
    IgnoringErrors([&] { Picture1.Refresh(); });
    Tiled_ = true;
    IgnoringErrors([&] { VScroll1.SetEnabled(false); });
    IgnoringErrors([&] { HScroll1.SetEnabled(false); });
}

void frmQuillview::TilePic_Click() {
    if (!Tiled_) {
        Tiled_ = true;
        forms::IgnoringErrors([&] {
            TilePic.SetPicture(browser::ProgramIcon(DisplayMode_ == 101 ? browser::kIconActualSize : browser::kIconBestFit));
        });
        TileImage(false);
        ShowDisplayMode(101, true);
    } else {
        Tiled_ = false;
        forms::IgnoringErrors([&] { TilePic.SetPicture(browser::ProgramIcon(browser::kIconTile)); });
        TileImage(true);
    }
}

void frmQuillview::ShowDisplayMode(std::int32_t mode, bool tiled) {
    if (!tiled) {
        forms::IgnoringErrors([&] { SB1.SetPanelText("mode", mode == 101 ? "Mode: Actual Size" : "Mode: Best Fit"); });
        mnuZoom.SetEnabled(true);
        mnuZoommode.SetEnabled(true);
        mnuBackCol.SetEnabled(true);
        mnuCrop.SetEnabled(true);
    } else {
        forms::IgnoringErrors([&] { SB1.SetPanelText("mode", "Mode: Tile"); });
        mnuBackCol.SetEnabled(false);
        mnuZoom.SetEnabled(false);
        mnuZoommode.SetEnabled(false);
        mnuCrop.SetEnabled(false);
    }
}
