#pragma once
// A check box (BUTTON). Value 0 unchecked, 1 checked, 2 grey; Click runs on every change of Value, by the
// user or by code.

#include "platform/forms/DesignedControl.h"

namespace forms {

struct CheckBoxDesign {
    std::string Caption;
    int Value = 0;
    OleColor BackColor = color::ButtonFace;
    OleColor ForeColor = color::ButtonText;
    FontSpec Font;
};

class CheckBox : public CaptionedControl<CheckBoxDesign> {
public:
    using CaptionedControl::CaptionedControl;

    int Value() const;
    // 0..2, else error 380; Click when the value changes.
    void SetValue(int value);

protected:
    const char* WindowClass() const override { return "BUTTON"; }
    // A caption longer than the box wraps onto the lines its height leaves.
    DWORD WindowStyle() const override { return WS_TABSTOP | BS_3STATE | BS_MULTILINE; }
    void AfterCreate() override;
    void OnCommand(WORD code) override;
};

}  // namespace forms
