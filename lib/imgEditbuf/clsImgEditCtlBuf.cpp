#include "lib/imgEditbuf/clsImgEditCtlBuf.h"

#include <new>

#include "lib/imgEditbuf/Messages.h"
#include "lib/imgEditbuf/SaveJpeg.h"
#include "lib/imgEditbuf/cDIBSection.h"
#include "lib/imgEditbuf/frmImgEdit.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/imaging/PictureDecoder.h"

namespace imgbuf {

imaging::ComPtr<IPictureDisp> clsImgEditCtlBuf::LoadImage(const std::string& path) {
    imaging::ImgEdit& control = frmImgEdit::Default().ImgEdit1();
    control.SetImage(path);
    // Errors ignored, step by step: a file that does not display leaves nothing to copy.
    try {
        control.Display();
    } catch (const forms::RuntimeError&) {
    } catch (const std::bad_alloc&) {
    }
    try {
        return control.CopyImage(0, 0, control.ImageWidth(), control.ImageHeight());
    } catch (const forms::RuntimeError&) {
    } catch (const std::bad_alloc&) {
    }
    try {
        return imaging::EmptyPicture();
    } catch (const forms::RuntimeError&) {
        return {};
    }
}

imaging::ComPtr<IPictureDisp> clsImgEditCtlBuf::LoadOtherImage(const std::string& path) {
    const imaging::PictureDecoder decoder;
    return decoder.LoadPicture(path);
}

void clsImgEditCtlBuf::SavetoTIFF(IPictureDisp* picture, const std::string& path, const std::string& filename) {
    imaging::ImgEdit& control = frmImgEdit::Default().ImgEdit1();
    control.Paste(picture);
    control.Display();
    control.SaveAs(path + "\\" + filename);
}

bool clsImgEditCtlBuf::SaveToJpeg(const std::string& pathFileName, IPictureDisp* picture, std::int32_t quality) {
    // A picture over a 24-bit DIB section is encoded from its own rows; only other bitmaps are copied first.
    if (const std::optional<BitmapBits> own = DibSectionBits(picture)) {
        return !pathFileName.empty() && SaveJPG(*own, pathFileName, quality);
    }
    cDIBSection buffer;
    buffer.CreateFromPicture(picture);
    if (pathFileName.empty()) return false;
    if (!buffer.DIBSectionBitsPtr()) {
        ShowMessage("Failed to save to JPG", MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    return SaveJPG(buffer, pathFileName, quality);
}

imaging::ComPtr<IPictureDisp> clsImgEditCtlBuf::LoadJPGFile(const std::string& fqPath, bool& fail) {
    cDIBSection buffer;
    fail = !LoadJPG(buffer, fqPath);
    imaging::ComPtr<IPictureDisp> picture = frmImgEdit::Default().PaintIntoPicJPG(buffer);
    frmImgEdit::Unload();
    return picture;
}

}  // namespace imgbuf
