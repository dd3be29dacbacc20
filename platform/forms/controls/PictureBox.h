#pragma once
// A picture box: a container window that shows a picture and takes drawing. With AutoRedraw its surface is
// a persistent bitmap (a DIB section): hDC is a memory DC holding it, what is drawn stays, and Image
// returns a copy of it as an independent picture (it outlives the box and its form). Without AutoRedraw,
// hDC is the window's own DC and drawing is not kept. Cls clears the drawing back to BackColor and Picture.
// A borderless box larger than a window rectangle may be (the system keeps those within 16 bits) has a
// window over the part of it that lies in its container; what it paints, its children and its mouse stay in
// the box's own pixels.

#include "platform/forms/Container.h"
#include "platform/forms/DesignedControl.h"
#include "platform/forms/StdPicture.h"
#include "platform/runtime/OwnedHandles.h"

#include <optional>

namespace forms {

struct PictureBoxDesign {
    bool AutoRedraw = false;
    bool AutoSize = false;
    int BorderStyle = 1;
    ScaleMode Scale = ScaleMode::Twips;
    OleColor BackColor = color::ButtonFace;
    OleColor ForeColor = color::ButtonText;
    StdPicture Picture;
    FontSpec Font;
};

class PictureBox : public DesignedControl<WindowedControl, PictureBoxDesign>, public Container {
public:
    using DesignedControl::DesignedControl;
    ~PictureBox() override;

    StdPicture Picture() const;
    // An empty picture clears it (Picture = LoadPicture()); with AutoSize the box takes the picture's size.
    void SetPicture(const StdPicture& picture);
    // A copy of what the box shows (AutoRedraw: the persistent bitmap), type bitmap.
    StdPicture Image() const;
    HDC hDC() const;
    // What Image would hold, drawn at x, y of another DC (at the box's client size), without making a surface
    // that is still pending: a photo shown at its size is repeated straight from the picture.
    void DrawOn(HDC dc, int x, int y) const;
    // Covers the drawing with copies of what another box shows (as DrawOn draws it), the first at 0, 0.
    void Tile(const PictureBox& tile);
    bool AutoRedraw() const;
    void SetAutoRedraw(bool on);
    bool AutoSize() const;
    void SetAutoSize(bool on);
    OleColor BackColor() const;
    // Takes effect at the next Cls; what is drawn stays.
    void SetBackColor(OleColor value);
    int BorderStyle() const;

    ScaleMode GetScaleMode() const;
    void SetScaleMode(ScaleMode mode);
    // Inner size in the box's scale (Width/Height are the outer size in the container's).
    float ScaleWidth() const;
    float ScaleHeight() const;
    float ScaleX(float value, ScaleMode from = ScaleMode::HiMetric, std::optional<ScaleMode> to = {}) const;
    float ScaleY(float value, ScaleMode from = ScaleMode::HiMetric, std::optional<ScaleMode> to = {}) const;

    // Draws (part of) a picture at x1, y1 in the box's scale; w1/h1 default to the picture's size, the
    // source part x2, y2, w2, h2 (in the box's scale) to the whole picture; rop defaults to SRCCOPY.
    void PaintPicture(const StdPicture& picture, float x1, float y1, std::optional<float> w1 = {},
                      std::optional<float> h1 = {}, std::optional<float> x2 = {}, std::optional<float> y2 = {},
                      std::optional<float> w2 = {}, std::optional<float> h2 = {}, std::optional<DWORD> rop = {});
    void Cls();
    void Refresh() override;

    std::function<void()> Paint;

    // Container
    Form& OwnerForm() override { return Control::OwnerForm(); }
    HWND ClientWindow() const override { return hwnd_; }
    ScaleMode ChildScale() const override { return state_.Scale; }
    POINT ChildOrigin() const override { return origin_; }

    bool MouseMakesClicks() const override { return true; }
    ScaleMode EventScale() const override { return state_.Scale; }
    void WindowGone() override;
    void FormSized() override;

protected:
    const char* WindowClass() const override;
    DWORD WindowStyle() const override { return WS_CLIPCHILDREN; }
    DWORD WindowExStyle() const override { return state_.BorderStyle ? WS_EX_CLIENTEDGE : 0; }
    const FontSpec* Font() const override { return &state_.Font; }
    void AfterCreate() override;
    bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void ApplyGeometry(const RECT& before) override;

private:
    // The box's client size, also where its window shows a part of it.
    SIZE ClientSize() const;
    void PlaceWindow();
    bool ShowsAPart() const noexcept { return origin_.x || origin_.y || cut_.cx || cut_.cy; }
    // A mouse message of the window at a point in the box's pixels, where the two differ.
    LRESULT PartMouse(UINT msg, WPARAM wParam, LPARAM lParam, POINT pt);
    // Background (BackColor and Picture) into a DC of the client's size.
    void PaintBackground(HDC dc, SIZE size) const;
    // A persistent surface of that size holding the background.
    BitmapDC NewSurface(SIZE size) const;
    // The same left blank, for a drawing that covers all of it.
    BitmapDC BlankSurface(SIZE size) const;
    // The size DrawOn draws.
    SIZE DrawnSize() const;
    void MakeBacking(bool keepDrawing);
    // A surface that would hold BackColor and Picture alone is not made until something draws on it: till then
    // painting, Image and DrawOn draw them from the picture, and a photo is not held a second time in 32 bits.
    void ClearBacking();
    bool Persistent() const noexcept { return backing_ || backingPending_; }
    // The persistent surface, made now from BackColor and Picture if it was pending.
    const BitmapDC& Backing() const;
    void DropBacking();
    void FitToPicture();

    mutable BitmapDC backing_;  // the persistent surface of AutoRedraw
    SIZE backingSize_{0, 0};    // also of a pending one
    mutable bool backingClean_ = false;    // the surface holds BackColor and Picture alone
    mutable bool backingPending_ = false;  // AutoRedraw's surface is due but not made: it would be clean
    POINT origin_{0, 0};  // the box's pixel at the window's client 0, 0
    SIZE cut_{0, 0};      // how much of the box's client size lies outside its window
};

}  // namespace forms
