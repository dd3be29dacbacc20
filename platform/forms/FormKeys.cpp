#include "platform/forms/Form.h"

#include "platform/forms/Control.h"
#include "platform/forms/EventErrorBoundary.h"

#include <algorithm>

namespace forms {

// ---- keys ----

bool Form::RouteKeys(MSG& msg) {
    if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
    Form* form = FromHwnd(GetAncestor(msg.hwnd, GA_ROOT));
    if (!form || !form->hwnd_) return false;
    const auto keep = form->KeepAlive();
    return form->PreTranslate(msg);
}

bool Form::TabToNext(bool backwards) {
    std::vector<Control*> order;
    for (Control* c : tabOrder_) {
        if (c->CanTakeFocus() && !c->Windowless()) order.push_back(c);
    }
    if (order.empty()) return false;
    Control* current = FocusedControl();
    auto it = std::find(order.begin(), order.end(), current);
    size_t next = 0;
    if (it != order.end()) {
        const size_t at = static_cast<size_t>(it - order.begin());
        next = backwards ? (at + order.size() - 1) % order.size() : (at + 1) % order.size();
    } else if (backwards) {
        next = order.size() - 1;
    }
    ::SetFocus(order[next]->hWnd());
    return true;
}

void Form::FocusAfter(const Control& c) {
    auto it = std::find(tabOrder_.begin(), tabOrder_.end(), &c);
    if (it == tabOrder_.end()) return;
    for (++it; it != tabOrder_.end(); ++it) {
        if ((*it)->CanTakeFocus()) {
            ::SetFocus((*it)->hWnd());
            return;
        }
    }
}

bool Form::PreTranslate(MSG& msg) {
    const bool onControl = msg.hwnd != hwnd_;
    if (RunShortcut(msg)) return true;
    if (msg.message == WM_SYSCHAR) {
        // Alt and an access letter: the controls' captions first, then the menu bar's.
        const char key = Control::UpperKey(static_cast<unsigned>(msg.wParam & 0xFF));
        for (Control* c : std::vector<Control*>(tabOrder_)) {
            if (c->AccessKey() == key && c->Visible() && c->Enabled() && (c->Windowless() || c->hWnd())) {
                Guarded([c] { c->OnAccessKey(); });
                return true;
            }
        }
    }
    if (keyPreview_ && onControl) {
        if (msg.message == WM_KEYDOWN || msg.message == WM_KEYUP) {
            int code = static_cast<int>(msg.wParam);
            const int shiftState = Control::ShiftState();
            Guarded([&] {
                if (msg.message == WM_KEYDOWN) Form_KeyDown(code, shiftState);
                else Form_KeyUp(code, shiftState);
            });
            if (code == 0 || !IsWindow(msg.hwnd)) return true;
            msg.wParam = static_cast<WPARAM>(code);
        } else if (msg.message == WM_CHAR) {
            int ascii = static_cast<int>(msg.wParam);
            Guarded([&] { Form_KeyPress(ascii); });
            if (ascii == 0 || !IsWindow(msg.hwnd)) return true;
            msg.wParam = static_cast<WPARAM>(ascii);
        }
    }
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB && GetKeyState(VK_CONTROL) >= 0) {
        const bool wantsTab = onControl && (SendMessageA(msg.hwnd, WM_GETDLGCODE, VK_TAB,
                                                         reinterpret_cast<LPARAM>(&msg)) & DLGC_WANTTAB);
        if (!wantsTab) return TabToNext(GetKeyState(VK_SHIFT) < 0);
    }
    if (msg.message == WM_CHAR && msg.wParam == '\t') {
        const bool wantsTab = onControl && (SendMessageA(msg.hwnd, WM_GETDLGCODE, VK_TAB,
                                                         reinterpret_cast<LPARAM>(&msg)) & DLGC_WANTTAB);
        if (!wantsTab) return true;
    }
    if (msg.message == WM_KEYDOWN && (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE)) {
        for (Control* c : controls_) {
            if (c->HandlesDialogKey(static_cast<int>(msg.wParam), msg.hwnd)) return true;
        }
    }
    return false;
}

}  // namespace forms
