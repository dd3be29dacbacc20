// Showing the selected file: decoding, fitting to the screen, the scroll bars and the keys.

#include "main/windows/frmFullscn.h"

#include "lib/imgEditbuf/Client.h"
#include "main/core/MainWindowView.h"
#include "main/core/Module1.h"
#include "main/core/PictureDecoders.h"
#include "platform/forms/PictureFiles.h"

#include "platform/forms/Screen.h"
#include "platform/forms/StdPicture.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/Paths.h"
#include "platform/runtime/RuntimeError.h"

#include <cmath>

namespace fullscn {

AxisFit FitAxis(float imageSize, float screenSize) {
    AxisFit fit;
    const float area = screenSize - 200;
    // Taken before the area grows: a hidden bar keeps it, and the keys leave hidden bars alone.
    fit.barMax = static_cast<std::int32_t>(imageSize - area);
    if (imageSize < screenSize) {
        fit.imagePos = (screenSize - imageSize) / 2;
        fit.areaSize = screenSize;
    } else if (imageSize == screenSize) {
        fit.areaSize = screenSize;
    } else {
        fit.areaSize = area;
        fit.barVisible = true;
    }
    return fit;
}

}  // namespace fullscn

namespace {

// A picture's size in twips, in the whole pixels it is drawn with: back from its HiMetric size a picture of
// the screen's size comes out a fraction of a twip larger, and would get a bar and lose a strip.
float WholePixels(float twips, float twipsPerPixel) { return std::round(twips / twipsPerPixel) * twipsPerPixel; }

forms::StdPicture Decode(const std::string& path) {
    using Module1::PictureDecoder;
    switch (Module1::DecoderFor(path)) {
    case PictureDecoder::System:
    case PictureDecoder::Gif:
        return Module1::LoadSystemPicture(path);
    case PictureDecoder::Jpeg:
        return Module1::LoadJpegPicture(path);
    case PictureDecoder::Pcx:
        return forms::StdPicture::FromObject(Module1::NewImgEditCtlBuf().LoadImage(path).Get());
    case PictureDecoder::OtherFormats:
        return forms::StdPicture::FromObject(Module1::NewImgEditCtlBuf().LoadOtherImage(path).Get());
    case PictureDecoder::None:
        break;
    }
    // The old picture is never shown under a new name.
    return forms::StdPicture::Empty();
}

}  // namespace

void frmFullscn::File1_Click() {
    if (Module1::gSuppressFileClick) return;
    try {
        Module1::gStartedFullScreen = false;
        forms::Screen().SetMousePointer(forms::pointer::Hourglass);
        Image1.SetVisible(false);
        Picture1.Move(0, 0, Picture1.Width(), Picture1.Height());
        Image1.Move(0, 0, Image1.Width(), Image1.Height());
        Picture1.SetVisible(false);
        // A new pattern re-reads the list, which loses the selection: the chosen name is kept across it.
        const std::string fileName = File1.FileName();
        const std::string pattern = Module1::MainWindow().FileList().Pattern();
        if (File1.Pattern() != pattern) {
            Module1::gSuppressFileClick = true;
            struct Done {
                ~Done() { Module1::gSuppressFileClick = false; }
            } done;
            File1.SetPattern(pattern);
            for (int i = 0; i < File1.ListCount(); ++i)
                if (File1.List(i) == fileName) File1.SetListIndex(i);
        }
        UpdateCounters();
        const std::string path = forms::JoinPath(Dir1.Path(), fileName);
        Image1.SetPicture(Decode(path));
        Label1.SetCaption(path);
        FitPicture();
        forms::Screen().SetMousePointer(forms::pointer::Default);
        Picture1.SetVisible(true);
        Image1.SetVisible(true);
    } catch (...) {
        // Whatever failed, the viewer does not stay with the hourglass over a hidden picture.
        forms::MsgBox("Error!", forms::mb::OkOnly, "Quillview Error");
        Unload();
        forms::Screen().SetMousePointer(forms::pointer::Default);
    }
}

void frmFullscn::FitPicture() {
    const float sw = ScreenTwipsWidth();
    const float sh = ScreenTwipsHeight();
    const fullscn::AxisFit x = fullscn::FitAxis(WholePixels(Image1.Width(), forms::Screen().TwipsPerPixelX()), sw);
    const fullscn::AxisFit y = fullscn::FitAxis(WholePixels(Image1.Height(), forms::Screen().TwipsPerPixelY()), sh);
    // Each picture starts at the top left corner of its range.
    HScroll1.SetValue(0);
    VScroll1.SetValue(0);
    HScroll1.SetMax(x.barMax);
    VScroll1.SetMax(y.barMax);
    HScroll1.Move(0, sh - 200, sw - 200, 200);
    VScroll1.Move(sw - 200, 0, 200, sh - 200);
    Picture1.Move(Picture1.Left(), Picture1.Top(), x.areaSize, y.areaSize);
    Image1.Move(x.imagePos, y.imagePos, Image1.Width(), Image1.Height());
    HScroll1.SetVisible(x.barVisible);
    VScroll1.SetVisible(y.barVisible);
}

void frmFullscn::Form_KeyDown(int& KeyCode, int /*Shift*/) {
    // A step past either end is refused by the bar and the value stays; a hidden bar takes no key, so a
    // centred picture stays centred.
    const auto step = [](forms::ScrollBar& bar, int by) {
        if (!bar.Visible()) return;
        try {
            bar.SetValue(static_cast<double>(bar.Value()) + by);
        } catch (const forms::RuntimeError&) {
        }
    };
    switch (KeyCode) {
    case VK_ESCAPE:
        Unload();
        return;
    case VK_UP:
        step(VScroll1, -100);
        break;
    case VK_DOWN:
        step(VScroll1, 100);
        break;
    case VK_LEFT:
        step(HScroll1, -100);
        break;
    case VK_RIGHT:
        step(HScroll1, 100);
        break;
    default:
        break;
    }
}
