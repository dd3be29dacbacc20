#include "update/ProgressBar.h"

#include "platform/forms/Screen.h"

#include <commctrl.h>
#include <ole2.h>
#include <olectl.h>

#include <algorithm>
#include <cmath>

namespace update {

namespace {

COLORREF Translate(forms::OleColor c) {
    COLORREF out = 0;
    return SUCCEEDED(OleTranslateColor(static_cast<OLE_COLOR>(c), nullptr, &out)) ? out : static_cast<COLORREF>(-1);
}

}  // namespace

ProgressBar::~ProgressBar() { DestroyBar(); }

LRESULT ProgressBar::SendBar(UINT msg, WPARAM w, LPARAM l) const { return bar_ ? SendMessageA(bar_, msg, w, l) : 0; }

void ProgressBar::ResetFromDesign() {
    DesignedControl::ResetFromDesign();
    // The values after creation; the design is applied once the window exists (AfterCreate).
    bar_ = nullptr;
    orientation_ = 0;
    min_ = 1;
    max_ = 100;
    smooth_ = false;
    borderStyle_ = 0;
    backColor_ = 0;
    foreColor_ = forms::color::Highlight;
    position_ = 0;
    step_ = 1;
}

void ProgressBar::WindowGone() {
    bar_ = nullptr;  // destroyed with its parent
    DesignedControl::WindowGone();
}

void ProgressBar::AfterCreate() {
    const ProgressBarDesign& d = design_;
    SetSmooth(d.Smooth);
    SetOrientation(d.Orientation);
    CreateBar();
    borderStyle_ = -1;
    SetBorderStyle(d.BorderStyle);
    SetForeColor(d.ForeColor);
    SetBackColor(d.BackColor);
    SetMin(d.Min);
    SetMax(d.Max);
    SetStep(d.Step);
}

void ProgressBar::ApplyGeometry(const RECT& before) {
    DesignedControl::ApplyGeometry(before);
    if (!bar_ || !hwnd_) return;
    RECT r{};
    GetClientRect(hwnd_, &r);
    MoveWindow(bar_, 0, 0, r.right, r.bottom, TRUE);
}

void ProgressBar::CreateBar() {
    DestroyBar();
    if (!hwnd_) return;
    static const bool initialised = [] {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_PROGRESS_CLASS};
        return InitCommonControlsEx(&icc) != FALSE;
    }();
    (void)initialised;
    DWORD style = WS_CHILD | WS_VISIBLE;
    if (orientation_ == 1) style |= PBS_VERTICAL;
    if (smooth_) style |= PBS_SMOOTH;
    RECT r{};
    GetClientRect(hwnd_, &r);
    bar_ = CreateWindowExA(0, PROGRESS_CLASSA, "", style, 0, 0, r.right, r.bottom, hwnd_, nullptr,
                           reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(hwnd_, GWLP_HINSTANCE)), nullptr);
    if (bar_) SendBar(PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

void ProgressBar::DestroyBar() {
    if (!bar_) return;
    if (IsWindow(bar_)) {
        ShowWindow(bar_, SW_HIDE);
        SetParent(bar_, nullptr);
        DestroyWindow(bar_);
    }
    bar_ = nullptr;
}

void ProgressBar::RecreateBar() {
    const auto border = borderStyle_;
    const auto position = position_;
    const auto back = backColor_;
    const auto fore = foreColor_;
    CreateBar();
    UpdateRange();
    position_ = -1;
    SetPosition(position);
    borderStyle_ = -1;
    SetBorderStyle(border);
    backColor_ = static_cast<forms::OleColor>(-1);
    SetBackColor(back);
    foreColor_ = static_cast<forms::OleColor>(-1);
    SetForeColor(fore);
}

void ProgressBar::UpdateRange() {
    if (!bar_) return;
    SendBar(PBM_SETRANGE32, static_cast<WPARAM>(min_), static_cast<LPARAM>(max_));
    const auto high = static_cast<std::int32_t>(SendBar(PBM_GETRANGE, FALSE, 0));
    const auto low = static_cast<std::int32_t>(SendBar(PBM_GETRANGE, TRUE, 0));
    if (high == max_ && low == min_) return;
    // A common-controls library without 32-bit ranges: the low 16 bits of each end.
    SendBar(PBM_SETRANGE, 0, MAKELPARAM(static_cast<WORD>(min_ & 0xFFFF), static_cast<WORD>(max_ & 0xFFFF)));
}

std::int32_t ProgressBar::Orientation() const { Touch(); return orientation_; }
void ProgressBar::SetOrientation(std::int32_t v) {
    Touch();
    if (v == orientation_) return;
    orientation_ = v;
    if (bar_) RecreateBar();
}

std::int32_t ProgressBar::Min() const { Touch(); return min_; }
void ProgressBar::SetMin(std::int32_t v) {
    Touch();
    if (v == min_) return;
    min_ = v;
    UpdateRange();
}

std::int32_t ProgressBar::Max() const { Touch(); return max_; }
void ProgressBar::SetMax(std::int32_t v) {
    Touch();
    if (v == max_) return;
    max_ = v;
    UpdateRange();
}

bool ProgressBar::Smooth() const { Touch(); return smooth_; }
void ProgressBar::SetSmooth(bool v) {
    Touch();
    if (v == smooth_) return;
    smooth_ = v;
    if (bar_) RecreateBar();
}

HWND ProgressBar::hwnd() const { Touch(); return bar_; }

std::int32_t ProgressBar::BorderStyle() const { Touch(); return borderStyle_; }
void ProgressBar::SetBorderStyle(std::int32_t v) {
    Touch();
    if (v == borderStyle_) return;
    borderStyle_ = v;
    if (!hwnd_) return;
    LONG_PTR own = GetWindowLongPtrA(hwnd_, GWL_EXSTYLE);
    LONG_PTR bar = bar_ ? GetWindowLongPtrA(bar_, GWL_EXSTYLE) : 0;
    if (v == 2) {
        own |= WS_EX_CLIENTEDGE;
        bar &= ~static_cast<LONG_PTR>(WS_EX_STATICEDGE);
    } else if (v == 1) {
        own &= ~static_cast<LONG_PTR>(WS_EX_CLIENTEDGE);
        bar |= WS_EX_STATICEDGE;
    } else {
        own &= ~static_cast<LONG_PTR>(WS_EX_CLIENTEDGE);
        bar &= ~static_cast<LONG_PTR>(WS_EX_STATICEDGE);
    }
    constexpr UINT kRefresh = SWP_NOMOVE | SWP_NOSIZE | SWP_FRAMECHANGED | SWP_NOZORDER | SWP_NOACTIVATE;
    if (bar_) {
        SetWindowLongPtrA(bar_, GWL_EXSTYLE, bar);
        SetWindowPos(bar_, nullptr, 0, 0, 0, 0, kRefresh);
    }
    SetWindowLongPtrA(hwnd_, GWL_EXSTYLE, own);
    SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0, kRefresh);
    if (bar_) {
        RECT r{};
        GetClientRect(hwnd_, &r);
        MoveWindow(bar_, 0, 0, r.right, r.bottom, TRUE);
    }
}

forms::OleColor ProgressBar::BackColor() const { Touch(); return backColor_; }
void ProgressBar::SetBackColor(forms::OleColor v) {
    Touch();
    if (v == backColor_) return;
    backColor_ = v;
    if (bar_) SendBar(PBM_SETBKCOLOR, 0, static_cast<LPARAM>(Translate(v)));
}

forms::OleColor ProgressBar::ForeColor() const { Touch(); return foreColor_; }
void ProgressBar::SetForeColor(forms::OleColor v) {
    Touch();
    if (v == foreColor_) return;
    foreColor_ = v;
    if (bar_) SendBar(PBM_SETBARCOLOR, 0, static_cast<LPARAM>(Translate(v)));
}

std::int32_t ProgressBar::Clamped(std::int32_t v) const {
    const auto low = std::min(min_, max_);
    const auto high = std::max(min_, max_);
    return std::clamp(v, low, high);
}

std::int32_t ProgressBar::Position() const { Touch(); return position_; }
void ProgressBar::SetPosition(std::int32_t v) {
    Touch();
    v = Clamped(v);
    if (v == position_) return;
    position_ = v;
    if (bar_) SendBar(PBM_SETPOS, static_cast<WPARAM>(v), 0);
}

std::int32_t ProgressBar::Step() const { Touch(); return step_; }
void ProgressBar::SetStep(std::int32_t v) {
    Touch();
    if (v == step_) return;
    step_ = v;
    if (bar_) SendBar(PBM_SETSTEP, static_cast<WPARAM>(v), 0);
}

void ProgressBar::StepIt() {
    Touch();
    if (bar_) {
        SendBar(PBM_STEPIT, 0, 0);
        position_ = static_cast<std::int32_t>(SendBar(PBM_GETPOS, 0, 0));
    } else {
        position_ = Clamped(static_cast<std::int32_t>(static_cast<std::int64_t>(position_) + step_));
    }
}

}  // namespace update
