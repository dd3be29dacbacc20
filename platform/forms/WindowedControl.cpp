#include "platform/forms/WindowedControl.h"

#include "platform/runtime/App.h"
#include "platform/forms/Container.h"
#include "platform/forms/EventErrorBoundary.h"
#include "platform/forms/FormSite.h"
#include "platform/subclass/WindowSubclass.h"

#include <commctrl.h>
#include <windowsx.h>

namespace forms {
namespace {
constexpr UINT_PTR SubclassId = 0x51564643;  // the runtime's one subclass of a control's window; its data is the wrapper
}

WindowedControl::~WindowedControl() {
    if (hwnd_) DestroyWindow(hwnd_);
}

WindowedControl* WindowedControl::FromHwnd(HWND hwnd) {
    const auto data = subclass::SubclassData(hwnd, &SubclassProc, SubclassId);
    return data ? reinterpret_cast<WindowedControl*>(*data) : nullptr;
}

HWND WindowedControl::hWnd() const {
    NeedWindow();
    return hwnd_;
}

void WindowedControl::CreateWindowNow() {
    const HWND parent = GetContainer().ClientWindow();
    const RECT r = PixelRect();
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | WindowStyle();
    if (Control::Visible()) style |= WS_VISIBLE;
    if (!Control::Enabled()) style |= WS_DISABLED;
    hwnd_ = CreateWindowExA(WindowExStyle(), WindowClass(), InitialText().c_str(), style, r.left, r.top,
                            r.right - r.left, r.bottom - r.top, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(FormSite::NextControlId(OwnerForm()))),
                            App::hInstance(), nullptr);
    if (!hwnd_) return;
    Placed(r);
    subclass::SetSubclass(hwnd_, &SubclassProc, SubclassId, reinterpret_cast<DWORD_PTR>(this));
    created_ = true;
    ApplyFont();
    AfterCreate();
    ApplyToolTip();
}

void WindowedControl::WindowGone() {
    if (hwnd_) DestroyWindow(hwnd_);
    hwnd_ = nullptr;
    created_ = false;
}

void WindowedControl::Recreate() {
    if (!hwnd_) return;
    const bool focused = GetFocus() == hwnd_;
    const HWND after = GetWindow(hwnd_, GW_HWNDPREV);
    DestroyWindow(hwnd_);
    hwnd_ = nullptr;
    CreateWindowNow();
    if (hwnd_) {
        SetWindowPos(hwnd_, after ? after : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        if (focused) ::SetFocus(hwnd_);
    }
}

void WindowedControl::ApplyFont() {
    const FontSpec* design = Font();
    if (!design || !hwnd_) return;
    font_ = design->Create();
    SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
}

bool WindowedControl::Colors(COLORREF&, COLORREF&) const { return false; }

void WindowedControl::Refresh() {
    Touch();
    if (!hwnd_) return;
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

LRESULT WindowedControl::CallDefault(UINT msg, WPARAM wParam, LPARAM lParam) {
    return subclass::CallNextSubclass(hwnd_, msg, wParam, lParam);
}

void WindowedControl::SetWindowTextNow(const std::string& text) {
    if (hwnd_) SetWindowTextA(hwnd_, text.c_str());
}

std::string WindowedControl::WindowTextNow() const {
    if (!hwnd_) return {};
    std::string text(static_cast<size_t>(GetWindowTextLengthA(hwnd_)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(hwnd_, text.data(), static_cast<int>(text.size()))));
    return text;
}

RECT WindowedControl::PlacedRect() const {
    RECT r{};
    GetWindowRect(hwnd_, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(hwnd_), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void WindowedControl::Placed(const RECT& requested) {
    requested_ = requested;
    placed_ = PlacedRect();
}

void WindowedControl::ApplyGeometry(const RECT&) {
    if (FormSite::DeferMove(OwnerForm(), *this)) return;
    const RECT r = PixelRect();
    // A layout sets most positions to what they already are, one side at a time: the system would move the
    // window each time all the same, with its messages and a list's new layout. Asked again what it was last
    // asked, with the window still where that put it, nothing moves.
    const RECT now = PlacedRect();
    if (EqualRect(&r, &requested_) && EqualRect(&now, &placed_)) return;
    SetWindowPos(hwnd_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    Placed(r);
}

void WindowedControl::ApplyVisible() { ShowWindow(hwnd_, Control::Visible() ? SW_SHOWNA : SW_HIDE); }
void WindowedControl::ApplyEnabled() { EnableWindow(hwnd_, Control::Enabled()); }

void WindowedControl::ApplyZOrder(bool front) {
    SetWindowPos(hwnd_, front ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void WindowedControl::ApplyToolTip() { FormSite::SetToolTip(OwnerForm(), hwnd_, 0, nullptr, Control::ToolTipText()); }

bool WindowedControl::OnReflect(UINT msg, WPARAM wParam, LPARAM, LRESULT& result) {
    switch (msg) {
    case WM_COMMAND:
        OnCommand(HIWORD(wParam));
        result = 0;
        return true;
    case WM_CTLCOLORBTN: case WM_CTLCOLORSTATIC: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX: {
        COLORREF back = 0, fore = 0;
        if (!Colors(back, fore)) return false;
        const HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, fore);
        SetBkColor(dc, back);
        result = reinterpret_cast<LRESULT>(brush_.For(back));
        return true;
    }
    default: return false;
    }
}

LRESULT CALLBACK WindowedControl::SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                               DWORD_PTR data) {
    auto* self = reinterpret_cast<WindowedControl*>(data);
    if (msg == WM_NCDESTROY) {
        subclass::RemoveSubclass(hwnd, &SubclassProc, SubclassId);
        if (self->hwnd_ == hwnd) {
            self->hwnd_ = nullptr;
            self->created_ = false;
        }
        return subclass::CallNextSubclass(hwnd, msg, wParam, lParam);
    }
    FormSite::RelayToolTip(self->OwnerForm(), hwnd, msg, wParam, lParam);
    return GuardedEntry(
        [&] {
            const auto keep = FormSite::KeepAlive(self->OwnerForm());
            return self->Handle(msg, wParam, lParam);
        },
        LRESULT{0});
}

LRESULT WindowedControl::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (HandleMessage(msg, wParam, lParam, result)) return result;
    const HWND self = hwnd_;
    switch (msg) {
    case WM_SETFOCUS:
        result = CallDefault(msg, wParam, lParam);
        if (GotFocus) Guarded([&] { GotFocus(); });
        return result;
    case WM_KILLFOCUS:
        result = CallDefault(msg, wParam, lParam);
        if (LostFocus) Guarded([&] { LostFocus(); });
        return result;
    case WM_KEYDOWN: case WM_KEYUP: {
        auto& handler = msg == WM_KEYDOWN ? KeyDown : KeyUp;
        if (handler) {
            int code = static_cast<int>(wParam);
            Guarded([&] { handler(code, ShiftState()); });
            if (code == 0) return 0;
            wParam = static_cast<WPARAM>(code);
        }
        break;
    }
    case WM_CHAR:
        if (KeyPress) {
            int ascii = static_cast<int>(wParam);
            Guarded([&] { KeyPress(ascii); });
            if (ascii == 0) return 0;
            wParam = static_cast<WPARAM>(ascii);
        }
        break;
    default:
        if (Container::IsMouseMessage(msg)) {
            const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            Guarded([&] { RaiseMouse(msg, wParam, pt); });
            if (msg == WM_LBUTTONUP && MouseMakesClicks() && IsWindow(self)) {
                // The press's default handling first (the caret moves), then Click.
                result = subclass::CallNextSubclass(self, msg, wParam, lParam);
                Guarded([&] { RaiseClick(); });
                return result;
            }
        }
        break;
    }
    // A handler may have unloaded the form, and this window with it.
    if (!IsWindow(self)) return 0;
    return subclass::CallNextSubclass(self, msg, wParam, lParam);
}

}  // namespace forms
