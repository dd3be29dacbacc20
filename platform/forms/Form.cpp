#include "platform/forms/Form.h"

#include "platform/forms/FormRegistry.h"
#include "platform/forms/Menu.h"
#include "platform/forms/MessageLoop.h"
#include "platform/runtime/App.h"
#include "platform/runtime/OwnedHandles.h"

#include <algorithm>
#include <map>
#include <typeindex>

namespace forms {

namespace formregistry {
std::vector<Form*>& All() {
    static std::vector<Form*> forms;
    return forms;
}

Form*& MainForm() {
    static Form* main = nullptr;
    return main;
}

Form*& LastActive() {
    static Form* last = nullptr;
    return last;
}

HWND ParkingWindow() {
    static UniqueWindow parking(CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                                App::hInstance(), nullptr));
    return parking.get();
}
}  // namespace formregistry

namespace {
std::map<std::type_index, std::shared_ptr<Form>>& Defaults() {
    static std::map<std::type_index, std::shared_ptr<Form>> defaults;
    return defaults;
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
    formregistry::All().push_back(this);
}

Form::~Form() {
    if (hwnd_) {
        DestroyMenus();
        toolTip_.reset();
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
        hwnd_ = nullptr;
    }
    if (formregistry::MainForm() == this) formregistry::MainForm() = nullptr;
    if (formregistry::LastActive() == this) formregistry::LastActive() = nullptr;
    std::erase(formregistry::All(), this);
}

void Form::SetMainForm(Form* form) noexcept { formregistry::MainForm() = form; }
Form* Form::MainForm() noexcept { return formregistry::MainForm(); }
std::vector<Form*> Form::AllForms() { return formregistry::All(); }

ATOM Form::ClassAtom() {
    static const ATOM atom = [] {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = &Form::WndProc;
        wc.hInstance = App::hInstance();
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.lpszClassName = formregistry::WindowClass;
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
    std::erase_if(pendingZOrder_, [&](const auto& move) { return move.first == &c; });
    std::erase(waitingForWindow_, &c);
    std::erase(movedLater_, &c);
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

}  // namespace forms
