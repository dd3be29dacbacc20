#include "platform/forms/Form.h"

#include "platform/runtime/App.h"
#include "platform/forms/Control.h"
#include "platform/forms/ControlArray.h"
#include "platform/forms/DispatchBoundary.h"
#include "platform/forms/FormDispatch.h"
#include "platform/forms/Menu.h"
#include "platform/forms/MessageLoop.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/forms/Screen.h"
#include "platform/forms/Timer.h"
#include "platform/forms/WindowedControl.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <map>

namespace forms {
namespace {

constexpr char FormClass[] = "QuillviewForm";
constexpr UINT MsgActivated = WM_APP + 0x3A01;  // posted: raise Activate once the activation settled
constexpr std::int32_t CantMoveWhileMinMax = 384;
constexpr std::int32_t AlreadyShownModal = 400;
constexpr std::int32_t InvalidCall = 5;

std::vector<Form*>& Registry() {
    static std::vector<Form*> forms;
    return forms;
}

Form*& MainFormSlot() {
    static Form* main = nullptr;
    return main;
}

// The form that last became the program's active form (Activate runs when this changes).
Form*& LastActive() {
    static Form* last = nullptr;
    return last;
}

std::map<std::type_index, std::shared_ptr<Form>>& Defaults() {
    static std::map<std::type_index, std::shared_ptr<Form>> defaults;
    return defaults;
}

// Owner of forms that are not in the task bar: owned windows get no task bar button.
HWND ParkingWindow() {
    static UniqueWindow parking(CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                                App::hInstance(), nullptr));
    return parking.get();
}

// Keys an edit control keeps for itself even when a menu item has them as its shortcut.
bool IsEditingKey(const Accel& a) {
    switch (a.Key) {
    case VK_DELETE: case VK_BACK: case VK_HOME: case VK_END: case VK_LEFT: case VK_RIGHT: case VK_UP:
    case VK_DOWN: case VK_INSERT:
        return !a.Alt;
    case 'C': case 'V': case 'X': case 'Z': case 'A':
        return a.Ctrl && !a.Alt;
    default: return false;
    }
}

bool IsEditWindow(HWND hwnd) {
    char cls[16] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    return lstrcmpiA(cls, "Edit") == 0;
}

}  // namespace

// ---- instances ----

namespace detail {
std::shared_ptr<Form> FindDefault(std::type_index type) {
    const auto it = Defaults().find(type);
    return it == Defaults().end() ? nullptr : it->second;
}
void StoreDefault(std::type_index type, std::shared_ptr<Form> form) { Defaults()[type] = std::move(form); }
void DropDefault(std::type_index type) {
    auto node = Defaults().extract(type);  // Terminate runs outside the map
    if (node && node.mapped()->IsLoaded()) node.mapped()->Unload();
}
}  // namespace detail

void ReleaseDefaults() {
    auto all = std::move(Defaults());
    Defaults().clear();
    all.clear();
}

int Run() {
    const auto all = Form::AllForms();
    const bool anyLoaded = std::any_of(all.begin(), all.end(), [](const Form* f) { return f->IsLoaded(); });
    const int code = anyLoaded ? MessageLoop::Run() : 0;
    for (Form* f : Form::AllForms()) {
        if (f->IsLoaded()) f->Unload();
    }
    ReleaseDefaults();
    return code;
}

Form::Form(FormDesign design)
    : design_(std::move(design)), scaleMode_(design_.Scale), backColor_(design_.BackColor),
      mousePointer_(design_.MousePointer), keyPreview_(design_.KeyPreview), enabled_(design_.Enabled),
      windowState_(design_.WindowState) {
    static const int filter = MessageLoop::AddFilter(&Form::RouteKeys);
    (void)filter;
    Registry().push_back(this);
}

Form::~Form() {
    if (hwnd_) {
        DestroyMenus();
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
        hwnd_ = nullptr;
    }
    if (toolTip_) DestroyWindow(toolTip_);
    if (MainFormSlot() == this) MainFormSlot() = nullptr;
    if (LastActive() == this) LastActive() = nullptr;
    std::erase(Registry(), this);
}

void Form::SetMainForm(Form* form) noexcept { MainFormSlot() = form; }
Form* Form::MainForm() noexcept { return MainFormSlot(); }
std::vector<Form*> Form::AllForms() { return Registry(); }

ATOM Form::ClassAtom() {
    static const ATOM atom = [] {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = &Form::WndProc;
        wc.hInstance = App::hInstance();
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.lpszClassName = FormClass;
        return RegisterClassExA(&wc);
    }();
    return atom;
}

Form* Form::FromHwnd(HWND hwnd) {
    if (!hwnd) return nullptr;
    const ATOM atom = ClassAtom();
    if (!atom || GetClassLongPtrA(hwnd, GCW_ATOM) != atom) return nullptr;
    return reinterpret_cast<Form*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

// ---- registration ----

void Form::RegisterControl(Control& c) {
    controls_.push_back(&c);
    tabOrder_.push_back(&c);
}
void Form::UnregisterControl(Control& c) {
    std::erase(controls_, &c);
    std::erase(tabOrder_, &c);
}
void Form::RegisterMenu(Menu& m) {
    menus_.push_back(&m);
    if (hwnd_ && !m.Parent()) RefreshMenuBar();
}
void Form::UnregisterMenu(Menu& m) {
    std::erase(menus_, &m);
    if (poppedMenu_ == &m) poppedMenu_ = nullptr;
    if (hwnd_ && !m.Parent()) RefreshMenuBar();
}
void Form::RegisterTimer(Timer& t) { timers_.push_back(&t); }
void Form::UnregisterTimer(Timer& t) { std::erase(timers_, &t); }
void Form::RegisterArray(ControlArrayBase& a) { arrays_.push_back(&a); }
void Form::UnregisterArray(ControlArrayBase& a) { std::erase(arrays_, &a); }

int Form::TabPosition(const Control& c) const {
    const auto it = std::find(tabOrder_.begin(), tabOrder_.end(), &c);
    return static_cast<int>(it - tabOrder_.begin());
}

void Form::MoveInTabOrder(Control& c, int position) {
    std::erase(tabOrder_, &c);
    const auto at = std::min<size_t>(static_cast<size_t>(position), tabOrder_.size());
    tabOrder_.insert(tabOrder_.begin() + static_cast<std::ptrdiff_t>(at), &c);
}

// ---- loading ----

void Form::EnsureLoaded() {
    if (!hwnd_ && !unloading_) Load();
}

void Form::Load() {
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
    for (Control* c : std::vector<Control*>(controls_)) c->CreateWindowNow();
    for (Timer* t : timers_) t->Arm();
    Form_Load();
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
    owner_ = design_.ShowInTaskbar ? nullptr : ParkingWindow();
    CreateWindowExA(ex, FormClass, caption_.c_str(), style, defaultPlace ? CW_USEDEFAULT : left_.pixels,
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
    EnsureLoaded();
    if (!hwnd_) return;  // it unloaded itself while loading
    if (mode == ShowMode::Modal && modalDepth_ > 0)
        throw RuntimeError(AlreadyShownModal, "Form already displayed; can't show modally");
    if (owner && owner != this) {
        owner->EnsureLoaded();
        owner_ = owner->hWnd();
        SetWindowLongPtrA(hwnd_, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner_));
    }
    ShowWindowNow();
    if (mode == ShowMode::Modal && hwnd_) RunModal();
}

void Form::ShowWindowNow() {
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
    const HWND realOwner = owner_ && owner_ != ParkingWindow() ? owner_ : nullptr;
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
    for (Form* f : Registry()) {
        if (f != this && f->hwnd_ && IsWindowVisible(f->hwnd_) && IsWindowEnabled(f->hwnd_)) {
            EnableWindow(f->hwnd_, FALSE);
            disabled.push_back(f->hwnd_);
        }
    }
    ++modalDepth_;
    MessageLoop::RunUntil([this] { return !hwnd_ || !IsWindowVisible(hwnd_); });
    --modalDepth_;
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

void Form::Hide() {
    EnsureLoaded();
    if (hwnd_) ShowWindow(hwnd_, SW_HIDE);
}

// ---- unloading ----

void Form::Unload() { UnloadWith(unloadmode::Code, true); }

void Form::UnloadWith(int mode, bool cancellable) {
    if (!hwnd_ || unloading_) return;
    const auto keep = KeepAlive();
    int cancel = 0;
    Form_QueryUnload(cancel, mode);
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
    if (MainFormSlot() == this) {
        // The program ends with its main form: every other loaded form goes first.
        for (Form* f : std::vector<Form*>(Registry())) {
            if (f != this && f->hwnd_) f->UnloadWith(unloadmode::ProgramEnds, false);
        }
    }
    for (Timer* t : timers_) t->Disarm();
    ReleaseMouseTarget();
    const HWND h = hwnd_;
    DestroyMenus();
    DestroyWindow(h);
    hwnd_ = nullptr;
    for (Control* c : std::vector<Control*>(controls_)) c->WindowGone();
    for (ControlArrayBase* a : std::vector<ControlArrayBase*>(arrays_)) a->DropRuntimeElements();
    if (LastActive() == this) LastActive() = nullptr;
    EndProgramIfDone(*this);
}

void Form::EndProgramIfDone(Form& unloaded) {
    if (MessageLoop::RunDepth() == 0) return;  // no program loop to end (tests drive the forms)
    bool end = MainFormSlot() == &unloaded;
    if (!MainFormSlot()) {
        end = std::none_of(Registry().begin(), Registry().end(), [](const Form* f) { return f->hwnd_; });
    }
    if (end) PostQuitMessage(0);
}

// ---- properties ----

std::string Form::Caption() const {
    const_cast<Form*>(this)->EnsureLoaded();
    return caption_;
}

void Form::SetCaption(const std::string& caption) {
    EnsureLoaded();
    caption_ = caption;
    SetWindowTextA(hwnd_, caption.c_str());
}

bool Form::Visible() const {
    const_cast<Form*>(this)->EnsureLoaded();
    return hwnd_ && IsWindowVisible(hwnd_);
}

void Form::SetVisible(bool visible) {
    if (visible) Show();
    else Hide();
}

bool Form::Enabled() const {
    const_cast<Form*>(this)->EnsureLoaded();
    return enabled_;
}

void Form::SetEnabled(bool enabled) {
    EnsureLoaded();
    enabled_ = enabled;
    EnableWindow(hwnd_, enabled);
}

int Form::WindowState() const {
    const_cast<Form*>(this)->EnsureLoaded();
    if (hwnd_ && IsWindowVisible(hwnd_)) {
        if (IsIconic(hwnd_)) return windowstate::Minimized;
        if (IsZoomed(hwnd_)) return windowstate::Maximized;
        return windowstate::Normal;
    }
    return windowState_;
}

void Form::SetWindowState(int state) {
    EnsureLoaded();
    state = CInt(state);  // a 16-bit property: error 6 beyond its range
    if (state < windowstate::Normal || state > windowstate::Maximized) throw RuntimeError(err::InvalidPropertyValue);
    const int before = WindowState();
    windowState_ = state;
    if (before == state) return;
    if (IsWindowVisible(hwnd_)) {
        ++suppressResize_;
        ShowWindow(hwnd_, state == windowstate::Maximized   ? SW_MAXIMIZE
                          : state == windowstate::Minimized ? SW_MINIMIZE
                                                            : SW_RESTORE);
        --suppressResize_;
        RECT rc{};
        GetClientRect(hwnd_, &rc);
        clientSize_ = {rc.right, rc.bottom};
    }
    // Raised here rather than from WM_SIZE, so that its errors return to this statement.
    Form_Resize();
}

float Form::Read(const Coord& c, int actualPixels, Axis axis) const {
    return actualPixels == c.pixels ? c.twips : FromPixels(actualPixels, ScaleMode::Twips, axis);
}

RECT Form::OuterRect() const {
    const_cast<Form*>(this)->EnsureLoaded();
    RECT r{};
    GetWindowRect(hwnd_, &r);
    return r;
}

// Where the window no longer sits at the pixels a value was applied as (the user moved it, or it is
// minimised or maximised), the window's own position counts.
float Form::Left() const { return Read(left_, OuterRect().left, Axis::X); }
float Form::Top() const { return Read(top_, OuterRect().top, Axis::Y); }
float Form::Width() const {
    const RECT r = OuterRect();
    return Read(width_, r.right - r.left, Axis::X);
}
float Form::Height() const {
    const RECT r = OuterRect();
    return Read(height_, r.bottom - r.top, Axis::Y);
}

void Form::CheckMovable() const {
    if (IsWindowVisible(hwnd_) && (IsIconic(hwnd_) || IsZoomed(hwnd_)))
        throw RuntimeError(CantMoveWhileMinMax, "Can't move or size a window while it is minimized or maximized");
}

void Form::ApplyPosition() {
    left_.pixels = ToPixels(left_.twips, ScaleMode::Twips, Axis::X);
    top_.pixels = ToPixels(top_.twips, ScaleMode::Twips, Axis::Y);
    width_.pixels = ToPixels(width_.twips, ScaleMode::Twips, Axis::X);
    height_.pixels = ToPixels(height_.twips, ScaleMode::Twips, Axis::Y);
    SetWindowPos(hwnd_, nullptr, left_.pixels, top_.pixels, width_.pixels, height_.pixels,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::Move(float left, std::optional<float> top, std::optional<float> width, std::optional<float> height) {
    EnsureLoaded();
    CheckMovable();
    if ((width && *width < 0) || (height && *height < 0)) throw RuntimeError(err::InvalidPropertyValue);
    // Unchanged coordinates keep what was read, so a fraction stored earlier survives.
    const float t = top ? *top : Top();
    const float w = width ? *width : Width();
    const float h = height ? *height : Height();
    left_.twips = left;
    top_.twips = t;
    width_.twips = w;
    height_.twips = h;
    ApplyPosition();
}

void Form::SetLeft(float v) { Move(v); }
void Form::SetTop(float v) { EnsureLoaded(); Move(Left(), v); }
void Form::SetWidth(float v) { EnsureLoaded(); Move(Left(), Top(), v); }
void Form::SetHeight(float v) { EnsureLoaded(); Move(Left(), Top(), Width(), v); }

float Form::ScaleWidth() const {
    const_cast<Form*>(this)->EnsureLoaded();
    RECT rc{};
    GetClientRect(hwnd_, &rc);
    return FromPixels(rc.right, scaleMode_, Axis::X);
}

float Form::ScaleHeight() const {
    const_cast<Form*>(this)->EnsureLoaded();
    RECT rc{};
    GetClientRect(hwnd_, &rc);
    return FromPixels(rc.bottom, scaleMode_, Axis::Y);
}

ScaleMode Form::GetScaleMode() const {
    const_cast<Form*>(this)->EnsureLoaded();
    return scaleMode_;
}

void Form::SetScaleMode(ScaleMode mode) {
    EnsureLoaded();
    scaleMode_ = mode;
}

float Form::ScaleX(float value, ScaleMode from, std::optional<ScaleMode> to) const {
    return ConvertUnits(value, from, to.value_or(GetScaleMode()), Axis::X);
}

float Form::ScaleY(float value, ScaleMode from, std::optional<ScaleMode> to) const {
    return ConvertUnits(value, from, to.value_or(GetScaleMode()), Axis::Y);
}

HWND Form::hWnd() const {
    const_cast<Form*>(this)->EnsureLoaded();
    return hwnd_;
}

OleColor Form::BackColor() const {
    const_cast<Form*>(this)->EnsureLoaded();
    return backColor_;
}

void Form::SetBackColor(OleColor color) {
    EnsureLoaded();
    ToColorRef(color);  // refuses invalid colours
    backColor_ = color;
    InvalidateRect(hwnd_, nullptr, TRUE);
}

int Form::MousePointer() const {
    const_cast<Form*>(this)->EnsureLoaded();
    return mousePointer_;
}

void Form::SetMousePointer(int pointer) {
    EnsureLoaded();
    const HCURSOR cursor = CursorOf(pointer);
    mousePointer_ = pointer;
    POINT pt{};
    GetCursorPos(&pt);
    const HWND under = WindowFromPoint(pt);
    if (under && (under == hwnd_ || IsChild(hwnd_, under)) && cursor) SetCursor(cursor);
}

bool Form::KeyPreview() const {
    const_cast<Form*>(this)->EnsureLoaded();
    return keyPreview_;
}

void Form::SetKeyPreview(bool on) {
    EnsureLoaded();
    keyPreview_ = on;
}

StdPicture Form::Picture() const {
    const_cast<Form*>(this)->EnsureLoaded();
    return picture_;
}

void Form::SetPicture(const StdPicture& picture) {
    EnsureLoaded();
    picture_ = picture;
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void Form::PaintBackground(HDC dc) {
    if (!picture_ || picture_.Type() == PictureType::None) return;
    try {
        picture_.Render(dc, 0, 0, ToPixels(static_cast<float>(picture_.Width()), ScaleMode::HiMetric, Axis::X),
                        ToPixels(static_cast<float>(picture_.Height()), ScaleMode::HiMetric, Axis::Y));
    } catch (const std::exception&) {
        // A picture that cannot draw leaves the background; painting must go on.
    }
}

Control* Form::FocusedControl() const {
    const HWND focus = GetFocus();
    if (!focus || !hwnd_) return nullptr;
    for (HWND h = focus; h && h != hwnd_; h = GetParent(h)) {
        if (WindowedControl* c = WindowedControl::FromHwnd(h); c && &c->OwnerForm() == this) return c;
    }
    return nullptr;
}

Control* Form::ActiveControl() const {
    const_cast<Form*>(this)->EnsureLoaded();
    return FocusedControl();
}

void Form::ZOrder(int position) {
    EnsureLoaded();
    SetWindowPos(hwnd_, position == 0 ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Form::Refresh() {
    EnsureLoaded();
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

Microsoft::WRL::ComPtr<IDispatch> Form::GetDispatch() { return FormDispatch::Create(*this); }

void Form::SetToolTip(HWND window, UINT_PTR id, const RECT* area, const std::string& text) {
    if (!hwnd_) return;
    if (!toolTip_) {
        if (text.empty()) return;
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
        InitCommonControlsEx(&icc);
        toolTip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0,
                                   hwnd_, nullptr, App::hInstance(), nullptr);
    }
    TTTOOLINFOA ti{};
    ti.cbSize = sizeof ti;
    ti.hwnd = area ? window : hwnd_;
    ti.uId = area ? id : reinterpret_cast<UINT_PTR>(window);
    ti.uFlags = area ? TTF_SUBCLASS : TTF_IDISHWND | TTF_SUBCLASS;
    if (area) ti.rect = *area;
    SendMessageA(toolTip_, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
    if (text.empty()) return;
    std::string copy = text;
    ti.lpszText = copy.data();
    SendMessageA(toolTip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
}

// ---- menus ----

void Form::BuildMenus() {
    for (Menu* m : menus_) m->CreateMenu();
    for (Menu* m : menus_) m->RebuildItems();
    RefreshMenuBar();
}

void Form::RefreshMenuBar() {
    if (!hwnd_) return;
    if (!menuBar_) menuBar_ = CreateMenu();
    while (GetMenuItemCount(menuBar_) > 0) RemoveMenu(menuBar_, 0, MF_BYPOSITION);
    bool any = false;
    for (Menu* m : menus_) {
        if (m->Parent() || !m->Visible()) continue;
        m->CreateMenu();
        std::string text = m->Caption();
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_STRING | MIIM_STATE | MIIM_SUBMENU;
        info.fState = m->Enabled() ? 0u : MFS_DISABLED;
        info.wID = static_cast<UINT>(m->Id());
        info.hSubMenu = m->Popup();
        info.dwTypeData = text.data();
        InsertMenuItemA(menuBar_, static_cast<UINT>(GetMenuItemCount(menuBar_)), TRUE, &info);
        any = true;
    }
    const HMENU want = any ? menuBar_ : nullptr;
    if (GetMenu(hwnd_) != want) SetMenu(hwnd_, want);
    DrawMenuBar(hwnd_);
}

void Form::DestroyMenus() {
    if (!hwnd_) return;
    SetMenu(hwnd_, nullptr);  // the window must not destroy menus it does not own
    if (menuBar_) {
        while (GetMenuItemCount(menuBar_) > 0) RemoveMenu(menuBar_, 0, MF_BYPOSITION);
        ::DestroyMenu(menuBar_);
        menuBar_ = nullptr;
    }
    for (Menu* m : menus_) m->DestroyMenu();
}

void Form::OnMenuCommand(int id) {
    for (Menu* m : std::vector<Menu*>(menus_)) {
        if (m->Id() == id) {
            if (m->Reachable()) m->RaiseClick();
            return;
        }
    }
}

void Form::OnInitMenuPopup(HMENU popup) {
    Menu* menu = Menu::FromPopup(popup);
    if (!menu || menu == menu->OwnerForm().poppedMenu_) return;
    menu->RaiseClick();
}

bool Form::RunShortcut(const MSG& msg) {
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
    const Accel pressed{static_cast<WORD>(msg.wParam), GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_SHIFT) < 0,
                        GetKeyState(VK_MENU) < 0};
    Menu* item = nullptr;
    for (Menu* m : menus_) {
        if (m->Shortcut() == pressed && !m->HasChildren() && m->Shown()) {
            item = m;
            break;
        }
    }
    if (!item) return false;
    // Editing keys stay with the text box that has the focus.
    if (IsEditingKey(pressed) && IsEditWindow(GetFocus())) return false;
    // As if the menu opened: its top-level Click runs first (it may enable or disable the item).
    Menu* top = item;
    while (top->Parent()) top = top->Parent();
    if (top != item) Guarded([&] { top->RaiseClick(); });
    if (!item->Reachable()) return false;  // a disabled item's key does nothing; the key goes on
    Guarded([&] { item->RaiseClick(); });
    return true;
}

void Form::PopupMenu(Menu& menu, int flags, std::optional<float> x, std::optional<float> y, Menu* boldItem) {
    EnsureLoaded();
    Form& menuForm = menu.OwnerForm();
    menuForm.EnsureLoaded();
    const auto keepMenuForm = menuForm.KeepAlive();
    if (!menu.HasChildren()) throw RuntimeError(InvalidCall, "Invalid procedure call or argument");
    menu.CreateMenu();
    menu.RebuildItems();
    POINT pt{};
    if (x && y) {
        pt = {ToPixels(*x, scaleMode_, Axis::X), ToPixels(*y, scaleMode_, Axis::Y)};
        ClientToScreen(hwnd_, &pt);
    } else {
        GetCursorPos(&pt);
    }
    UINT tpm = TPM_RETURNCMD | TPM_LEFTBUTTON;
    if (flags & 4) tpm |= TPM_CENTERALIGN;
    else if (flags & 8) tpm |= TPM_RIGHTALIGN;
    if (flags & 2) tpm |= TPM_RIGHTBUTTON;
    if (boldItem) SetMenuDefaultItem(menu.Popup(), static_cast<UINT>(boldItem->Id()), FALSE);
    Menu* const previous = menuForm.poppedMenu_;
    menuForm.poppedMenu_ = &menu;
    SetForegroundWindow(hwnd_);
    const int chosen = static_cast<int>(TrackPopupMenuEx(menu.Popup(), tpm, pt.x, pt.y, hwnd_, nullptr));
    PostMessageA(hwnd_, WM_NULL, 0, 0);
    menuForm.poppedMenu_ = previous;
    if (menu.Popup()) SetMenuDefaultItem(menu.Popup(), static_cast<UINT>(-1), FALSE);
    if (chosen) menuForm.OnMenuCommand(chosen);
}

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
        if (self->hwnd_ == hwnd) self->hwnd_ = nullptr;
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    const auto keep = self->KeepAlive();
    return self->HandleMessage(msg, wParam, lParam);
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
        if (GetActiveWindow() == hwnd_ && LastActive() != this && !loading_) {
            LastActive() = this;
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
    case WM_ERASEBKGND: {
        RECT rc{};
        GetClientRect(hwnd_, &rc);
        UniqueBrush brush(CreateSolidBrush(ToColorRefOr(backColor_, GetSysColor(COLOR_BTNFACE))));
        FillRect(reinterpret_cast<HDC>(wParam), &rc, brush.get());
        return 1;
    }
    case WM_PAINT: {
        {
            ScopedPaint paint(hwnd_);
            PaintBackground(paint.get());
            PaintWindowless(paint.get(), paint.area());
        }
        Guarded([this] { Form_Paint(); });
        return 0;
    }
    case WM_SIZE:
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
