#include "platform/comctl/UpDown.h"

#include "platform/forms/EventErrorBoundary.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <string>

namespace forms {

void UpDown::ResetFromDesign() {
    DesignedControl::ResetFromDesign();
    buddy_ = nullptr;
    buddyControl_ = nullptr;
}

void UpDown::AfterCreate() {
    ApplyRange();
    if (const HWND buddy = Buddy()) SendMessageA(hwnd_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy), 0);
}

HWND UpDown::Buddy() const noexcept { return buddyControl_ ? buddyControl_->Window() : buddy_; }

void UpDown::ApplyRange() {
    if (!hwnd_) return;
    SendMessageA(hwnd_, UDM_SETRANGE32, static_cast<WPARAM>(state_.Min), static_cast<LPARAM>(state_.Max));
    SendMessageA(hwnd_, UDM_SETPOS32, 0, state_.Value);
}

int UpDown::Min() const { Touch(); return state_.Min; }
int UpDown::Max() const { Touch(); return state_.Max; }
int UpDown::Value() const { Touch(); return state_.Value; }

bool UpDown::InRange(long long v) const {
    return v >= std::min(state_.Min, state_.Max) && v <= std::max(state_.Min, state_.Max);
}

int UpDown::Clamp(long long v) const {
    return static_cast<int>(std::clamp<long long>(v, std::min(state_.Min, state_.Max), std::max(state_.Min, state_.Max)));
}

void UpDown::SetMin(int v) {
    Touch();
    state_.Min = v;
    state_.Value = Clamp(state_.Value);
    ApplyRange();
}

void UpDown::SetMax(int v) {
    Touch();
    state_.Max = v;
    state_.Value = Clamp(state_.Value);
    ApplyRange();
}

void UpDown::SetValue(int v) {
    Touch();
    if (!InRange(v)) throw RuntimeError(err::InvalidPropertyValue);
    state_.Value = v;
    ApplyRange();
}

void UpDown::SetBuddy(HWND buddy) {
    Touch();
    buddy_ = buddy;
    buddyControl_ = nullptr;
    // Attached so that the arrow keys in the buddy step too; the steps themselves are done below.
    if (hwnd_) SendMessageA(hwnd_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy), 0);
}

void UpDown::SetBuddy(const WindowedControl& buddy) {
    Touch();
    buddy_ = nullptr;
    buddyControl_ = &buddy;
    // Attached now when both windows exist, else when this one's is made (the buddy's comes first).
    if (hwnd_ && buddy.Window()) SendMessageA(hwnd_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy.Window()), 0);
}

int UpDown::StartValue() const {
    const HWND buddy = Buddy();
    if (!buddy || !IsWindow(buddy)) return state_.Value;
    char text[64] = {};
    GetWindowTextA(buddy, text, sizeof text);
    const char* p = text;
    while (*p == ' ' || *p == '\t') ++p;
    char* end = nullptr;
    errno = 0;
    const long long typed = std::strtoll(p, &end, 10);
    if (end == p || errno == ERANGE) return state_.Value;
    while (*end == ' ' || *end == '\t') ++end;
    if (*end) return state_.Value;
    return Clamp(typed);
}

void UpDown::WriteBuddy() const {
    if (const HWND buddy = Buddy(); buddy && IsWindow(buddy)) SetWindowTextA(buddy, std::to_string(state_.Value).c_str());
}

bool UpDown::OnReflect(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (msg != WM_NOTIFY) return WindowedControl::OnReflect(msg, wParam, lParam, result);
    const auto* hdr = reinterpret_cast<const NMHDR*>(lParam);
    if (hdr->code != UDN_DELTAPOS) return false;
    const auto* step = reinterpret_cast<const NMUPDOWN*>(lParam);
    // The step is done here, from what the buddy shows, and the control's own one is refused.
    const int start = StartValue();
    // iDelta already points the way of the range (down for a range given from high to low).
    const long long next = static_cast<long long>(start) + step->iDelta;
    state_.Value = Clamp(next);
    Guarded([this] { WriteBuddy(); });
    result = TRUE;
    return true;
}

}  // namespace forms
