#include "platform/comctl/TabControl.h"

#include "platform/forms/Container.h"
#include "platform/forms/EventErrorBoundary.h"

#include <commctrl.h>

namespace forms {

void TabControl::ResetFromDesign() {
    DesignedControl::ResetFromDesign();
    tabs_.Clear();
}

void TabControl::InsertItem(int at, const Tab& tab) {
    TCITEMA item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = const_cast<char*>(tab.Caption.c_str());
    item.iImage = tab.Image;
    SendMessageA(hwnd_, TCM_INSERTITEMA, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(&item));
}

void TabControl::AfterCreate() {
    int at = 0;
    for (const Tab& tab : tabs_.All()) InsertItem(at++, tab);
}

void TabControl::AddTab(const std::string& caption, int image, int position, const std::string& key) {
    Touch();
    if (image < -1) throw RuntimeError(err::InvalidPropertyValue);
    if (position < -1 || position == 0) throw RuntimeError(err::InvalidProcedureCall);
    Tab& added = tabs_.Insert(position == -1 ? 0 : position, Tab{key, caption, image});
    if (hwnd_) InsertItem(static_cast<int>(&added - tabs_.All().data()), added);
}

int TabControl::TabCount() const {
    Touch();
    return static_cast<int>(tabs_.All().size());
}

std::string TabControl::TabCaption(int index) const {
    Touch();
    if (index < 1 || index > static_cast<int>(tabs_.All().size())) throw RuntimeError(err::InvalidPropertyArrayIndex);
    return tabs_.All()[static_cast<std::size_t>(index - 1)].Caption;
}

void TabControl::SelectTab(const std::string& key, bool raiseClick) {
    Touch();
    const int index = static_cast<int>(tabs_.IndexOf(key)) + 1;
    if (!hwnd_ || index == SelectedIndex()) return;
    SendMessageA(hwnd_, TCM_SETCURSEL, static_cast<WPARAM>(index - 1), 0);
    if (raiseClick && Click) Click(index);
}

int TabControl::SelectedIndex() const {
    Touch();
    if (!hwnd_) return 0;
    return static_cast<int>(SendMessageA(hwnd_, TCM_GETCURSEL, 0, 0)) + 1;
}

RECT TabControl::PageRect() const {
    Touch();
    RECT r{};
    if (!hwnd_) return r;
    GetClientRect(hwnd_, &r);
    SendMessageA(hwnd_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    MapWindowPoints(hwnd_, GetParent(hwnd_), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

float TabControl::ClientLeft() const { return FromPixels(PageRect().left, GetContainer().ChildScale(), Axis::X); }
float TabControl::ClientTop() const { return FromPixels(PageRect().top, GetContainer().ChildScale(), Axis::Y); }
float TabControl::ClientWidth() const {
    const RECT r = PageRect();
    return FromPixels(r.right - r.left, GetContainer().ChildScale(), Axis::X);
}
float TabControl::ClientHeight() const {
    const RECT r = PageRect();
    return FromPixels(r.bottom - r.top, GetContainer().ChildScale(), Axis::Y);
}

bool TabControl::OnReflect(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (msg != WM_NOTIFY) return WindowedControl::OnReflect(msg, wParam, lParam, result);
    if (reinterpret_cast<const NMHDR*>(lParam)->code != TCN_SELCHANGE) return false;
    const int index = SelectedIndex();
    if (Click) Guarded([&] { Click(index); });
    result = 0;
    return true;
}

}  // namespace forms
