#include "platform/forms/controls/CommandButton.h"

#include "platform/forms/EventErrorBoundary.h"
#include "platform/forms/Form.h"

namespace forms {

DWORD CommandButton::WindowStyle() const {
    // A long caption wraps, as on a tall button.
    DWORD style = WS_TABSTOP | BS_MULTILINE | (state_.Default ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
    // A graphical button without a caption shows the picture alone.
    if (state_.Style == 1 && state_.Caption.empty() && state_.Picture)
        style |= state_.Picture.Type() == PictureType::Icon ? BS_ICON : BS_BITMAP;
    return style;
}

void CommandButton::ShowPicture() {
    if (!hwnd_ || state_.Style != 1) return;
    const StdPicture& p = state_.Picture;
    const bool icon = p && p.Type() == PictureType::Icon;
    const bool bitmap = p && p.Type() == PictureType::Bitmap;
    SendMessageA(hwnd_, BM_SETIMAGE, icon ? IMAGE_ICON : IMAGE_BITMAP,
                 reinterpret_cast<LPARAM>(icon || bitmap ? p.Handle() : nullptr));
}

StdPicture CommandButton::Picture() const { Touch(); return state_.Picture; }

void CommandButton::SetPicture(const StdPicture& picture) {
    Touch();
    state_.Picture = picture;
    ShowPicture();
}

bool CommandButton::Default() const { Touch(); return state_.Default; }
void CommandButton::SetDefault(bool on) {
    Touch();
    state_.Default = on;
    if (!hwnd_) return;
    // The style's other bits (the caption's wrapping) stay as they are.
    const auto others = static_cast<DWORD>(GetWindowLongPtrA(hwnd_, GWL_STYLE)) & ~static_cast<DWORD>(BS_TYPEMASK);
    SendMessageA(hwnd_, BM_SETSTYLE, others | (on ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON), TRUE);
}

bool CommandButton::Cancel() const { Touch(); return state_.Cancel; }
void CommandButton::SetCancel(bool on) { Touch(); state_.Cancel = on; }

void CommandButton::SetValue(bool on) {
    Touch();
    if (on && Click) Click();
}

void CommandButton::OnCommand(WORD code) {
    if (code == BN_CLICKED && Click) Guarded([this] { Click(); });
}

bool CommandButton::HandlesDialogKey(int key, HWND target) {
    if (!hwnd_ || !IsWindowVisible(hwnd_) || !IsWindowEnabled(hwnd_)) return false;
    if (key == VK_ESCAPE) {
        if (!state_.Cancel) return false;
    } else if (key == VK_RETURN) {
        // Enter clicks the button that has the focus, else the default button; a multi-line text box
        // keeps it.
        WindowedControl* focused = FromHwnd(target);
        if (focused == this) {
            Guarded([this] { if (Click) Click(); });
            return true;
        }
        if (dynamic_cast<CommandButton*>(focused)) return false;
        char cls[16] = {};
        GetClassNameA(target, cls, sizeof cls);
        if (lstrcmpiA(cls, "Edit") == 0 && (GetWindowLongPtrA(target, GWL_STYLE) & ES_MULTILINE)) return false;
        if (!state_.Default) return false;
    } else {
        return false;
    }
    Guarded([this] { if (Click) Click(); });
    return true;
}

}  // namespace forms
