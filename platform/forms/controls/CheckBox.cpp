#include "platform/forms/controls/CheckBox.h"

#include "platform/forms/EventErrorBoundary.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/RuntimeError.h"

namespace forms {

void CheckBox::AfterCreate() { SendMessageA(hwnd_, BM_SETCHECK, static_cast<WPARAM>(state_.Value), 0); }

int CheckBox::Value() const { Touch(); return state_.Value; }

void CheckBox::SetValue(int value) {
    Touch();
    value = CInt(value);  // a 16-bit property: error 6 beyond its range
    if (value < 0 || value > 2) throw RuntimeError(err::InvalidPropertyValue);
    if (value == state_.Value) return;
    state_.Value = value;
    if (hwnd_) SendMessageA(hwnd_, BM_SETCHECK, static_cast<WPARAM>(value), 0);
    if (Click) Click();
}

void CheckBox::OnCommand(WORD code) {
    // A user's click toggles between checked and unchecked, through the same path as code.
    if (code == BN_CLICKED) Guarded([this] { SetValue(state_.Value == 1 ? 0 : 1); });
}

}  // namespace forms
