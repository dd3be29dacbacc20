#pragma once
// A push button (BUTTON). Default: Enter in the form clicks it; Cancel: Esc clicks it.

#include "platform/forms/DesignedControl.h"
#include "platform/forms/StdPicture.h"

namespace forms {

struct CommandButtonDesign {
    std::string Caption;  // "&" marks the access letter
    bool Default = false;
    bool Cancel = false;
    int Style = 0;  // 1: graphical, showing Picture
    StdPicture Picture;
    OleColor BackColor = color::ButtonFace;
    OleColor ForeColor = color::ButtonText;
    FontSpec Font;
};

class CommandButton : public CaptionedControl<CommandButtonDesign> {
public:
    using CaptionedControl::CaptionedControl;

    bool Default() const;
    void SetDefault(bool on);
    bool Cancel() const;
    void SetCancel(bool on);
    StdPicture Picture() const;
    // Shown when Style is graphical (bitmaps and icons).
    void SetPicture(const StdPicture& picture);
    // Setting True clicks the button.
    void SetValue(bool on);

    bool HandlesDialogKey(int key, HWND target) override;

protected:
    const char* WindowClass() const override { return "BUTTON"; }
    DWORD WindowStyle() const override;
    void OnCommand(WORD code) override;
    void AfterCreate() override { ShowPicture(); }

private:
    void ShowPicture();
};

}  // namespace forms
