#pragma once
// The base of every form. A form is a C++ class deriving from Form; its controls and menus are members
// (constructed with their design), its lifecycle events are the virtual Form_* members, and its control
// events are std::function members of the controls, bound in the form's constructor to member functions
// named control_event (File1_Click).
//
// The object and its window are separate: the object lives on after Unload (its member variables keep
// their values); each load rebuilds the controls from their design and creates the window. Touching a
// built-in property or a control of an unloaded form loads it without showing it.
//
// Instances: forms::Default<frmX>() is the form's one default instance, created on first use (Initialize
// runs then). forms::New<frmX>() makes a further instance. Either way the object is shared: the runtime
// keeps it alive while one of its handlers runs.

#include "platform/forms/Container.h"
#include "platform/runtime/OleColor.h"
#include "platform/forms/SolidBrush.h"
#include "platform/forms/StdPicture.h"
#include "platform/forms/Units.h"
#include "platform/runtime/OwnedHandles.h"

#include <windows.h>
#include <wrl/client.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <typeindex>
#include <utility>
#include <vector>

namespace forms {

class Form;
namespace detail {
template <class F>
std::shared_ptr<F> Make();
}  // namespace detail

class Control;
class ControlArrayBase;
class Menu;
class Timer;

enum class ShowMode { Modeless = 0, Modal = 1 };
enum class BorderStyle { None = 0, FixedSingle = 1, Sizable = 2, FixedDialog = 3, FixedToolWindow = 4,
                         SizableToolWindow = 5 };
enum class StartUpPosition { Manual = 0, CenterOwner = 1, CenterScreen = 2, WindowsDefault = 3 };

namespace windowstate {
inline constexpr int Normal = 0;
inline constexpr int Minimized = 1;
inline constexpr int Maximized = 2;
}  // namespace windowstate

// UnloadMode of QueryUnload.
namespace unloadmode {
inline constexpr int ControlMenu = 0;  // the close box or the system menu
inline constexpr int Code = 1;
inline constexpr int AppWindows = 2;   // the session ends
inline constexpr int ProgramEnds = 5;  // the main form unloads
}  // namespace unloadmode

struct FormDesign {
    std::string Caption;
    // Outer position and size, twips.
    float Left = 0;
    float Top = 0;
    float Width = 4800;
    float Height = 3600;
    BorderStyle Border = BorderStyle::Sizable;
    bool ControlBox = true;
    bool MinButton = true;
    bool MaxButton = true;
    bool ShowInTaskbar = true;
    StartUpPosition StartUp = StartUpPosition::WindowsDefault;
    int WindowState = windowstate::Normal;
    ScaleMode Scale = ScaleMode::Twips;
    OleColor BackColor = color::ButtonFace;
    bool KeyPreview = false;
    bool Enabled = true;
    int MousePointer = 0;
    StdPicture Picture;  // drawn at the top-left corner at its own size
};

class Form : public Container {
public:
    explicit Form(FormDesign design);
    ~Form() override;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    // Loads without showing (nothing when loaded). When every control of the form keeps its state without a
    // window, the controls get no windows until the form is first shown or one of them needs its window.
    void Load();
    // Loads if needed and shows. A modal display returns when the form hides or unloads.
    void Show(ShowMode mode = ShowMode::Modeless, Form* owner = nullptr);
    // The form's window is owned by owner's from its creation on (and at once when it exists): an owned
    // window stays in front of its owner whatever brings the owner forward.
    void SetOwner(Form& owner);
    void Hide();
    // Unloads: QueryUnload and Unload may cancel. Nothing when not loaded.
    void Unload();
    bool IsLoaded() const noexcept { return hwnd_ != nullptr; }
    bool IsModal() const noexcept { return modalDepth_ > 0; }

    // The main form: its unload ends the program, after every other loaded form has been unloaded.
    static void SetMainForm(Form* form) noexcept;
    static Form* MainForm() noexcept;
    // Every form object that exists, in creation order.
    static std::vector<Form*> AllForms();

    std::string Caption() const;
    void SetCaption(const std::string& caption);
    bool Visible() const;
    void SetVisible(bool visible);
    bool Enabled() const;
    void SetEnabled(bool enabled);
    int WindowState() const;
    // Raises Resize when the state changes.
    void SetWindowState(int state);
    // Outer geometry in twips; fractions are kept as given. Refused (error 384) while minimised or
    // maximised.
    float Left() const;
    float Top() const;
    float Width() const;
    float Height() const;
    void SetLeft(float v);
    void SetTop(float v);
    void SetWidth(float v);
    void SetHeight(float v);
    void Move(float left, std::optional<float> top = {}, std::optional<float> width = {},
              std::optional<float> height = {});
    // Inner size in ScaleMode units.
    float ScaleWidth() const;
    float ScaleHeight() const;
    ScaleMode GetScaleMode() const;
    void SetScaleMode(ScaleMode mode);
    float ScaleX(float value, ScaleMode from = ScaleMode::HiMetric, std::optional<ScaleMode> to = {}) const;
    float ScaleY(float value, ScaleMode from = ScaleMode::HiMetric, std::optional<ScaleMode> to = {}) const;
    HWND hWnd() const;
    OleColor BackColor() const;
    void SetBackColor(OleColor color);
    int MousePointer() const;
    void SetMousePointer(int pointer);
    bool KeyPreview() const;
    void SetKeyPreview(bool on);
    StdPicture Picture() const;
    void SetPicture(const StdPicture& picture);
    // The control with the focus (nullptr when none of this form's).
    Control* ActiveControl() const;
    void ZOrder(int position = 0);
    void Refresh();
    // Shows a menu (of this or another form) at the pointer, or at x, y in this form's scale; returns
    // after the chosen item's Click has run. flags: 4 centred on the point, 8 right-aligned, 2 right
    // button tracks.
    void PopupMenu(Menu& menu, int flags = 0, std::optional<float> x = {}, std::optional<float> y = {},
                   Menu* boldItem = nullptr);
    // Late-bound view of the form for the component servers: hwnd, Left, Top, Width, Height (twips).
    Microsoft::WRL::ComPtr<IDispatch> GetDispatch();

    // Container
    Form& OwnerForm() override { return *this; }
    HWND ClientWindow() const override { return hwnd_; }
    ScaleMode ChildScale() const override { return scaleMode_; }

protected:
    virtual void Form_Initialize() {}
    virtual void Form_Load() {}
    virtual void Form_Activate() {}
    virtual void Form_QueryUnload(int& /*Cancel*/, int /*UnloadMode*/) {}
    virtual void Form_Unload(int& /*Cancel*/) {}
    virtual void Form_Terminate() {}
    virtual void Form_Resize() {}
    virtual void Form_Paint() {}
    virtual void Form_Click() {}
    virtual void Form_DblClick() {}
    virtual void Form_KeyDown(int& /*KeyCode*/, int /*Shift*/) {}
    virtual void Form_KeyPress(int& /*KeyAscii*/) {}
    virtual void Form_KeyUp(int& /*KeyCode*/, int /*Shift*/) {}
    virtual void Form_MouseDown(int /*Button*/, int /*Shift*/, float /*X*/, float /*Y*/) {}
    virtual void Form_MouseMove(int /*Button*/, int /*Shift*/, float /*X*/, float /*Y*/) {}
    virtual void Form_MouseUp(int /*Button*/, int /*Shift*/, float /*X*/, float /*Y*/) {}
    // Paints what lies under the windowless controls: the form's picture.
    virtual void PaintBackground(HDC dc);
    // True while the form unloads because the session ends: QueryUnload (UnloadMode AppWindows) ran at the
    // system's query, and nothing can refuse any more.
    bool SessionEnding() const noexcept { return sessionEnding_; }

    // While one lives, the control windows that a layout moves take their new places when the outermost
    // ends, each once: a layout that sets one side at a time moves each window once.
    class DeferredMoves {
    public:
        explicit DeferredMoves(Form& form) noexcept : form_(form) { ++form_.movesDeferred_; }
        ~DeferredMoves() {
            if (--form_.movesDeferred_ == 0) form_.MoveDeferredWindows();
        }
        DeferredMoves(const DeferredMoves&) = delete;
        DeferredMoves& operator=(const DeferredMoves&) = delete;

    private:
        Form& form_;
    };

private:
    friend class FormSite;
    template <class F>
    friend std::shared_ptr<F> detail::Make();

    // What the runtime's controls, menus, timers and control arrays reach through FormSite.
    void EnsureLoaded();
    // controlWindows: the controls' windows are made now, whatever the controls could do without them.
    void LoadWith(bool controlWindows);
    // The controls' windows of a form loaded hidden, from the controls' state (nothing when they exist).
    void CreateControlWindows();
    void CreateWindowOf(Control& c);
    // A hidden control's window that waits for its first showing or its handle: made now, in its declared
    // place among its siblings (nothing for any other control).
    void CreateWaitingWindow(const Control& c);
    bool WaitsForItsWindow(const Control& c) const;
    // A control's window to move when the layout ends; false when no layout is deferring moves.
    bool DeferMove(Control& c);
    void MoveDeferredWindows() noexcept;
    void ZOrderChanged(Control& c, bool front);
    std::shared_ptr<Form> KeepAlive() const { return self_.lock(); }
    void RegisterControl(Control& c);
    void UnregisterControl(Control& c);
    void RegisterMenu(Menu& m);
    void UnregisterMenu(Menu& m);
    void RegisterTimer(Timer& t);
    void UnregisterTimer(Timer& t);
    void RegisterArray(ControlArrayBase& a);
    void UnregisterArray(ControlArrayBase& a);
    int NextControlId() noexcept { return nextControlId_++; }
    int NextMenuId() noexcept { return nextMenuId_++; }
    int TabPosition(const Control& c) const;
    void MoveInTabOrder(Control& c, int position);
    void FocusAfter(const Control& c);
    void SetToolTip(HWND window, UINT_PTR id, const RECT* area, const std::string& text);
    // A mouse message of a window with tools, for the tip to show or hide.
    void RelayToolTip(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
    void RefreshMenuBar();

    // A read of a property loads the form, as a write does.
    void Touch() const;
    static Form* FromHwnd(HWND hwnd);
    Control* FocusedControl() const;
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static ATOM ClassAtom();
    static bool RouteKeys(MSG& msg);
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    bool PreTranslate(MSG& msg);
    bool RunShortcut(const MSG& msg);
    bool TabToNext(bool backwards);
    // queried: QueryUnload ran already (at the system's query of a session end).
    void UnloadWith(int mode, bool cancellable, bool queried = false);
    void CreateFormWindow();
    void ShowWindowNow();
    void RunModal();
    void PlaceAtStart();
    void ApplyPosition();
    void CheckMovable() const;
    void RaiseResize();
    void BuildMenus();
    void DestroyMenus();
    bool ApplyCursor(HWND over);
    void OnMenuCommand(int id);
    void OnInitMenuPopup(HMENU popup);
    void OnMouse(UINT msg, WPARAM wParam, LPARAM lParam);
    static void EndProgramIfDone(Form& unloaded);

    // A coordinate as set (twips) and the pixel value it was applied as; a read returns the stored value
    // while the window still sits at that pixel.
    struct Coord {
        float twips = 0;
        int pixels = 0;
    };
    float Read(const Coord& c, int actualPixels, Axis axis) const;
    RECT OuterRect() const;

    const FormDesign design_;
    std::weak_ptr<Form> self_;
    std::weak_ptr<Form> ownerAtCreation_;
    HWND hwnd_ = nullptr;
    bool loading_ = false;
    bool unloading_ = false;
    bool sessionEnding_ = false;
    bool everShown_ = false;
    bool controlWindowsPending_ = false;
    // ZOrder calls made before the controls' windows exist, replayed over them in order once they do.
    std::vector<std::pair<Control*, bool>> pendingZOrder_;
    // Hidden controls of a shown form whose windows are not made yet (a hidden combo box alone costs a
    // shown window's start tens of milliseconds).
    std::vector<Control*> waitingForWindow_;
    int movesDeferred_ = 0;
    std::vector<Control*> movedLater_;  // in the order of their first move
    int modalDepth_ = 0;
    int suppressResize_ = 0;
    SIZE clientSize_{-1, -1};
    Coord left_, top_, width_, height_;
    std::string caption_;
    ScaleMode scaleMode_;
    OleColor backColor_;
    SolidBrush backBrush_;  // painted under everything at each WM_PAINT
    int mousePointer_;
    bool keyPreview_;
    StdPicture picture_;
    bool enabled_;
    int windowState_;
    HWND owner_ = nullptr;
    HWND lastFocus_ = nullptr;
    std::vector<Control*> controls_;   // creation order
    std::vector<Control*> tabOrder_;
    std::vector<Menu*> menus_;
    std::vector<Timer*> timers_;
    std::vector<ControlArrayBase*> arrays_;
    UniqueMenu menuBar_;  // detached before the window goes, which would destroy it with the menus in it
    Menu* poppedMenu_ = nullptr;
    UniqueWindow toolTip_;  // owned by the form's window: goes with it, so it goes at each unload
    // The tools of the form's window, kept here until the tip window is made at the first mouse message.
    struct Tool {
        HWND window;
        UINT_PTR id;
        bool area;
        RECT rect;
        std::string text;
    };
    std::vector<Tool> tools_;
    void MakeToolTip();
    void AddTool(const Tool& tool) const;
    int nextControlId_ = 1000;
    int nextMenuId_ = 20000;
};

namespace detail {
std::shared_ptr<Form> FindDefault(std::type_index type);
void StoreDefault(std::type_index type, std::shared_ptr<Form> form);
void DropDefault(std::type_index type);

template <class F>
std::shared_ptr<F> Make() {
    std::shared_ptr<F> form(new F(), [](F* f) {
        static_cast<Form*>(f)->Form_Terminate();
        delete f;
    });
    static_cast<Form&>(*form).self_ = form;
    static_cast<Form&>(*form).Form_Initialize();
    return form;
}
}  // namespace detail

// The form's default instance, created (and initialised) on first use.
template <class F>
F& Default() {
    if (auto found = detail::FindDefault(typeid(F))) return static_cast<F&>(*found);
    auto form = detail::Make<F>();
    detail::StoreDefault(typeid(F), form);
    return *form;
}

// Releases the default instance (it must not be loaded); the next use creates a new one. Terminate runs
// when no handler of it is running any more.
template <class F>
void ReleaseDefault() {
    detail::DropDefault(typeid(F));
}

// A further instance of a form class.
template <class F>
std::shared_ptr<F> New() {
    return detail::Make<F>();
}

// Releases every default instance (end of run).
void ReleaseDefaults();

}  // namespace forms
