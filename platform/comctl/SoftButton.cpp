#include "platform/comctl/SoftButton.h"

#include "platform/forms/Dib.h"
#include "platform/forms/EventErrorBoundary.h"
#include "platform/forms/Form.h"

#include <algorithm>
#include <cstdint>

namespace forms {

StdPicture SoftButton::Picture() const {
    Touch();
    return state_.Picture;
}

void SoftButton::SetPicture(const StdPicture& picture) {
    Touch();
    state_.Picture = picture;
    if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void SoftButton::ResetFromDesign() {
    DesignedControl::ResetFromDesign();
    hot_ = false;
}

void SoftButton::ResetLook(int) {
    Touch();
    hot_ = false;
    if (!hwnd_) return;
    if (GetCapture() == hwnd_) ReleaseCapture();
    SendMessageA(hwnd_, BM_SETSTATE, FALSE, 0);
    InvalidateRect(hwnd_, nullptr, FALSE);
}

bool SoftButton::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (msg) {
    case WM_MOUSEMOVE:
        if (!hot_) {
            hot_ = true;
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd_, 0};
            TrackMouseEvent(&track);
            InvalidateRect(hwnd_, nullptr, FALSE);
        }
        return false;
    case WM_MOUSELEAVE:
        hot_ = false;
        InvalidateRect(hwnd_, nullptr, FALSE);
        return false;
    case WM_LBUTTONDBLCLK:
        // An owner-drawn button reports a double click instead of pressing; a quick second click is a
        // second press, as on a push button.
        Guarded([&] { RaiseMouse(WM_LBUTTONDOWN, wParam, POINT{static_cast<short>(LOWORD(lParam)),
                                                                 static_cast<short>(HIWORD(lParam))}); });
        result = CallDefault(WM_LBUTTONDOWN, wParam, lParam);
        return true;
    case WM_ERASEBKGND:
        result = 1;  // the whole face is drawn at once
        return true;
    default: return false;
    }
}

void SoftButton::OnCommand(WORD code) {
    if (code == BN_CLICKED && Click) Guarded([this] { Click(); });
}

bool SoftButton::HandlesDialogKey(int key, HWND target) {
    if (key != VK_RETURN || target != hwnd_ || !IsWindowEnabled(hwnd_)) return false;
    Guarded([this] { if (Click) Click(); });
    return true;
}

bool SoftButton::OnReflect(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (msg != WM_DRAWITEM) return WindowedControl::OnReflect(msg, wParam, lParam, result);
    Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    result = TRUE;
    return true;
}

void SoftButton::Draw(const DRAWITEMSTRUCT& item) const {
    const RECT full = item.rcItem;
    const int width = full.right - full.left;
    const int height = full.bottom - full.top;
    if (width <= 0 || height <= 0) return;
    // Drawn off-screen and copied once, so that hovering does not flicker.
    UniqueDC memory(CreateCompatibleDC(item.hDC));
    UniqueBitmap canvas = MakeDib(item.hDC, {width, height});
    ScopedSelect selected(memory.get(), canvas.get());
    const HDC dc = selected.Selected() ? memory.get() : item.hDC;
    RECT r{0, 0, width, height};
    if (dc == item.hDC) r = full;
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));

    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    if (pressed) DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
    else if (hot_ && !disabled) DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);

    RECT area = r;
    InflateRect(&area, -2, -2);
    if (pressed) OffsetRect(&area, 1, 1);
    DrawPicture(dc, area, disabled);

    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) {
        RECT focus = r;
        InflateRect(&focus, -2, -2);
        DrawFocusRect(dc, &focus);
    }
    if (dc != item.hDC) BitBlt(item.hDC, full.left, full.top, width, height, dc, 0, 0, SRCCOPY);
}

void SoftButton::DrawPicture(HDC dc, const RECT& area, bool greyed) const {
    const StdPicture& picture = state_.Picture;
    if (!picture || picture.Type() == PictureType::None) return;
    const int natW = ToPixels(static_cast<float>(picture.Width()), ScaleMode::HiMetric, Axis::X);
    const int natH = ToPixels(static_cast<float>(picture.Height()), ScaleMode::HiMetric, Axis::Y);
    const int boxW = area.right - area.left;
    const int boxH = area.bottom - area.top;
    if (natW <= 0 || natH <= 0 || boxW <= 0 || boxH <= 0) return;
    // Scaled down to fit, keeping its shape; never enlarged.
    int w = natW, h = natH;
    if (w > boxW || h > boxH) {
        if (static_cast<std::int64_t>(natW) * boxH > static_cast<std::int64_t>(natH) * boxW) {
            w = boxW;
            h = std::max(1, static_cast<int>(static_cast<std::int64_t>(natH) * boxW / natW));
        } else {
            h = boxH;
            w = std::max(1, static_cast<int>(static_cast<std::int64_t>(natW) * boxH / natH));
        }
    }
    const int x = area.left + (boxW - w) / 2;
    const int y = area.top + (boxH - h) / 2;
    const auto render = [&](HDC target, int tx, int ty) {
        if (picture.Type() == PictureType::Icon)
            DrawIconEx(target, tx, ty, static_cast<HICON>(picture.Handle()), w, h, 0, nullptr, DI_NORMAL);
        else
            picture.Render(target, tx, ty, w, h);
    };
    if (!greyed) {
        render(dc, x, y);
        return;
    }
    // Greyed: drawn on the face colour, then every pixel turned to grey and lightened towards the face.
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    UniqueBitmap dib(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    UniqueDC memory(CreateCompatibleDC(dc));
    if (!dib || !memory) return;
    ScopedSelect selected(memory.get(), dib.get());
    RECT all{0, 0, w, h};
    FillRect(memory.get(), &all, GetSysColorBrush(COLOR_BTNFACE));
    render(memory.get(), 0, 0);
    GdiFlush();
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const int faceGrey = (GetRValue(face) * 30 + GetGValue(face) * 59 + GetBValue(face) * 11) / 100;
    auto* px = static_cast<std::uint32_t*>(bits);
    for (int i = 0; i < w * h; ++i) {
        const std::uint32_t p = px[i];
        const int grey = (static_cast<int>((p >> 16) & 0xFF) * 30 + static_cast<int>((p >> 8) & 0xFF) * 59 +
                          static_cast<int>(p & 0xFF) * 11) / 100;
        const auto v = static_cast<std::uint32_t>((grey + faceGrey * 2) / 3);
        px[i] = (v << 16) | (v << 8) | v;
    }
    BitBlt(dc, x, y, w, h, memory.get(), 0, 0, SRCCOPY);
}

}  // namespace forms
