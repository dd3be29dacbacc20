#pragma once
// A menu of a form: a real Win32 menu on the form's window. Top-level menus make up the bar (a form whose
// top-level menus are all hidden has no bar; a hidden top-level menu can still be popped up); a menu with
// children is a popup whose Click runs when it opens, before it drops down; an item's Click runs when it is
// chosen or its shortcut key is pressed (a disabled item's key does nothing).

#include "platform/runtime/OwnedHandles.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace forms {

class Form;

// A shortcut key: a virtual key with modifiers.
struct Accel {
    WORD Key = 0;
    bool Ctrl = false;
    bool Shift = false;
    bool Alt = false;
    bool operator==(const Accel&) const = default;
    explicit operator bool() const noexcept { return Key != 0; }
    // As drawn in the menu: "Ctrl+O", "Shift+F2", "Del".
    std::string Text() const;
};
inline Accel Key(WORD vk) { return Accel{vk, false, false, false}; }
inline Accel CtrlKey(WORD vk) { return Accel{vk, true, false, false}; }
inline Accel ShiftKey(WORD vk) { return Accel{vk, false, true, false}; }

struct MenuDesign {
    std::string Caption;  // "&" marks the access letter; "-" is a separator
    bool Checked = false;
    bool Enabled = true;
    bool Visible = true;
    Accel Shortcut;
    std::string Tag;
};

class Menu {
public:
    using Design = MenuDesign;
    using Blueprint = Design;

    Menu(Form& form, std::string name, Design design = {}, int index = -1);
    Menu(Menu& parent, std::string name, Design design = {}, int index = -1);
    ~Menu();
    Menu(const Menu&) = delete;
    Menu& operator=(const Menu&) = delete;

    const std::string& Name() const noexcept { return name_; }
    int Index() const noexcept { return index_; }
    Menu* Parent() const noexcept { return parent_; }
    Form& OwnerForm() const noexcept { return form_; }

    std::string Caption() const;
    void SetCaption(std::string caption);
    bool Checked() const;
    void SetChecked(bool on);
    bool Enabled() const;
    void SetEnabled(bool on);
    bool Visible() const;
    void SetVisible(bool on);
    std::string Tag() const;
    void SetTag(std::string tag);
    const Accel& Shortcut() const noexcept { return design_.Shortcut; }

    std::function<void()> Click;

    // ---- for the runtime ----
    void ResetFromDesign();
    void CreateMenu();
    void DestroyMenu();
    // Re-lists this popup's visible children.
    void RebuildItems();
    HMENU Popup() const noexcept { return popup_.get(); }
    int Id() const noexcept { return id_; }
    bool HasChildren() const noexcept { return !children_.empty(); }
    const std::vector<Menu*>& Children() const noexcept { return children_; }
    // Enabled along with every menu above it.
    bool Reachable() const;
    // Visible along with every menu above it (a hidden item's shortcut does nothing).
    bool Shown() const;
    void RaiseClick() { if (Click) Click(); }
    // The menu whose popup this is, from the popup's own data (nullptr for a popup without any).
    static Menu* FromPopup(HMENU popup);
    // The item text with its shortcut.
    std::string ItemText() const;

private:
    void Changed();
    void Touch() const;

    Form& form_;
    Menu* parent_;
    const std::string name_;
    const int index_;
    const Design design_;
    Design state_;
    const int id_;
    UniqueMenu popup_;
    std::vector<Menu*> children_;
};

}  // namespace forms
