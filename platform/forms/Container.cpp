#include "platform/forms/Container.h"

#include "platform/forms/Control.h"
#include "platform/forms/Dib.h"
#include "platform/forms/EventErrorBoundary.h"
#include "platform/forms/WindowedControl.h"

#include "platform/runtime/OwnedHandles.h"

#include <algorithm>
#include <windowsx.h>

namespace forms {

void Container::AddChild(Control& child) { children_.push_back(&child); }

void Container::RemoveChild(Control& child) {
    std::erase(children_, &child);
    if (pressed_ == &child) pressed_ = nullptr;
}

void Container::Restack(Control& child, bool front) {
    std::erase(children_, &child);
    if (front) children_.push_back(&child);
    else children_.insert(children_.begin(), &child);
}

bool Container::PaintsIn(const Control& c, const RECT& area) {
    if (!c.Windowless() || !c.Visible()) return false;
    const RECT painted = c.PaintArea();
    RECT overlap{};
    return IntersectRect(&overlap, &painted, &area) != FALSE;
}

void Container::PaintWindowless(HDC dc, const RECT& area) {
    const auto children = children_;
    for (Control* c : children) {
        if (PaintsIn(*c, area)) c->PaintWindowless(dc, c->PixelRect());
    }
}

bool Container::WindowlessIn(const RECT& area) const {
    return std::any_of(children_.begin(), children_.end(), [&](const Control* c) { return PaintsIn(*c, area); });
}

Control* Container::WindowlessAt(POINT pt) const {
    for (auto it = children_.rbegin(); it != children_.rend(); ++it) {
        Control* c = *it;
        if (!c->Windowless() || !c->Visible() || !c->Enabled()) continue;
        if (c->HitTest(pt)) return c;
    }
    return nullptr;
}

void Container::PaintOffscreen(HDC dc, const RECT& area, const std::function<void(HDC)>& paint) {
    const int width = area.right - area.left, height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return;
    UniqueDC memory(CreateCompatibleDC(dc));
    UniqueBitmap bitmap = MakeDib(dc, {width, height});
    if (!memory || !bitmap) {  // no memory for the copy: paint straight on, flicker and all
        paint(dc);
        return;
    }
    {
        ScopedSelect select(memory.get(), bitmap.get());
        SetWindowOrgEx(memory.get(), area.left, area.top, nullptr);  // the painters draw in client pixels
        paint(memory.get());
        SetWindowOrgEx(memory.get(), 0, 0, nullptr);
        BitBlt(dc, area.left, area.top, width, height, memory.get(), 0, 0, SRCCOPY);
    }
}

bool Container::IsMouseMessage(UINT msg) noexcept {
    switch (msg) {
    case WM_MOUSEMOVE: case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
    case WM_LBUTTONUP: case WM_RBUTTONUP: case WM_MBUTTONUP:
    case WM_LBUTTONDBLCLK: case WM_RBUTTONDBLCLK: case WM_MBUTTONDBLCLK:
        return true;
    default: return false;
    }
}

bool Container::RouteMouse(UINT msg, WPARAM wParam, LPARAM lParam) {
    return RouteMouse(msg, wParam, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
}

bool Container::RouteMouse(UINT msg, WPARAM wParam, POINT pt) {
    const bool down = msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN ||
                      msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDBLCLK;
    const bool up = msg == WM_LBUTTONUP || msg == WM_RBUTTONUP || msg == WM_MBUTTONUP;
    if (!down && !up && msg != WM_MOUSEMOVE) return false;

    Control* target = pressed_ ? pressed_ : WindowlessAt(pt);
    if (!target) return false;
    const HWND window = ClientWindow();
    if (down && !pressed_) {
        pressed_ = target;
        SetCapture(window);
    }
    const RECT r = target->PixelRect();
    const POINT local{pt.x - r.left, pt.y - r.top};
    Guarded([&] { target->RaiseMouse(msg, wParam, local); });
    if (up && pressed_ == target && (wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == 0) {
        pressed_ = nullptr;
        if (GetCapture() == window) ReleaseCapture();
        // A left press released over the same control is its Click.
        const RECT now = target->PixelRect();
        if (msg == WM_LBUTTONUP && PtInRect(&now, pt)) Guarded([&] { target->RaiseClick(); });
    }
    return true;
}

bool Container::Reflect(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    HWND child = nullptr;
    switch (msg) {
    case WM_COMMAND: child = reinterpret_cast<HWND>(lParam); break;
    case WM_CTLCOLORBTN: case WM_CTLCOLORSTATIC: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX:
    case WM_HSCROLL: case WM_VSCROLL:
        child = reinterpret_cast<HWND>(lParam);
        break;
    case WM_DRAWITEM: child = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hwndItem; break;
    case WM_NOTIFY: child = reinterpret_cast<const NMHDR*>(lParam)->hwndFrom; break;
    default: return false;
    }
    if (!child) return false;
    WindowedControl* control = WindowedControl::FromHwnd(child);
    return control && control->OnReflect(msg, wParam, lParam, result);
}

}  // namespace forms
