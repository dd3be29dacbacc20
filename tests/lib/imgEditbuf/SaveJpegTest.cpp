// JPEG saving and reading through clsImgEditCtlBuf (SaveToJpeg, LoadJPGFile) and the codec module below.

#include <windows.h>
#include <wincodec.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "lib/imgEditbuf/Client.h"
#include "platform/imaging/Picture.h"
#include "platform/runtime/OwnedHandles.h"
#include "platform/runtime/Strings.h"
#include "tests/lib/imgEditbuf/ServerSupport.h"

namespace imgbuf::test {
namespace {

using client::ImgEditCtlBuf;

// A smooth picture, dark at the top and bright at the bottom and slowly bluer to the right: a flipped result
// is far off, while JPEG's rounding (and its halved colour resolution) stays small.
imaging::Image24 Gradient(std::uint32_t width, std::uint32_t height) {
    imaging::Image24 image = imaging::Image24::Allocate(width, height);
    for (std::uint32_t y = 0; y < height; ++y) {
        for (std::uint32_t x = 0; x < width; ++x) {
            std::uint8_t* p = image.Row(y) + 3 * x;
            const auto down = height > 1 ? 40 + 150 * y / (height - 1) : 120;
            const auto across = width > 33 ? x * 32 / (width - 1) : x;  // at most 32 across, however wide
            p[0] = static_cast<std::uint8_t>(down + across);
            p[1] = static_cast<std::uint8_t>(down);
            p[2] = static_cast<std::uint8_t>(down + 30 - across);
        }
    }
    return image;
}

// The file's pixels, top row first, as the system's decoder gives them: none of our code in between.
imaging::Image24 DecodedBySystem(const std::string& path) {
    using Microsoft::WRL::ComPtr;
    ComPtr<IWICImagingFactory> factory;
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    ComPtr<IWICBitmapSource> bgr;
    UINT width = 0;
    UINT height = 0;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory))) ||
        FAILED(factory->CreateDecoderFromFilename(forms::ToWide(path).c_str(), nullptr,
                                                  GENERIC_READ, WICDecodeMetadataCacheOnDemand, &decoder)) ||
        FAILED(decoder->GetFrame(0, &frame)) ||
        FAILED(WICConvertBitmapSource(GUID_WICPixelFormat24bppBGR, frame.Get(), &bgr)) ||
        FAILED(bgr->GetSize(&width, &height))) {
        ADD_FAILURE() << "the system cannot read " << path;
        return {};
    }
    imaging::Image24 image = imaging::Image24::Allocate(width, height);
    EXPECT_HRESULT_SUCCEEDED(bgr->CopyPixels(nullptr, static_cast<UINT>(image.stride),
                                             static_cast<UINT>(image.pixels.size()), image.pixels.data()));
    return image;
}

// The image in a bitmap of the given kind: a bottom-up DIB section, or a device bitmap of the screen's.
comserver::ComPtr<IPictureDisp> PictureOfKind(const imaging::Image24& image, bool device) {
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), static_cast<LONG>(image.width), -static_cast<LONG>(image.height),
                      1, 24, BI_RGB};
    forms::UniqueBitmap bitmap;
    if (device) {
        const HDC screen = GetDC(nullptr);
        bitmap.reset(CreateCompatibleBitmap(screen, static_cast<int>(image.width), static_cast<int>(image.height)));
        SetDIBits(screen, bitmap.get(), 0, image.height, image.pixels.data(), &info, DIB_RGB_COLORS);
        ReleaseDC(nullptr, screen);
    } else {
        BITMAPINFO bottomUp = info;
        bottomUp.bmiHeader.biHeight = static_cast<LONG>(image.height);
        void* bits = nullptr;
        bitmap.reset(CreateDIBSection(nullptr, &bottomUp, DIB_RGB_COLORS, &bits, nullptr, 0));
        for (std::uint32_t y = 0; y < image.height; ++y)
            std::memcpy(static_cast<std::uint8_t*>(bits) + (image.height - 1 - y) * image.stride, image.Row(y),
                        image.stride);
    }
    auto picture = imaging::PictureFromBitmap(std::move(bitmap));
    return comserver::ComPtr<IPictureDisp>::Attach(picture.Detach());
}

class SaveJpegTest : public testing::Test {
protected:
    void SetUp() override { Messages::Clear(); }
    TempFolder folder_;
    ImgEditCtlBuf buffer_;
};

struct RoundTrip {
    std::uint32_t width, height;
};

class JpegRoundTrip : public SaveJpegTest, public testing::WithParamInterface<RoundTrip> {};

TEST_P(JpegRoundTrip, ComesBackCloseToTheOriginal) {
    const RoundTrip c = GetParam();
    const imaging::Image24 original = Gradient(c.width, c.height);
    const std::string path = (folder_ / "round.jpg");
    ASSERT_TRUE(buffer_.SaveToJpeg(path, PictureOf(original).Get(), 95));
    bool fail = true;
    const auto back = buffer_.LoadJPGFile(path, fail);
    EXPECT_FALSE(fail);
    const int difference = MaxDifference(PixelsOf(back.Get()), original);
    EXPECT_GE(difference, 0) << "size changed";
    EXPECT_LE(difference, 12);
    const int bySystem = MaxDifference(DecodedBySystem(path), original);
    EXPECT_GE(bySystem, 0) << "size changed";
    EXPECT_LE(bySystem, 12) << "as the system's decoder reads the file";
    EXPECT_TRUE(Messages::Shown().empty());
}

INSTANTIATE_TEST_SUITE_P(Sizes, JpegRoundTrip,
                         testing::Values(RoundTrip{1, 1}, RoundTrip{1, 3}, RoundTrip{2, 5}, RoundTrip{3, 7},
                                         RoundTrip{4, 9}, RoundTrip{5, 3}, RoundTrip{5, 17}, RoundTrip{17, 9}, RoundTrip{33, 21},
                                         RoundTrip{6001, 3}));

// A DIB section either way up is encoded from its own rows, a device bitmap through a copy: each comes out
// upright as the system's decoder reads the file.
TEST_F(SaveJpegTest, EveryKindOfBitmapIsSavedUpright) {
    const imaging::Image24 original = Gradient(33, 21);
    const struct {
        const char* name;
        comserver::ComPtr<IPictureDisp> picture;
    } kinds[] = {
        {"top-down DIB section", PictureOf(original)},
        {"bottom-up DIB section", PictureOfKind(original, false)},
        {"device bitmap", PictureOfKind(original, true)},
    };
    for (const auto& kind : kinds) {
        const std::string path = (folder_ / "kind.jpg");
        ASSERT_TRUE(buffer_.SaveToJpeg(path, kind.picture.Get(), 95)) << kind.name;
        const int difference = MaxDifference(DecodedBySystem(path), original);
        EXPECT_GE(difference, 0) << kind.name;
        EXPECT_LE(difference, 12) << kind.name;
    }
    EXPECT_TRUE(Messages::Shown().empty());
}

// Written by another encoder (tests/lib/imgEditbuf/data/make-samples.sh), read back as its source.
TEST_F(SaveJpegTest, AJpegOfAnotherEncoderReadsAsItsSource) {
    bool fail = true;
    const auto picture = buffer_.LoadJPGFile(SamplePath("jpeg-outside.jpg"), fail);
    EXPECT_FALSE(fail);
    const int difference = MaxDifference(PixelsOf(picture.Get()), ReadPpm(SamplePath("jpeg-outside.ppm")));
    EXPECT_GE(difference, 0) << "size changed";
    EXPECT_LE(difference, 6);
}

TEST_F(SaveJpegTest, EmptyFileNameWritesNothing) {
    EXPECT_FALSE(buffer_.SaveToJpeg("", PictureOf(Gradient(4, 4)).Get(), 75));
    EXPECT_TRUE(folder_.Files().empty());
    EXPECT_TRUE(Messages::Shown().empty());
}

// Quality goes to the encoder unchecked; the values outside its scale are taken as its nearest end.
TEST_F(SaveJpegTest, AnyQualityIsAccepted) {
    const auto picture = PictureOf(Gradient(64, 48));
    for (const std::int32_t quality : {0, 1, 75, 100, 150, -5}) {
        const std::string path = (folder_ / "q" + std::to_string(quality) + ".jpg");
        EXPECT_TRUE(buffer_.SaveToJpeg(path, picture.Get(), quality)) << quality;
        bool fail = true;
        buffer_.LoadJPGFile(path, fail);
        EXPECT_FALSE(fail) << quality;
    }
    EXPECT_TRUE(buffer_.SaveToJpeg((folder_ / "default.jpg"), picture.Get()));  // left out: 0
    EXPECT_EQ(ReadBytes(folder_ / "default.jpg"), ReadBytes(folder_ / "q1.jpg")) << "0 is the lowest quality";
    EXPECT_EQ(ReadBytes(folder_ / "q150.jpg"), ReadBytes(folder_ / "q100.jpg"));
    EXPECT_TRUE(Messages::Shown().empty());
}

// Peak signal-to-noise ratio in dB over every channel; -1 when the sizes differ.
double Psnr(const imaging::Image24& a, const imaging::Image24& b) {
    if (a.width != b.width || a.height != b.height || a.width == 0) return -1;
    double squares = 0;
    for (std::uint32_t y = 0; y < a.height; ++y)
        for (std::size_t i = 0; i < std::size_t{a.width} * 3; ++i) {
            const double d = static_cast<double>(a.Row(y)[i]) - static_cast<double>(b.Row(y)[i]);
            squares += d * d;
        }
    const double mse = squares / (static_cast<double>(a.width) * a.height * 3);
    return mse == 0 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 / mse);
}

// The gradient with a fixed grain in the brightness: each step of quality keeps more of it.
imaging::Image24 Grained(std::uint32_t width, std::uint32_t height) {
    imaging::Image24 image = Gradient(width, height);
    std::uint32_t seed = 7;
    for (std::uint32_t y = 0; y < height; ++y) {
        for (std::uint32_t x = 0; x < width; ++x) {
            seed = seed * 1103515245u + 12345u;
            const int grain = static_cast<int>((seed >> 16) % 41) - 20;
            std::uint8_t* p = image.Row(y) + 3 * x;
            for (int c = 0; c < 3; ++c) p[c] = static_cast<std::uint8_t>(std::clamp(p[c] + grain, 0, 255));
        }
    }
    return image;
}

// The folder the build tree gives for the files ImageMagick reads back, as Wine's Z: drive shows it.
std::string ReadbackFolder() {
    const char* unixPath = std::getenv("QV_JPEG_READBACK");
    if (!unixPath) {
        ADD_FAILURE() << "QV_JPEG_READBACK is not set";
        return {};
    }
    std::string path = std::string("Z:") + unixPath;
    std::replace(path.begin(), path.end(), '/', '\\');
    CreateDirectoryA(path.c_str(), nullptr);  // there already after an earlier run
    return path;
}

// Each quality as the system's decoder reads the file back: the picture within the quality's distance, and
// the file larger for a higher quality. The files stay in the build tree for jpeg-quality-readback.sh, which
// has ImageMagick estimate the quality from each file's tables.
TEST_F(SaveJpegTest, EachQualityShapesTheFile) {
    struct Row {
        std::int32_t quality;
        double minPsnr;  // the system's decoder reads less closely than libjpeg's own
    };
    const Row rows[] = {{1, 15}, {20, 23}, {50, 24.5}, {75, 26.5}, {90, 29.5}, {100, 31.5}};
    const std::string out = ReadbackFolder();
    if (out.empty()) return;
    const imaging::Image24 original = Grained(96, 64);
    const auto picture = PictureOf(original);
    std::size_t previousSize = 0;
    double previousPsnr = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.quality);
        const std::string path = out + "\\q" + std::to_string(row.quality) + ".jpg";
        DeleteFileA(path.c_str());  // no file of an earlier run may reach the read-back
        ASSERT_TRUE(buffer_.SaveToJpeg(path, picture.Get(), row.quality));
        const std::size_t size = ReadBytes(path).size();
        EXPECT_GT(size, previousSize);
        previousSize = size;
        const double psnr = Psnr(DecodedBySystem(path), original);
        EXPECT_GE(psnr, row.minPsnr) << "PSNR " << psnr;
        EXPECT_GT(psnr, previousPsnr);
        previousPsnr = psnr;
    }
    EXPECT_TRUE(Messages::Shown().empty());
}

// A picture that gives no buffer (no bitmap in it) fails with the writer's message, not with a crash, and
// the file already there stays as it was.
TEST_F(SaveJpegTest, PictureWithoutBitmapFailsAndKeepsTheExistingFile) {
    const std::string path = (folder_ / "keep.jpg");
    const std::vector<std::uint8_t> existing = {'o', 'l', 'd'};
    WriteBytes(path, existing);
    const auto empty = imaging::EmptyPicture();
    EXPECT_FALSE(buffer_.SaveToJpeg(path, empty.Get(), 75));
    EXPECT_EQ(Messages::Shown(), std::vector<std::string>{"Failed to save to JPG"});
    EXPECT_EQ(ReadBytes(path), existing);
}

TEST_F(SaveJpegTest, SuccessfulSaveReplacesTheFileAndLeavesNoTemporaryFile) {
    const std::string path = (folder_ / "photo.jpg");
    WriteBytes(path, {'o', 'l', 'd'});
    ASSERT_TRUE(buffer_.SaveToJpeg(path, PictureOf(Gradient(16, 8)).Get(), 75));
    EXPECT_EQ(folder_.Files(), std::vector<std::string>{"photo.jpg"});
    const std::vector<std::uint8_t> written = ReadBytes(path);
    ASSERT_GE(written.size(), 2u);
    EXPECT_EQ(written[0], 0xFF);
    EXPECT_EQ(written[1], 0xD8);
}

TEST_F(SaveJpegTest, UnwritableTargetFailsWithTheMessage) {
    EXPECT_FALSE(buffer_.SaveToJpeg((folder_ / "no-folder\\x.jpg"), PictureOf(Gradient(4, 4)).Get(), 75));
    EXPECT_EQ(Messages::Shown(), std::vector<std::string>{"Failed to save to JPG"});
}

TEST_F(SaveJpegTest, ReadingFailuresSetFailWithTheReadersMessage) {
    const std::string notJpeg = (folder_ / "fake.jpg");
    WriteBytes(notJpeg, ReadBytes(SamplePath("png-truecolour.png")));
    const std::string missing = (folder_ / "missing.jpg");
    for (const std::string& path : {notJpeg, missing}) {
        Messages::Clear();
        bool fail = false;
        const auto picture = buffer_.LoadJPGFile(path, fail);
        EXPECT_TRUE(fail) << path;
        EXPECT_EQ(Messages::Shown(), std::vector<std::string>{"Failed to read JPG"}) << path;
        ASSERT_TRUE(picture);
        EXPECT_EQ(HandleOf(picture.Get()), 0u);
    }
}

// A header that claims a picture far beyond the ceiling is refused before anything is allocated.
TEST_F(SaveJpegTest, HugeHeaderIsRefusedBeforeAllocation) {
    const std::string small = (folder_ / "small.jpg");
    ASSERT_TRUE(buffer_.SaveToJpeg(small, PictureOf(Gradient(8, 8)).Get(), 75));
    std::vector<std::uint8_t> bytes = ReadBytes(small);
    bool patched = false;
    for (std::size_t i = 0; i + 8 < bytes.size(); ++i) {
        if (bytes[i] == 0xFF && (bytes[i + 1] == 0xC0 || bytes[i + 1] == 0xC2)) {
            bytes[i + 5] = bytes[i + 6] = bytes[i + 7] = bytes[i + 8] = 0xFF;  // 65535 x 65535
            patched = true;
            break;
        }
    }
    ASSERT_TRUE(patched);
    const std::string huge = (folder_ / "huge.jpg");
    WriteBytes(huge, bytes);
    Messages::Clear();
    bool fail = false;
    buffer_.LoadJPGFile(huge, fail);
    EXPECT_TRUE(fail);
    EXPECT_EQ(Messages::Shown(), std::vector<std::string>{"Failed to read JPG"});
}

}  // namespace
}  // namespace imgbuf::test
