#pragma once
// What the list box and the file list share (LISTBOX with its strings kept, so screen readers and tests read
// it with the system's own messages): the entries as the control keeps them, the current entry and the
// selection, Appearance, and Click.
//
// The current entry (ListIndex) of a multi-select list is kept by the control, not read from the caret: it
// is -1 ("none") after it is set to -1, after a re-list and after Clear, although the caret always stands on
// some entry. Setting n makes entry n current and selected; in a multi-select list the other selections
// stay. Click runs when the current entry or a selection changes, by the user or by code (code: only on a
// change).

#include "platform/forms/WindowedControl.h"
#include "platform/forms/controls/Appearance.h"
#include "platform/forms/controls/ListItems.h"

#include <vector>

namespace forms {

namespace multiselect {
inline constexpr int None = 0;
inline constexpr int Simple = 1;
inline constexpr int Extended = 2;
}  // namespace multiselect

class ListControl : public WindowedControl {
public:
    using WindowedControl::WindowedControl;

    // "" outside the list.
    std::string List(int index) const;
    int ListCount() const;
    // -1: none. Setting: -1..ListCount-1, else error 380 (error 6 beyond 16 bits).
    int ListIndex() const;
    void SetListIndex(int index);
    // Error 381 outside the list.
    bool Selected(int index) const;
    void SetSelected(int index, bool on);
    int SelCount() const;
    // The current entry, "" when none.
    std::string Text() const;
    // Error 381 outside the list.
    long ItemData(int index) const;
    void SetItemData(int index, long value);
    // Index of the entry added last (-1 when none since the last load, Clear or re-list).
    int NewIndex() const;
    int MultiSelect() const;
    int Appearance() const;
    // 0 flat, 1 3-D; switched in place. Other values raise 380.
    void SetAppearance(int value);

    void ResetFromDesign() override;
    void LoadedWithoutWindow() override;

protected:
    // The design's values.
    virtual int DesignMultiSelect() const = 0;
    virtual int DesignAppearance() const = 0;
    virtual bool SortedWindow() const { return false; }
    virtual DWORD ListStyle() const { return 0; }
    // The design's entries, put into the window when it is created.
    virtual std::vector<std::string> DesignEntries() const { return {}; }

    const char* WindowClass() const override { return "LISTBOX"; }
    DWORD WindowStyle() const override;
    DWORD WindowExStyle() const override { return AppearanceExStyle(appearance_); }
    void AfterCreate() override;
    void OnCommand(WORD code) override;
    bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    // For the derived lists.
    int AddEntry(const std::string& item, int index);
    void RemoveEntry(int index);
    void SetEntry(int index, const std::string& item);
    void ClearEntries();
    // Replaces every entry (no current entry afterwards, no Click).
    void Relist(std::vector<std::string> entries);
    void CheckIndex(int index) const;

    ListItems items_{ListBoxMessages};

private:
    bool Multi() const noexcept { return multiSelect_ != multiselect::None; }
    int Caret() const;
    // The selection, from the window when it exists, else from the copy kept until it is made.
    bool IsSelected(int index) const;
    void Select(int index, bool on);
    int SelectedEntry() const;

    int multiSelect_ = multiselect::None;
    int appearance_ = 1;
    int current_ = -1;  // the current entry of a multi-select list
    int newIndex_ = -1;
    bool keyDown_ = false;  // a key went down in this list (and not yet up)
    bool entriesKept_ = false;  // the entries were put in the copy before the window was made
    std::vector<bool> selection_;  // one per entry while there is no window
};

}  // namespace forms
