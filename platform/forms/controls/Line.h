#pragma once
// A line: windowless, painted by its container from (X1, Y1) to (X2, Y2) in the container's units, both
// ends included. The ends take any value (a layout may put one far outside the window); the mouse passes
// through to the container.

#include "platform/forms/DesignedControl.h"
#include "platform/forms/controls/Shape.h"

namespace forms {

struct LineDesign {
    float X1 = 0;
    float Y1 = 0;
    float X2 = 0;
    float Y2 = 0;
    OleColor BorderColor = color::WindowText;
    int BorderWidth = 1;  // pixels
    int BorderStyle = borderstyle::Solid;
    int DrawMode = drawmode::CopyPen;
};

class Line : public DesignedControl<Control, LineDesign> {
public:
    // The line's position comes from its ends alone; `at` (the form of every control's design, as control
    // arrays pass it) is not used.
    Line(Container& parent, std::string name, LineDesign own = {}, Common common = {}, int index = NoIndex);
    Line(Container& parent, std::string name, Extent at, LineDesign own, Common common = {}, int index = NoIndex);

    float X1() const;
    float Y1() const;
    float X2() const;
    float Y2() const;
    void SetX1(float v);
    void SetY1(float v);
    void SetX2(float v);
    void SetY2(float v);
    OleColor BorderColor() const;
    void SetBorderColor(OleColor value);
    // 1 or more pixels, else 380.
    int BorderWidth() const;
    void SetBorderWidth(int value);

    void CreateWindowNow() override { created_ = true; }
    void WindowGone() override { created_ = false; }
    bool Windowless() const noexcept override { return true; }
    bool HitTest(POINT) const override { return false; }
    RECT PaintArea() const override;
    void PaintWindowless(HDC dc, const RECT& r) override;

protected:
    void ApplyGeometry(const RECT& before) override;

private:
    void MoveEnds(float x1, float y1, float x2, float y2);
};

}  // namespace forms
