#include "platform/forms/Control.h"

#include "platform/forms/Container.h"
#include "platform/forms/FormSite.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/forms/Screen.h"

namespace forms {

Control::Control(Container& parent, std::string name, Extent at, Common common, int index)
    : parent_(parent), name_(std::move(name)), index_(index), designAt_(at), designCommon_(std::move(common)),
      at_(designAt_), common_(designCommon_) {
    parent_.AddChild(*this);
    FormSite::Register(parent_.OwnerForm(), *this);
}

Control::~Control() {
    if (created_) InvalidateArea(PixelRect());  // a windowless control leaves its place to what lies under it
    FormSite::Unregister(parent_.OwnerForm(), *this);
    parent_.RemoveChild(*this);
}

Form& Control::OwnerForm() const noexcept { return parent_.OwnerForm(); }

void Control::Touch() const { FormSite::EnsureLoaded(OwnerForm()); }
void Control::NeedWindow() const {
    Touch();
    FormSite::CreateControlWindows(OwnerForm());
    if (!created_) FormSite::CreateWaitingWindow(OwnerForm(), *this);
}
bool Control::Live() const { return created_; }

void Control::ResetFromDesign() {
    at_ = designAt_;
    common_ = designCommon_;
}

float Control::Left() const { Touch(); return at_.Left; }
float Control::Top() const { Touch(); return at_.Top; }
float Control::Width() const { Touch(); return at_.Width; }
float Control::Height() const { Touch(); return at_.Height; }

void Control::CheckSize(float v) const {
    if (v < 0) throw RuntimeError(err::InvalidPropertyValue);
}

void Control::Move(float left, float top, float width, float height) {
    Touch();
    CheckSize(width);
    CheckSize(height);
    const RECT before = PixelRect();
    at_ = {left, top, width, height};
    if (Live()) ApplyGeometry(before);
}

void Control::SetLeft(float v) { Touch(); Move(v, at_.Top, at_.Width, at_.Height); }
void Control::SetTop(float v) { Touch(); Move(at_.Left, v, at_.Width, at_.Height); }
void Control::SetWidth(float v) { Touch(); Move(at_.Left, at_.Top, v, at_.Height); }
void Control::SetHeight(float v) { Touch(); Move(at_.Left, at_.Top, at_.Width, v); }

bool Control::Visible() const { Touch(); return common_.Visible; }
void Control::SetVisible(bool v) {
    Touch();
    if (common_.Visible == v) return;
    common_.Visible = v;
    if (Live()) ApplyVisible();
    else if (v) FormSite::CreateWaitingWindow(OwnerForm(), *this);
}

bool Control::Enabled() const { Touch(); return common_.Enabled; }
void Control::SetEnabled(bool v) {
    Touch();
    if (common_.Enabled == v) return;
    common_.Enabled = v;
    if (Live()) ApplyEnabled();
}

int Control::TabIndex() const { Touch(); return FormSite::TabPosition(OwnerForm(), *this); }
void Control::SetTabIndex(int v) {
    Touch();
    v = CInt(v);  // a 16-bit property: error 6 beyond its range
    if (v < 0) throw RuntimeError(err::InvalidPropertyValue);
    FormSite::MoveInTabOrder(OwnerForm(), *this, v);
}

const std::string& Control::ToolTipText() const { Touch(); return common_.ToolTipText; }
void Control::SetToolTipText(std::string v) {
    Touch();
    common_.ToolTipText = std::move(v);
    if (Live()) ApplyToolTip();
}

const std::string& Control::Tag() const { Touch(); return common_.Tag; }
void Control::SetTag(std::string v) { Touch(); common_.Tag = std::move(v); }

int Control::MousePointer() const { Touch(); return common_.MousePointer; }
void Control::SetMousePointer(int v) {
    Touch();
    CursorOf(v);  // refuses unknown values
    common_.MousePointer = v;
}

bool Control::CanTakeFocus() const {
    if (!Live() || Windowless() || !common_.Visible || !common_.Enabled) return false;
    // Every container up to the form must be visible and enabled too.
    const HWND h = hWnd();
    return h && IsWindowVisible(h) && IsWindowEnabled(h);
}

void Control::SetFocus() {
    NeedWindow();
    if (!IsWindowVisible(OwnerForm().hWnd()) || !CanTakeFocus())
        throw RuntimeError(err::InvalidProcedureCall);
    ApplyFocus();
}

void Control::ApplyFocus() { ::SetFocus(hWnd()); }

void Control::ZOrder(int position) {
    Touch();
    parent_.Restack(*this, position == 0);
    FormSite::ZOrderChanged(OwnerForm(), *this, position == 0);
    if (Live()) ApplyZOrder(position == 0);
}

void Control::ApplyZOrder(bool) { InvalidateArea(PaintArea()); }

bool Control::HitTest(POINT pt) const {
    const RECT r = PixelRect();
    return PtInRect(&r, pt) != FALSE;
}

void Control::Refresh() {
    Touch();
    if (!Live()) return;
    InvalidateArea(PixelRect());
    if (const HWND h = parent_.ClientWindow()) UpdateWindow(h);
}

HWND Control::hWnd() const { Touch(); return nullptr; }

int Control::ToContainerPixels(float v, Axis axis) const { return forms::ToPixels(v, parent_.ChildScale(), axis); }

RECT Control::PixelRect() const {
    const int x = ToContainerPixels(at_.Left, Axis::X);
    const int y = ToContainerPixels(at_.Top, Axis::Y);
    return RECT{x, y, x + ToContainerPixels(at_.Width, Axis::X), y + ToContainerPixels(at_.Height, Axis::Y)};
}

void Control::InvalidateArea(const RECT& r) const {
    const HWND h = parent_.ClientWindow();
    if (!h) return;
    const POINT origin = parent_.ChildOrigin();
    RECT shown = r;
    OffsetRect(&shown, -origin.x, -origin.y);
    InvalidateRect(h, &shown, TRUE);
}

void Control::ApplyGeometry(const RECT& before) {
    const RECT now = PixelRect();
    if (EqualRect(&before, &now)) return;  // nothing to paint again, the tip's area stays
    InvalidateArea(before);
    InvalidateArea(now);
    if (!common_.ToolTipText.empty()) ApplyToolTip();
}

// A windowless control's tip is an area of its container's window.
void Control::ApplyToolTip() {
    const RECT area = PixelRect();
    FormSite::SetToolTip(OwnerForm(), parent_.ClientWindow(), reinterpret_cast<UINT_PTR>(this), &area, common_.ToolTipText);
}

void Control::ApplyVisible() { InvalidateArea(PaintArea()); }
void Control::ApplyEnabled() {}

// Windowless controls have no scale of their own; their mouse coordinates are twips.
ScaleMode Control::EventScale() const { return Windowless() ? ScaleMode::Twips : parent_.ChildScale(); }

char Control::AccessKeyOf(const std::string& caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] == '&') {
            ++i;
            continue;
        }
        return UpperKey(static_cast<unsigned char>(caption[i + 1]));
    }
    return 0;
}

int Control::ButtonOf(UINT msg) {
    switch (msg) {
    case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_LBUTTONDBLCLK: return button::Left;
    case WM_RBUTTONDOWN: case WM_RBUTTONUP: case WM_RBUTTONDBLCLK: return button::Right;
    case WM_MBUTTONDOWN: case WM_MBUTTONUP: case WM_MBUTTONDBLCLK: return button::Middle;
    default: return 0;
    }
}

int Control::ButtonMask(WPARAM wParam) {
    return ((wParam & MK_LBUTTON) ? button::Left : 0) | ((wParam & MK_RBUTTON) ? button::Right : 0) |
           ((wParam & MK_MBUTTON) ? button::Middle : 0);
}

int Control::ShiftState() {
    return (GetKeyState(VK_SHIFT) < 0 ? shift::Shift : 0) | (GetKeyState(VK_CONTROL) < 0 ? shift::Ctrl : 0) |
           (GetKeyState(VK_MENU) < 0 ? shift::Alt : 0);
}

void Control::RaiseMouse(UINT msg, WPARAM wParam, POINT pt) {
    const ScaleMode scale = EventScale();
    const float x = FromPixels(pt.x, scale, Axis::X);
    const float y = FromPixels(pt.y, scale, Axis::Y);
    const int shiftState = ShiftState();
    switch (msg) {
    case WM_MOUSEMOVE:
        if (MouseMove) MouseMove(ButtonMask(wParam), shiftState, x, y);
        break;
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK: case WM_RBUTTONDBLCLK: case WM_MBUTTONDBLCLK:
        if (MouseDown) MouseDown(ButtonOf(msg), shiftState, x, y);
        if (msg == WM_LBUTTONDBLCLK && DblClick && MouseMakesClicks()) DblClick();
        break;
    case WM_LBUTTONUP: case WM_RBUTTONUP: case WM_MBUTTONUP:
        if (MouseUp) MouseUp(ButtonOf(msg), shiftState, x, y);
        break;
    default: break;
    }
}

}  // namespace forms
