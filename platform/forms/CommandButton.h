#pragma once
// A push button (BUTTON). Default: Enter in the form clicks it; Cancel: Esc clicks it.

#include "platform/forms/DesignedControl.h"

namespace forms {

struct CommandButtonDesign {
    std::string Caption;  // "&" marks the access letter
    bool Default = false;
    bool Cancel = false;
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
    // Setting True clicks the button.
    void SetValue(bool on);

    bool HandlesDialogKey(int key, HWND target) override;

protected:
    const char* WindowClass() const override { return "BUTTON"; }
    DWORD WindowStyle() const override;
    void OnCommand(WORD code) override;
};

}  // namespace forms
