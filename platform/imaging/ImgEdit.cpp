#include "platform/imaging/ImgEdit.h"

#include <algorithm>

#include "platform/runtime/RuntimeError.h"
#include "platform/imaging/Wic.h"

namespace imaging {
namespace {


}  // namespace

void ImgEdit::Display() {
    if (pasted_) {
        current_ = std::move(pasted_);
        pasted_.reset();
        return;
    }
    current_.reset();
    current_ = PictureDecoder().LoadImage24(path_);
}

std::int32_t ImgEdit::ImageWidth() const noexcept {
    return current_ ? static_cast<std::int32_t>(current_->width) : 0;
}

std::int32_t ImgEdit::ImageHeight() const noexcept {
    return current_ ? static_cast<std::int32_t>(current_->height) : 0;
}

ComPtr<IPictureDisp> ImgEdit::CopyImage(std::int32_t left, std::int32_t top, std::int32_t width,
                                        std::int32_t height) const {
    if (!current_ || left < 0 || top < 0 || width <= 0 || height <= 0 ||
        std::int64_t{left} + width > ImageWidth() || std::int64_t{top} + height > ImageHeight()) {
        throw forms::RuntimeError(forms::err::InvalidPicture);
    }
    if (left == 0 && top == 0 && width == ImageWidth() && height == ImageHeight()) {
        return PictureFromBitmap(BitmapFromImage(*current_));
    }
    Image24 region = Image24::Allocate(static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height));
    for (std::uint32_t y = 0; y < region.height; ++y) {
        const std::uint8_t* from = current_->Row(static_cast<std::uint32_t>(top) + y) + 3 * static_cast<std::size_t>(left);
        std::copy_n(from, static_cast<std::size_t>(width) * 3, region.Row(y));
    }
    return PictureFromBitmap(BitmapFromImage(region));
}

void ImgEdit::Paste(IPictureDisp* picture) {
    pasted_ = ImageFromPicture(picture);
}

void ImgEdit::SaveAs(const std::string& path) const {
    if (!current_) throw forms::RuntimeError(forms::err::InvalidPicture);
    EncodeRequest request;
    request.container = GUID_ContainerFormatTiff;
    request.width = current_->width;
    request.height = current_->height;
    const Image24& image = *current_;
    if (!WicEncodeToFile(path, request, [&image](std::uint32_t row) { return image.Row(row); })) {
        throw forms::RuntimeError(forms::err::PathFileAccessError);
    }
}

}  // namespace imaging
