#pragma once
// A frame: a container window (a group box with its caption, or a plain panel without a border) whose
// children are placed in twips whatever the form's scale.

#include "platform/forms/Container.h"
#include "platform/forms/DesignedControl.h"

namespace forms {

struct FrameDesign {
    std::string Caption;
    int BorderStyle = 1;  // 0: none
    OleColor BackColor = color::ButtonFace;
    OleColor ForeColor = color::ButtonText;
    FontSpec Font;
};

class Frame : public DesignedControl<WindowedControl, FrameDesign>, public Container {
public:
    using DesignedControl::DesignedControl;

    std::string Caption() const;
    void SetCaption(const std::string& caption);
    OleColor BackColor() const;
    void SetBackColor(OleColor value);


    bool KeepsStateWithoutWindow() const override { return true; }

    // Container
    Form& OwnerForm() override { return Control::OwnerForm(); }
    HWND ClientWindow() const override { return hwnd_; }
    ScaleMode ChildScale() const override { return ScaleMode::Twips; }

protected:
    const char* WindowClass() const override { return state_.BorderStyle ? "BUTTON" : "STATIC"; }
    DWORD WindowStyle() const override;
    std::string InitialText() const override { return state_.BorderStyle ? state_.Caption : std::string(); }
    const FontSpec* Font() const override { return &state_.Font; }
    bool Colors(COLORREF& back, COLORREF& fore) const override;
    bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
};

}  // namespace forms
