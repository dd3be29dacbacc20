#pragma once
// The update program's progress bar: a control whose own window hosts one child of the common controls'
// "msctls_progress32" class. Setters act only on a change; the design values are applied at each load in
// the order a saved form reads them, so a saved "Min" of 1 (the value after creation) sends no range.

#include "platform/forms/DesignedControl.h"

#include <cstdint>

namespace update {

struct ProgressBarDesign {
    bool Smooth = false;
    std::int32_t Orientation = 0;
    std::int32_t BorderStyle = 1;
    forms::OleColor ForeColor = forms::color::Highlight;
    forms::OleColor BackColor = forms::color::ButtonFace;
    std::int32_t Min = 0;
    std::int32_t Max = 100;
    std::int32_t Step = 1;
};

class ProgressBar : public forms::DesignedControl<forms::WindowedControl, ProgressBarDesign> {
public:
    using DesignedControl::DesignedControl;
    ~ProgressBar() override;

    std::int32_t Orientation() const;
    void SetOrientation(std::int32_t v);
    std::int32_t Min() const;
    void SetMin(std::int32_t v);
    std::int32_t Max() const;
    void SetMax(std::int32_t v);
    bool Smooth() const;
    void SetSmooth(bool v);
    // The child bar's window.
    HWND hwnd() const;
    std::int32_t BorderStyle() const;
    void SetBorderStyle(std::int32_t v);
    forms::OleColor BackColor() const;
    void SetBackColor(forms::OleColor v);
    forms::OleColor ForeColor() const;
    void SetForeColor(forms::OleColor v);
    // The default member. Kept within Min..Max.
    std::int32_t Position() const;
    void SetPosition(std::int32_t v);
    std::int32_t Step() const;
    void SetStep(std::int32_t v);
    // Advances by Step; the stored Position follows the bar.
    void StepIt();

    void ResetFromDesign() override;
    void WindowGone() override;

protected:
    const char* WindowClass() const override { return "STATIC"; }
    DWORD WindowStyle() const override { return SS_NOTIFY; }
    void AfterCreate() override;
    void ApplyGeometry(const RECT& before) override;

private:
    void CreateBar();
    void DestroyBar();
    void RecreateBar();
    void UpdateRange();
    std::int32_t Clamped(std::int32_t v) const;
    LRESULT SendBar(UINT msg, WPARAM w, LPARAM l) const;

    HWND bar_ = nullptr;
    std::int32_t orientation_ = 0;
    std::int32_t min_ = 1;
    std::int32_t max_ = 100;
    bool smooth_ = false;
    std::int32_t borderStyle_ = 0;
    forms::OleColor backColor_ = 0;
    forms::OleColor foreColor_ = forms::color::Highlight;
    std::int32_t position_ = 0;
    std::int32_t step_ = 1;
};

}  // namespace update
