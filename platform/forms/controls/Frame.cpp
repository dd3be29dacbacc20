#include "platform/forms/controls/Frame.h"

#include "platform/runtime/RuntimeError.h"

namespace forms {

DWORD Frame::WindowStyle() const {
    return WS_CLIPCHILDREN | (state_.BorderStyle ? BS_GROUPBOX : SS_LEFT);
}

bool Frame::Colors(COLORREF& back, COLORREF& fore) const {
    back = ToColorRefOr(state_.BackColor, GetSysColor(COLOR_BTNFACE));
    fore = ToColorRefOr(state_.ForeColor, GetSysColor(COLOR_BTNTEXT));
    return true;
}

std::string Frame::Caption() const { Touch(); return state_.Caption; }
void Frame::SetCaption(const std::string& caption) {
    Touch();
    state_.Caption = caption;
    if (state_.BorderStyle) SetWindowTextNow(caption);
    if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

OleColor Frame::BackColor() const { Touch(); return state_.BackColor; }
void Frame::SetBackColor(OleColor value) {
    Touch();
    ToColorRef(value);
    state_.BackColor = value;
    if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

bool Frame::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (Reflect(msg, wParam, lParam, result)) return true;
    if (IsMouseMessage(msg) && RouteMouse(msg, wParam, lParam)) {
        result = 0;
        return true;
    }
    switch (msg) {
    case WM_ERASEBKGND: {
        RECT rc{};
        GetClientRect(hwnd_, &rc);
        UniqueBrush brush(CreateSolidBrush(ToColorRefOr(state_.BackColor, GetSysColor(COLOR_BTNFACE))));
        FillRect(reinterpret_cast<HDC>(wParam), &rc, brush.get());
        result = 1;
        return true;
    }
    case WM_PAINT: {
        // The window's own drawing (border, caption), then the windowless children over it.
        result = CallDefault(msg, wParam, lParam);
        ScopedGetDC dc(hwnd_);
        RECT rc{};
        GetClientRect(hwnd_, &rc);
        Container::PaintWindowless(dc.get(), rc);
        return true;
    }
    case WM_NCHITTEST:
        // A group box is transparent to the mouse; a frame is not.
        result = HTCLIENT;
        return true;
    default: return false;
    }
}

}  // namespace forms
