#pragma once
// A list box (LISTBOX). Setting ListIndex or Selected(i) from code runs Click exactly as the user's choice
// does, but only when the selection changes.

#include "platform/forms/DesignedControl.h"

#include <vector>

namespace forms {

namespace multiselect {
inline constexpr int None = 0;
inline constexpr int Simple = 1;
inline constexpr int Extended = 2;
}  // namespace multiselect

struct ListBoxDesign {
    std::vector<std::string> List;
    bool Sorted = false;
    int MultiSelect = multiselect::None;
    bool IntegralHeight = true;
    OleColor BackColor = color::Window;
    OleColor ForeColor = color::WindowText;
    FontSpec Font;
};

class ListBox : public DesignedControl<WindowedControl, ListBoxDesign> {
public:
    using DesignedControl::DesignedControl;

    // Appends, or inserts at index (0..ListCount; else error 5).
    void AddItem(const std::string& item, int index = -1);
    // Error 5 for an index outside the list.
    void RemoveItem(int index);
    void Clear();
    // "" outside the list.
    std::string List(int index) const;
    void SetList(int index, const std::string& item);
    int ListCount() const;
    // -1: none. Setting: -1..ListCount-1, else error 380.
    int ListIndex() const;
    void SetListIndex(int index);
    bool Selected(int index) const;
    void SetSelected(int index, bool on);
    int SelCount() const;
    // The selected item, "" when none.
    std::string Text() const;
    long ItemData(int index) const;
    void SetItemData(int index, long value);
    // Index of the item added last.
    int NewIndex() const;
    int MultiSelect() const { return state_.MultiSelect; }


protected:
    const char* WindowClass() const override { return "LISTBOX"; }
    DWORD WindowStyle() const override;
    DWORD WindowExStyle() const override { return WS_EX_CLIENTEDGE; }
    const FontSpec* Font() const override { return &state_.Font; }
    bool Colors(COLORREF& back, COLORREF& fore) const override;
    void AfterCreate() override;
    void OnCommand(WORD code) override;

private:
    void CheckIndex(int index) const;
    int newIndex_ = -1;
};

}  // namespace forms
