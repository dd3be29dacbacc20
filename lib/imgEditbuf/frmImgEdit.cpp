#include "lib/imgEditbuf/frmImgEdit.h"

#include <memory>

#include "platform/runtime/OwnedHandles.h"

namespace imgbuf {
namespace {

std::unique_ptr<frmImgEdit>& Instance() {
    static std::unique_ptr<frmImgEdit> instance;
    return instance;
}

}  // namespace

frmImgEdit& frmImgEdit::Default() {
    auto& instance = Instance();
    if (!instance) instance = std::make_unique<frmImgEdit>();
    return *instance;
}

void frmImgEdit::Unload() noexcept {
    Instance().reset();
}

imaging::ComPtr<IPictureDisp> frmImgEdit::PaintIntoPicJPG(const cDIBSection& buffer) {
    if (buffer.Width() < 1 || buffer.Height() < 1 || !buffer.hdc()) return imaging::EmptyPicture();
    // The surface keeps the buffer's own 24-bit layout, so its image holds exactly the decoded pixels.
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = buffer.Width();
    info.bmiHeader.biHeight = buffer.Height();
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    forms::UniqueBitmap surface(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    const forms::UniqueDC dc(CreateCompatibleDC(nullptr));
    if (!surface || !dc) return imaging::EmptyPicture();
    {
        const forms::ScopedSelect selected(dc.get(), surface.get());
        buffer.PaintPicture(dc.get(), 0, 0, -1, -1, 0, 0, SRCCOPY);
        GdiFlush();
    }
    return imaging::PictureFromBitmap(std::move(surface));
}

}  // namespace imgbuf
