#pragma once
// The library's hidden workplace, one per process, made on first use: the imaging edit control and the
// drawing surface whose persistent image LoadJPGFile hands out. It has no window: nothing of it is shown.

#include "lib/imgEditbuf/cDIBSection.h"
#include "platform/imaging/ImgEdit.h"
#include "platform/imaging/Picture.h"

namespace imgbuf {

class frmImgEdit {
public:
    static frmImgEdit& Default();
    // Drops the default instance (the next Default() makes a new one).
    static void Unload() noexcept;

    imaging::ImgEdit& ImgEdit1() noexcept { return imgEdit_; }
    // picJPG sized to the buffer with the whole buffer painted in; its persistent image as a new picture
    // (an empty picture for a 0 x 0 buffer).
    imaging::ComPtr<IPictureDisp> PaintIntoPicJPG(const cDIBSection& buffer);

private:
    imaging::ImgEdit imgEdit_;
};

}  // namespace imgbuf
