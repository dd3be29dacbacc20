#pragma once
// What a test reads of real windows with the system's own calls: a window's children, a list box's rows.

#include <windows.h>

#include <string>
#include <vector>

namespace qvtest {

inline BOOL CALLBACK CollectWindow(HWND h, LPARAM all) {
    reinterpret_cast<std::vector<HWND>*>(all)->push_back(h);
    return TRUE;
}

// Every descendant window of parent.
inline std::vector<HWND> ChildWindows(HWND parent) {
    std::vector<HWND> found;
    EnumChildWindows(parent, &CollectWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

// The text of a list box's row, as the window holds it.
inline std::string ListBoxText(HWND list, int row) {
    std::string text(static_cast<size_t>(SendMessageA(list, LB_GETTEXTLEN, row, 0)) + 1, '\0');
    text.resize(static_cast<size_t>(SendMessageA(list, LB_GETTEXT, row, reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

}  // namespace qvtest
