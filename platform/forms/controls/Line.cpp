#include "platform/forms/controls/Line.h"

#include "platform/runtime/Conversions.h"
#include "platform/runtime/RuntimeError.h"

#include <algorithm>
#include <cmath>

namespace forms {
namespace {
Extent BoxOf(const LineDesign& d) {
    return {std::min(d.X1, d.X2), std::min(d.Y1, d.Y2), std::fabs(d.X2 - d.X1), std::fabs(d.Y2 - d.Y1)};
}
}  // namespace

Line::Line(Container& parent, std::string name, LineDesign own, Common common, int index)
    : DesignedControl(parent, std::move(name), BoxOf(own), own, std::move(common), index) {}

Line::Line(Container& parent, std::string name, Extent, LineDesign own, Common common, int index)
    : Line(parent, std::move(name), own, std::move(common), index) {}

float Line::X1() const { Touch(); return state_.X1; }
float Line::Y1() const { Touch(); return state_.Y1; }
float Line::X2() const { Touch(); return state_.X2; }
float Line::Y2() const { Touch(); return state_.Y2; }
void Line::SetX1(float v) { Touch(); MoveEnds(v, state_.Y1, state_.X2, state_.Y2); }
void Line::SetY1(float v) { Touch(); MoveEnds(state_.X1, v, state_.X2, state_.Y2); }
void Line::SetX2(float v) { Touch(); MoveEnds(state_.X1, state_.Y1, v, state_.Y2); }
void Line::SetY2(float v) { Touch(); MoveEnds(state_.X1, state_.Y1, state_.X2, v); }

void Line::MoveEnds(float x1, float y1, float x2, float y2) {
    state_.X1 = x1;
    state_.Y1 = y1;
    state_.X2 = x2;
    state_.Y2 = y2;
    const Extent box = BoxOf(state_);
    Move(box.Left, box.Top, box.Width, box.Height);
}

OleColor Line::BorderColor() const { Touch(); return state_.BorderColor; }
void Line::SetBorderColor(OleColor value) {
    Touch();
    ToColorRef(value);
    state_.BorderColor = value;
    if (Live()) InvalidateArea(PaintArea());
}

int Line::BorderWidth() const { Touch(); return state_.BorderWidth; }
void Line::SetBorderWidth(int value) {
    Touch();
    value = CInt(value);
    if (value < 1) throw RuntimeError(err::InvalidPropertyValue);
    const RECT before = PaintArea();
    state_.BorderWidth = value;
    if (Live()) {
        InvalidateArea(before);
        InvalidateArea(PaintArea());
    }
}

RECT Line::PaintArea() const {
    RECT r = PixelRect();
    const int reach = state_.BorderWidth / 2 + 1;
    InflateRect(&r, reach, reach);
    return r;
}

void Line::ApplyGeometry(const RECT& before) {
    RECT old = before;
    const int reach = state_.BorderWidth / 2 + 1;
    InflateRect(&old, reach, reach);
    InvalidateArea(old);
    InvalidateArea(PaintArea());
}

void Line::PaintWindowless(HDC dc, const RECT&) {
    const POINT from{ToContainerPixels(state_.X1, Axis::X), ToContainerPixels(state_.Y1, Axis::Y)};
    const POINT to{ToContainerPixels(state_.X2, Axis::X), ToContainerPixels(state_.Y2, Axis::Y)};
    const COLORREF color = ToColorRefOr(state_.BorderColor, GetSysColor(COLOR_WINDOWTEXT));
    UniquePen pen = BorderPen(state_.BorderStyle, state_.BorderWidth, color);
    const int previousMode = SetROP2(dc, state_.DrawMode);
    SetBkMode(dc, TRANSPARENT);
    {
        ScopedSelect select(dc, pen.get());
        MoveToEx(dc, from.x, from.y, nullptr);
        LineTo(dc, to.x, to.y);
    }
    // LineTo leaves out its last pixel; the line's end is part of it.
    if (state_.BorderWidth == 1 && state_.BorderStyle == borderstyle::Solid && state_.DrawMode == drawmode::CopyPen)
        SetPixel(dc, to.x, to.y, color);
    SetROP2(dc, previousMode);
}

}  // namespace forms
