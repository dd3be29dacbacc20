#include "platform/forms/controls/Shape.h"

#include "platform/runtime/Conversions.h"
#include "platform/runtime/RuntimeError.h"

#include <algorithm>

namespace forms {
namespace {

// The check of a setter whose values lie from lo to hi.
auto InRange(int lo, int hi) {
    return [lo, hi](int value) {
        value = CInt(value);
        if (value < lo || value > hi) throw RuntimeError(err::InvalidPropertyValue);
        return value;
    };
}

// A colour is kept as given once it converts.
OleColor ValidColor(OleColor value) {
    ToColorRef(value);
    return value;
}

}  // namespace

UniquePen BorderPen(int style, int width, COLORREF color) {
    if (style == borderstyle::None) return UniquePen(static_cast<HPEN>(GetStockObject(NULL_PEN)));
    if (style == borderstyle::Solid || style == borderstyle::InsideSolid)
        return UniquePen(CreatePen(width > 1 ? PS_INSIDEFRAME : PS_SOLID, width, color));
    const int dash = style == borderstyle::Dash ? PS_DASH : style == borderstyle::Dot ? PS_DOT
                     : style == borderstyle::DashDot ? PS_DASHDOT : PS_DASHDOTDOT;
    if (width <= 1) return UniquePen(CreatePen(dash, 1, color));
    const LOGBRUSH brush{BS_SOLID, color, 0};
    return UniquePen(ExtCreatePen(PS_GEOMETRIC | dash | PS_ENDCAP_FLAT, static_cast<DWORD>(width), &brush, 0, nullptr));
}

void Shape::Repaint() const {
    if (Live()) InvalidateArea(PaintArea());
}

void Shape::PaintWindowless(HDC dc, const RECT& box) {
    RECT r = box;
    const int w = r.right - r.left, h = r.bottom - r.top;
    const int k = state_.Shape;
    if (k == shapekind::Square || k == shapekind::Circle || k == shapekind::RoundedSquare) {
        const int side = std::min(w, h);  // centred in the control's box
        r.left += (w - side) / 2;
        r.top += (h - side) / 2;
        r.right = r.left + side;
        r.bottom = r.top + side;
    }
    const int previousMode = SetROP2(dc, state_.DrawMode);
    const auto outline = [&](HBRUSH brush, HPEN pen) {
        ScopedSelect b(dc, brush), p(dc, pen);
        const int round = std::min(r.right - r.left, r.bottom - r.top) / 4;
        if (k == shapekind::Oval || k == shapekind::Circle) Ellipse(dc, r.left, r.top, r.right, r.bottom);
        else if (k == shapekind::RoundedRectangle || k == shapekind::RoundedSquare)
            RoundRect(dc, r.left, r.top, r.right, r.bottom, round, round);
        else Rectangle(dc, r.left, r.top, r.right, r.bottom);
    };
    const auto nullPen = static_cast<HPEN>(GetStockObject(NULL_PEN));
    const auto nullBrush = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    // The back colour under the fill, then the fill, then the border over both. A null pen leaves the
    // figure one pixel short on the right and bottom: the fills grow by it.
    ++r.right;
    ++r.bottom;
    if (state_.BackStyle == backstyle::Opaque) {
        UniqueBrush back(CreateSolidBrush(ToColorRefOr(state_.BackColor, GetSysColor(COLOR_WINDOW))));
        outline(back.get(), nullPen);
    }
    if (state_.FillStyle == fillstyle::Solid) {
        UniqueBrush fill(CreateSolidBrush(ToColorRefOr(state_.FillColor, 0)));
        outline(fill.get(), nullPen);
    }
    --r.right;
    --r.bottom;
    if (state_.BorderStyle != borderstyle::None) {
        UniquePen pen = BorderPen(state_.BorderStyle, state_.BorderWidth,
                                  ToColorRefOr(state_.BorderColor, GetSysColor(COLOR_WINDOWTEXT)));
        SetBkMode(dc, TRANSPARENT);  // the gaps of a dashed border show what lies under it
        outline(nullBrush, pen.get());
    }
    SetROP2(dc, previousMode);
}

int Shape::GetShape() const { return Get(&ShapeDesign::Shape); }
void Shape::SetShape(int value) { Set(&ShapeDesign::Shape, value, InRange(0, 5)); }
int Shape::BackStyle() const { return Get(&ShapeDesign::BackStyle); }
void Shape::SetBackStyle(int value) { Set(&ShapeDesign::BackStyle, value, InRange(0, 1)); }
OleColor Shape::BackColor() const { return Get(&ShapeDesign::BackColor); }
void Shape::SetBackColor(OleColor value) { Set(&ShapeDesign::BackColor, value, ValidColor); }
int Shape::FillStyle() const { return Get(&ShapeDesign::FillStyle); }
void Shape::SetFillStyle(int value) { Set(&ShapeDesign::FillStyle, value, InRange(0, 1)); }
OleColor Shape::FillColor() const { return Get(&ShapeDesign::FillColor); }
void Shape::SetFillColor(OleColor value) { Set(&ShapeDesign::FillColor, value, ValidColor); }
OleColor Shape::BorderColor() const { return Get(&ShapeDesign::BorderColor); }
void Shape::SetBorderColor(OleColor value) { Set(&ShapeDesign::BorderColor, value, ValidColor); }
int Shape::BorderWidth() const { return Get(&ShapeDesign::BorderWidth); }
void Shape::SetBorderWidth(int value) { Set(&ShapeDesign::BorderWidth, value, InRange(1, 8192)); }
int Shape::BorderStyle() const { return Get(&ShapeDesign::BorderStyle); }
void Shape::SetBorderStyle(int value) { Set(&ShapeDesign::BorderStyle, value, InRange(0, 6)); }
int Shape::DrawMode() const { return Get(&ShapeDesign::DrawMode); }
void Shape::SetDrawMode(int value) { Set(&ShapeDesign::DrawMode, value, InRange(1, 16)); }

}  // namespace forms
