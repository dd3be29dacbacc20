#pragma once
// Screen content as picture objects (the whole desktop, a window with or without its frame, a client area,
// the active window), and the taskbar, fit-to-page printing, the wallpaper's file name and full-screen video.
// Every capture copies the screen's own pixels over its target rectangle, so that the picture is what the
// user sees also where a window's own device context would give black (composited or occluded content).
// A capture that cannot be made is an empty picture (handle 0).

#include "platform/forms/StdPicture.h"

#include <windows.h>

#include <cstdint>
#include <string>

namespace forms {
class Form;
class IPrinter;
}  // namespace forms

class clsScreen {
public:
    void HideTB() const;
    void ShowTB() const;
    // The picture owns both handles and frees them with its last reference.
    forms::StdPicture CreateBitmapPicture(HBITMAP hBmp, HPALETTE hPal) const;
    // WidthSrc x HeightSrc pixels from (LeftSrc, TopSrc) of the window's client area (Client) or of the
    // whole window.
    forms::StdPicture CaptureWindow(HWND hWndSrc, bool Client, std::int32_t LeftSrc, std::int32_t TopSrc,
                                    std::int32_t WidthSrc, std::int32_t HeightSrc) const;
    // The whole desktop: every monitor.
    forms::StdPicture CaptureScreen() const;
    forms::StdPicture CaptureForm(forms::Form& frmSrc) const;
    forms::StdPicture CaptureClient(forms::Form& frmSrc) const;
    forms::StdPicture CaptureActiveWindow() const;
    // Paints the picture at (0, 0) as large as the printable area allows, in the orientation that suits it;
    // starting and ending the job is the caller's. A picture without size prints nothing.
    void PrintPictureToFitPage(forms::IPrinter& Prn, const forms::StdPicture& Pic) const;
    // The wallpaper entry of the Windows folder's win.ini ("" when there is none).
    std::string GetWallPaper() const;
    void AVIplayFullScreen(const std::string& file) const;

private:
    forms::StdPicture CaptureScreenRect(std::int64_t left, std::int64_t top, std::int32_t width,
                                        std::int32_t height) const;
};
