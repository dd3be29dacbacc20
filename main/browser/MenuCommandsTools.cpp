// Handing the picture or the installation's files to other programs: external editors, the wallpaper, the
// shell's properties sheet and the readme.
#include "main/browser/MenuCommands.h"
#include "main/browser/frmQuillview.h"
#include "main/core/Module1.h"
#include "lib/services/Client.h"
#include "platform/runtime/FileSystem.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/OwnedHandles.h"
#include "platform/runtime/Paths.h"
#include "platform/runtime/Shell.h"
#include "platform/runtime/UserPaths.h"

#include <algorithm>

namespace {

// The desktop takes bitmap files only: a metafile or an icon is drawn, on white, into a 24-bit bitmap of the
// picture's size on the screen.
forms::StdPicture AsBitmap(const forms::StdPicture& picture) {
    if (picture.Type() == forms::PictureType::Bitmap) return picture;
    const forms::ScopedGetDC screen(nullptr);
    const int width = std::max(1, MulDiv(picture.Width(), GetDeviceCaps(screen.get(), LOGPIXELSX), 2540));
    const int height = std::max(1, MulDiv(picture.Height(), GetDeviceCaps(screen.get(), LOGPIXELSY), 2540));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    forms::UniqueBitmap bitmap(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    const forms::UniqueDC surface(CreateCompatibleDC(screen.get()));
    if (!bitmap || !surface) throw forms::RuntimeError(forms::err::OutOfMemory);
    {
        const forms::ScopedSelect drawing(surface.get(), bitmap.get());
        if (!drawing.Selected()) throw forms::RuntimeError(forms::err::OutOfMemory);
        const RECT all{0, 0, width, height};
        FillRect(surface.get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        picture.Render(surface.get(), 0, 0, width, height);
        GdiFlush();
    }
    return forms::StdPicture::FromBitmap(bitmap.release());
}

}  // namespace

void frmQuillview::mnuEditors_Click(int Index) {
    const std::string editor = mnuEditors(Index).Tag();
    if (!browser::IsFile(editor)) {
        forms::MsgBox("Cannot launch " + editor, forms::mb::Critical, "File not Found!");
        return;
    }
    // Both quoted: an editor under "Program Files" is that program, and the picture reaches it whole.
    forms::Shell("\"" + editor + "\" \"" + Module1::gCurrentImagePath + "\"", forms::shell_style::NormalFocus);
}

void frmQuillview::SetWallpaper(const char* tile) {
    const std::string file = forms::UserFileToWrite("QVWallpaper.bmp");
    forms::SavePicture(AsBitmap(Image1.Picture()), file);
    Module1::gShell().SetDesktopImage(file, tile);
}

void frmQuillview::mnuCenter_Click() { SetWallpaper("0"); }

void frmQuillview::mnuTileImage_Click() { SetWallpaper("1"); }

void frmQuillview::mnuProp_Click() { Module1::gShell().ShowProperties(Module1::gCurrentImagePath, hWnd()); }

void frmQuillview::mnuReadme_Click() {
    const std::string folder = forms::ProgramFolder();
    if (!browser::IsFile(forms::JoinPath(folder, "Readme.txt"))) {
        forms::MsgBox("The Readme file (Readme.txt) was not found!", forms::mb::Exclamation, "File not found");
        return;
    }
    Module1::gShell().RunFile("Readme.txt", folder + "\\", 1);
}
