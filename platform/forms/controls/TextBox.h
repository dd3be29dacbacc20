#pragma once
// A text box (EDIT): single or multi-line, read-only when Locked. Change runs on every change of Text, by
// the user or by code (code: only when the text differs).

#include "platform/forms/DesignedControl.h"
#include "platform/forms/controls/Appearance.h"

namespace forms {

namespace scrollbars {
inline constexpr int None = 0;
inline constexpr int Horizontal = 1;
inline constexpr int Vertical = 2;
inline constexpr int Both = 3;
}  // namespace scrollbars

struct TextBoxDesign {
    std::string Text;
    bool MultiLine = false;
    int ScrollBars = scrollbars::None;
    bool Locked = false;
    int MaxLength = 0;  // 0: no limit
    int Alignment = 0;
    int BorderStyle = 1;
    int Appearance = appearance::ThreeD;  // the kind of border, when it has one
    OleColor BackColor = color::Window;
    OleColor ForeColor = color::WindowText;
    FontSpec Font;
};

class TextBox : public DesignedControl<WindowedControl, TextBoxDesign> {
public:
    using DesignedControl::DesignedControl;

    std::string Text() const;
    void SetText(const std::string& text);
    int SelStart() const;
    void SetSelStart(int start);
    int SelLength() const;
    void SetSelLength(int length);
    std::string SelText() const;
    bool Locked() const;
    void SetLocked(bool on);
    OleColor BackColor() const;
    void SetBackColor(OleColor value);
    int Appearance() const;
    // 0 flat, 1 3-D; switched in place. Other values raise 380.
    void SetAppearance(int value);

    std::function<void()> Change;

    bool MouseMakesClicks() const override { return true; }
    // The text and styles are kept here; the selection is the window's, which a read of it makes.
    bool KeepsStateWithoutWindow() const override { return true; }

protected:
    const char* WindowClass() const override { return "EDIT"; }
    DWORD WindowStyle() const override;
    DWORD WindowExStyle() const override { return state_.BorderStyle ? AppearanceExStyle(state_.Appearance) : 0; }
    std::string InitialText() const override { return state_.Text; }
    const FontSpec* Font() const override { return &state_.Font; }
    bool Colors(COLORREF& back, COLORREF& fore) const override;
    void AfterCreate() override;
    void OnCommand(WORD code) override;

private:
    int settingText_ = 0;
};

}  // namespace forms
