#include "platform/forms/controls/Image.h"

#include "platform/forms/Container.h"

namespace forms {

void Image::CreateWindowNow() {
    created_ = true;
    FitToPicture();
    if (!Control::ToolTipText().empty()) ApplyToolTip();
}

void Image::FitToPicture() {
    if (state_.Stretch || !state_.Picture || state_.Picture.Type() == PictureType::None) return;
    const ScaleMode s = GetContainer().ChildScale();
    Move(Control::Left(), Control::Top(),
         ConvertUnits(static_cast<float>(state_.Picture.Width()), ScaleMode::HiMetric, s, Axis::X),
         ConvertUnits(static_cast<float>(state_.Picture.Height()), ScaleMode::HiMetric, s, Axis::Y));
}

StdPicture Image::Picture() const { Touch(); return state_.Picture; }

void Image::SetPicture(const StdPicture& picture) {
    Touch();
    state_.Picture = picture;
    FitToPicture();
    InvalidateArea(PixelRect());
}

bool Image::Stretch() const { Touch(); return state_.Stretch; }
void Image::SetStretch(bool on) {
    Touch();
    state_.Stretch = on;
    FitToPicture();
    InvalidateArea(PixelRect());
}

void Image::PaintWindowless(HDC dc, const RECT& r) {
    const StdPicture& p = state_.Picture;
    if (!p || p.Type() == PictureType::None) return;
    try {
        if (state_.Stretch) {
            p.Render(dc, r.left, r.top, r.right - r.left, r.bottom - r.top);
        } else {
            p.Render(dc, r.left, r.top, ToPixels(static_cast<float>(p.Width()), ScaleMode::HiMetric, Axis::X),
                     ToPixels(static_cast<float>(p.Height()), ScaleMode::HiMetric, Axis::Y));
        }
    } catch (const std::exception&) {
        // A picture that cannot draw leaves the area as it is; painting must go on.
    }
}

}  // namespace forms
