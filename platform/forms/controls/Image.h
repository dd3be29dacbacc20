#pragma once
// An image control: windowless, drawn by its container. Its picture is shared by reference (the same
// picture object as the one assigned). Without Stretch the control takes the picture's natural size in
// its container's units; with Stretch the picture fills the control.

#include "platform/forms/DesignedControl.h"
#include "platform/forms/StdPicture.h"

namespace forms {

struct ImageDesign {
    StdPicture Picture;
    bool Stretch = false;
    int BorderStyle = 0;
};

class Image : public DesignedControl<Control, ImageDesign> {
public:
    using DesignedControl::DesignedControl;

    StdPicture Picture() const;
    void SetPicture(const StdPicture& picture);
    bool Stretch() const;
    void SetStretch(bool on);

    void CreateWindowNow() override;
    void WindowGone() override { created_ = false; }
    bool Windowless() const noexcept override { return true; }
    void PaintWindowless(HDC dc, const RECT& r) override;

private:
    void FitToPicture();
};

}  // namespace forms
