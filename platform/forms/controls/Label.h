#pragma once
// A label: windowless, drawn by its container over the container's surface (so a transparent label shows
// whatever lies under it) and hit-tested by it for the mouse. The caption wraps at the label's width.
// UseMnemonic False shows every "&" as written (labels that show data: paths, tips texts).

#include "platform/forms/DesignedControl.h"
#include "platform/runtime/OwnedHandles.h"

namespace forms {

namespace alignment {
inline constexpr int Left = 0;
inline constexpr int Right = 1;
inline constexpr int Center = 2;
}  // namespace alignment

namespace backstyle {
inline constexpr int Transparent = 0;
inline constexpr int Opaque = 1;
}  // namespace backstyle

struct LabelDesign {
    std::string Caption;
    int Alignment = alignment::Left;
    int BackStyle = backstyle::Opaque;
    OleColor BackColor = color::ButtonFace;
    OleColor ForeColor = color::ButtonText;
    FontSpec Font;
    bool UseMnemonic = true;
    int BorderStyle = 0;
};

class Label : public DesignedControl<Control, LabelDesign> {
public:
    using DesignedControl::DesignedControl;

    std::string Caption() const;
    void SetCaption(const std::string& caption);
    int Alignment() const;
    void SetAlignment(int value);
    int BackStyle() const;
    void SetBackStyle(int value);
    OleColor BackColor() const;
    void SetBackColor(OleColor value);
    OleColor ForeColor() const;
    void SetForeColor(OleColor value);
    const FontSpec& Font() const;
    void SetFont(const FontSpec& font);

    void ResetFromDesign() override;
    void CreateWindowNow() override;
    void WindowGone() override { created_ = false; }
    bool Windowless() const noexcept override { return true; }
    void PaintWindowless(HDC dc, const RECT& r) override;
    char AccessKey() const override { return state_.UseMnemonic ? AccessKeyOf(state_.Caption) : 0; }
    void OnAccessKey() override;

private:
    void Repaint();
    UniqueFont font_;
};

}  // namespace forms
