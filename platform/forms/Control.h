#pragma once
// The base of every control: the members the form gives each one (position in its container's units,
// Visible, Enabled, focus, z-order, tab order, tool tip, Tag, Index, Name, Container) and the events most
// controls share. A control is a member of its form's object: it exists for the object's lifetime, and each
// load of the form rebuilds its state from its design and creates its window (for a form loaded hidden, at
// its first showing).
//
// Touching a property of a control of an unloaded form loads the form (without showing it).

#include "platform/forms/FontSpec.h"
#include "platform/runtime/OleColor.h"
#include "platform/forms/Units.h"

#include <windows.h>

#include <functional>
#include <string>

namespace forms {

class Container;
class Form;

inline constexpr int NoIndex = -1;

// Position and size in the container's units.
struct Extent {
    float Left = 0;
    float Top = 0;
    float Width = 0;
    float Height = 0;
};

// Design values every control has.
struct Common {
    bool Visible = true;
    bool Enabled = true;
    int TabIndex = -1;  // -1: in declaration order
    bool TabStop = true;
    std::string ToolTipText;
    std::string Tag;
    int MousePointer = 0;
};

// Shift argument of key and mouse events.
namespace shift {
inline constexpr int Shift = 1;
inline constexpr int Ctrl = 2;
inline constexpr int Alt = 4;
}  // namespace shift
// Button argument of mouse events (MouseMove: the mask of held buttons).
namespace button {
inline constexpr int Left = 1;
inline constexpr int Right = 2;
inline constexpr int Middle = 4;
}  // namespace button

class Control {
public:
    Control(Container& parent, std::string name, Extent at, Common common, int index);
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const std::string& Name() const noexcept { return name_; }
    int Index() const noexcept { return index_; }
    Container& GetContainer() const noexcept { return parent_; }
    Form& OwnerForm() const noexcept;

    float Left() const;
    float Top() const;
    float Width() const;
    float Height() const;
    // Negative sizes are refused (error 380) and the old value stays.
    void SetLeft(float v);
    void SetTop(float v);
    void SetWidth(float v);
    void SetHeight(float v);
    void Move(float left, float top, float width, float height);

    bool Visible() const;
    virtual void SetVisible(bool v);
    bool Enabled() const;
    virtual void SetEnabled(bool v);
    int TabIndex() const;
    void SetTabIndex(int v);
    const std::string& ToolTipText() const;
    void SetToolTipText(std::string v);
    const std::string& Tag() const;
    void SetTag(std::string v);
    int MousePointer() const;
    void SetMousePointer(int v);

    // Fails (error 5) while the form is not shown or the control cannot take the focus.
    void SetFocus();
    // 0: to the front of its layer; 1: to the back.
    void ZOrder(int position = 0);
    // Repaints now.
    virtual void Refresh();
    // The control's window (a windowless control has none: 0).
    virtual HWND hWnd() const;

    std::function<void()> Click;
    std::function<void()> DblClick;
    std::function<void()> GotFocus;
    std::function<void()> LostFocus;
    std::function<void(int Button, int Shift, float X, float Y)> MouseDown;
    std::function<void(int Button, int Shift, float X, float Y)> MouseMove;
    std::function<void(int Button, int Shift, float X, float Y)> MouseUp;
    std::function<void(int& KeyCode, int Shift)> KeyDown;
    std::function<void(int& KeyCode, int Shift)> KeyUp;
    std::function<void(int& KeyAscii)> KeyPress;

    // ---- for the runtime ----
    // Back to the design state; called at each load before any window exists.
    virtual void ResetFromDesign();
    virtual void CreateWindowNow() {}
    // Whether every property and method works on the control's own state until its window is made (from
    // that state): a form loaded hidden whose controls all do makes their windows at its first showing.
    virtual bool KeepsStateWithoutWindow() const { return Windowless(); }
    // Loaded in a form that makes the windows later: what the window's creation would set up, on the object.
    virtual void LoadedWithoutWindow() {}
    // A move in z-order made before the window existed, now applied to it.
    void ApplyZOrderNow(bool front) {
        if (Live()) ApplyZOrder(front);
    }
    // Its window to where the control is, after a layout that deferred the move.
    void PlaceWindowNow() {
        if (Live()) ApplyGeometry(PixelRect());
    }
    // The form's window is gone (the control's window with it).
    virtual void WindowGone() {}
    // The form's client area changed size; told before Form_Resize runs (a status bar keeps to the bottom).
    virtual void FormSized() {}
    virtual bool Windowless() const noexcept { return false; }
    virtual void PaintWindowless(HDC, const RECT&) {}
    // The container pixels a windowless control paints on (a line's ends and width reach past its box).
    virtual RECT PaintArea() const { return PixelRect(); }
    // Whether the mouse at a container point goes to this windowless control (shapes and lines let it
    // through to the container).
    virtual bool HitTest(POINT pt) const;
    virtual bool CanTakeFocus() const;
    // Enter or Esc pressed in the form (target: the window it went to); a default or cancel button takes it.
    virtual bool HandlesDialogKey(int /*key*/, HWND /*target*/) { return false; }
    int DesignTabIndex() const noexcept { return designCommon_.TabIndex; }
    // The access letter of the caption ("&Next" gives 'N'; "&&" is a plain "&"), 0 when none.
    virtual char AccessKey() const { return 0; }
    // Alt and the access letter: a button clicks, a box or option is chosen, a label moves the focus on.
    virtual void OnAccessKey() {}
    static char AccessKeyOf(const std::string& caption);
    static char UpperKey(unsigned ch) noexcept {
        return static_cast<char>(ch >= 'a' && ch <= 'z' ? ch - ('a' - 'A') : ch);
    }
    // Notification from the parent window; true when handled (result set).
    virtual bool OnReflect(UINT, WPARAM, LPARAM, LRESULT&) { return false; }
    // Rectangle in the container's client pixels.
    RECT PixelRect() const;
    // Raises the mouse event of a mouse message at a point in the control's own pixels.
    void RaiseMouse(UINT msg, WPARAM wParam, POINT pt);
    // Units of the control's mouse coordinates.
    virtual ScaleMode EventScale() const;
    // Whether Click and DblClick come from mouse presses (windowless controls, text and picture boxes)
    // rather than from the window's own notifications (buttons, lists).
    virtual bool MouseMakesClicks() const { return Windowless(); }
    // Raises Click for a finished press (windowless controls and picture boxes).
    virtual void RaiseClick() { if (Click) Click(); }

    static int ButtonOf(UINT msg);
    static int ButtonMask(WPARAM wParam);
    static int ShiftState();

protected:
    // Implicit load of the form.
    void Touch() const;
    // Loads the form, and makes its controls' windows if it was loaded hidden: for what only a window can do.
    void NeedWindow() const;
    bool Live() const;  // the form is loaded (or loading) and this control has been created
    virtual void ApplyGeometry(const RECT& before);
    virtual void ApplyVisible();
    virtual void ApplyEnabled();
    virtual void ApplyToolTip();
    virtual void ApplyFocus();
    virtual void ApplyZOrder(bool front);
    void InvalidateArea(const RECT& r) const;
    int ToContainerPixels(float v, Axis axis) const;

    bool created_ = false;

private:
    void CheckSize(float v) const;

    Container& parent_;
    const std::string name_;
    const int index_;
    const Extent designAt_;
    const Common designCommon_;
    Extent at_;
    Common common_;
};

}  // namespace forms
