#include "platform/forms/controls/OptionButton.h"

#include "platform/forms/Container.h"
#include "platform/forms/EventErrorBoundary.h"

namespace forms {

void OptionButton::ClearPartners() {
    for (Control* c : GetContainer().Children()) {
        auto* other = dynamic_cast<OptionButton*>(c);
        if (other && other != this && other->state_.Value) other->Show(false);
    }
}

void OptionButton::AfterCreate() {
    if (!state_.Value) return;
    // Of several set at design, the one created last wins.
    ClearPartners();
    Show(true);
}

// The same choice among several set at design, made on the objects until the windows come.
void OptionButton::LoadedWithoutWindow() {
    if (state_.Value) ClearPartners();
}

void OptionButton::Show(bool on) {
    state_.Value = on;
    if (hwnd_) SendMessageA(hwnd_, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool OptionButton::Value() const { Touch(); return state_.Value; }

void OptionButton::SetValue(bool on) {
    Touch();
    if (on == state_.Value) return;
    if (!on) {
        Show(false);
        return;
    }
    ClearPartners();
    Show(true);
    if (Click) Click();
}

void OptionButton::OnCommand(WORD code) {
    if (code == BN_CLICKED) Guarded([this] { SetValue(true); });
}

}  // namespace forms
