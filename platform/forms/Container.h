#pragma once
// What holds controls: a form, a frame or a picture box. It places its children in its own units, paints
// its windowless children (labels, images, shapes, lines) over its surface in z-order and hit-tests them for the mouse.

#include "platform/forms/Units.h"

#include <windows.h>

#include <functional>
#include <vector>

namespace forms {

class Control;
class Form;

class Container {
public:
    virtual ~Container() = default;
    virtual Form& OwnerForm() = 0;
    // The window the children's windows are created in (nullptr while not loaded).
    virtual HWND ClientWindow() const = 0;
    // The units of the children's Left/Top/Width/Height.
    virtual ScaleMode ChildScale() const = 0;
    // Where the window's client area starts in the children's pixels: not 0 when the window shows only a part
    // of the container (a picture box larger than a window may be).
    virtual POINT ChildOrigin() const { return {0, 0}; }

    const std::vector<Control*>& Children() const noexcept { return children_; }

    // For the runtime's controls.
    void AddChild(Control& child);
    void RemoveChild(Control& child);
    // Front (top of z-order, painted last) or back.
    void Restack(Control& child, bool front);
    void PaintWindowless(HDC dc, const RECT& area);
    // Whether PaintWindowless would paint anything in the area.
    bool WindowlessIn(const RECT& area) const;
    // Runs `paint` (drawing in client pixels) on an off-screen copy of the area and copies the result to dc
    // once, so that a windowless control moved over a picture never shows what lies under it.
    static void PaintOffscreen(HDC dc, const RECT& area, const std::function<void(HDC)>& paint);
    static bool IsMouseMessage(UINT msg) noexcept;
    // Offers a mouse message of ClientWindow() to the windowless children; true when one took it.
    bool RouteMouse(UINT msg, WPARAM wParam, LPARAM lParam);
    // The same at a point in the children's pixels.
    bool RouteMouse(UINT msg, WPARAM wParam, POINT pt);
    // The windowless child under a client point (topmost first), or nullptr.
    Control* WindowlessAt(POINT pt) const;
    // Passes a notification of a child window (WM_COMMAND, WM_CTLCOLOR*, scroll) to its wrapper.
    static bool Reflect(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Forgets the mouse target (its window went away).
    void ReleaseMouseTarget() noexcept { pressed_ = nullptr; }

private:
    static bool PaintsIn(const Control& c, const RECT& area);

    std::vector<Control*> children_;
    Control* pressed_ = nullptr;  // windowless child holding the mouse between down and up
};

}  // namespace forms
