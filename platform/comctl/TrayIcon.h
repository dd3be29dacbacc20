#pragma once
// An icon in the notification area (Shell_NotifyIconA). Non-visual, like Timer: it belongs to a form and
// lives while the form is loaded. The shell's callbacks go to a hidden top-level window of its own (not a
// message-only window, which would miss the "TaskbarCreated" broadcast that brings a shown icon back after
// the taskbar restarts). Unloading the form removes the icon.
//
// Member numbers: 0x68030000 Shown, -517 SetToolTip; events: 11 MouseUp (a button released over the icon),
// 12 DblClick.

#include "platform/forms/StdPicture.h"
#include "platform/runtime/OwnedHandles.h"

#include <windows.h>

#include <functional>
#include <string>

namespace forms {

class Form;

struct TrayIconDesign {
    StdPicture Icon;       // its 16 x 16 image is shown
      bool InTray = false;   // the design's Shown, applied at the first use of the icon after a load
    std::string ToolTip;
};

class TrayIcon {
public:
    using Design = TrayIconDesign;
    using Blueprint = Design;

    TrayIcon(Form& form, std::string name, Design design = {}, int index = -1);
    ~TrayIcon();
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    const std::string& Name() const noexcept { return name_; }
    int Index() const noexcept { return index_; }

    // What was last set, also while the shell refuses the icon (no taskbar yet): it appears when the
    // taskbar comes.
    bool Shown() const;
    void SetShown(bool shown);
    const std::string& ToolTip() const;
    // At most 127 bytes are shown, cut at a character boundary.
    void SetToolTip(const std::string& text);
    StdPicture Icon() const;
    void SetIcon(const StdPicture& icon);

    // Button: 1 left, 2 right, 4 middle.
    std::function<void(int& Button)> MouseUp;
    std::function<void(int Button)> DblClick;

    // The tool tip as the shell gets it.
    static std::string ShellTip(const std::string& text);
    // ---- for the runtime and tests ----
    HWND CallbackWindow() const noexcept { return window_.get(); }
    static UINT CallbackMessage() noexcept { return WM_APP + 0x51; }

private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK FormSubclass(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR data);
    void EnsureAttached();
    void EnsureCallbackWindow();
    void FormGone();
    void Notify(DWORD what);
    void Apply();
    void OnCallback(LPARAM event);
    NOTIFYICONDATAA Data() const;

    Form& form_;
    const std::string name_;
    const int index_;
    const Design design_;
    Design state_;
    UniqueWindow window_;
    HWND attachedForm_ = nullptr;
    UniqueIcon smallIcon_;
    bool added_ = false;
    UINT id_;
};

}  // namespace forms
