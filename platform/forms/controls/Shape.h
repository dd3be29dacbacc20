#pragma once
// A shape: windowless, painted by its container in z-order and in its units, never taking the mouse (a
// drag over it reaches the container). DrawMode 6 inverts what lies under the border, as the crop window's
// selection does over its screen shot. Negative sizes are refused (380).

#include "platform/forms/DesignedControl.h"
#include "platform/forms/controls/Label.h"

namespace forms {

namespace shapekind {
inline constexpr int Rectangle = 0;
inline constexpr int Square = 1;
inline constexpr int Oval = 2;
inline constexpr int Circle = 3;
inline constexpr int RoundedRectangle = 4;
inline constexpr int RoundedSquare = 5;
}  // namespace shapekind

namespace fillstyle {
inline constexpr int Solid = 0;
inline constexpr int Transparent = 1;
}  // namespace fillstyle

namespace borderstyle {
inline constexpr int None = 0;
inline constexpr int Solid = 1;
inline constexpr int Dash = 2;
inline constexpr int Dot = 3;
inline constexpr int DashDot = 4;
inline constexpr int DashDotDot = 5;
inline constexpr int InsideSolid = 6;
}  // namespace borderstyle

// The system's raster operations: 13 copies the pen, 6 inverts what lies under it.
namespace drawmode {
inline constexpr int Invert = 6;
inline constexpr int CopyPen = 13;
}  // namespace drawmode

struct ShapeDesign {
    int Shape = shapekind::Rectangle;
    int BackStyle = backstyle::Transparent;
    OleColor BackColor = color::Window;
    int FillStyle = fillstyle::Transparent;
    OleColor FillColor = 0;
    OleColor BorderColor = color::WindowText;
    int BorderWidth = 1;  // pixels
    int BorderStyle = borderstyle::Solid;
    int DrawMode = drawmode::CopyPen;
};

class Shape : public DesignedControl<Control, ShapeDesign> {
public:
    using DesignedControl::DesignedControl;

    // Each setter refuses a value outside its range with 380 and keeps the old one.
    int GetShape() const;
    void SetShape(int value);
    int BackStyle() const;
    void SetBackStyle(int value);
    OleColor BackColor() const;
    void SetBackColor(OleColor value);
    int FillStyle() const;
    void SetFillStyle(int value);
    OleColor FillColor() const;
    void SetFillColor(OleColor value);
    OleColor BorderColor() const;
    void SetBorderColor(OleColor value);
    int BorderWidth() const;
    void SetBorderWidth(int value);
    int BorderStyle() const;
    void SetBorderStyle(int value);
    int DrawMode() const;
    void SetDrawMode(int value);

    void CreateWindowNow() override { created_ = true; }
    void WindowGone() override { created_ = false; }
    bool Windowless() const noexcept override { return true; }
    bool HitTest(POINT) const override { return false; }
    void PaintWindowless(HDC dc, const RECT& r) override;

private:
    // Every property loads the form first; a setter stores what its check gives back (the check raises 380,
    // keeping the old value) and repaints.
    template <class T>
    T Get(T ShapeDesign::*member) const {
        Touch();
        return state_.*member;
    }
    template <class T, class Check>
    void Set(T ShapeDesign::*member, T value, Check check) {
        Touch();
        state_.*member = check(value);
        Repaint();
    }
    void Repaint() const;
};

// A pen of a shape's or line's border: width in pixels, one of the border styles.
UniquePen BorderPen(int style, int width, COLORREF color);

}  // namespace forms
