#include "platform/forms/controls/ListControl.h"

#include "platform/forms/EventErrorBoundary.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/RuntimeError.h"

#include <algorithm>
#include <utility>

namespace forms {

void ListControl::ResetFromDesign() {
    WindowedControl::ResetFromDesign();
    multiSelect_ = DesignMultiSelect();
    appearance_ = DesignAppearance();
    items_.Attach(nullptr);
    items_.Clear();
    current_ = -1;
    newIndex_ = -1;
    entriesKept_ = false;
    selection_.clear();
}

void ListControl::LoadedWithoutWindow() {
    for (const std::string& item : DesignEntries()) items_.Add(item, -1, SortedWindow());
    selection_.assign(static_cast<size_t>(items_.Count()), false);
    entriesKept_ = true;
}

DWORD ListControl::WindowStyle() const {
    DWORD style = WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_HASSTRINGS | AppearanceStyle(appearance_) | ListStyle();
    if (SortedWindow()) style |= LBS_SORT;
    if (multiSelect_ == multiselect::Simple) style |= LBS_MULTIPLESEL;
    else if (multiSelect_ == multiselect::Extended) style |= LBS_EXTENDEDSEL;
    return style;
}

void ListControl::AfterCreate() {
    items_.Attach(hwnd_);
    if (!std::exchange(entriesKept_, false)) {
        for (const std::string& item : DesignEntries()) items_.Add(item, -1, SortedWindow());
        return;
    }
    // Made from what was done to the list while it had no window.
    items_.Mirror();
    for (size_t i = 0; i < selection_.size(); ++i) {
        if (selection_[i]) Select(static_cast<int>(i), true);
    }
    selection_.clear();
    if (Multi() && current_ >= 0) SendMessageA(hwnd_, LB_SETCARETINDEX, static_cast<WPARAM>(current_), FALSE);
}

bool ListControl::IsSelected(int index) const {
    if (hwnd_) return SendMessageA(hwnd_, LB_GETSEL, static_cast<WPARAM>(index), 0) > 0;
    return static_cast<size_t>(index) < selection_.size() && selection_[static_cast<size_t>(index)];
}

void ListControl::Select(int index, bool on) {
    if (hwnd_) {
        if (Multi()) SendMessageA(hwnd_, LB_SETSEL, on, index);
        else SendMessageA(hwnd_, LB_SETCURSEL, on ? static_cast<WPARAM>(index) : static_cast<WPARAM>(-1), 0);
        return;
    }
    if (!Multi()) selection_.assign(selection_.size(), false);
    if (index >= 0 && static_cast<size_t>(index) < selection_.size()) selection_[static_cast<size_t>(index)] = on;
}

int ListControl::SelectedEntry() const {
    if (hwnd_) return static_cast<int>(SendMessageA(hwnd_, LB_GETCURSEL, 0, 0));
    for (size_t i = 0; i < selection_.size(); ++i) {
        if (selection_[i]) return static_cast<int>(i);
    }
    return -1;
}

int ListControl::Caret() const {
    return static_cast<int>(SendMessageA(hwnd_, LB_GETCARETINDEX, 0, 0));
}

void ListControl::CheckIndex(int index) const {
    if (!items_.Valid(index)) throw RuntimeError(err::InvalidProcedureCall);
}

int ListControl::AddEntry(const std::string& item, int index) {
    Touch();
    if (index > items_.Count() || index < -1) throw RuntimeError(err::InvalidProcedureCall);
    const int at = items_.Add(item, index, SortedWindow());
    if (!hwnd_) selection_.insert(selection_.begin() + at, false);
    newIndex_ = at;
    if (current_ >= at) ++current_;
    return at;
}

void ListControl::RemoveEntry(int index) {
    Touch();
    CheckIndex(index);
    items_.Remove(index);
    if (!hwnd_ && static_cast<size_t>(index) < selection_.size()) selection_.erase(selection_.begin() + index);
    if (current_ == index) current_ = -1;
    else if (current_ > index) --current_;
}

void ListControl::SetEntry(int index, const std::string& item) {
    Touch();
    CheckIndex(index);
    const bool selected = Selected(index);
    items_.SetText(index, item);
    if (selected && hwnd_) Select(index, true);
}

void ListControl::ClearEntries() {
    Touch();
    items_.Clear();
    selection_.clear();
    current_ = -1;
    newIndex_ = -1;
}

void ListControl::Relist(std::vector<std::string> entries) {
    items_.Assign(std::move(entries));
    if (!hwnd_) selection_.assign(static_cast<size_t>(items_.Count()), false);
    current_ = -1;
    newIndex_ = -1;
}

std::string ListControl::List(int index) const {
    Touch();
    return items_.Text(index);
}

int ListControl::ListCount() const {
    Touch();
    return items_.Count();
}

int ListControl::ListIndex() const {
    Touch();
    if (Multi()) return current_;
    return SelectedEntry();
}

void ListControl::SetListIndex(int index) {
    Touch();
    index = CInt(index);  // a 16-bit property: error 6 beyond its range
    if (index < -1 || index >= ListCount()) throw RuntimeError(err::InvalidPropertyValue);
    if (Multi()) {
        const bool selecting = index >= 0 && !Selected(index);
        if (index == current_ && !selecting) return;
        current_ = index;
        if (index >= 0) {
            Select(index, true);
            if (hwnd_) SendMessageA(hwnd_, LB_SETCARETINDEX, static_cast<WPARAM>(index), FALSE);
        }
    } else {
        if (index == ListIndex()) return;
        Select(index, index >= 0);
    }
    if (Click) Click();
}

bool ListControl::Selected(int index) const {
    Touch();
    if (!items_.Valid(index)) throw RuntimeError(err::InvalidPropertyArrayIndex);
    return IsSelected(index);
}

void ListControl::SetSelected(int index, bool on) {
    Touch();
    if (Selected(index) == on) return;
    Select(index, on);
    if (Click) Click();
}

int ListControl::SelCount() const {
    Touch();
    if (!Multi()) return ListIndex() >= 0 ? 1 : 0;
    if (!hwnd_) return static_cast<int>(std::count(selection_.begin(), selection_.end(), true));
    return static_cast<int>(SendMessageA(hwnd_, LB_GETSELCOUNT, 0, 0));
}

std::string ListControl::Text() const { return items_.Text(ListIndex()); }

long ListControl::ItemData(int index) const {
    Touch();
    if (!items_.Valid(index)) throw RuntimeError(err::InvalidPropertyArrayIndex);
    return items_.Data(index);
}

void ListControl::SetItemData(int index, long value) {
    Touch();
    if (!items_.Valid(index)) throw RuntimeError(err::InvalidPropertyArrayIndex);
    items_.SetData(index, value);
}

int ListControl::NewIndex() const {
    Touch();
    return newIndex_;
}

int ListControl::MultiSelect() const {
    Touch();
    return multiSelect_;
}

int ListControl::Appearance() const {
    Touch();
    return appearance_;
}

void ListControl::SetAppearance(int value) {
    Touch();
    appearance_ = CheckedAppearance(CInt(value));
    ApplyAppearance(hwnd_, appearance_);
}

void ListControl::OnCommand(WORD code) {
    if (code == LBN_SELCHANGE) {
        if (Multi()) current_ = Caret();
        if (Click) Guarded([this] { Click(); });
    } else if (code == LBN_DBLCLK && DblClick) {
        Guarded([this] { DblClick(); });
    }
}

// A simple multi-select list moves its caret with the arrow keys without selecting or notifying: that too
// changes the current entry, seen once the key is done. Only a key pressed here counts: the release of a
// key that brought the focus (Tab) is no choice.
bool ListControl::HandleMessage(UINT msg, WPARAM, LPARAM, LRESULT&) {
    if (multiSelect_ != multiselect::Simple) return false;
    if (msg == WM_KEYDOWN) keyDown_ = true;
    if (msg != WM_KEYUP || !std::exchange(keyDown_, false) || items_.Count() == 0) return false;
    const int caret = Caret();
    if (caret != current_) {
        current_ = caret;
        if (Click) Guarded([this] { Click(); });
    }
    return false;
}

}  // namespace forms
