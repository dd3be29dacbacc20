#include "platform/comctl/TabControl.h"

#include "platform/forms/Container.h"
#include "platform/forms/EventErrorBoundary.h"
#include "platform/forms/Form.h"
#include "platform/runtime/App.h"
#include "platform/runtime/OwnedHandles.h"

#include <commctrl.h>

namespace forms {

void TabControl::ResetFromDesign() {
    DesignedControl::ResetFromDesign();
    tabs_.Clear();
    selected_ = 0;
    measured_ = {};
}

void TabControl::InsertItem(HWND window, int at, const Tab& tab) {
    TCITEMA item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = const_cast<char*>(tab.Caption.c_str());
    item.iImage = tab.Image;
    SendMessageA(window, TCM_INSERTITEMA, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(&item));
}

void TabControl::AfterCreate() {
    int at = 0;
    for (const Tab& tab : tabs_.All()) InsertItem(hwnd_, at++, tab);
    // The tab chosen while there was no window (the strip itself chose the first).
    if (selected_ > 0 && SendMessageA(hwnd_, TCM_GETCURSEL, 0, 0) != selected_ - 1)
        SendMessageA(hwnd_, TCM_SETCURSEL, static_cast<WPARAM>(selected_ - 1), 0);
    selected_ = 0;
}

void TabControl::AddTab(const std::string& caption, int image, int position, const std::string& key) {
    Touch();
    if (image < -1) throw RuntimeError(err::InvalidPropertyValue);
    if (position < -1 || position == 0) throw RuntimeError(err::InvalidProcedureCall);
    const bool first = tabs_.All().empty();
    Tab& added = tabs_.Insert(position == -1 ? 0 : position, Tab{key, caption, image});
    const int at = static_cast<int>(&added - tabs_.All().data());
    if (hwnd_) {
        InsertItem(hwnd_, at, added);
        return;
    }
    // As the strip does: its first tab is chosen, and a tab put before the chosen one moves the choice on.
    if (first) selected_ = 1;
    else if (at < selected_) ++selected_;
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
    if (index == SelectedIndex()) return;
    if (hwnd_) SendMessageA(hwnd_, TCM_SETCURSEL, static_cast<WPARAM>(index - 1), 0);
    else selected_ = index;
    if (raiseClick && Click) Click(index);
}

int TabControl::SelectedIndex() const {
    Touch();
    if (!hwnd_) return selected_;
    return static_cast<int>(SendMessageA(hwnd_, TCM_GETCURSEL, 0, 0)) + 1;
}

RECT TabControl::MeasuredPageRect() const {
    const RECT at = PixelRect();
    const int width = at.right - at.left, height = at.bottom - at.top;
    if (measured_.width == width && measured_.height == height && measured_.tabs == tabs_.All().size())
        return measured_.page;
    RECT r{0, 0, width, height};
    const UniqueFont font = state_.Font.Create();
    const UniqueWindow scratch(CreateWindowExA(WindowExStyle(), WindowClass(), "", WS_CHILD | WS_CLIPSIBLINGS | WindowStyle(),
                                               0, 0, width, height, OwnerForm().hWnd(), nullptr, App::hInstance(),
                                               nullptr));
    if (!scratch) return RECT{};
    SendMessageA(scratch.get(), WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
    int place = 0;
    for (const Tab& tab : tabs_.All()) InsertItem(scratch.get(), place++, tab);
    SendMessageA(scratch.get(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    OffsetRect(&r, at.left, at.top);
    measured_ = {width, height, tabs_.All().size(), r};
    return r;
}

RECT TabControl::PageRect() const {
    Touch();
    RECT r{};
    if (!hwnd_) return MeasuredPageRect();
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
