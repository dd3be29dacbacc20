#pragma once
// A tree view's nodes read past the folder tree control, straight from the class's own procedure: what the
// window holds without making the control fill it first.

#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <string>

namespace foldertreetest {

inline LRESULT Held(HWND tree, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) {
    const auto view = reinterpret_cast<WNDPROC>(GetClassLongPtrA(tree, GCLP_WNDPROC));
    return CallWindowProcA(view, tree, msg, wParam, lParam);
}

inline HTREEITEM HeldNext(HWND tree, UINT how, HTREEITEM from = nullptr) {
    return reinterpret_cast<HTREEITEM>(Held(tree, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(from)));
}

inline std::string HeldText(HWND tree, HTREEITEM item) {
    char text[260] = {};
    TVITEMA tv{};
    tv.mask = TVIF_TEXT | TVIF_HANDLE;
    tv.hItem = item;
    tv.pszText = text;
    tv.cchTextMax = sizeof text;
    Held(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
    return text;
}

inline bool HeldExpanded(HWND tree, HTREEITEM item) {
    return Held(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_EXPANDED) & TVIS_EXPANDED;
}

// Whether the item's row lies wholly in the window's client area.
inline bool HeldInView(HWND tree, HTREEITEM item) {
    RECT row{}, client{};
    static_assert(sizeof item <= sizeof row);
    std::memcpy(&row, &item, sizeof item);  // TVM_GETITEMRECT takes the item in the rectangle
    return Held(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&row)) && GetClientRect(tree, &client) &&
           row.top >= client.top && row.bottom <= client.bottom;
}

}  // namespace foldertreetest
