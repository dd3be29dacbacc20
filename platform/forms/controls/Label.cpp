#include "platform/forms/controls/Label.h"

#include "platform/forms/FormSite.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/RuntimeError.h"

namespace forms {

void Label::ResetFromDesign() {
    DesignedControl::ResetFromDesign();
    font_.reset();
}

void Label::CreateWindowNow() {
    created_ = true;
    if (!Control::ToolTipText().empty()) ApplyToolTip();
}

// The focus goes to the next control after the label in the tab order that can take it.
void Label::OnAccessKey() { FormSite::FocusAfter(OwnerForm(), *this); }

void Label::Repaint() {
    if (Live()) InvalidateArea(PixelRect());
}

void Label::PaintWindowless(HDC dc, const RECT& r) {
    if (state_.BackStyle == backstyle::Opaque) {
        UniqueBrush brush(CreateSolidBrush(ToColorRefOr(state_.BackColor, GetSysColor(COLOR_BTNFACE))));
        FillRect(dc, &r, brush.get());
    }
    if (state_.BorderStyle == 1) {
        RECT edge = r;
        DrawEdge(dc, &edge, BDR_SUNKENOUTER, BF_RECT);
    }
    if (!font_) font_ = state_.Font.Create();
    ScopedSelect font(dc, font_.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ToColorRefOr(state_.ForeColor, GetSysColor(COLOR_BTNTEXT)));
    UINT format = DT_WORDBREAK | DT_EDITCONTROL;
    if (state_.Alignment == alignment::Right) format |= DT_RIGHT;
    else if (state_.Alignment == alignment::Center) format |= DT_CENTER;
    if (!state_.UseMnemonic) format |= DT_NOPREFIX;
    RECT text = r;
    DrawTextA(dc, state_.Caption.c_str(), static_cast<int>(state_.Caption.size()), &text, format);
}

std::string Label::Caption() const { Touch(); return state_.Caption; }
void Label::SetCaption(const std::string& caption) {
    Touch();
    if (caption == state_.Caption) return;
    state_.Caption = caption;
    Repaint();
}

int Label::Alignment() const { Touch(); return state_.Alignment; }
void Label::SetAlignment(int value) {
    Touch();
    value = CInt(value);
    if (value < 0 || value > 2) throw RuntimeError(err::InvalidPropertyValue);
    state_.Alignment = value;
    Repaint();
}

int Label::BackStyle() const { Touch(); return state_.BackStyle; }
void Label::SetBackStyle(int value) {
    Touch();
    value = CInt(value);
    if (value < 0 || value > 1) throw RuntimeError(err::InvalidPropertyValue);
    state_.BackStyle = value;
    Repaint();
}

OleColor Label::BackColor() const { Touch(); return state_.BackColor; }
void Label::SetBackColor(OleColor value) {
    Touch();
    ToColorRef(value);
    state_.BackColor = value;
    Repaint();
}

OleColor Label::ForeColor() const { Touch(); return state_.ForeColor; }
void Label::SetForeColor(OleColor value) {
    Touch();
    ToColorRef(value);
    state_.ForeColor = value;
    Repaint();
}

const FontSpec& Label::Font() const { Touch(); return state_.Font; }
void Label::SetFont(const FontSpec& font) {
    Touch();
    state_.Font = font;
    font_.reset();
    Repaint();
}

}  // namespace forms
