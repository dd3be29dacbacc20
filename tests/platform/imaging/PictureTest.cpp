#include "platform/imaging/Picture.h"

#include <gtest/gtest.h>

#include "platform/runtime/RuntimeError.h"

namespace imaging {
namespace {

Image24 Pattern(std::uint32_t width, std::uint32_t height) {
    Image24 image = Image24::Allocate(width, height);
    for (std::uint32_t y = 0; y < height; ++y)
        for (std::uint32_t k = 0; k < width * 3; ++k) image.Row(y)[k] = static_cast<std::uint8_t>(y * 31 + k * 7);
    return image;
}

TEST(Picture, BitmapPicturesGiveTheirPixelsBack) {
    for (const std::uint32_t width : {1u, 2u, 5u, 8u}) {
        const Image24 image = Pattern(width, 3);
        const auto picture = PictureFromBitmap(BitmapFromImage(image));
        const Image24 back = ImageFromPicture(picture.Get());
        ASSERT_EQ(back.width, width);
        ASSERT_EQ(back.height, 3u);
        for (std::uint32_t y = 0; y < 3; ++y)
            EXPECT_TRUE(std::equal(image.Row(y), image.Row(y) + width * 3, back.Row(y))) << width << " row " << y;
    }
}

TEST(Picture, AnEmptyPictureHasNoHandleAndNoPixels) {
    const auto empty = EmptyPicture();
    ComPtr<IPicture> pic;
    ASSERT_TRUE(SUCCEEDED(empty->QueryInterface(IID_PPV_ARGS(&pic))));
    OLE_HANDLE handle = 1;
    pic->get_Handle(&handle);
    EXPECT_EQ(handle, 0u);
    try {
        ImageFromPicture(empty.Get());
        FAIL() << "no error";
    } catch (const forms::RuntimeError& e) {
        EXPECT_EQ(e.Number(), forms::err::InvalidPicture);
    }
}

TEST(Picture, NoBitmapIsError480) {
    try {
        PictureFromBitmap(forms::UniqueBitmap{});
        FAIL() << "no error";
    } catch (const forms::RuntimeError& e) {
        EXPECT_EQ(e.Number(), forms::err::CannotDrawPicture);
    }
}

}  // namespace
}  // namespace imaging
