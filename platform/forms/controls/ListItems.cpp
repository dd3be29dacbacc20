#include "platform/forms/controls/ListItems.h"

#include "platform/runtime/RuntimeError.h"

namespace forms {
namespace {
const std::string NoText;
}

const std::string& ListItems::Text(int index) const noexcept {
    return Valid(index) ? items_[static_cast<size_t>(index)].text : NoText;
}

LRESULT ListItems::Send(UINT msg, WPARAM wParam, LPARAM lParam) const {
    // The entries' messages go straight to the window class's own procedure: the runtime's subclass has no
    // use for them, and its chain costs a lookup per message, several times the insert itself (a re-list, or
    // a search that adds thousands of results, sends one or two for each entry).
    const auto classProc = reinterpret_cast<WNDPROC>(GetClassLongPtrA(hwnd_, GCLP_WNDPROC));
    return classProc ? CallWindowProcA(classProc, hwnd_, msg, wParam, lParam) : SendMessageA(hwnd_, msg, wParam, lParam);
}

void ListItems::Mirror() const {
    if (!hwnd_) return;
    SendMessageA(hwnd_, WM_SETREDRAW, FALSE, 0);
    Send(m_.ResetContent, 0, 0);
    size_t bytes = 0;
    for (const Item& item : items_) bytes += item.text.size() + 1;
    Send(m_.InitStorage, items_.size(), static_cast<LPARAM>(bytes));
    for (size_t i = 0; i < items_.size(); ++i) {
        const auto at = Send(m_.InsertString, i, reinterpret_cast<LPARAM>(items_[i].text.c_str()));
        if (at >= 0 && items_[i].data) Send(m_.SetItemData, static_cast<WPARAM>(at), items_[i].data);
    }
    SendMessageA(hwnd_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

int ListItems::Add(const std::string& text, int index, bool sortedWindow) {
    int at = index < 0 ? Count() : index;
    if (hwnd_) {
        const LRESULT r = index < 0 || sortedWindow
                              ? Send(m_.AddString, 0, reinterpret_cast<LPARAM>(text.c_str()))
                              : Send(m_.InsertString, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.c_str()));
        if (r < 0) throw RuntimeError(err::OutOfMemory);
        at = static_cast<int>(r);  // a sorted window chose the place
    }
    items_.insert(items_.begin() + at, Item{text, 0});
    return at;
}

void ListItems::Remove(int index) {
    if (!Valid(index)) return;
    if (hwnd_) Send(m_.DeleteString, static_cast<WPARAM>(index), 0);
    items_.erase(items_.begin() + index);
}

void ListItems::SetText(int index, const std::string& text) {
    if (!Valid(index)) return;
    Item& item = items_[static_cast<size_t>(index)];
    item.text = text;
    if (!hwnd_) return;
    Send(m_.DeleteString, static_cast<WPARAM>(index), 0);
    Send(m_.InsertString, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.c_str()));
    Send(m_.SetItemData, static_cast<WPARAM>(index), item.data);
}

void ListItems::SetData(int index, long value) {
    if (!Valid(index)) return;
    items_[static_cast<size_t>(index)].data = value;
    if (hwnd_) Send(m_.SetItemData, static_cast<WPARAM>(index), value);
}

void ListItems::Clear() {
    items_.clear();
    if (hwnd_) Send(m_.ResetContent, 0, 0);
}

void ListItems::Assign(std::vector<std::string> texts) {
    items_.clear();
    items_.reserve(texts.size());
    for (std::string& t : texts) items_.push_back(Item{std::move(t), 0});
    Mirror();
}

}  // namespace forms
