#include "platform/forms/controls/PictureBox.h"

#include "platform/forms/Dib.h"

#include "platform/runtime/App.h"
#include "platform/runtime/Conversions.h"
#include "platform/forms/EventErrorBoundary.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/subclass/WindowSubclass.h"

#include <commctrl.h>
#include <windowsx.h>

#include <cmath>

namespace forms {
namespace {

constexpr char PictureBoxClass[] = "QuillviewPictureBox";

bool HasImage(const StdPicture& p) { return p && p.Type() != PictureType::None; }

// A picture's natural size in screen pixels.
SIZE PixelSize(const StdPicture& p) {
    return {ToPixels(static_cast<float>(p.Width()), ScaleMode::HiMetric, Axis::X),
            ToPixels(static_cast<float>(p.Height()), ScaleMode::HiMetric, Axis::Y)};
}

// The system clamps a window rectangle beyond 16 bits.
bool FitsAWindow(const RECT& r) {
    constexpr LONG low = -32768;
    constexpr LONG high = 32767;
    return r.left >= low && r.top >= low && r.right <= high && r.bottom <= high;
}

}  // namespace

PictureBox::~PictureBox() { DropBacking(); }

const char* PictureBox::WindowClass() const {
    static const bool registered = [] {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.style = CS_DBLCLKS | CS_OWNDC;  // hDC without AutoRedraw stays the same DC
        wc.lpfnWndProc = &DefWindowProcA;
        wc.hInstance = App::hInstance();
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.lpszClassName = PictureBoxClass;
        return RegisterClassExA(&wc) != 0;
    }();
    (void)registered;
    return PictureBoxClass;
}

void PictureBox::AfterCreate() {
    if (!FitsAWindow(PixelRect())) PlaceWindow();
    if (state_.AutoSize) FitToPicture();
    if (state_.AutoRedraw) MakeBacking(false);
}

void PictureBox::WindowGone() {
    DropBacking();
    origin_ = {0, 0};
    cut_ = {0, 0};
    DesignedControl::WindowGone();
}

void PictureBox::FormSized() {
    if (ShowsAPart()) PlaceWindow();
}

SIZE PictureBox::ClientSize() const {
    RECT rc{};
    if (hwnd_) GetClientRect(hwnd_, &rc);
    return {rc.right + cut_.cx, rc.bottom + cut_.cy};
}

void PictureBox::ApplyGeometry(const RECT&) { PlaceWindow(); }

void PictureBox::PlaceWindow() {
    const RECT whole = PixelRect();
    RECT placed = whole;
    // Borderless only: there the window is all client area, so a part of it looks as the whole would.
    if (state_.BorderStyle == 0 && !FitsAWindow(whole)) {
        RECT view{};
        GetClientRect(GetContainer().ClientWindow(), &view);
        if (!IntersectRect(&placed, &whole, &view)) placed = {view.left, view.top, view.left, view.top};
    }
    const POINT origin{placed.left - whole.left, placed.top - whole.top};
    const bool shifted = origin.x != origin_.x || origin.y != origin_.y;
    origin_ = origin;
    cut_ = {(whole.right - whole.left) - (placed.right - placed.left),
            (whole.bottom - whole.top) - (placed.bottom - placed.top)};
    // Where the box moved under its window, the window's old pixels are not what it shows now.
    SetWindowPos(hwnd_, nullptr, placed.left, placed.top, placed.right - placed.left, placed.bottom - placed.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | (shifted ? SWP_NOCOPYBITS : 0));
    if (shifted) InvalidateRect(hwnd_, nullptr, FALSE);
}

void PictureBox::PaintBackground(HDC dc, SIZE size) const {
    const RECT all{0, 0, size.cx, size.cy};
    UniqueBrush brush(CreateSolidBrush(ToColorRefOr(state_.BackColor, GetSysColor(COLOR_BTNFACE))));
    FillRect(dc, &all, brush.get());
    if (HasImage(state_.Picture)) {
        const SIZE natural = PixelSize(state_.Picture);
        state_.Picture.Render(dc, 0, 0, natural.cx, natural.cy);
    }
}

BitmapDC PictureBox::NewSurface(SIZE size) const {
    BitmapDC surface = BlankSurface(size);
    PaintBackground(surface.dc(), size);
    return surface;
}

BitmapDC PictureBox::BlankSurface(SIZE size) const {
    ScopedGetDC screen(hwnd_);
    BitmapDC surface(UniqueDC(CreateCompatibleDC(screen.get())), MakeDib(screen.get(), size));
    if (!surface) throw RuntimeError(err::CannotDrawPicture);
    return surface;
}

void PictureBox::MakeBacking(bool keepDrawing) {
    if (!hwnd_) return;
    const SIZE size = ClientSize();
    // Nothing drawn to keep: the surface of the new size would be BackColor and Picture alone.
    if (!keepDrawing || !backing_ || backingClean_) {
        ClearBacking();
        backingSize_ = size;
        return;
    }
    BitmapDC surface = NewSurface(size);
    BitBlt(surface.dc(), 0, 0, std::min(size.cx, backingSize_.cx), std::min(size.cy, backingSize_.cy),
           backing_.dc(), 0, 0, SRCCOPY);
    backing_ = std::move(surface);
    backingSize_ = size;
}

void PictureBox::ClearBacking() {
    backing_.reset();
    backingPending_ = true;
    backingClean_ = true;
}

const BitmapDC& PictureBox::Backing() const {
    if (backingPending_) {
        backing_ = NewSurface(backingSize_);
        backingPending_ = false;
    }
    return backing_;
}

void PictureBox::DropBacking() {
    backing_.reset();
    backingPending_ = false;
    backingSize_ = {0, 0};
}

void PictureBox::FitToPicture() {
    if (!hwnd_ || !HasImage(state_.Picture)) return;
    const SIZE natural = PixelSize(state_.Picture);
    RECT outer{0, 0, natural.cx, natural.cy};
    AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongPtrA(hwnd_, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrA(hwnd_, GWL_EXSTYLE)));
    const ScaleMode outerScale = GetContainer().ChildScale();
    Move(Control::Left(), Control::Top(), FromPixels(outer.right - outer.left, outerScale, Axis::X),
         FromPixels(outer.bottom - outer.top, outerScale, Axis::Y));
}

StdPicture PictureBox::Picture() const { Touch(); return state_.Picture; }

void PictureBox::SetPicture(const StdPicture& picture) {
    Touch();
    state_.Picture = picture;
    if (state_.AutoSize) FitToPicture();
    if (state_.AutoRedraw) MakeBacking(false);  // the new picture is the persistent surface, when one is needed
    if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

StdPicture PictureBox::Image() const {
    Touch();
    const SIZE size = ClientSize();
    ScopedGetDC screen(hwnd_);
    UniqueDC dc(CreateCompatibleDC(screen.get()));
    UniqueBitmap copy = MakeDib(screen.get(), size);
    if (!dc || !copy) throw RuntimeError(err::CannotDrawPicture);
    {
        // A pending surface would hold only what DrawOn draws from the picture: it is not made for a copy.
        ScopedSelect select(dc.get(), copy.get());
        DrawOn(dc.get(), 0, 0);
    }
    return StdPicture::FromBitmap(copy.release());
}

SIZE PictureBox::DrawnSize() const { return backingPending_ ? backingSize_ : ClientSize(); }

void PictureBox::DrawOn(HDC dc, int x, int y) const {
    Touch();
    const SIZE size = DrawnSize();
    if (backing_) {
        BitBlt(dc, x, y, size.cx, size.cy, backing_.dc(), 0, 0, SRCCOPY);
        return;
    }
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, x, y, x + size.cx, y + size.cy);
    OffsetViewportOrgEx(dc, x, y, nullptr);
    PaintBackground(dc, size);
    RestoreDC(dc, saved);
}

void PictureBox::Tile(const PictureBox& tile) {
    Touch();
    const SIZE period = tile.DrawnSize();
    SIZE size = ClientSize();
    if (Persistent()) size = {std::min(size.cx, backingSize_.cx), std::min(size.cy, backingSize_.cy)};
    if (period.cx < 1 || period.cy < 1 || size.cx < 1 || size.cy < 1) return;
    if (!Persistent()) {
        const HDC own = hDC();
        for (int y = 0; y < size.cy; y += period.cy) {
            for (int x = 0; x < size.cx; x += period.cx) tile.DrawOn(own, x, y);
        }
        return;
    }
    // The tiles cover every pixel: the back colour under them would be drawn for nothing.
    if (backingPending_) {
        backing_ = BlankSurface(backingSize_);
        backingPending_ = false;
    }
    backingClean_ = false;
    const HDC dc = backing_.dc();
    tile.DrawOn(dc, 0, 0);
    // The others are copies of those already there, twice as many at each step: a small picture is not drawn
    // once for each of its thousands of places.
    const LONG rowHeight = std::min(period.cy, size.cy);
    for (LONG done = period.cx; done < size.cx;) {
        const LONG more = std::min(done, size.cx - done);
        BitBlt(dc, done, 0, more, rowHeight, dc, 0, 0, SRCCOPY);
        done += more;
    }
    for (LONG done = period.cy; done < size.cy;) {
        const LONG more = std::min(done, size.cy - done);
        BitBlt(dc, 0, done, size.cx, more, dc, 0, 0, SRCCOPY);
        done += more;
    }
    if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

HDC PictureBox::hDC() const {
    Touch();
    if (Persistent()) {
        const HDC surface = Backing().dc();
        backingClean_ = false;  // the caller may draw on it
        return surface;
    }
    const HDC own = GetDC(hwnd_);  // a class DC: the same DC for the window's life
    SetWindowOrgEx(own, origin_.x, origin_.y, nullptr);  // drawn in the box's pixels
    return own;
}

bool PictureBox::AutoRedraw() const { Touch(); return state_.AutoRedraw; }
void PictureBox::SetAutoRedraw(bool on) {
    Touch();
    if (on == state_.AutoRedraw) return;
    state_.AutoRedraw = on;
    if (on) MakeBacking(false);
    else DropBacking();
    InvalidateRect(hwnd_, nullptr, TRUE);
}

bool PictureBox::AutoSize() const { Touch(); return state_.AutoSize; }
void PictureBox::SetAutoSize(bool on) {
    Touch();
    state_.AutoSize = on;
    if (on) FitToPicture();
}

OleColor PictureBox::BackColor() const { Touch(); return state_.BackColor; }
void PictureBox::SetBackColor(OleColor value) {
    Touch();
    ToColorRef(value);
    state_.BackColor = value;
    // A new colour clears the drawing: a persistent surface left in the old colour would keep showing it, also
    // where the box grows and keeps what it had.
    if (Persistent()) ClearBacking();
    if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

int PictureBox::BorderStyle() const { Touch(); return state_.BorderStyle; }

ScaleMode PictureBox::GetScaleMode() const { Touch(); return state_.Scale; }
void PictureBox::SetScaleMode(ScaleMode mode) { Touch(); state_.Scale = mode; }

float PictureBox::ScaleWidth() const { Touch(); return FromPixels(ClientSize().cx, state_.Scale, Axis::X); }
float PictureBox::ScaleHeight() const { Touch(); return FromPixels(ClientSize().cy, state_.Scale, Axis::Y); }

float PictureBox::ScaleX(float value, ScaleMode from, std::optional<ScaleMode> to) const {
    return ConvertUnits(value, from, to.value_or(GetScaleMode()), Axis::X);
}
float PictureBox::ScaleY(float value, ScaleMode from, std::optional<ScaleMode> to) const {
    return ConvertUnits(value, from, to.value_or(GetScaleMode()), Axis::Y);
}

void PictureBox::PaintPicture(const StdPicture& picture, float x1, float y1, std::optional<float> w1,
                              std::optional<float> h1, std::optional<float> x2, std::optional<float> y2,
                              std::optional<float> w2, std::optional<float> h2, std::optional<DWORD> rop) {
    Touch();
    if (!picture) throw RuntimeError(err::ObjectNotSet);
    if (picture.Type() == PictureType::None) return;
    const ScaleMode s = state_.Scale;
    const auto himetricX = [s](float v) { return static_cast<long>(RoundHalfEven(ConvertUnits(v, s, ScaleMode::HiMetric, Axis::X))); };
    const auto himetricY = [s](float v) { return static_cast<long>(RoundHalfEven(ConvertUnits(v, s, ScaleMode::HiMetric, Axis::Y))); };
    const long srcX = x2 ? himetricX(*x2) : 0;
    const long srcY = y2 ? himetricY(*y2) : 0;
    const long srcW = w2 ? himetricX(*w2) : picture.Width() - srcX;
    const long srcH = h2 ? himetricY(*h2) : picture.Height() - srcY;
    const int x = ToPixels(x1, s, Axis::X);
    const int y = ToPixels(y1, s, Axis::Y);
    // Without a destination size the part keeps its own size.
    const int w = w1 ? ToPixels(*w1, s, Axis::X) : ToPixels(static_cast<float>(srcW), ScaleMode::HiMetric, Axis::X);
    const int h = h1 ? ToPixels(*h1, s, Axis::Y) : ToPixels(static_cast<float>(srcH), ScaleMode::HiMetric, Axis::Y);
    // The box's own bitmap at its place and size over a clean background changes no pixel (its transparent
    // parts show what they showed): the display modes redraw a new picture so, and it is as large as a photo.
    const bool copy = !rop || *rop == SRCCOPY;
    if (copy && Persistent() && backingClean_ && picture.Type() == PictureType::Bitmap && picture == state_.Picture &&
        x == 0 && y == 0 && srcX == 0 && srcY == 0 && srcW == picture.Width() && srcH == picture.Height()) {
        const SIZE natural = PixelSize(picture);
        if (w == natural.cx && h == natural.cy) return;
    }
    const HDC target = hDC();
    if (copy) {
        picture.Render(target, x, y, w, h, srcX, srcY, srcW, srcH);
    } else {
        // Other raster operations: the picture drawn alone first, then combined with what is there.
        UniqueDC dc(CreateCompatibleDC(target));
        UniqueBitmap part = MakeDib(target, {std::abs(w), std::abs(h)});
        ScopedSelect select(dc.get(), part.get());
        picture.Render(dc.get(), 0, 0, std::abs(w), std::abs(h), srcX, srcY, srcW, srcH);
        BitBlt(target, x, y, std::abs(w), std::abs(h), dc.get(), 0, 0, *rop);
    }
    if (backing_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void PictureBox::Cls() {
    Touch();
    if (Persistent()) ClearBacking();
    backingClean_ = true;
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void PictureBox::Refresh() {
    Touch();
    if (hwnd_) RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

bool PictureBox::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (Reflect(msg, wParam, lParam, result)) return true;
    if (IsMouseMessage(msg)) {
        const POINT pt{GET_X_LPARAM(lParam) + origin_.x, GET_Y_LPARAM(lParam) + origin_.y};
        if (RouteMouse(msg, wParam, pt)) {
            result = 0;
            return true;
        }
        if (origin_.x == 0 && origin_.y == 0) return false;
        result = PartMouse(msg, wParam, lParam, pt);
        return true;
    }
    switch (msg) {
    case WM_ERASEBKGND:
        result = 1;  // WM_PAINT covers everything
        return true;
    case WM_PAINT: {
        {
            // The own DC keeps the origin hDC gave it, and the paint's rectangle comes in its coordinates.
            const HDC own = GetDC(hwnd_);
            SetWindowOrgEx(own, 0, 0, nullptr);
            ReleaseDC(hwnd_, own);
            ScopedPaint paint(hwnd_);
            // Painted in the box's pixels.
            RECT area = paint.area();
            OffsetRect(&area, origin_.x, origin_.y);
            SetWindowOrgEx(paint.get(), origin_.x, origin_.y, nullptr);
            const auto copySurface = [&](HDC dc) {
                const RECT surface{0, 0, backingSize_.cx, backingSize_.cy};
                RECT part{};
                if (IntersectRect(&part, &area, &surface)) {
                    BitBlt(dc, part.left, part.top, part.right - part.left, part.bottom - part.top, backing_.dc(),
                           part.left, part.top, SRCCOPY);
                }
            };
            // The surface is an off-screen copy already: with nothing to paint over it, it goes on at once.
            if (backing_ && !WindowlessIn(area)) {
                copySurface(paint.get());
            } else {
                PaintOffscreen(paint.get(), area, [&](HDC dc) {
                    if (backing_) {
                        copySurface(dc);
                    } else {
                        // The off-screen copy is the update rectangle's: only what is exposed is drawn.
                        PaintBackground(dc, DrawnSize());
                    }
                    Container::PaintWindowless(dc, area);
                });
            }
        }
        if (Paint) Guarded([this] { Paint(); });
        result = 0;
        return true;
    }
    case WM_SIZE:
        if (Persistent()) {
            const SIZE size = ClientSize();
            if (size.cx > backingSize_.cx || size.cy > backingSize_.cy) {
                Guarded([this] { MakeBacking(true); });
            } else if (backingPending_ || backingClean_) {
                // Nothing drawn to keep: a smaller box's surface, when it is made, is only as large as the box.
                Guarded([this] { MakeBacking(false); });
            }
        }
        // A box within this one that shows a part of itself shows the part in this one's new client area.
        for (Control* child : Children()) {
            auto* box = dynamic_cast<PictureBox*>(child);
            if (box && box->Live() && box->ShowsAPart()) box->PlaceWindow();
        }
        return false;
    default: return false;
    }
}

LRESULT PictureBox::PartMouse(UINT msg, WPARAM wParam, LPARAM lParam, POINT pt) {
    const HWND self = hwnd_;
    Guarded([&] { RaiseMouse(msg, wParam, pt); });
    // A handler may have unloaded the form, and this window with it.
    if (!IsWindow(self)) return 0;
    const LRESULT result = subclass::CallNextSubclass(self, msg, wParam, lParam);
    if (msg == WM_LBUTTONUP) Guarded([this] { RaiseClick(); });  // after the press's default handling
    return result;
}

}  // namespace forms
