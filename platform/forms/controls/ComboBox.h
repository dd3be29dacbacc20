#pragma once
// A drop-down list (COMBOBOX, CBS_DROPDOWNLIST): the user picks one of the entries and cannot type. Click
// runs when the chosen entry changes, by mouse, keys or code (code: only on a change).

#include "platform/forms/DesignedControl.h"
#include "platform/forms/controls/ListItems.h"

#include <vector>

namespace forms {

struct ComboBoxDesign {
    std::vector<std::string> List;
    bool Sorted = false;
    OleColor BackColor = color::Window;
    OleColor ForeColor = color::WindowText;
    FontSpec Font;
};

// Places a drop-down list's window: the closed box at `closed` (container pixels), with room below for its
// dropped list, which the window's height includes.
void PlaceDropDown(HWND combo, const RECT& closed);

class ComboBox : public DesignedControl<WindowedControl, ComboBoxDesign> {
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
    // -1: none. Setting: -1..ListCount-1, else error 380 (error 6 beyond 16 bits).
    int ListIndex() const;
    void SetListIndex(int index);
    // The chosen entry, "" when none.
    std::string Text() const;
    // Error 381 outside the list.
    long ItemData(int index) const;
    void SetItemData(int index, long value);
    // Index of the entry added last (-1 when none since the last load or Clear).
    int NewIndex() const;

    void ResetFromDesign() override;

protected:
    const char* WindowClass() const override { return "COMBOBOX"; }
    DWORD WindowStyle() const override;
    const FontSpec* Font() const override { return &state_.Font; }
    bool Colors(COLORREF& back, COLORREF& fore) const override;
    void AfterCreate() override;
    void OnCommand(WORD code) override;
    void ApplyGeometry(const RECT& before) override;

private:
    void CheckIndex(int index) const;
    void Chosen();  // the window's choice may have changed: follow it, Click on a change
    ListItems items_{ComboBoxMessages};
    int index_ = -1;
    int newIndex_ = -1;
};

}  // namespace forms
