#include "platform/forms/Form.h"

#include "platform/forms/FormDispatch.h"
#include "platform/forms/Screen.h"
#include "platform/forms/WindowedControl.h"
#include "platform/runtime/App.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/RuntimeError.h"

#include <commctrl.h>
#include <windowsx.h>

namespace forms {
namespace {

// A tool of the tip window; the mouse reaches the tip through RelayToolTip, not through a subclass of the
// tool's window.
TTTOOLINFOA ToolInfo(HWND window, UINT_PTR id, bool area, const RECT& rect) {
    TTTOOLINFOA ti{};
    ti.cbSize = sizeof ti;
    ti.hwnd = window;
    ti.uId = id;
    ti.uFlags = area ? 0 : TTF_IDISHWND;
    ti.rect = rect;
    return ti;
}

}  // namespace

// ---- properties ----

// Form objects are never const themselves (they are made by Default and New), so loading from a read is sound.
void Form::Touch() const { const_cast<Form*>(this)->EnsureLoaded(); }

std::string Form::Caption() const {
    Touch();
    return caption_;
}

void Form::SetCaption(const std::string& caption) {
    EnsureLoaded();
    caption_ = caption;
    SetWindowTextA(hwnd_, caption.c_str());
}

bool Form::Visible() const {
    Touch();
    return hwnd_ && IsWindowVisible(hwnd_);
}

void Form::SetVisible(bool visible) {
    if (visible) Show();
    else Hide();
}

bool Form::Enabled() const {
    Touch();
    return enabled_;
}

void Form::SetEnabled(bool enabled) {
    EnsureLoaded();
    enabled_ = enabled;
    EnableWindow(hwnd_, enabled);
}

int Form::WindowState() const {
    Touch();
    if (hwnd_ && IsWindowVisible(hwnd_)) {
        if (IsIconic(hwnd_)) return windowstate::Minimized;
        if (IsZoomed(hwnd_)) return windowstate::Maximized;
        return windowstate::Normal;
    }
    return windowState_;
}

void Form::SetWindowState(int state) {
    EnsureLoaded();
    state = CInt(state);  // a 16-bit property: error 6 beyond its range
    if (state < windowstate::Normal || state > windowstate::Maximized) throw RuntimeError(err::InvalidPropertyValue);
    const int before = WindowState();
    windowState_ = state;
    if (before == state) return;
    if (IsWindowVisible(hwnd_)) {
        ++suppressResize_;
        ShowWindow(hwnd_, state == windowstate::Maximized   ? SW_MAXIMIZE
                          : state == windowstate::Minimized ? SW_MINIMIZE
                                                            : SW_RESTORE);
        --suppressResize_;
        RECT rc{};
        GetClientRect(hwnd_, &rc);
        clientSize_ = {rc.right, rc.bottom};
    }
    // Raised here rather than from WM_SIZE, so that its errors return to this statement.
    Form_Resize();
}

float Form::Read(const Coord& c, int actualPixels, Axis axis) const {
    return actualPixels == c.pixels ? c.twips : FromPixels(actualPixels, ScaleMode::Twips, axis);
}

RECT Form::OuterRect() const {
    Touch();
    RECT r{};
    GetWindowRect(hwnd_, &r);
    return r;
}

// Where the window no longer sits at the pixels a value was applied as (the user moved it, or it is
// minimised or maximised), the window's own position counts.
float Form::Left() const { return Read(left_, OuterRect().left, Axis::X); }
float Form::Top() const { return Read(top_, OuterRect().top, Axis::Y); }
float Form::Width() const {
    const RECT r = OuterRect();
    return Read(width_, r.right - r.left, Axis::X);
}
float Form::Height() const {
    const RECT r = OuterRect();
    return Read(height_, r.bottom - r.top, Axis::Y);
}

void Form::CheckMovable() const {
    if (IsWindowVisible(hwnd_) && (IsIconic(hwnd_) || IsZoomed(hwnd_)))
        throw RuntimeError(err::CannotMoveMinimizedForm);
}

void Form::ApplyPosition() {
    left_.pixels = ToPixels(left_.twips, ScaleMode::Twips, Axis::X);
    top_.pixels = ToPixels(top_.twips, ScaleMode::Twips, Axis::Y);
    width_.pixels = ToPixels(width_.twips, ScaleMode::Twips, Axis::X);
    height_.pixels = ToPixels(height_.twips, ScaleMode::Twips, Axis::Y);
    SetWindowPos(hwnd_, nullptr, left_.pixels, top_.pixels, width_.pixels, height_.pixels,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::Move(float left, std::optional<float> top, std::optional<float> width, std::optional<float> height) {
    EnsureLoaded();
    CheckMovable();
    if ((width && *width < 0) || (height && *height < 0)) throw RuntimeError(err::InvalidPropertyValue);
    // Unchanged coordinates keep what was read, so a fraction stored earlier survives.
    const float t = top ? *top : Top();
    const float w = width ? *width : Width();
    const float h = height ? *height : Height();
    left_.twips = left;
    top_.twips = t;
    width_.twips = w;
    height_.twips = h;
    ApplyPosition();
}

void Form::SetLeft(float v) { Move(v); }
void Form::SetTop(float v) { EnsureLoaded(); Move(Left(), v); }
void Form::SetWidth(float v) { EnsureLoaded(); Move(Left(), Top(), v); }
void Form::SetHeight(float v) { EnsureLoaded(); Move(Left(), Top(), Width(), v); }

float Form::ScaleWidth() const {
    Touch();
    RECT rc{};
    GetClientRect(hwnd_, &rc);
    return FromPixels(rc.right, scaleMode_, Axis::X);
}

float Form::ScaleHeight() const {
    Touch();
    RECT rc{};
    GetClientRect(hwnd_, &rc);
    return FromPixels(rc.bottom, scaleMode_, Axis::Y);
}

ScaleMode Form::GetScaleMode() const {
    Touch();
    return scaleMode_;
}

void Form::SetScaleMode(ScaleMode mode) {
    EnsureLoaded();
    scaleMode_ = mode;
}

float Form::ScaleX(float value, ScaleMode from, std::optional<ScaleMode> to) const {
    return ConvertUnits(value, from, to.value_or(GetScaleMode()), Axis::X);
}

float Form::ScaleY(float value, ScaleMode from, std::optional<ScaleMode> to) const {
    return ConvertUnits(value, from, to.value_or(GetScaleMode()), Axis::Y);
}

HWND Form::hWnd() const {
    Touch();
    return hwnd_;
}

OleColor Form::BackColor() const {
    Touch();
    return backColor_;
}

void Form::SetBackColor(OleColor color) {
    EnsureLoaded();
    ToColorRef(color);  // refuses invalid colours
    backColor_ = color;
    InvalidateRect(hwnd_, nullptr, TRUE);
}

int Form::MousePointer() const {
    Touch();
    return mousePointer_;
}

void Form::SetMousePointer(int pointer) {
    EnsureLoaded();
    const HCURSOR cursor = CursorOf(pointer);
    mousePointer_ = pointer;
    POINT pt{};
    GetCursorPos(&pt);
    const HWND under = WindowFromPoint(pt);
    if (under && (under == hwnd_ || IsChild(hwnd_, under)) && cursor) SetCursor(cursor);
}

bool Form::KeyPreview() const {
    Touch();
    return keyPreview_;
}

void Form::SetKeyPreview(bool on) {
    EnsureLoaded();
    keyPreview_ = on;
}

StdPicture Form::Picture() const {
    Touch();
    return picture_;
}

void Form::SetPicture(const StdPicture& picture) {
    EnsureLoaded();
    picture_ = picture;
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void Form::PaintBackground(HDC dc) {
    if (!picture_ || picture_.Type() == PictureType::None) return;
    try {
        picture_.Render(dc, 0, 0, ToPixels(static_cast<float>(picture_.Width()), ScaleMode::HiMetric, Axis::X),
                        ToPixels(static_cast<float>(picture_.Height()), ScaleMode::HiMetric, Axis::Y));
    } catch (const std::exception&) {
        // A picture that cannot draw leaves the background; painting must go on.
    }
}

Control* Form::FocusedControl() const {
    const HWND focus = GetFocus();
    if (!focus || !hwnd_) return nullptr;
    for (HWND h = focus; h && h != hwnd_; h = GetParent(h)) {
        if (WindowedControl* c = WindowedControl::FromHwnd(h); c && &c->OwnerForm() == this) return c;
    }
    return nullptr;
}

Control* Form::ActiveControl() const {
    Touch();
    return FocusedControl();
}

void Form::ZOrder(int position) {
    EnsureLoaded();
    SetWindowPos(hwnd_, position == 0 ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Form::Refresh() {
    EnsureLoaded();
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

Microsoft::WRL::ComPtr<IDispatch> Form::GetDispatch() { return FormDispatch::Create(*this); }

void Form::SetToolTip(HWND window, UINT_PTR id, const RECT* area, const std::string& text) {
    if (!hwnd_) return;
    Tool tool{area ? window : hwnd_, area ? id : reinterpret_cast<UINT_PTR>(window), area != nullptr,
              area ? *area : RECT{}, text};
    const auto same = [&](const Tool& t) { return t.window == tool.window && t.id == tool.id; };
    std::erase_if(tools_, same);
    if (!text.empty()) tools_.push_back(tool);
    if (!toolTip_) return;
    TTTOOLINFOA ti = ToolInfo(tool.window, tool.id, tool.area, tool.rect);
    SendMessageA(toolTip_.get(), TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
    if (!text.empty()) AddTool(tool);
}

void Form::AddTool(const Tool& tool) const {
    TTTOOLINFOA ti = ToolInfo(tool.window, tool.id, tool.area, tool.rect);
    std::string copy = tool.text;
    ti.lpszText = copy.data();
    SendMessageA(toolTip_.get(), TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
}

// The tip window is a window of its own, costly to make: a form that shows no tip never makes it.
void Form::MakeToolTip() {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    toolTip_.reset(CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0,
                                   hwnd_, nullptr, App::hInstance(), nullptr));
    if (!toolTip_) return;
    // A control's window made again since its tool was set has set its tool anew.
    std::erase_if(tools_, [](const Tool& t) { return !IsWindow(t.window); });
    for (const Tool& tool : tools_) AddTool(tool);
}

void Form::RelayToolTip(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_MOUSEMOVE: case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_RBUTTONDOWN: case WM_RBUTTONUP:
    case WM_MBUTTONDOWN: case WM_MBUTTONUP:
        break;
    default: return;
    }
    if (!toolTip_) {
        if (tools_.empty() || !hwnd_) return;
        MakeToolTip();
        if (!toolTip_) return;
    }
    const DWORD at = GetMessagePos();
    MSG message{window, msg, wParam, lParam, static_cast<DWORD>(GetMessageTime()), {GET_X_LPARAM(at), GET_Y_LPARAM(at)}};
    SendMessageA(toolTip_.get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&message));
}

}  // namespace forms
