#include "platform/forms/Menu.h"

#include "platform/forms/FormSite.h"

#include <algorithm>

namespace forms {
namespace {

std::string KeyName(WORD vk) {
    if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) return std::string(1, static_cast<char>(vk));
    if (vk >= VK_F1 && vk <= VK_F24) return "F" + std::to_string(vk - VK_F1 + 1);
    switch (vk) {
    case VK_DELETE: return "Del";
    case VK_INSERT: return "Ins";
    case VK_BACK: return "Bksp";
    case VK_HOME: return "Home";
    case VK_END: return "End";
    case VK_RETURN: return "Enter";
    default: break;
    }
    char name[64] = {};
    const UINT scan = MapVirtualKeyA(vk, MAPVK_VK_TO_VSC);
    if (GetKeyNameTextA(static_cast<LONG>(scan << 16), name, sizeof name) > 0) return name;
    return {};
}

}  // namespace

std::string Accel::Text() const {
    if (!Key) return {};
    std::string text;
    if (Ctrl) text += "Ctrl+";
    if (Shift) text += "Shift+";
    if (Alt) text += "Alt+";
    return text + KeyName(Key);
}

Menu::Menu(Form& form, std::string name, Design design, int index)
    : form_(form), parent_(nullptr), name_(std::move(name)), index_(index), design_(std::move(design)),
      state_(design_), id_(FormSite::NextMenuId(form)) {
    FormSite::Register(form_, *this);
}

Menu::Menu(Menu& parent, std::string name, Design design, int index)
    : form_(parent.form_), parent_(&parent), name_(std::move(name)), index_(index), design_(std::move(design)),
      state_(design_), id_(FormSite::NextMenuId(parent.form_)) {
    // An element of a menu array takes its place after the array's last member.
    auto& siblings = parent_->children_;
    auto last = std::find_if(siblings.rbegin(), siblings.rend(),
                             [&](const Menu* m) { return m->name_ == name_; });
    siblings.insert(last == siblings.rend() ? siblings.end() : last.base(), this);
    FormSite::Register(form_, *this);
    if (form_.IsLoaded()) {
        ResetFromDesign();
        if (parent_->popup_) {
            parent_->RebuildItems();
        } else {
            // The parent becomes a popup now.
            parent_->CreateMenu();
            parent_->Changed();
        }
    }
}

Menu::~Menu() {
    DestroyMenu();
    if (parent_) {
        std::erase(parent_->children_, this);
        if (form_.IsLoaded() && parent_->popup_) parent_->RebuildItems();
    }
    FormSite::Unregister(form_, *this);
}

void Menu::Touch() const { FormSite::EnsureLoaded(form_); }

void Menu::ResetFromDesign() { state_ = design_; }

void Menu::CreateMenu() {
    if (!children_.empty() && !popup_) {
        popup_.reset(CreatePopupMenu());
        // The popup carries its object, so that WM_INITMENUPOPUP finds it without a lookup table.
        MENUINFO info{};
        info.cbSize = sizeof info;
        info.fMask = MIM_MENUDATA;
        info.dwMenuData = reinterpret_cast<ULONG_PTR>(this);
        SetMenuInfo(popup_.get(), &info);
    }
}

void Menu::DestroyMenu() {
    if (!popup_) return;
    while (GetMenuItemCount(popup_.get()) > 0) RemoveMenu(popup_.get(), 0, MF_BYPOSITION);
    popup_.reset();
}

Menu* Menu::FromPopup(HMENU popup) {
    MENUINFO info{};
    info.cbSize = sizeof info;
    info.fMask = MIM_MENUDATA;
    if (!popup || !GetMenuInfo(popup, &info)) return nullptr;
    return reinterpret_cast<Menu*>(info.dwMenuData);
}

std::string Menu::ItemText() const {
    std::string text = state_.Caption;
    if (state_.Shortcut) text += "\t" + state_.Shortcut.Text();
    return text;
}

void Menu::RebuildItems() {
    if (!popup_) return;
    const HMENU h = popup_.get();
    while (GetMenuItemCount(h) > 0) RemoveMenu(h, 0, MF_BYPOSITION);
    for (Menu* child : children_) {
        if (!child->state_.Visible) continue;
        if (child->state_.Caption == "-") {
            AppendMenuA(h, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        child->CreateMenu();
        std::string text = child->ItemText();
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_STRING | MIIM_STATE | MIIM_FTYPE | MIIM_SUBMENU;
        info.fType = MFT_STRING;
        info.fState = (child->state_.Checked ? MFS_CHECKED : 0u) | (child->state_.Enabled ? 0u : MFS_DISABLED);
        info.wID = static_cast<UINT>(child->id_);
        info.hSubMenu = child->popup_.get();
        info.dwTypeData = text.data();
        InsertMenuItemA(h, static_cast<UINT>(GetMenuItemCount(h)), TRUE, &info);
    }
}

void Menu::Changed() {
    if (!form_.IsLoaded()) return;
    if (parent_) parent_->RebuildItems();
    else FormSite::RefreshMenuBar(form_);
}

bool Menu::Reachable() const {
    for (const Menu* m = this; m; m = m->parent_) {
        if (!m->state_.Enabled) return false;
    }
    return true;
}

bool Menu::Shown() const {
    for (const Menu* m = this; m; m = m->parent_) {
        if (!m->state_.Visible) return false;
    }
    return true;
}

std::string Menu::Caption() const { Touch(); return state_.Caption; }
void Menu::SetCaption(std::string caption) {
    Touch();
    state_.Caption = std::move(caption);
    Changed();
}

bool Menu::Checked() const { Touch(); return state_.Checked; }
void Menu::SetChecked(bool on) {
    Touch();
    state_.Checked = on;
    Changed();
}

bool Menu::Enabled() const { Touch(); return state_.Enabled; }
void Menu::SetEnabled(bool on) {
    Touch();
    state_.Enabled = on;
    Changed();
}

bool Menu::Visible() const { Touch(); return state_.Visible; }
void Menu::SetVisible(bool on) {
    Touch();
    state_.Visible = on;
    Changed();
}

std::string Menu::Tag() const { Touch(); return state_.Tag; }
void Menu::SetTag(std::string tag) { Touch(); state_.Tag = std::move(tag); }

}  // namespace forms
