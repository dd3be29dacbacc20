#pragma once
// A flat picture button (an owner-drawn BUTTON): flat at rest, raised under the pointer, sunken while
// pressed, with a focus rectangle when reached by keys. The picture, an icon or a bitmap, is centred and
// scaled down to fit (never up), and greyed while the button is disabled. The tool tip is ToolTipText.
//
// Member numbers: 0x68030003 Picture, 0x6003000F ResetLook; events: 9 Click (a release over the button, or
// Space or Enter while it has the focus; a click gives it the focus), 0 GotFocus, 1 LostFocus.

#include "platform/forms/DesignedControl.h"
#include "platform/forms/StdPicture.h"

namespace forms {

struct SoftButtonDesign {
    StdPicture Picture;
};

class SoftButton : public DesignedControl<WindowedControl, SoftButtonDesign> {
public:
    using DesignedControl::DesignedControl;

    StdPicture Picture() const;
    void SetPicture(const StdPicture& picture);
    // Back to the resting look: a click that opened a modal window leaves the pointer's leaving unseen, so
    // the button would stay raised or pressed. The argument is not used.
    void ResetLook(int unused = 0);
    // Whether the pointer is over the button as last seen (the raised look).
    bool Hot() const noexcept { return hot_; }

    bool KeepsStateWithoutWindow() const override { return true; }
    bool HandlesDialogKey(int key, HWND target) override;
    bool OnReflect(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

protected:
    const char* WindowClass() const override { return "BUTTON"; }
    DWORD WindowStyle() const override { return WS_TABSTOP | BS_OWNERDRAW; }
    bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void OnCommand(WORD code) override;
    void ResetFromDesign() override;

private:
    void Draw(const DRAWITEMSTRUCT& item) const;
    void DrawPicture(HDC dc, const RECT& area, bool greyed) const;

    bool hot_ = false;
};

}  // namespace forms
