#pragma once
// What the runtime's own parts (controls, menus, timers, control arrays, the form's IDispatch view) need of
// the form they belong to. A form's author never uses it: Form.h's public part is what a form is written
// against.

#include "platform/forms/Form.h"

#include <memory>
#include <string>

namespace forms {

class FormSite {
public:
    FormSite() = delete;

    // Loads the form without showing it (nothing while it is loaded or unloading).
    static void EnsureLoaded(Form& form) { form.EnsureLoaded(); }
    // The controls of a form loaded hidden get their windows now (nothing when they have them).
    static void CreateControlWindows(Form& form) { form.CreateControlWindows(); }
    // A control added at run time (a control array's element): its window now, or with the others.
    static void CreateWindowOf(Form& form, Control& c) { form.CreateWindowOf(c); }
    // A hidden control's window left for later: now (nothing when it has one).
    static void CreateWaitingWindow(Form& form, const Control& c) { form.CreateWaitingWindow(c); }
    // Whether a layout of the form takes the control's window to its place later (see Form::DeferredMoves).
    static bool DeferMove(Form& form, Control& c) { return form.DeferMove(c); }
    // A control moved in z-order; a window made later takes the place it would have had.
    static void ZOrderChanged(Form& form, Control& c, bool front) { form.ZOrderChanged(c, front); }
    // Keeps the form object alive while one of its handlers runs (empty for a form not shared).
    static std::shared_ptr<Form> KeepAlive(const Form& form) { return form.KeepAlive(); }

    static void Register(Form& form, Control& c) { form.RegisterControl(c); }
    static void Unregister(Form& form, Control& c) { form.UnregisterControl(c); }
    static void Register(Form& form, Menu& m) { form.RegisterMenu(m); }
    static void Unregister(Form& form, Menu& m) { form.UnregisterMenu(m); }
    static void Register(Form& form, Timer& t) { form.RegisterTimer(t); }
    static void Unregister(Form& form, Timer& t) { form.UnregisterTimer(t); }
    static void Register(Form& form, ControlArrayBase& a) { form.RegisterArray(a); }
    static void Unregister(Form& form, ControlArrayBase& a) { form.UnregisterArray(a); }

    // Child window and menu item identifiers, unique within the form.
    static int NextControlId(Form& form) noexcept { return form.NextControlId(); }
    static int NextMenuId(Form& form) noexcept { return form.NextMenuId(); }

    static int TabPosition(const Form& form, const Control& c) { return form.TabPosition(c); }
    static void MoveInTabOrder(Form& form, Control& c, int position) { form.MoveInTabOrder(c, position); }
    // Gives the focus to the first control after c in the tab order that can take it.
    static void FocusAfter(Form& form, const Control& c) { form.FocusAfter(c); }

    // A tool tip for a control's window, or for an area (id) of a container's window; empty text removes it.
    static void SetToolTip(Form& form, HWND window, UINT_PTR id, const RECT* area, const std::string& text) {
        form.SetToolTip(window, id, area, text);
    }
    static void RelayToolTip(Form& form, HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
        form.RelayToolTip(window, msg, wParam, lParam);
    }
    // The menu bar changed (items shown or hidden at the top level).
    static void RefreshMenuBar(Form& form) { form.RefreshMenuBar(); }
};

}  // namespace forms
