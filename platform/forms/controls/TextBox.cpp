#include "platform/forms/controls/TextBox.h"

#include "platform/forms/EventErrorBoundary.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/RuntimeError.h"

namespace forms {

DWORD TextBox::WindowStyle() const {
    DWORD style = WS_TABSTOP;
    if (state_.MultiLine) {
        style |= ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL;
        if (state_.ScrollBars & scrollbars::Horizontal) style |= WS_HSCROLL | ES_AUTOHSCROLL;
        if (state_.ScrollBars & scrollbars::Vertical) style |= WS_VSCROLL;
    } else {
        style |= ES_AUTOHSCROLL;
    }
    if (state_.Locked) style |= ES_READONLY;
    if (state_.Alignment == 1) style |= ES_RIGHT;
    else if (state_.Alignment == 2) style |= ES_CENTER;
    if (state_.BorderStyle) style |= AppearanceStyle(state_.Appearance);
    return style;
}

void TextBox::AfterCreate() {
    if (state_.MaxLength > 0) SendMessageA(hwnd_, EM_SETLIMITTEXT, static_cast<WPARAM>(state_.MaxLength), 0);
}

bool TextBox::Colors(COLORREF& back, COLORREF& fore) const {
    back = ToColorRefOr(state_.BackColor, GetSysColor(COLOR_WINDOW));
    fore = ToColorRefOr(state_.ForeColor, GetSysColor(COLOR_WINDOWTEXT));
    return true;
}

std::string TextBox::Text() const {
    Touch();
    return hwnd_ ? WindowTextNow() : state_.Text;
}

void TextBox::SetText(const std::string& text) {
    Touch();
    if (text == Text()) return;
    state_.Text = text;
    ++settingText_;
    SetWindowTextNow(text);
    --settingText_;
    if (Change) Change();
}

void TextBox::OnCommand(WORD code) {
    if (code == EN_CHANGE && !settingText_) {
        state_.Text = WindowTextNow();
        if (Change) Guarded([this] { Change(); });
    }
}

int TextBox::SelStart() const {
    NeedWindow();
    DWORD start = 0, end = 0;
    SendMessageA(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(start);
}

void TextBox::SetSelStart(int start) {
    NeedWindow();
    if (start < 0) throw RuntimeError(err::InvalidPropertyValue);
    // Moving the start clears the selection.
    SendMessageA(hwnd_, EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(start));
    SendMessageA(hwnd_, EM_SCROLLCARET, 0, 0);
}

int TextBox::SelLength() const {
    NeedWindow();
    DWORD start = 0, end = 0;
    SendMessageA(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(end - start);
}

void TextBox::SetSelLength(int length) {
    NeedWindow();
    if (length < 0) throw RuntimeError(err::InvalidPropertyValue);
    const int start = SelStart();
    SendMessageA(hwnd_, EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(start + length));
}

std::string TextBox::SelText() const {
    const std::string text = Text();
    const auto start = std::min<size_t>(static_cast<size_t>(SelStart()), text.size());
    return text.substr(start, static_cast<size_t>(SelLength()));
}

bool TextBox::Locked() const { Touch(); return state_.Locked; }
void TextBox::SetLocked(bool on) {
    Touch();
    state_.Locked = on;
    if (hwnd_) SendMessageA(hwnd_, EM_SETREADONLY, on, 0);
}

OleColor TextBox::BackColor() const { Touch(); return state_.BackColor; }
void TextBox::SetBackColor(OleColor value) {
    Touch();
    ToColorRef(value);
    state_.BackColor = value;
    if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

int TextBox::Appearance() const { Touch(); return state_.Appearance; }
void TextBox::SetAppearance(int value) {
    Touch();
    state_.Appearance = CheckedAppearance(CInt(value));
    if (state_.BorderStyle) ApplyAppearance(hwnd_, state_.Appearance);
}

}  // namespace forms
