#pragma once
// Up and down arrows (msctls_updown32) stepping a number shown in a buddy window, usually a text box. Each
// step starts from what the buddy shows (a user may have typed into it) and writes plain decimal text back,
// so the buddy's own Change runs. The arrows are not moved to the buddy: both sit where designed.

#include "platform/forms/DesignedControl.h"

#include <commctrl.h>

namespace forms {

struct UpDownDesign {
    int Min = 0;
    int Max = 10;
    int Value = 0;
};

class UpDown : public DesignedControl<WindowedControl, UpDownDesign> {
public:
    using DesignedControl::DesignedControl;

    int Min() const;
    int Max() const;
    int Value() const;
    // Min may lie above Max (the arrows then count down). A Value outside the range raises 380 and the
    // old one stays.
    void SetMin(int v);
    void SetMax(int v);
    void SetValue(int v);
    // The window whose text the arrows step (nullptr: none).
    void SetBuddy(HWND buddy);
    // A control of the same form as the buddy: its window when it has one, so that binding it makes none.
    void SetBuddy(const WindowedControl& buddy);

    bool KeepsStateWithoutWindow() const override { return true; }

    bool OnReflect(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

protected:
    const char* WindowClass() const override { return UPDOWN_CLASSA; }
    DWORD WindowStyle() const override { return UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_NOTHOUSANDS; }
    void AfterCreate() override;
    void ResetFromDesign() override;

private:
    bool InRange(long long v) const;
    int Clamp(long long v) const;
    void ApplyRange();
    // The buddy's number when it holds one in range (clamped otherwise), else the current value.
    int StartValue() const;
    void WriteBuddy() const;
    HWND Buddy() const noexcept;

    HWND buddy_ = nullptr;
    const WindowedControl* buddyControl_ = nullptr;
};

}  // namespace forms
