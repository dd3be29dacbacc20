#include "main/core/clsScreen.h"

#include "platform/forms/Form.h"
#include "platform/forms/IPrinter.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/OwnedHandles.h"
#include "platform/runtime/RuntimeError.h"

#include <mmsystem.h>

#include <limits>
#include <vector>

namespace {

constexpr int kPaletteEntries = 256;

void SetTaskbarShown(bool shown) {
    const HWND taskbar = FindWindowA("Shell_traywnd", "");
    if (!taskbar) return;
    SetWindowPos(taskbar, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE |
                     (shown ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

std::int32_t Checked32(std::int64_t value) {
    if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max()) {
        throw forms::RuntimeError(forms::err::Overflow);
    }
    return static_cast<std::int32_t>(value);
}

// A copy of the system palette, for a screen that has one of 256 colours.
forms::UniquePalette SystemPaletteCopy(HDC screen) {
    if (!(GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE) || GetDeviceCaps(screen, SIZEPALETTE) != kPaletteEntries) {
        return {};
    }
    std::vector<unsigned char> storage(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * (kPaletteEntries - 1));
    auto* palette = reinterpret_cast<LOGPALETTE*>(storage.data());
    palette->palVersion = 0x300;
    palette->palNumEntries = kPaletteEntries;
    GetSystemPaletteEntries(screen, 0, kPaletteEntries, palette->palPalEntry);
    return forms::UniquePalette(CreatePalette(palette));
}

}  // namespace

void clsScreen::HideTB() const { SetTaskbarShown(false); }

void clsScreen::ShowTB() const { SetTaskbarShown(true); }

forms::StdPicture clsScreen::CreateBitmapPicture(HBITMAP hBmp, HPALETTE hPal) const {
    return forms::StdPicture::FromBitmap(hBmp, hPal);
}

forms::StdPicture clsScreen::CaptureScreenRect(std::int64_t left, std::int64_t top, std::int32_t width,
                                               std::int32_t height) const {
    if (width < 1 || height < 1) return forms::StdPicture::Empty();
    const std::int32_t x = Checked32(left);
    const std::int32_t y = Checked32(top);
    const forms::ScopedGetDC screen(nullptr);
    if (!screen.get()) return forms::StdPicture::Empty();
    const forms::UniqueDC memory(CreateCompatibleDC(screen.get()));
    forms::UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), width, height));
    if (!memory || !bitmap) return forms::StdPicture::Empty();
    auto palette = SystemPaletteCopy(screen.get());
    {
        const forms::ScopedSelect selected(memory.get(), bitmap.get());
        HPALETTE previousPalette = nullptr;
        if (palette) {
            previousPalette = SelectPalette(memory.get(), palette.get(), FALSE);
            RealizePalette(memory.get());
        }
        const BOOL copied = BitBlt(memory.get(), 0, 0, width, height, screen.get(), x, y, SRCCOPY | CAPTUREBLT);
        if (palette) SelectPalette(memory.get(), previousPalette, FALSE);
        if (!copied) return forms::StdPicture::Empty();
    }
    return CreateBitmapPicture(bitmap.release(), palette.release());
}

forms::StdPicture clsScreen::CaptureWindow(HWND hWndSrc, bool Client, std::int32_t LeftSrc, std::int32_t TopSrc,
                                           std::int32_t WidthSrc, std::int32_t HeightSrc) const {
    if (!IsWindow(hWndSrc)) return forms::StdPicture::Empty();
    POINT origin{};
    if (Client) {
        if (!ClientToScreen(hWndSrc, &origin)) return forms::StdPicture::Empty();
    } else {
        RECT frame{};
        if (!GetWindowRect(hWndSrc, &frame)) return forms::StdPicture::Empty();
        origin = {frame.left, frame.top};
    }
    return CaptureScreenRect(std::int64_t{origin.x} + LeftSrc, std::int64_t{origin.y} + TopSrc, WidthSrc, HeightSrc);
}

forms::StdPicture clsScreen::CaptureScreen() const {
    return CaptureScreenRect(GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                             GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN));
}

forms::StdPicture clsScreen::CaptureForm(forms::Form& frmSrc) const {
    const std::int32_t width = forms::CLng(frmSrc.ScaleX(frmSrc.Width(), forms::ScaleMode::Twips, forms::ScaleMode::Pixels));
    const std::int32_t height =
        forms::CLng(frmSrc.ScaleY(frmSrc.Height(), forms::ScaleMode::Twips, forms::ScaleMode::Pixels));
    return CaptureWindow(frmSrc.hWnd(), false, 0, 0, width, height);
}

forms::StdPicture clsScreen::CaptureClient(forms::Form& frmSrc) const {
    const forms::ScaleMode mode = frmSrc.GetScaleMode();
    const std::int32_t width = forms::CLng(frmSrc.ScaleX(frmSrc.ScaleWidth(), mode, forms::ScaleMode::Pixels));
    const std::int32_t height = forms::CLng(frmSrc.ScaleY(frmSrc.ScaleHeight(), mode, forms::ScaleMode::Pixels));
    return CaptureWindow(frmSrc.hWnd(), true, 0, 0, width, height);
}

forms::StdPicture clsScreen::CaptureActiveWindow() const {
    const HWND active = GetForegroundWindow();
    RECT frame{};
    if (!active || !GetWindowRect(active, &frame)) return forms::StdPicture::Empty();
    return CaptureWindow(active, false, 0, 0, frame.right - frame.left, frame.bottom - frame.top);
}

void clsScreen::PrintPictureToFitPage(forms::IPrinter& Prn, const forms::StdPicture& Pic) const {
    const double pictureWidth = Pic.Width();
    const double pictureHeight = Pic.Height();
    if (pictureWidth <= 0 || pictureHeight <= 0) return;
    Prn.SetOrientation(pictureHeight >= pictureWidth ? forms::orientation::Portrait : forms::orientation::Landscape);
    const double pictureRatio = pictureWidth / pictureHeight;
    const forms::ScaleMode mode = Prn.GetScaleMode();
    const double pageWidth = Prn.ScaleX(Prn.ScaleWidth(), mode, forms::ScaleMode::HiMetric);
    const double pageHeight = Prn.ScaleY(Prn.ScaleHeight(), mode, forms::ScaleMode::HiMetric);
    if (pageWidth <= 0 || pageHeight <= 0) return;
    double printedWidth = pageWidth;
    double printedHeight = pageHeight;
    if (pictureRatio < pageWidth / pageHeight) {
        printedWidth = pageHeight * pictureRatio;
    } else {
        printedHeight = pageWidth / pictureRatio;
    }
    Prn.PaintPicture(Pic, 0, 0, Prn.ScaleX(static_cast<float>(printedWidth), forms::ScaleMode::HiMetric, mode),
                     Prn.ScaleY(static_cast<float>(printedHeight), forms::ScaleMode::HiMetric, mode));
}

std::string clsScreen::GetWallPaper() const {
    char windows[255] = {};
    const UINT length = GetWindowsDirectoryA(windows, sizeof windows);
    if (length == 0 || length >= sizeof windows) return {};
    char value[128] = {};
    GetPrivateProfileStringA("Desktop", "wallpaper", "", value, sizeof value,
                             (std::string(windows, length) + "\\win.ini").c_str());
    return value;
}

void clsScreen::AVIplayFullScreen(const std::string& file) const {
    // Quoted: a path with blanks is one argument of the command.
    mciSendStringA(("play \"" + file + "\" fullscreen").c_str(), nullptr, 0, nullptr);
}
