#pragma once
// What the horizontal and vertical scroll bars (SCROLLBAR) share. The numbers are 32-bit, so a picture
// wider than 32,767 pixels scrolls to its far edge; Max may lie below Min, and the bar then runs from Min at
// its left or top end to Max at the other. A Value outside the range is refused (380), never clamped.
//
// Change runs for arrows, trough, keys, the thumb's release and code, each only when Value changes; Scroll
// runs for each position while the thumb is dragged.

#include "platform/forms/DesignedControl.h"

#include <cstdint>

namespace forms {

struct ScrollBarDesign {
    std::int32_t Min = 0;
    std::int32_t Max = 32767;
    std::int32_t Value = 0;
    std::int32_t SmallChange = 1;
    std::int32_t LargeChange = 1;
};

class ScrollBar : public DesignedControl<WindowedControl, ScrollBarDesign> {
public:
    using DesignedControl::DesignedControl;

    // Setters take any number: beyond 32 bits error 6, fractions round half to even.
    std::int32_t Min() const;
    // Moving an end past Value brings Value to the nearer end (Change runs).
    void SetMin(double value);
    std::int32_t Max() const;
    void SetMax(double value);
    std::int32_t Value() const;
    // Outside the range, taken either way round: error 380 and Value stays.
    void SetValue(double value);
    std::int32_t SmallChange() const;
    // Negative: error 380.
    void SetSmallChange(double value);
    std::int32_t LargeChange() const;
    void SetLargeChange(double value);

    std::function<void()> Change;
    std::function<void()> Scroll;

    bool OnReflect(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

protected:
    virtual bool Vertical() const noexcept = 0;
    const char* WindowClass() const override { return "SCROLLBAR"; }
    DWORD WindowStyle() const override { return WS_TABSTOP | (Vertical() ? SBS_VERT : SBS_HORZ); }
    void AfterCreate() override { ApplyRange(); }
    bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    // Positions of the window are distances from the Min end, divided by step_ when the range is wider
    // than the window's int.
    std::int64_t Span() const noexcept;
    int ToBar(std::int32_t value) const noexcept;
    std::int32_t FromBar(std::int64_t offset) const noexcept;
    std::int64_t Offset(std::int32_t value) const noexcept;
    void ApplyRange();
    void ApplyPosition();
    void KeepValueInRange();
    // A user's step to a new distance from the Min end (clamped to the bar): Change on a change.
    void StepTo(std::int64_t offset);
    void Raise(const std::function<void()>& event);

    std::int64_t step_ = 1;
    bool tracking_ = false;
    std::int32_t trackStart_ = 0;
};

}  // namespace forms
