#include "platform/imaging/ImgEdit.h"

#include <gtest/gtest.h>

#include <functional>

#include "platform/runtime/RuntimeError.h"
#include "tests/support/TempFolder.h"

namespace imaging {
namespace {

std::int32_t ErrorOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const forms::RuntimeError& e) {
        return e.Number();
    }
    return 0;
}

Image24 Numbered(std::uint32_t width, std::uint32_t height) {
    Image24 image = Image24::Allocate(width, height);
    for (std::uint32_t y = 0; y < height; ++y)
        for (std::uint32_t x = 0; x < width; ++x) image.Row(y)[3 * x] = static_cast<std::uint8_t>(10 * y + x);
    return image;
}

class ImgEditTest : public testing::Test {
protected:
    void ShowPicture(const Image24& image) {
        control_.Paste(PictureFromBitmap(BitmapFromImage(image)).Get());
        control_.Display();
    }
    ImgEdit control_;
};

TEST_F(ImgEditTest, CopyImageHandsOutARegion) {
    ShowPicture(Numbered(6, 4));
    EXPECT_EQ(control_.ImageWidth(), 6);
    EXPECT_EQ(control_.ImageHeight(), 4);
    const Image24 region = ImageFromPicture(control_.CopyImage(2, 1, 3, 2).Get());
    ASSERT_EQ(region.width, 3u);
    ASSERT_EQ(region.height, 2u);
    EXPECT_EQ(region.Row(0)[0], 12);
    EXPECT_EQ(region.Row(1)[6], 24);
}

TEST_F(ImgEditTest, RegionsOutsideTheImageAndMissingImagesAreInvalid) {
    EXPECT_EQ(ErrorOf([&] { control_.CopyImage(0, 0, 1, 1); }), forms::err::InvalidPicture);
    EXPECT_EQ(ErrorOf([&] { control_.SaveAs("x.tif"); }), forms::err::InvalidPicture);
    ShowPicture(Numbered(4, 4));
    const struct {
        std::int32_t left, top, width, height;
    } outside[] = {{-1, 0, 2, 2}, {0, 0, 5, 4}, {3, 3, 2, 1}, {0, 0, 0, 4}, {0, 0, 4, -1}};
    for (const auto& r : outside) {
        EXPECT_EQ(ErrorOf([&] { control_.CopyImage(r.left, r.top, r.width, r.height); }), forms::err::InvalidPicture);
    }
}

TEST_F(ImgEditTest, AFileThatDoesNotDisplayLeavesNoImage) {
    ShowPicture(Numbered(4, 4));
    const qvtest::TempFolder dir;
    control_.SetImage((dir / "none.pcx"));
    EXPECT_EQ(ErrorOf([&] { control_.Display(); }), forms::err::InvalidPicture);
    EXPECT_EQ(control_.ImageWidth(), 0);
}

TEST_F(ImgEditTest, SaveAsWritesATiffThatReadsBackTheSame) {
    const Image24 image = Numbered(5, 3);
    ShowPicture(image);
    const qvtest::TempFolder dir;
    control_.SaveAs((dir / "out.tif"));
    control_.SetImage((dir / "out.tif"));
    control_.Display();
    const Image24 back = ImageFromPicture(control_.CopyImage(0, 0, 5, 3).Get());
    for (std::uint32_t y = 0; y < 3; ++y) EXPECT_TRUE(std::equal(image.Row(y), image.Row(y) + 15, back.Row(y)));
    EXPECT_NE(ErrorOf([&] { control_.SaveAs((dir / "missing\\out.tif")); }), 0);
}

}  // namespace
}  // namespace imaging
