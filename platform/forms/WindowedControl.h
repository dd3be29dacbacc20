#pragma once
// A control that is a real child window of a system class (BUTTON, EDIT, LISTBOX, STATIC...). The wrapper
// subclasses it to raise mouse, key and focus events, and its container reflects the window's
// notifications back to it.

#include "platform/forms/Control.h"
#include "platform/forms/SolidBrush.h"
#include "platform/runtime/OwnedHandles.h"

namespace forms {

class WindowedControl : public Control {
public:
    using Control::Control;
    ~WindowedControl() override;

    HWND hWnd() const override;
    void Refresh() override;
    // The wrapper of a window created by the runtime, or nullptr.
    static WindowedControl* FromHwnd(HWND hwnd);
    // The window without loading the form (nullptr while not loaded).
    HWND Window() const noexcept { return hwnd_; }

    void CreateWindowNow() override;
    void WindowGone() override;
    bool OnReflect(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

protected:
    virtual const char* WindowClass() const = 0;
    // Style bits besides WS_CHILD, WS_VISIBLE, WS_DISABLED and WS_TABSTOP.
    virtual DWORD WindowStyle() const = 0;
    virtual DWORD WindowExStyle() const { return 0; }
    virtual std::string InitialText() const { return {}; }
    virtual const FontSpec* Font() const { return nullptr; }
    // Colours answered to WM_CTLCOLOR*, or nullopt for the system's.
    virtual bool Colors(COLORREF& back, COLORREF& fore) const;
    virtual void AfterCreate() {}
    // Messages of the control's own window, before the class's procedure; true when handled.
    virtual bool HandleMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }
    // The command notification of the window (BN_CLICKED, EN_CHANGE, LBN_SELCHANGE...).
    virtual void OnCommand(WORD) {}

    LRESULT CallDefault(UINT msg, WPARAM wParam, LPARAM lParam);
    void SetWindowTextNow(const std::string& text);
    std::string WindowTextNow() const;
    void Recreate();
    void ApplyFont();

    void ApplyGeometry(const RECT& before) override;
    void ApplyVisible() override;
    void ApplyEnabled() override;
    void ApplyZOrder(bool front) override;
    void ApplyToolTip() override;

    HWND hwnd_ = nullptr;

private:
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR data);
    LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam);

    // The window's rectangle in its parent's client area.
    RECT PlacedRect() const;
    void Placed(const RECT& requested);

    UniqueFont font_;
    SolidBrush brush_;  // the WM_CTLCOLOR* answer
    // The last rectangle asked of the system and what it made of it (a list box keeps whole rows).
    RECT requested_{};
    RECT placed_{};
};

}  // namespace forms
