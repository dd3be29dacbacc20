#include "platform/comctl/TrayIcon.h"

#include "platform/forms/EventErrorBoundary.h"
#include "platform/forms/FormSite.h"
#include "platform/subclass/WindowSubclass.h"
#include "platform/runtime/App.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cstring>

namespace forms {
namespace {
constexpr char CallbackClass[] = "Quillview.TrayIcon";
constexpr std::size_t TipBytes = 127;

UINT NextIconId() {
    static UINT next = 1;
    return next++;
}

UINT TaskbarCreated() {
    static const UINT msg = RegisterWindowMessageA("TaskbarCreated");
    return msg;
}

// Bytes of the character starting at text[i] in the program's code page.
std::size_t CharBytes(const std::string& text, std::size_t i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (GetACP() == CP_UTF8) {
        std::size_t n = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 1;
        return n;
    }
    return IsDBCSLeadByteEx(CP_ACP, lead) ? 2 : 1;
}
}  // namespace

std::string TrayIcon::ShellTip(const std::string& text) {
    std::size_t end = 0;
    while (end < text.size()) {
        const std::size_t next = end + CharBytes(text, end);
        if (next > TipBytes || next > text.size()) break;
        end = next;
    }
    return text.substr(0, end);
}

TrayIcon::TrayIcon(Form& form, std::string name, Design design, int index)
    : form_(form), name_(std::move(name)), index_(index), design_(std::move(design)), state_(design_),
      id_(NextIconId()) {}

TrayIcon::~TrayIcon() {
    if (attachedForm_ && IsWindow(attachedForm_))
        subclass::RemoveSubclass(attachedForm_, &FormSubclass, reinterpret_cast<UINT_PTR>(this));
    FormGone();
}

bool TrayIcon::Shown() const {
    FormSite::EnsureLoaded(form_);
    return state_.InTray;
}

void TrayIcon::SetShown(bool shown) {
    FormSite::EnsureLoaded(form_);
    EnsureAttached();
    state_.InTray = shown;
    Apply();
}

const std::string& TrayIcon::ToolTip() const {
    FormSite::EnsureLoaded(form_);
    return state_.ToolTip;
}

void TrayIcon::SetToolTip(const std::string& text) {
    FormSite::EnsureLoaded(form_);
    EnsureAttached();
    state_.ToolTip = text;
    if (added_) Notify(NIM_MODIFY);
}

StdPicture TrayIcon::Icon() const {
    FormSite::EnsureLoaded(form_);
    return state_.Icon;
}

void TrayIcon::SetIcon(const StdPicture& icon) {
    FormSite::EnsureLoaded(form_);
    EnsureAttached();
    state_.Icon = icon;
    smallIcon_.reset();
    if (added_) Notify(NIM_MODIFY);
}

// The icon lives with the form's window: a new window (the form loaded again) starts from the design, and
// the window's end takes the icon away.
void TrayIcon::EnsureAttached() {
    const HWND formWindow = form_.hWnd();
    if (formWindow == attachedForm_) return;
    FormGone();
    if (attachedForm_ && IsWindow(attachedForm_))
        subclass::RemoveSubclass(attachedForm_, &FormSubclass, reinterpret_cast<UINT_PTR>(this));
    attachedForm_ = formWindow;
    subclass::SetSubclass(formWindow, &FormSubclass, reinterpret_cast<UINT_PTR>(this), reinterpret_cast<DWORD_PTR>(this));
    if (state_.InTray) Apply();
}

// The shell's messages come to a window of the icon's own, made when the icon first goes into the tray:
// start-up sets the tip of an icon that is seldom shown.
void TrayIcon::EnsureCallbackWindow() {
    if (window_) return;
    static const ATOM atom = [] {
        WNDCLASSEXA wc{sizeof wc};
        wc.lpfnWndProc = &WndProc;
        wc.hInstance = App::hInstance();
        wc.lpszClassName = CallbackClass;
        return RegisterClassExA(&wc);
    }();
    window_.reset(CreateWindowExA(0, reinterpret_cast<LPCSTR>(static_cast<ULONG_PTR>(atom)), name_.c_str(),
                                  WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, App::hInstance(), nullptr));
    if (window_) SetWindowLongPtrA(window_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void TrayIcon::FormGone() {
    if (added_) Notify(NIM_DELETE);
    added_ = false;
    if (window_) SetWindowLongPtrA(window_.get(), GWLP_USERDATA, 0);
    window_.reset();
    smallIcon_.reset();
    state_ = design_;
}

LRESULT CALLBACK TrayIcon::FormSubclass(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                        DWORD_PTR data) {
    if (msg == WM_DESTROY) {
        auto* self = reinterpret_cast<TrayIcon*>(data);
        subclass::RemoveSubclass(hwnd, &FormSubclass, id);
        self->FormGone();
        self->attachedForm_ = nullptr;
    }
    return subclass::CallNextSubclass(hwnd, msg, wParam, lParam);
}

NOTIFYICONDATAA TrayIcon::Data() const {
    NOTIFYICONDATAA data{};
    data.cbSize = sizeof data;
    data.hWnd = window_.get();
    data.uID = id_;
    return data;
}

void TrayIcon::Notify(DWORD what) {
    NOTIFYICONDATAA data = Data();
    if (what != NIM_DELETE) {
        if (!smallIcon_ && state_.Icon && state_.Icon.Type() == PictureType::Icon) {
            // The small image of the icon, taken from its resource when it has one.
            smallIcon_.reset(static_cast<HICON>(CopyImage(state_.Icon.Handle(), IMAGE_ICON,
                                                          GetSystemMetrics(SM_CXSMICON),
                                                          GetSystemMetrics(SM_CYSMICON), LR_COPYFROMRESOURCE)));
        }
        data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
        data.uCallbackMessage = CallbackMessage();
        data.hIcon = smallIcon_ ? smallIcon_.get() : LoadIconA(nullptr, IDI_APPLICATION);
        const std::string tip = ShellTip(state_.ToolTip);
        std::memcpy(data.szTip, tip.c_str(), tip.size() + 1);
    }
    const bool done = Shell_NotifyIconA(what, &data) != FALSE;
    if (what == NIM_ADD) {
        // An icon the shell still holds (the taskbar came back without losing it) is modified instead.
        added_ = done || Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
    }
}

void TrayIcon::Apply() {
    if (!attachedForm_) return;
    if (state_.InTray && !added_) {
        EnsureCallbackWindow();
        if (window_) Notify(NIM_ADD);
    } else if (!state_.InTray && added_) {
        Notify(NIM_DELETE);
        added_ = false;
    }
}

void TrayIcon::OnCallback(LPARAM event) {
    const auto keep = FormSite::KeepAlive(form_);
    int button = 0;
    switch (LOWORD(event)) {
    case WM_LBUTTONUP: button = 1; break;
    case WM_RBUTTONUP: button = 2; break;
    case WM_MBUTTONUP: button = 4; break;
    case WM_LBUTTONDBLCLK:
        if (DblClick) Guarded([&] { DblClick(1); });
        return;
    case WM_RBUTTONDBLCLK:
        if (DblClick) Guarded([&] { DblClick(2); });
        return;
    case WM_MBUTTONDBLCLK:
        if (DblClick) Guarded([&] { DblClick(4); });
        return;
    default: return;
    }
    if (MouseUp) Guarded([&] { MouseUp(button); });
}

LRESULT CALLBACK TrayIcon::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<TrayIcon*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self) {
        if (msg == CallbackMessage() && wParam == self->id_) {
            self->OnCallback(lParam);
            return 0;
        }
        if (msg == TaskbarCreated()) {
            // A new taskbar knows no icons: a shown one is added again.
            self->added_ = false;
            self->Apply();
            return 0;
        }
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace forms
