#include "platform/forms/controls/ScrollBar.h"

#include "platform/forms/EventErrorBoundary.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/RuntimeError.h"

#include <algorithm>
#include <climits>

namespace forms {

std::int32_t ScrollBar::Min() const { Touch(); return state_.Min; }
std::int32_t ScrollBar::Max() const { Touch(); return state_.Max; }
std::int32_t ScrollBar::Value() const { Touch(); return state_.Value; }
std::int32_t ScrollBar::SmallChange() const { Touch(); return state_.SmallChange; }
std::int32_t ScrollBar::LargeChange() const { Touch(); return state_.LargeChange; }

std::int64_t ScrollBar::Span() const noexcept {
    return std::int64_t{state_.Max} >= state_.Min ? std::int64_t{state_.Max} - state_.Min
                                                  : std::int64_t{state_.Min} - state_.Max;
}

std::int64_t ScrollBar::Offset(std::int32_t value) const noexcept {
    return state_.Max >= state_.Min ? std::int64_t{value} - state_.Min : std::int64_t{state_.Min} - value;
}

int ScrollBar::ToBar(std::int32_t value) const noexcept { return static_cast<int>(Offset(value) / step_); }

std::int32_t ScrollBar::FromBar(std::int64_t offset) const noexcept {
    offset = std::clamp<std::int64_t>(offset, 0, Span());
    return static_cast<std::int32_t>(state_.Max >= state_.Min ? state_.Min + offset : state_.Min - offset);
}

void ScrollBar::ApplyRange() {
    step_ = Span() / INT_MAX + 1;
    if (!hwnd_) return;
    SCROLLINFO info{sizeof info, SIF_RANGE | SIF_POS | SIF_PAGE, 0, static_cast<int>(Span() / step_), 0,
                    ToBar(state_.Value), 0};
    SetScrollInfo(hwnd_, SB_CTL, &info, TRUE);
}

void ScrollBar::ApplyPosition() {
    if (!hwnd_) return;
    SCROLLINFO info{sizeof info, SIF_POS, 0, 0, 0, ToBar(state_.Value), 0};
    SetScrollInfo(hwnd_, SB_CTL, &info, TRUE);
}

void ScrollBar::Raise(const std::function<void()>& event) {
    if (event) event();
}

void ScrollBar::KeepValueInRange() {
    const std::int32_t lo = std::min(state_.Min, state_.Max);
    const std::int32_t hi = std::max(state_.Min, state_.Max);
    const std::int32_t kept = std::clamp(state_.Value, lo, hi);
    const bool moved = kept != state_.Value;
    state_.Value = kept;
    ApplyRange();
    if (moved) Raise(Change);
}

void ScrollBar::SetMin(double value) {
    Touch();
    const std::int32_t v = CLng(value);
    if (v == state_.Min) return;
    state_.Min = v;
    KeepValueInRange();
}

void ScrollBar::SetMax(double value) {
    Touch();
    const std::int32_t v = CLng(value);
    if (v == state_.Max) return;
    state_.Max = v;
    KeepValueInRange();
}

void ScrollBar::SetValue(double value) {
    Touch();
    const std::int32_t v = CLng(value);
    if (v < std::min(state_.Min, state_.Max) || v > std::max(state_.Min, state_.Max))
        throw RuntimeError(err::InvalidPropertyValue);
    if (v == state_.Value) return;
    state_.Value = v;
    ApplyPosition();
    Raise(Change);
}

void ScrollBar::SetSmallChange(double value) {
    Touch();
    const std::int32_t v = CLng(value);
    if (v < 0) throw RuntimeError(err::InvalidPropertyValue);
    state_.SmallChange = v;
}

void ScrollBar::SetLargeChange(double value) {
    Touch();
    const std::int32_t v = CLng(value);
    if (v < 0) throw RuntimeError(err::InvalidPropertyValue);
    state_.LargeChange = v;
}

void ScrollBar::StepTo(std::int64_t offset) {
    const std::int32_t v = FromBar(offset);
    if (v == state_.Value) return;
    state_.Value = v;
    ApplyPosition();
    Guarded([this] { Raise(Change); });
}

bool ScrollBar::OnReflect(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (msg != WM_HSCROLL && msg != WM_VSCROLL) return DesignedControl::OnReflect(msg, wParam, lParam, result);
    result = 0;
    const std::int64_t at = Offset(state_.Value);
    switch (LOWORD(wParam)) {
    case SB_LINEUP: StepTo(at - state_.SmallChange); break;
    case SB_LINEDOWN: StepTo(at + state_.SmallChange); break;
    case SB_PAGEUP: StepTo(at - state_.LargeChange); break;
    case SB_PAGEDOWN: StepTo(at + state_.LargeChange); break;
    case SB_TOP: StepTo(0); break;
    case SB_BOTTOM: StepTo(Span()); break;
    case SB_THUMBTRACK: case SB_THUMBPOSITION: {
        // The message carries 16 bits of the position; the bar itself knows all 32.
        SCROLLINFO info{sizeof info, SIF_TRACKPOS, 0, 0, 0, 0, 0};
        GetScrollInfo(hwnd_, SB_CTL, &info);
        const std::int32_t v = FromBar(std::int64_t{info.nTrackPos} * step_);
        if (LOWORD(wParam) == SB_THUMBTRACK) {
            if (!tracking_) {
                tracking_ = true;
                trackStart_ = state_.Value;
            }
            if (v != state_.Value) {
                state_.Value = v;
                Guarded([this] { Raise(Scroll); });
            }
        } else {
            const std::int32_t before = tracking_ ? trackStart_ : state_.Value;
            tracking_ = false;
            state_.Value = v;
            ApplyPosition();
            if (v != before) Guarded([this] { Raise(Change); });
        }
        break;
    }
    case SB_ENDSCROLL:
        if (tracking_) {  // a drag that ended without a release position
            tracking_ = false;
            ApplyPosition();
            if (state_.Value != trackStart_) Guarded([this] { Raise(Change); });
        }
        break;
    default: break;
    }
    return true;
}

// A click gives the bar the focus before the bar's own tracking loop takes the mouse.
bool ScrollBar::HandleMessage(UINT msg, WPARAM, LPARAM, LRESULT&) {
    if ((msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK) && GetFocus() != hwnd_ && CanTakeFocus())
        ::SetFocus(hwnd_);
    return false;
}

}  // namespace forms
