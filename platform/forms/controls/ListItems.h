#pragma once
// The entries of a list or combo box as the control keeps them: its own copy of each text and its item
// data, mirrored into the window. Reads never send a window message; writes go to both.

#include <windows.h>

#include <string>
#include <vector>

namespace forms {

// The message set of the window class the entries live in.
struct ListMessages {
    UINT AddString;
    UINT InsertString;
    UINT DeleteString;
    UINT ResetContent;
    UINT SetItemData;
    UINT InitStorage;
    int ErrorSpace;  // LB_ERRSPACE / CB_ERRSPACE
};
inline constexpr ListMessages ListBoxMessages{LB_ADDSTRING,   LB_INSERTSTRING, LB_DELETESTRING, LB_RESETCONTENT,
                                              LB_SETITEMDATA, LB_INITSTORAGE,  LB_ERRSPACE};
inline constexpr ListMessages ComboBoxMessages{CB_ADDSTRING,   CB_INSERTSTRING, CB_DELETESTRING, CB_RESETCONTENT,
                                               CB_SETITEMDATA, CB_INITSTORAGE,  CB_ERRSPACE};

class ListItems {
public:
    explicit ListItems(const ListMessages& messages) noexcept : m_(messages) {}

    // The window the entries show in (nullptr: none yet; the copy alone changes).
    void Attach(HWND window) noexcept { hwnd_ = window; }
    // Fills the attached window with the entries of the copy (after the window was created).
    void Mirror() const;

    int Count() const noexcept { return static_cast<int>(items_.size()); }
    bool Valid(int index) const noexcept { return index >= 0 && index < Count(); }
    // "" outside the list.
    const std::string& Text(int index) const noexcept;
    long Data(int index) const noexcept { return Valid(index) ? items_[static_cast<size_t>(index)].data : 0; }

    // Appends (index -1) or inserts; a sorted window places the entry itself. Returns where it went; error 7
    // when the window has no room.
    int Add(const std::string& text, int index = -1, bool sortedWindow = false);
    void Remove(int index);
    void SetText(int index, const std::string& text);
    void SetData(int index, long value);
    void Clear();
    // Replaces every entry at once (redraw off, storage reserved): the lists' re-listing.
    void Assign(std::vector<std::string> texts);

private:
    struct Item {
        std::string text;
        long data = 0;
    };
    LRESULT Send(UINT msg, WPARAM wParam, LPARAM lParam) const;

    const ListMessages& m_;
    HWND hwnd_ = nullptr;
    std::vector<Item> items_;
};

}  // namespace forms
