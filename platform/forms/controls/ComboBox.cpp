#include "platform/forms/controls/ComboBox.h"

#include "platform/forms/EventErrorBoundary.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/RuntimeError.h"

namespace forms {
namespace {
// The window's height includes its dropped list; the closed box takes the font's height.
constexpr int DroppedListPixels = 200;
}

DWORD ComboBox::WindowStyle() const {
    DWORD style = WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_HASSTRINGS;
    if (state_.Sorted) style |= CBS_SORT;
    return style;
}

void ComboBox::ResetFromDesign() {
    DesignedControl::ResetFromDesign();
    items_.Attach(nullptr);
    items_.Clear();
    index_ = -1;
    newIndex_ = -1;
}

void PlaceDropDown(HWND combo, const RECT& closed) {
    SetWindowPos(combo, nullptr, closed.left, closed.top, closed.right - closed.left,
                 closed.bottom - closed.top + DroppedListPixels, SWP_NOZORDER | SWP_NOACTIVATE);
}

void ComboBox::AfterCreate() {
    items_.Attach(hwnd_);
    for (const std::string& item : state_.List) items_.Add(item, -1, state_.Sorted);
    PlaceDropDown(hwnd_, PixelRect());
}

void ComboBox::ApplyGeometry(const RECT&) { PlaceDropDown(hwnd_, PixelRect()); }

bool ComboBox::Colors(COLORREF& back, COLORREF& fore) const {
    back = ToColorRefOr(state_.BackColor, GetSysColor(COLOR_WINDOW));
    fore = ToColorRefOr(state_.ForeColor, GetSysColor(COLOR_WINDOWTEXT));
    return true;
}

void ComboBox::CheckIndex(int index) const {
    if (!items_.Valid(index)) throw RuntimeError(err::InvalidProcedureCall);
}

void ComboBox::AddItem(const std::string& item, int index) {
    Touch();
    if (index > ListCount() || index < -1) throw RuntimeError(err::InvalidProcedureCall);
    const int at = items_.Add(item, index, state_.Sorted);
    newIndex_ = at;
    if (index_ >= at) ++index_;  // the chosen entry moved down with the insertion
}

void ComboBox::RemoveItem(int index) {
    Touch();
    CheckIndex(index);
    items_.Remove(index);
    if (index_ == index) index_ = -1;
    else if (index_ > index) --index_;
}

void ComboBox::Clear() {
    Touch();
    items_.Clear();
    index_ = -1;
    newIndex_ = -1;
}

std::string ComboBox::List(int index) const {
    Touch();
    return items_.Text(index);
}

void ComboBox::SetList(int index, const std::string& item) {
    Touch();
    CheckIndex(index);
    items_.SetText(index, item);
    if (index_ == index && hwnd_) SendMessageA(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int ComboBox::ListCount() const {
    Touch();
    return items_.Count();
}

int ComboBox::ListIndex() const {
    Touch();
    return index_;
}

void ComboBox::SetListIndex(int index) {
    Touch();
    index = CInt(index);  // a 16-bit property: error 6 beyond its range
    if (index < -1 || index >= ListCount()) throw RuntimeError(err::InvalidPropertyValue);
    if (index == index_) return;
    index_ = index;
    if (hwnd_) SendMessageA(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    if (Click) Click();
}

std::string ComboBox::Text() const {
    Touch();
    return items_.Text(index_);
}

long ComboBox::ItemData(int index) const {
    Touch();
    if (!items_.Valid(index)) throw RuntimeError(err::InvalidPropertyArrayIndex);
    return items_.Data(index);
}

void ComboBox::SetItemData(int index, long value) {
    Touch();
    if (!items_.Valid(index)) throw RuntimeError(err::InvalidPropertyArrayIndex);
    items_.SetData(index, value);
}

int ComboBox::NewIndex() const {
    Touch();
    return newIndex_;
}

void ComboBox::Chosen() {
    const int now = static_cast<int>(SendMessageA(hwnd_, CB_GETCURSEL, 0, 0));
    if (now == index_) return;
    index_ = now;
    if (Click) Guarded([this] { Click(); });
}

// The closed list reports each arrow key's choice; the dropped one may move its highlight and close on the
// old entry again, so the choice is compared at both moments and Click runs once per real change.
void ComboBox::OnCommand(WORD code) {
    if (code == CBN_SELCHANGE || code == CBN_CLOSEUP || code == CBN_SELENDOK) Chosen();
}

}  // namespace forms
