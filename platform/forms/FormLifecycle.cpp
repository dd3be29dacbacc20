#include "platform/forms/Form.h"

#include "platform/forms/Container.h"
#include "platform/forms/Control.h"
#include "platform/forms/ControlArray.h"
#include "platform/forms/EventErrorBoundary.h"
#include "platform/forms/FormRegistry.h"
#include "platform/forms/Menu.h"
#include "platform/forms/MessageLoop.h"
#include "platform/forms/Screen.h"
#include "platform/forms/Timer.h"
#include "platform/forms/WindowedControl.h"
#include "platform/runtime/App.h"
#include "platform/runtime/OwnedHandles.h"
#include "platform/runtime/RuntimeError.h"

#include <windowsx.h>

#include <algorithm>

namespace forms {
namespace {

constexpr UINT MsgActivated = WM_APP + 0x3A01;  // posted: raise Activate once the activation settled

}  // namespace

// ---- loading ----

void Form::EnsureLoaded() {
    if (!hwnd_ && !unloading_) Load();
}

void Form::Load() { LoadWith(false); }

void Form::LoadWith(bool controlWindows) {
    if (hwnd_ || unloading_) return;
    const auto keep = KeepAlive();
    caption_ = design_.Caption;
    scaleMode_ = design_.Scale;
    backColor_ = design_.BackColor;
    mousePointer_ = design_.MousePointer;
    keyPreview_ = design_.KeyPreview;
    enabled_ = design_.Enabled;
    windowState_ = design_.WindowState;
    picture_ = design_.Picture;
    lastFocus_ = nullptr;
    everShown_ = false;
    controlWindowsPending_ = false;
    pendingZOrder_.clear();
    waitingForWindow_.clear();
    clientSize_ = {-1, -1};
    for (Control* c : std::vector<Control*>(controls_)) c->ResetFromDesign();
    for (Menu* m : menus_) m->ResetFromDesign();
    for (Timer* t : timers_) t->ResetFromDesign();
    // Tab order: declaration order, then each designed TabIndex put in its place (lowest first).
    tabOrder_ = controls_;
    std::vector<Control*> placed;
    for (Control* c : controls_) {
        if (c->DesignTabIndex() >= 0) placed.push_back(c);
    }
    std::stable_sort(placed.begin(), placed.end(),
                     [](const Control* a, const Control* b) { return a->DesignTabIndex() < b->DesignTabIndex(); });
    for (Control* c : placed) MoveInTabOrder(*c, c->DesignTabIndex());

    CreateFormWindow();
    if (!hwnd_) throw RuntimeError(err::CannotCreateObject, "The window could not be created");
    loading_ = true;
    struct EndLoading {
        Form& f;
        ~EndLoading() { f.loading_ = false; }
    } endLoading{*this};
    BuildMenus();
    // A form loaded hidden (the options window at start-up, loaded to hold lists) makes no control windows
    // that no one sees: they come at the first showing. A control whose state lives in its window keeps
    // the whole form to the windows now.
    const bool withoutWindows = !controlWindows && std::all_of(controls_.begin(), controls_.end(), [](const Control* c) {
        return c->KeepsStateWithoutWindow();
    });
    if (withoutWindows) {
        controlWindowsPending_ = true;
        for (Control* c : std::vector<Control*>(controls_)) c->LoadedWithoutWindow();
    } else {
        for (Control* c : std::vector<Control*>(controls_)) {
            if (WaitsForItsWindow(*c)) {
                c->LoadedWithoutWindow();
                waitingForWindow_.push_back(c);
            } else {
                c->CreateWindowNow();
            }
        }
    }
    for (Timer* t : timers_) t->Arm();
    Form_Load();
}

void Form::CreateControlWindows() {
    if (!controlWindowsPending_ || !hwnd_) return;
    controlWindowsPending_ = false;
    const auto keep = KeepAlive();
    // In declaration order, as a load makes them; then the moves in z-order made meanwhile, in order.
    for (Control* c : std::vector<Control*>(controls_)) c->CreateWindowNow();
    for (const auto& [c, front] : std::exchange(pendingZOrder_, {})) c->ApplyZOrderNow(front);
}

void Form::CreateWindowOf(Control& c) {
    if (controlWindowsPending_) c.LoadedWithoutWindow();
    else c.CreateWindowNow();
}

void Form::ZOrderChanged(Control& c, bool front) {
    if (controlWindowsPending_) pendingZOrder_.emplace_back(&c, front);
    else CreateWaitingWindow(c);  // it moves from its declared place now
}

void Form::CreateWaitingWindow(const Control& c) {
    const auto waiting = std::find(waitingForWindow_.begin(), waitingForWindow_.end(), &c);
    if (waiting == waitingForWindow_.end()) return;
    Control& control = **waiting;
    waitingForWindow_.erase(waiting);
    control.CreateWindowNow();
    const HWND made = control.hWnd();
    if (!made) return;
    // The system puts a new window at one end of its siblings, the end where the last declared ones are;
    // one declared after it that already has its window must stay on that side of it.
    const HWND parent = GetParent(made);
    const auto declared = std::find(controls_.begin(), controls_.end(), &control);
    HWND next = nullptr;
    for (auto it = declared == controls_.end() ? declared : declared + 1; it != controls_.end() && !next; ++it) {
        const Control* later = *it;
        if (later->Windowless() || std::find(waitingForWindow_.begin(), waitingForWindow_.end(), later) !=
                                       waitingForWindow_.end()) {
            continue;
        }
        const HWND h = later->hWnd();
        if (h && GetParent(h) == parent) next = h;
    }
    if (!next) return;
    bool madeAbove = false;
    for (HWND h = GetWindow(made, GW_HWNDNEXT); h; h = GetWindow(h, GW_HWNDNEXT)) {
        if (h == next) {
            madeAbove = true;
            break;
        }
    }
    // New windows go on top: the later one stays above it. New windows go to the bottom: it stays below.
    const HWND after = madeAbove ? next : GetWindow(next, GW_HWNDPREV);
    SetWindowPos(made, after ? after : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

bool Form::DeferMove(Control& c) {
    if (movesDeferred_ == 0) return false;
    if (std::find(movedLater_.begin(), movedLater_.end(), &c) == movedLater_.end()) movedLater_.push_back(&c);
    return true;
}

void Form::MoveDeferredWindows() noexcept {
    for (Control* c : std::exchange(movedLater_, {})) c->PlaceWindowNow();
}

// A hidden control whose state the runtime keeps needs no window until it is shown or its handle is asked
// for. A container's window is made at once: its children's windows are made in it.
bool Form::WaitsForItsWindow(const Control& c) const {
    return !c.Windowless() && !c.Visible() && c.KeepsStateWithoutWindow() && !dynamic_cast<const Container*>(&c);
}

void Form::CreateFormWindow() {
    ClassAtom();
    DWORD style = WS_CLIPCHILDREN;
    DWORD ex = 0;
    const bool boxes = design_.ControlBox;
    switch (design_.Border) {
    case BorderStyle::None: style |= WS_POPUP; break;
    case BorderStyle::FixedSingle:
        style |= WS_OVERLAPPED | WS_CAPTION | (boxes ? WS_SYSMENU : 0) | (design_.MinButton ? WS_MINIMIZEBOX : 0) |
                 (design_.MaxButton ? WS_MAXIMIZEBOX : 0);
        break;
    case BorderStyle::Sizable:
        style |= WS_OVERLAPPED | WS_CAPTION | WS_THICKFRAME | (boxes ? WS_SYSMENU : 0) |
                 (design_.MinButton ? WS_MINIMIZEBOX : 0) | (design_.MaxButton ? WS_MAXIMIZEBOX : 0);
        break;
    case BorderStyle::FixedDialog:
        style |= WS_OVERLAPPED | WS_CAPTION | (boxes ? WS_SYSMENU : 0);
        ex |= WS_EX_DLGMODALFRAME;
        break;
    case BorderStyle::FixedToolWindow:
        style |= WS_OVERLAPPED | WS_CAPTION | (boxes ? WS_SYSMENU : 0);
        ex |= WS_EX_TOOLWINDOW;
        break;
    case BorderStyle::SizableToolWindow:
        style |= WS_OVERLAPPED | WS_CAPTION | WS_THICKFRAME | (boxes ? WS_SYSMENU : 0);
        ex |= WS_EX_TOOLWINDOW;
        break;
    }
    if (!enabled_) style |= WS_DISABLED;
    const bool defaultPlace = design_.StartUp == StartUpPosition::WindowsDefault;
    left_ = {design_.Left, ToPixels(design_.Left, ScaleMode::Twips, Axis::X)};
    top_ = {design_.Top, ToPixels(design_.Top, ScaleMode::Twips, Axis::Y)};
    width_ = {design_.Width, ToPixels(design_.Width, ScaleMode::Twips, Axis::X)};
    height_ = {design_.Height, ToPixels(design_.Height, ScaleMode::Twips, Axis::Y)};
    owner_ = design_.ShowInTaskbar ? nullptr : formregistry::ParkingWindow();
    // An owner that is not loaded (any more) owns nothing.
    if (const auto owner = ownerAtCreation_.lock(); owner && owner->hwnd_) owner_ = owner->hwnd_;
    CreateWindowExA(ex, formregistry::WindowClass, caption_.c_str(), style, defaultPlace ? CW_USEDEFAULT : left_.pixels,
                    defaultPlace ? CW_USEDEFAULT : top_.pixels, width_.pixels, height_.pixels, owner_, nullptr,
                    App::hInstance(), this);
    if (hwnd_ && defaultPlace) {
        RECT r{};
        GetWindowRect(hwnd_, &r);
        left_ = {FromPixels(r.left, ScaleMode::Twips, Axis::X), static_cast<int>(r.left)};
        top_ = {FromPixels(r.top, ScaleMode::Twips, Axis::Y), static_cast<int>(r.top)};
    }
}

// ---- showing ----

void Form::Show(ShowMode mode, Form* owner) {
    const auto keep = KeepAlive();
    LoadWith(true);  // a form loaded to be shown gets its windows with the load, as its code expects
    if (!hwnd_) return;  // it unloaded itself while loading
    if (mode == ShowMode::Modal && modalDepth_ > 0)
        throw RuntimeError(err::FormAlreadyShown);
    if (owner && owner != this) {
        owner->EnsureLoaded();
        owner_ = owner->hWnd();
        SetWindowLongPtrA(hwnd_, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner_));
    }
    ShowWindowNow();
    if (mode == ShowMode::Modal && hwnd_) RunModal();
}

void Form::SetOwner(Form& owner) {
    if (&owner == this) return;
    ownerAtCreation_ = owner.self_;
    if (!hwnd_) return;
    owner.EnsureLoaded();
    owner_ = owner.hWnd();
    SetWindowLongPtrA(hwnd_, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner_));
}

void Form::ShowWindowNow() {
    CreateControlWindows();
    if (!hwnd_) return;
    if (!everShown_) PlaceAtStart();
    const bool wasVisible = IsWindowVisible(hwnd_);
    if (wasVisible) {
        if (IsIconic(hwnd_)) ShowWindow(hwnd_, SW_RESTORE);
        SetForegroundWindow(hwnd_);
        BringWindowToTop(hwnd_);
        return;
    }
    int cmd = SW_SHOW;
    if (windowState_ == windowstate::Maximized) cmd = SW_SHOWMAXIMIZED;
    else if (windowState_ == windowstate::Minimized) cmd = SW_SHOWMINIMIZED;
    ++suppressResize_;
    ShowWindow(hwnd_, cmd);
    --suppressResize_;
    if (!hwnd_) return;
    SetForegroundWindow(hwnd_);
    if (!everShown_) {
        everShown_ = true;
        RECT rc{};
        GetClientRect(hwnd_, &rc);
        clientSize_ = {rc.right, rc.bottom};
        Form_Resize();
    }
}

void Form::PlaceAtStart() {
    if (design_.StartUp != StartUpPosition::CenterScreen && design_.StartUp != StartUpPosition::CenterOwner) return;
    RECT area{};
    RECT ownerRect{};
    const HWND realOwner = owner_ && owner_ != formregistry::ParkingWindow() ? owner_ : nullptr;
    if (design_.StartUp == StartUpPosition::CenterOwner && realOwner && IsWindowVisible(realOwner) &&
        GetWindowRect(realOwner, &ownerRect)) {
        area = ownerRect;
    } else {
        MONITORINFO mi{};
        mi.cbSize = sizeof mi;
        GetMonitorInfoA(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTOPRIMARY), &mi);
        area = mi.rcWork;
    }
    const float w = Width(), h = Height();
    const float areaLeft = FromPixels(area.left, ScaleMode::Twips, Axis::X);
    const float areaTop = FromPixels(area.top, ScaleMode::Twips, Axis::Y);
    const float areaW = FromPixels(area.right - area.left, ScaleMode::Twips, Axis::X);
    const float areaH = FromPixels(area.bottom - area.top, ScaleMode::Twips, Axis::Y);
    left_.twips = areaLeft + (areaW - w) / 2;
    top_.twips = areaTop + (areaH - h) / 2;
    ApplyPosition();
}

void Form::RunModal() {
    // Every other visible, enabled form of the program waits for this one.
    std::vector<HWND> disabled;
    for (Form* f : formregistry::All()) {
        if (f != this && f->hwnd_ && IsWindowVisible(f->hwnd_) && IsWindowEnabled(f->hwnd_)) {
            EnableWindow(f->hwnd_, FALSE);
            disabled.push_back(f->hwnd_);
        }
    }
    // However the loop ends (an error escaping a message filter too), the other forms come back.
    struct Restore {
        Form& modal;
        const std::vector<HWND>& disabled;
        ~Restore() {
            --modal.modalDepth_;
            for (HWND h : disabled) {
                if (IsWindow(h)) EnableWindow(h, TRUE);
            }
            // Back to the window that was active under the modal one.
            for (auto it = disabled.rbegin(); it != disabled.rend(); ++it) {
                if (IsWindow(*it) && IsWindowVisible(*it)) {
                    SetForegroundWindow(*it);
                    break;
                }
            }
        }
    };
    ++modalDepth_;
    const Restore restore{*this, disabled};
    MessageLoop::RunUntil([this] { return !hwnd_ || !IsWindowVisible(hwnd_); });
}

void Form::Hide() {
    EnsureLoaded();
    if (hwnd_) ShowWindow(hwnd_, SW_HIDE);
}

// ---- unloading ----

void Form::Unload() { UnloadWith(unloadmode::Code, true); }

void Form::UnloadWith(int mode, bool cancellable, bool queried) {
    if (!hwnd_ || unloading_) return;
    const auto keep = KeepAlive();
    int cancel = 0;
    if (!queried) Form_QueryUnload(cancel, mode);
    if (cancel && cancellable) return;
    cancel = 0;
    Form_Unload(cancel);
    if (cancel && cancellable) return;
    if (!hwnd_) return;  // a handler unloaded it already

    unloading_ = true;
    struct EndUnloading {
        Form& f;
        ~EndUnloading() { f.unloading_ = false; }
    } endUnloading{*this};
    if (formregistry::MainForm() == this) {
        // The program ends with its main form: every other loaded form goes first.
        for (Form* f : std::vector<Form*>(formregistry::All())) {
            if (f != this && f->hwnd_) f->UnloadWith(unloadmode::ProgramEnds, false);
        }
    }
    for (Timer* t : timers_) t->Disarm();
    controlWindowsPending_ = false;
    pendingZOrder_.clear();
    ReleaseMouseTarget();
    const HWND h = hwnd_;
    DestroyMenus();
    toolTip_.reset();
    tools_.clear();
    DestroyWindow(h);
    hwnd_ = nullptr;
    for (Control* c : std::vector<Control*>(controls_)) c->WindowGone();
    for (ControlArrayBase* a : std::vector<ControlArrayBase*>(arrays_)) a->DropRuntimeElements();
    if (formregistry::LastActive() == this) formregistry::LastActive() = nullptr;
    EndProgramIfDone(*this);
}

void Form::EndProgramIfDone(Form& unloaded) {
    if (MessageLoop::RunDepth() == 0) return;  // no program loop to end (tests drive the forms)
    bool end = formregistry::MainForm() == &unloaded;
    if (!formregistry::MainForm()) {
        end = std::none_of(formregistry::All().begin(), formregistry::All().end(), [](const Form* f) { return f->hwnd_; });
    }
    if (end) PostQuitMessage(0);
}

// ---- window procedure ----

LRESULT CALLBACK Form::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Form* self = nullptr;
    if (msg == WM_NCCREATE) {
        self = static_cast<Form*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<Form*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    }
    if (!self) return DefWindowProcA(hwnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        if (self->hwnd_ == hwnd) {
            self->hwnd_ = nullptr;
            (void)self->toolTip_.release();  // destroyed with its owner
            self->tools_.clear();
            if (GetMenu(hwnd) == self->menuBar_.get()) (void)self->menuBar_.release();  // likewise
        }
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    self->RelayToolTip(hwnd, msg, wParam, lParam);
    return GuardedEntry(
        [&] {
            const auto keep = self->KeepAlive();
            return self->HandleMessage(msg, wParam, lParam);
        },
        LRESULT{0});
}

bool Form::ApplyCursor(HWND over) {
    int pointer = Screen().MousePointer();
    if (pointer == 0) {
        if (WindowedControl* c = WindowedControl::FromHwnd(over)) pointer = c->MousePointer();
    }
    if (pointer == 0) pointer = mousePointer_;
    if (pointer == 0) return false;
    SetCursor(CursorOf(pointer));
    return true;
}

void Form::OnMouse(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (RouteMouse(msg, wParam, lParam)) return;
    const float x = FromPixels(GET_X_LPARAM(lParam), scaleMode_, Axis::X);
    const float y = FromPixels(GET_Y_LPARAM(lParam), scaleMode_, Axis::Y);
    const int shiftState = Control::ShiftState();
    Guarded([&] {
        switch (msg) {
        case WM_MOUSEMOVE: Form_MouseMove(Control::ButtonMask(wParam), shiftState, x, y); break;
        case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
            Form_MouseDown(Control::ButtonOf(msg), shiftState, x, y);
            break;
        case WM_LBUTTONDBLCLK: case WM_RBUTTONDBLCLK: case WM_MBUTTONDBLCLK:
            Form_MouseDown(Control::ButtonOf(msg), shiftState, x, y);
            if (msg == WM_LBUTTONDBLCLK) Form_DblClick();
            break;
        case WM_LBUTTONUP: case WM_RBUTTONUP: case WM_MBUTTONUP:
            Form_MouseUp(Control::ButtonOf(msg), shiftState, x, y);
            if (msg == WM_LBUTTONUP && hwnd_) Form_Click();
            break;
        default: break;
        }
    });
}

void Form::RaiseResize() {
    if (!hwnd_ || loading_ || !everShown_ || suppressResize_) return;
    RECT rc{};
    GetClientRect(hwnd_, &rc);
    if (rc.right == clientSize_.cx && rc.bottom == clientSize_.cy) return;
    clientSize_ = {rc.right, rc.bottom};
    Guarded([this] { Form_Resize(); });
}

LRESULT Form::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT reflected = 0;
    if (Reflect(msg, wParam, lParam, reflected)) return reflected;
    if (IsMouseMessage(msg)) {
        OnMouse(msg, wParam, lParam);
        return 0;
    }
    switch (msg) {
    case WM_CLOSE:
        Guarded([this] { UnloadWith(unloadmode::ControlMenu, true); });
        return 0;
    case WM_QUERYENDSESSION: {
        bool refuse = false;
        Guarded([&] {
            int cancel = 0;
            Form_QueryUnload(cancel, unloadmode::AppWindows);
            refuse = cancel != 0;
        });
        return refuse ? FALSE : TRUE;
    }
    case WM_ENDSESSION:
        // The session ends after every window agreed at the query: the form unloads as at a close that
        // nothing can refuse, and the program's state is kept before the process goes.
        if (wParam) {
            sessionEnding_ = true;
            struct EndSessionEnding {
                Form& f;
                ~EndSessionEnding() { f.sessionEnding_ = false; }
            } endSessionEnding{*this};
            Guarded([this] { UnloadWith(unloadmode::AppWindows, false, true); });
        }
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            const HWND focus = GetFocus();
            if (focus && IsChild(hwnd_, focus)) lastFocus_ = focus;
            break;
        }
        PostMessageA(hwnd_, MsgActivated, 0, 0);
        // The focus goes back to the control that had it, else to the first in the tab order.
        if (!HIWORD(wParam)) {
            HWND target = lastFocus_ && IsWindow(lastFocus_) && IsChild(hwnd_, lastFocus_) &&
                                  IsWindowVisible(lastFocus_) && IsWindowEnabled(lastFocus_)
                              ? lastFocus_
                              : nullptr;
            for (auto it = tabOrder_.begin(); !target && it != tabOrder_.end(); ++it) {
                if ((*it)->CanTakeFocus()) target = (*it)->hWnd();
            }
            if (target) {
                ::SetFocus(target);
                return 0;
            }
        }
        break;
    case MsgActivated:
        if (GetActiveWindow() == hwnd_ && formregistry::LastActive() != this && !loading_) {
            formregistry::LastActive() = this;
            Guarded([this] { Form_Activate(); });
        }
        return 0;
    case WM_TIMER:
        for (Timer* t : std::vector<Timer*>(timers_)) {
            if (t->Id() == wParam) {
                t->Fire();
                return 0;
            }
        }
        break;
    case WM_COMMAND:
        if (lParam == 0 && HIWORD(wParam) <= 1) {
            Guarded([&] { OnMenuCommand(LOWORD(wParam)); });
            return 0;
        }
        break;
    case WM_INITMENUPOPUP:
        if (!HIWORD(lParam)) Guarded([&] { OnInitMenuPopup(reinterpret_cast<HMENU>(wParam)); });
        return 0;
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT && ApplyCursor(reinterpret_cast<HWND>(wParam))) return TRUE;
        break;
    case WM_ERASEBKGND:
        return 1;  // WM_PAINT lays the background under the picture and the windowless controls at once
    case WM_PAINT: {
        {
            ScopedPaint paint(hwnd_);
            const RECT area = paint.area();
            PaintOffscreen(paint.get(), area, [&](HDC dc) {
                FillRect(dc, &area, backBrush_.For(ToColorRefOr(backColor_, GetSysColor(COLOR_BTNFACE))));
                PaintBackground(dc);
                PaintWindowless(dc, area);
            });
        }
        Guarded([this] { Form_Paint(); });
        return 0;
    }
    case WM_SHOWWINDOW:
        // Shown by any way (ShowWindow on the handle too): the controls are there before it is on the screen.
        if (wParam) CreateControlWindows();
        break;
    case WM_SIZE:
        for (Control* c : std::vector<Control*>(controls_)) c->FormSized();
        RaiseResize();  // minimising too: the client size goes to nothing
        break;
    case WM_KEYDOWN: case WM_KEYUP: {
        int code = static_cast<int>(wParam);
        const int shiftState = Control::ShiftState();
        Guarded([&] {
            if (msg == WM_KEYDOWN) Form_KeyDown(code, shiftState);
            else Form_KeyUp(code, shiftState);
        });
        return 0;
    }
    case WM_CHAR: {
        int ascii = static_cast<int>(wParam);
        Guarded([&] { Form_KeyPress(ascii); });
        return 0;
    }
    default: break;
    }
    return DefWindowProcA(hwnd_, msg, wParam, lParam);
}

}  // namespace forms
