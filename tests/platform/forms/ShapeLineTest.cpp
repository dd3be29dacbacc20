#include "ErrorNumber.h"
#include "FormsTestSupport.h"

#include "platform/forms/ControlArray.h"
#include "platform/forms/Form.h"
#include "platform/forms/controls/Line.h"
#include "platform/forms/controls/Shape.h"
#include "platform/runtime/OwnedHandles.h"

#include <gtest/gtest.h>

using namespace forms;
using formstest::PumpUntil;

namespace {

constexpr COLORREF Back = RGB(100, 150, 200);     // the form's picture
constexpr COLORREF Inverted = RGB(155, 105, 55);  // its inverse
constexpr COLORREF FormColor = RGB(240, 240, 240);
constexpr COLORREF Red = RGB(255, 0, 0);
constexpr COLORREF Green = RGB(0, 128, 0);

// A picture that covers the left 200 x 100 pixels with one colour.
StdPicture PictureOf(COLORREF c) {
    ScopedGetDC screen(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen.get(), 200, 100);
    UniqueDC dc(CreateCompatibleDC(screen.get()));
    ScopedSelect select(dc.get(), bitmap);
    UniqueBrush brush(CreateSolidBrush(c));
    const RECT all{0, 0, 200, 100};
    FillRect(dc.get(), &all, brush.get());
    return StdPicture::FromBitmap(bitmap);
}

class frmShapes : public Form {
public:
    frmShapes()
        : Form({.Caption = "Shapes", .Left = 600, .Top = 600, .Width = 6000, .Height = 4500, .Scale = ScaleMode::Pixels,
                .BackColor = FormColor}) {
        MouseUps = 0;
    }
    int MouseUps = 0;
    // The crop window's selection: an inverting border over the picture.
    Shape Shape1{*this, "Shape1", {20, 20, 60, 40}, {.DrawMode = drawmode::Invert}};
    // A filled circle with a green border in a 60 x 40 box (outside the picture).
    Shape Shape2{*this, "Shape2", {100, 120, 60, 40},
                 {.Shape = shapekind::Circle, .FillStyle = fillstyle::Solid, .FillColor = Red, .BorderColor = Green}};
    Shape Shape3{*this, "Shape3", {200, 120, 80, 30}, {.BorderColor = Green, .BorderStyle = borderstyle::Dash}};
    ControlArray<Line> Line2{*this, "Line2", {{1, {{}, {.X1 = 10, .Y1 = 200, .X2 = 150, .Y2 = 200, .BorderColor = Red}}}}};

protected:
    void Form_MouseUp(int, int, float, float) override { ++MouseUps; }
};

class ShapesAndLines : public ::testing::Test {
protected:
    void SetUp() override {
        F().Show();
        F().SetPicture(PictureOf(Back));
        F().Line2[1].SetVisible(true);
        ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(F().hWnd()); }));
        Painted();
    }
    void TearDown() override {
        Default<frmShapes>().Unload();
        ReleaseDefault<frmShapes>();
    }
    frmShapes& F() { return Default<frmShapes>(); }
    void Painted() { RedrawWindow(F().hWnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN); }
    // What the window shows, read back from its own surface.
    COLORREF At(int x, int y) {
        ScopedGetDC dc(F().hWnd());
        return GetPixel(dc.get(), x, y);
    }
};

TEST_F(ShapesAndLines, TheInvertingBorderInvertsThePictureAndLeavesTheInside) {
    EXPECT_EQ(At(20, 40), Inverted) << "left edge";
    EXPECT_EQ(At(50, 20), Inverted) << "top edge";
    EXPECT_EQ(At(79, 40), Inverted) << "right edge";
    EXPECT_EQ(At(50, 40), Back) << "inside";
    EXPECT_EQ(At(10, 10), Back) << "outside";
    // Moved away, it leaves the picture as it was.
    F().Shape1.Move(120, 20, 30, 30);
    Painted();
    EXPECT_EQ(At(20, 40), Back);
    EXPECT_EQ(At(120, 30), Inverted);
}

TEST_F(ShapesAndLines, CircleDashesAndLineEndsAreWhereSet) {
    // The circle: 40 across, centred in its 60 x 40 box.
    EXPECT_EQ(At(130, 140), Red) << "centre";
    EXPECT_EQ(At(112, 140), Red) << "inside, near the left of the circle";
    EXPECT_EQ(At(103, 123), FormColor) << "a corner of the box lies outside the circle";
    EXPECT_EQ(At(110, 140), Green) << "the circle's left border";
    // The dashed border alternates along its top edge.
    int changes = 0;
    for (int x = 201; x < 279; ++x) changes += (At(x, 120) == Green) != (At(x - 1, 120) == Green);
    EXPECT_GE(changes, 6) << "dashes, not a solid line";
    EXPECT_EQ(At(240, 135), FormColor) << "transparent inside";
    // The line, both ends included.
    EXPECT_EQ(At(10, 200), Red);
    EXPECT_EQ(At(150, 200), Red);
    EXPECT_EQ(At(151, 200), FormColor);
    EXPECT_EQ(At(80, 201), FormColor);
    // An end far outside the window is taken.
    F().Line2[1].SetX2(100000);
    Painted();
    EXPECT_EQ(At(300, 200), Red);
    EXPECT_EQ(F().Line2[1].X2(), 100000);
}

TEST_F(ShapesAndLines, RefusalsKeepTheOldValue) {
    EXPECT_EQ(ErrorNumber([&] { F().Shape1.SetWidth(-1); }), err::InvalidPropertyValue);
    EXPECT_EQ(ErrorNumber([&] { F().Shape1.SetHeight(-0.5f); }), err::InvalidPropertyValue);
    EXPECT_EQ(F().Shape1.Width(), 60);
    EXPECT_EQ(ErrorNumber([&] { F().Shape1.SetDrawMode(17); }), err::InvalidPropertyValue);
    EXPECT_EQ(ErrorNumber([&] { F().Shape1.SetShape(6); }), err::InvalidPropertyValue);
    EXPECT_EQ(ErrorNumber([&] { F().Shape2.SetFillColor(0x12345678u); }), err::InvalidPropertyValue) << "no colour";
    EXPECT_EQ(ErrorNumber([&] { F().Line2[1].SetBorderWidth(0); }), err::InvalidPropertyValue);
    EXPECT_EQ(F().Shape1.DrawMode(), drawmode::Invert);
    EXPECT_EQ(F().Shape2.FillColor(), Red);
    EXPECT_EQ(F().Line2[1].BorderWidth(), 1);
}

// The crop window drags its selection with the form's mouse events: a shape never takes them.
TEST_F(ShapesAndLines, TheMouseOverAShapeReachesTheForm) {
    const LPARAM inside = MAKELPARAM(50, 40);
    SendMessageA(F().hWnd(), WM_LBUTTONDOWN, MK_LBUTTON, inside);
    SendMessageA(F().hWnd(), WM_LBUTTONUP, 0, inside);
    EXPECT_EQ(F().MouseUps, 1);
}

}  // namespace
