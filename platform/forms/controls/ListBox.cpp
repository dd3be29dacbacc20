#include "platform/forms/controls/ListBox.h"

#include "platform/forms/EventErrorBoundary.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/RuntimeError.h"

namespace forms {
namespace {
constexpr std::int32_t InvalidCall = 5;
}

DWORD ListBox::WindowStyle() const {
    DWORD style = WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_HASSTRINGS;
    if (state_.Sorted) style |= LBS_SORT;
    if (state_.MultiSelect == multiselect::Simple) style |= LBS_MULTIPLESEL;
    else if (state_.MultiSelect == multiselect::Extended) style |= LBS_EXTENDEDSEL;
    if (!state_.IntegralHeight) style |= LBS_NOINTEGRALHEIGHT;
    return style;
}

void ListBox::AfterCreate() {
    newIndex_ = -1;
    for (const std::string& item : state_.List) SendMessageA(hwnd_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

bool ListBox::Colors(COLORREF& back, COLORREF& fore) const {
    back = ToColorRefOr(state_.BackColor, GetSysColor(COLOR_WINDOW));
    fore = ToColorRefOr(state_.ForeColor, GetSysColor(COLOR_WINDOWTEXT));
    return true;
}

void ListBox::CheckIndex(int index) const {
    if (index < 0 || index >= ListCount()) throw RuntimeError(InvalidCall, "Invalid procedure call or argument");
}

void ListBox::AddItem(const std::string& item, int index) {
    Touch();
    if (index > ListCount() || index < -1) throw RuntimeError(InvalidCall, "Invalid procedure call or argument");
    const LRESULT at = index < 0 || state_.Sorted
                           ? SendMessageA(hwnd_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()))
                           : SendMessageA(hwnd_, LB_INSERTSTRING, static_cast<WPARAM>(index),
                                          reinterpret_cast<LPARAM>(item.c_str()));
    if (at < 0) throw RuntimeError(7, "Out of memory");
    newIndex_ = static_cast<int>(at);
}

void ListBox::RemoveItem(int index) {
    Touch();
    CheckIndex(index);
    SendMessageA(hwnd_, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
}

void ListBox::Clear() {
    Touch();
    SendMessageA(hwnd_, LB_RESETCONTENT, 0, 0);
    newIndex_ = -1;
}

std::string ListBox::List(int index) const {
    Touch();
    if (index < 0 || index >= ListCount()) return {};
    const LRESULT len = SendMessageA(hwnd_, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    std::string text(static_cast<size_t>(len) + 1, '\0');
    SendMessageA(hwnd_, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(len));
    return text;
}

void ListBox::SetList(int index, const std::string& item) {
    Touch();
    CheckIndex(index);
    const bool selected = Selected(index);
    const LRESULT data = SendMessageA(hwnd_, LB_GETITEMDATA, static_cast<WPARAM>(index), 0);
    SendMessageA(hwnd_, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
    SendMessageA(hwnd_, LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(item.c_str()));
    SendMessageA(hwnd_, LB_SETITEMDATA, static_cast<WPARAM>(index), data);
    if (selected) {
        if (state_.MultiSelect) SendMessageA(hwnd_, LB_SETSEL, TRUE, index);
        else SendMessageA(hwnd_, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
}

int ListBox::ListCount() const {
    Touch();
    return static_cast<int>(SendMessageA(hwnd_, LB_GETCOUNT, 0, 0));
}

int ListBox::ListIndex() const {
    Touch();
    if (state_.MultiSelect) {
        const int caret = static_cast<int>(SendMessageA(hwnd_, LB_GETCARETINDEX, 0, 0));
        return ListCount() == 0 ? -1 : caret;
    }
    return static_cast<int>(SendMessageA(hwnd_, LB_GETCURSEL, 0, 0));
}

void ListBox::SetListIndex(int index) {
    Touch();
    index = CInt(index);  // a 16-bit property: error 6 beyond its range
    if (index < -1 || index >= ListCount()) throw RuntimeError(err::InvalidPropertyValue);
    if (index == ListIndex() && (state_.MultiSelect || index == -1 || Selected(index))) return;
    if (state_.MultiSelect) {
        SendMessageA(hwnd_, LB_SETCARETINDEX, static_cast<WPARAM>(index < 0 ? 0 : index), FALSE);
    } else {
        SendMessageA(hwnd_, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
    if (Click) Click();
}

bool ListBox::Selected(int index) const {
    Touch();
    if (index < 0 || index >= ListCount()) throw RuntimeError(err::InvalidPropertyArrayIndex);
    return SendMessageA(hwnd_, LB_GETSEL, static_cast<WPARAM>(index), 0) > 0;
}

void ListBox::SetSelected(int index, bool on) {
    Touch();
    if (Selected(index) == on) return;
    if (state_.MultiSelect) {
        SendMessageA(hwnd_, LB_SETSEL, on, index);
    } else {
        SendMessageA(hwnd_, LB_SETCURSEL, on ? static_cast<WPARAM>(index) : static_cast<WPARAM>(-1), 0);
    }
    if (Click) Click();
}

int ListBox::SelCount() const {
    Touch();
    if (!state_.MultiSelect) return ListIndex() >= 0 ? 1 : 0;
    return static_cast<int>(SendMessageA(hwnd_, LB_GETSELCOUNT, 0, 0));
}

std::string ListBox::Text() const {
    const int index = ListIndex();
    return index >= 0 ? List(index) : std::string();
}

long ListBox::ItemData(int index) const {
    Touch();
    if (index < 0 || index >= ListCount()) throw RuntimeError(err::InvalidPropertyArrayIndex);
    return static_cast<long>(SendMessageA(hwnd_, LB_GETITEMDATA, static_cast<WPARAM>(index), 0));
}

void ListBox::SetItemData(int index, long value) {
    Touch();
    if (index < 0 || index >= ListCount()) throw RuntimeError(err::InvalidPropertyArrayIndex);
    SendMessageA(hwnd_, LB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(value));
}

int ListBox::NewIndex() const {
    Touch();
    return newIndex_;
}

void ListBox::OnCommand(WORD code) {
    if (code == LBN_SELCHANGE && Click) Guarded([this] { Click(); });
    else if (code == LBN_DBLCLK && DblClick) Guarded([this] { DblClick(); });
}

}  // namespace forms
