#include "platform/forms/Form.h"

#include "platform/forms/EventErrorBoundary.h"
#include "platform/forms/FormRegistry.h"
#include "platform/forms/Menu.h"
#include "platform/runtime/RuntimeError.h"

#include <algorithm>

namespace forms {
namespace {

// Keys an edit control keeps for itself even when a menu item has them as its shortcut.
bool IsEditingKey(const Accel& a) {
    switch (a.Key) {
    case VK_DELETE: case VK_BACK: case VK_HOME: case VK_END: case VK_LEFT: case VK_RIGHT: case VK_UP:
    case VK_DOWN: case VK_INSERT:
        return !a.Alt;
    case 'C': case 'V': case 'X': case 'Z': case 'A':
        return a.Ctrl && !a.Alt;
    default: return false;
    }
}

bool IsEditWindow(HWND hwnd) {
    char cls[16] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    return lstrcmpiA(cls, "Edit") == 0;
}

}  // namespace

// ---- menus ----

void Form::BuildMenus() {
    for (Menu* m : menus_) m->CreateMenu();
    for (Menu* m : menus_) m->RebuildItems();
    RefreshMenuBar();
}

void Form::RefreshMenuBar() {
    if (!hwnd_) return;
    if (!menuBar_) menuBar_.reset(CreateMenu());
    const HMENU bar = menuBar_.get();
    while (GetMenuItemCount(bar) > 0) RemoveMenu(bar, 0, MF_BYPOSITION);
    bool any = false;
    for (Menu* m : menus_) {
        if (m->Parent() || !m->Visible()) continue;
        m->CreateMenu();
        std::string text = m->Caption();
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_STRING | MIIM_STATE | MIIM_SUBMENU;
        info.fState = m->Enabled() ? 0u : MFS_DISABLED;
        info.wID = static_cast<UINT>(m->Id());
        info.hSubMenu = m->Popup();
        info.dwTypeData = text.data();
        InsertMenuItemA(bar, static_cast<UINT>(GetMenuItemCount(bar)), TRUE, &info);
        any = true;
    }
    const HMENU want = any ? bar : nullptr;
    if (GetMenu(hwnd_) != want) SetMenu(hwnd_, want);
    DrawMenuBar(hwnd_);
}

void Form::DestroyMenus() {
    if (!hwnd_) return;
    SetMenu(hwnd_, nullptr);  // the window must not destroy menus it does not own
    if (const HMENU bar = menuBar_.get()) {
        while (GetMenuItemCount(bar) > 0) RemoveMenu(bar, 0, MF_BYPOSITION);  // the menus own their popups
        menuBar_.reset();
    }
    for (Menu* m : menus_) m->DestroyMenu();
}

void Form::OnMenuCommand(int id) {
    for (Menu* m : std::vector<Menu*>(menus_)) {
        if (m->Id() == id) {
            if (m->Reachable()) m->RaiseClick();
            return;
        }
    }
}

void Form::OnInitMenuPopup(HMENU popup) {
    Menu* menu = Menu::FromPopup(popup);
    // A popup not made by a Menu carries data of its own: only a registered menu is trusted.
    const auto& forms = formregistry::All();
    const bool ours = menu && std::any_of(forms.begin(), forms.end(), [menu](const Form* f) {
        return std::find(f->menus_.begin(), f->menus_.end(), menu) != f->menus_.end();
    });
    if (!ours || menu == menu->OwnerForm().poppedMenu_) return;
    menu->RaiseClick();
}

bool Form::RunShortcut(const MSG& msg) {
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
    const Accel pressed{static_cast<WORD>(msg.wParam), GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_SHIFT) < 0,
                        GetKeyState(VK_MENU) < 0};
    Menu* item = nullptr;
    for (Menu* m : menus_) {
        if (m->Shortcut() == pressed && !m->HasChildren() && m->Shown()) {
            item = m;
            break;
        }
    }
    if (!item) return false;
    // Editing keys stay with the text box that has the focus.
    if (IsEditingKey(pressed) && IsEditWindow(GetFocus())) return false;
    // As if the menu opened: its top-level Click runs first (it may enable or disable the item).
    Menu* top = item;
    while (top->Parent()) top = top->Parent();
    if (top != item) Guarded([&] { top->RaiseClick(); });
    if (!item->Reachable()) return false;  // a disabled item's key does nothing; the key goes on
    Guarded([&] { item->RaiseClick(); });
    return true;
}

void Form::PopupMenu(Menu& menu, int flags, std::optional<float> x, std::optional<float> y, Menu* boldItem) {
    EnsureLoaded();
    Form& menuForm = menu.OwnerForm();
    menuForm.EnsureLoaded();
    const auto keepMenuForm = menuForm.KeepAlive();
    if (!menu.HasChildren()) throw RuntimeError(err::InvalidProcedureCall);
    menu.CreateMenu();
    menu.RebuildItems();
    POINT pt{};
    if (x && y) {
        pt = {ToPixels(*x, scaleMode_, Axis::X), ToPixels(*y, scaleMode_, Axis::Y)};
        ClientToScreen(hwnd_, &pt);
    } else {
        GetCursorPos(&pt);
    }
    UINT tpm = TPM_RETURNCMD | TPM_LEFTBUTTON;
    if (flags & 4) tpm |= TPM_CENTERALIGN;
    else if (flags & 8) tpm |= TPM_RIGHTALIGN;
    if (flags & 2) tpm |= TPM_RIGHTBUTTON;
    if (boldItem) SetMenuDefaultItem(menu.Popup(), static_cast<UINT>(boldItem->Id()), FALSE);
    Menu* const previous = menuForm.poppedMenu_;
    menuForm.poppedMenu_ = &menu;
    SetForegroundWindow(hwnd_);
    const int chosen = static_cast<int>(TrackPopupMenuEx(menu.Popup(), tpm, pt.x, pt.y, hwnd_, nullptr));
    PostMessageA(hwnd_, WM_NULL, 0, 0);
    menuForm.poppedMenu_ = previous;
    if (menu.Popup()) SetMenuDefaultItem(menu.Popup(), static_cast<UINT>(-1), FALSE);
    if (chosen) menuForm.OnMenuCommand(chosen);
}

}  // namespace forms
