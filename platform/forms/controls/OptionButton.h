#pragma once
// An option button (BUTTON). The option buttons of one container form a group: setting Value True (by the
// user or by code) clears the one that was set and runs Click; setting it False only clears it.

#include "platform/forms/DesignedControl.h"

namespace forms {

struct OptionButtonDesign {
    std::string Caption;
    bool Value = false;
    OleColor BackColor = color::ButtonFace;
    OleColor ForeColor = color::ButtonText;
    FontSpec Font;
};

class OptionButton : public CaptionedControl<OptionButtonDesign> {
public:
    using CaptionedControl::CaptionedControl;

    bool Value() const;
    void SetValue(bool on);

protected:
    const char* WindowClass() const override { return "BUTTON"; }
    // A caption longer than the button wraps onto the lines its height leaves.
    DWORD WindowStyle() const override { return WS_TABSTOP | BS_RADIOBUTTON | BS_MULTILINE; }
    void AfterCreate() override;
    void LoadedWithoutWindow() override;
    void OnCommand(WORD code) override;

private:
    void Show(bool on);
    void ClearPartners();
};

}  // namespace forms
