#pragma once
// A list box (LISTBOX). Setting ListIndex or Selected(i) from code runs Click exactly as the user's choice
// does, but only when the selection changes. The entries are read from the control's own copy.

#include "platform/forms/DesignedControl.h"
#include "platform/forms/controls/ListControl.h"

#include <vector>

namespace forms {

struct ListBoxDesign {
    std::vector<std::string> List;
    bool Sorted = false;
    int MultiSelect = multiselect::None;
    bool IntegralHeight = true;
    OleColor BackColor = color::Window;
    OleColor ForeColor = color::WindowText;
    FontSpec Font;
    int Appearance = appearance::ThreeD;
};

class ListBox : public DesignedControl<ListControl, ListBoxDesign> {
public:
    using DesignedControl::DesignedControl;

    // Appends, or inserts at index (0..ListCount; else error 5).
    void AddItem(const std::string& item, int index = -1) { AddEntry(item, index); }
    // Error 5 for an index outside the list.
    void RemoveItem(int index) { RemoveEntry(index); }
    void Clear() { ClearEntries(); }
    void SetList(int index, const std::string& item) { SetEntry(index, item); }

    // A sorted list's order is the window's own: such a list has its window from the load on.
    bool KeepsStateWithoutWindow() const override { return !state_.Sorted; }

protected:
    int DesignMultiSelect() const override { return design_.MultiSelect; }
    int DesignAppearance() const override { return design_.Appearance; }
    bool SortedWindow() const override { return state_.Sorted; }
    DWORD ListStyle() const override { return state_.IntegralHeight ? 0 : LBS_NOINTEGRALHEIGHT; }
    std::vector<std::string> DesignEntries() const override { return state_.List; }
    const FontSpec* Font() const override { return &state_.Font; }
    bool Colors(COLORREF& back, COLORREF& fore) const override;
};

}  // namespace forms
