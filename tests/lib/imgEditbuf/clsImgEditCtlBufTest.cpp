// clsImgEditCtlBuf's loading and TIFF saving through COM, with the typed client the programs use.

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "lib/imgEditbuf/Client.h"
#include "platform/runtime/RuntimeError.h"
#include "tests/lib/imgEditbuf/ServerSupport.h"

namespace imgbuf::test {
namespace {

using client::ImgEditCtlBuf;

std::int32_t ErrorNumberOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const forms::RuntimeError& e) {
        return e.Number();
    }
    return 0;
}

std::string Stem(const std::string& name) { return name.substr(0, name.find_last_of('.')); }

std::string CaseName(const testing::TestParamInfo<const char*>& param) {
    std::string n = Stem(param.param);
    for (char& c : n) c = c == '-' ? '_' : c;
    return n;
}

// Every sample decodes to the pixels the tools that wrote it read back.
class Samples : public testing::TestWithParam<const char*> {};

TEST_P(Samples, LoadOtherImageGivesTheExpectedPixels) {
    const std::string name = GetParam();
    const ImgEditCtlBuf buffer;
    const auto picture = buffer.LoadOtherImage(SamplePath(name));
    const imaging::Image24 expected = ReadPpm(SamplePath(Stem(name) + ".ppm"));
    EXPECT_EQ(MaxDifference(PixelsOf(picture.Get()), expected), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, Samples,
    testing::Values("pcx-1bit.pcx", "pcx-4bit-packed.pcx", "pcx-4bit-planar.pcx", "pcx-8bit.pcx", "pcx-24bit.pcx",
                    "tga-colourmap.tga", "tga-colourmap-rle.tga", "tga-truecolour.tga", "tga-truecolour-rle.tga",
                    "tga-grey-rle.tga", "tga-top-origin.tga", "pict-packbits.pct", "pict-directbits.pct",
                    "iff-planar.iff", "iff-planar-raw.iff", "iff-deep.iff", "iff-ham.iff", "png-truecolour.png",
                    "png-palette.png", "tiff-truecolour.tif", "tiff-lzw.tif", "eps-tiff-preview.eps"),
    CaseName);

class ImgEditCtlBufTest : public testing::Test {
protected:
    void SetUp() override { Messages::Clear(); }
    TempFolder folder_;
    ImgEditCtlBuf buffer_;
};

TEST_F(ImgEditCtlBufTest, LoadImageReadsPcx) {
    const auto picture = buffer_.LoadImage(SamplePath("pcx-8bit.pcx"));
    EXPECT_EQ(MaxDifference(PixelsOf(picture.Get()), ReadPpm(SamplePath("pcx-8bit.ppm"))), 0);
}

// The caller routes by the last three letters; the file's content decides how it is read.
TEST_F(ImgEditCtlBufTest, FormatIsTakenFromTheContentNotTheName) {
    const std::pair<const char*, const char*> cases[] = {
        {"png-truecolour.png", "picture.tga"}, {"tiff-lzw.tif", "picture.tiff"}, {"tga-truecolour.tga", "x.pct"},
        {"pcx-24bit.pcx", "scan.iff"}};
    for (const auto& [sample, renamed] : cases) {
        const std::string path = (folder_ / renamed);
        WriteBytes(path, ReadBytes(SamplePath(sample)));
        const auto picture = buffer_.LoadOtherImage(path);
        EXPECT_EQ(MaxDifference(PixelsOf(picture.Get()), ReadPpm(SamplePath(Stem(sample) + ".ppm"))), 0) << renamed;
    }
}

// An EPS whose preview is a Windows metafile: the metafile is recorded here by GDI, and wrapped in the DOS
// EPS binary header.
TEST_F(ImgEditCtlBufTest, EpsWithMetafilePreviewShowsThePreview) {
    const HDC recorder = CreateMetaFileA(nullptr);
    ASSERT_NE(recorder, nullptr);
    SetWindowExtEx(recorder, 40, 30, nullptr);
    const HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    const RECT all{0, 0, 40, 30};
    FillRect(recorder, &all, red);
    DeleteObject(red);
    const HMETAFILE metafile = CloseMetaFile(recorder);
    const UINT size = GetMetaFileBitsEx(metafile, 0, nullptr);
    std::vector<std::uint8_t> wmf(size);
    GetMetaFileBitsEx(metafile, size, wmf.data());
    DeleteMetaFile(metafile);

    const std::string postscript = "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 40 30\nshowpage\n";
    std::vector<std::uint8_t> eps;
    const auto put32 = [&eps](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) eps.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    const auto psLength = static_cast<std::uint32_t>(postscript.size());
    put32(0xC6D3D0C5);
    put32(30);
    put32(psLength);
    put32(30 + psLength);
    put32(size);
    put32(0);  // no TIFF
    put32(0);
    eps.push_back(0xFF);
    eps.push_back(0xFF);
    eps.insert(eps.end(), postscript.begin(), postscript.end());
    eps.insert(eps.end(), wmf.begin(), wmf.end());
    const std::string path = (folder_ / "preview.eps");
    WriteBytes(path, eps);

    const imaging::Image24 shown = PixelsOf(buffer_.LoadOtherImage(path).Get());
    ASSERT_GT(shown.width, 0u);
    ASSERT_GT(shown.height, 0u);
    const std::uint8_t* middle = shown.Row(shown.height / 2) + 3 * (shown.width / 2);
    EXPECT_EQ(middle[0], 0);
    EXPECT_EQ(middle[1], 0);
    EXPECT_EQ(middle[2], 255);
}

// A damaged file of every format is error 481 for LoadOtherImage, and an empty picture for LoadImage.
class Damaged : public testing::TestWithParam<const char*> {};

TEST_P(Damaged, IsAnInvalidPicture) {
    const std::string name = GetParam();
    const std::vector<std::uint8_t> good = ReadBytes(SamplePath(name));
    const TempFolder folder;
    const ImgEditCtlBuf buffer;
    // Cut short, and the header alone followed by noise.
    std::vector<std::vector<std::uint8_t>> damaged;
    damaged.emplace_back(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(good.size() * 3 / 5));
    std::vector<std::uint8_t> noisy(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(std::min<std::size_t>(good.size(), 8)));
    noisy.resize(40, 0xFF);
    damaged.push_back(noisy);
    for (std::size_t i = 0; i < damaged.size(); ++i) {
        const std::string path = (folder / "damaged" + std::to_string(i) + name.substr(name.find_last_of('.')));
        WriteBytes(path, damaged[i]);
        EXPECT_EQ(ErrorNumberOf([&] { buffer.LoadOtherImage(path); }), forms::err::InvalidPicture) << name << " " << i;
        const auto empty = buffer.LoadImage(path);
        ASSERT_TRUE(empty);
        EXPECT_EQ(HandleOf(empty.Get()), 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(Formats, Damaged,
                         testing::Values("pcx-8bit.pcx", "pcx-24bit.pcx", "tga-truecolour.tga",
                                         "tga-colourmap-rle.tga", "pict-packbits.pct", "pict-directbits.pct",
                                         "iff-planar.iff", "iff-deep.iff", "png-truecolour.png", "tiff-lzw.tif",
                                         "eps-tiff-preview.eps"),
                         CaseName);

TEST_F(ImgEditCtlBufTest, MissingOrUnknownFilesAreInvalidPictures) {
    EXPECT_EQ(ErrorNumberOf([&] { buffer_.LoadOtherImage((folder_ / "nothing-here.png")); }),
              forms::err::InvalidPicture);
    const std::string text = (folder_ / "notes.tga");
    WriteBytes(text, std::vector<std::uint8_t>(100, 'x'));
    EXPECT_EQ(ErrorNumberOf([&] { buffer_.LoadOtherImage(text); }), forms::err::InvalidPicture);
    EXPECT_EQ(HandleOf(buffer_.LoadImage((folder_ / "nothing-here.pcx")).Get()), 0u);
}

// The user's clipboard is never borrowed: text on it survives loading and TIFF saving.
TEST_F(ImgEditCtlBufTest, ClipboardIsLeftAlone) {
    const std::string text = "keep me";
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    std::memcpy(GlobalLock(memory), text.c_str(), text.size() + 1);
    GlobalUnlock(memory);
    SetClipboardData(CF_TEXT, memory);
    CloseClipboard();
    const DWORD before = GetClipboardSequenceNumber();

    const auto picture = buffer_.LoadImage(SamplePath("pcx-24bit.pcx"));
    buffer_.SavetoTIFF(picture.Get(), folder_.Path(), "copy.tif");

    EXPECT_EQ(GetClipboardSequenceNumber(), before);
    ASSERT_TRUE(OpenClipboard(nullptr));
    const HANDLE kept = GetClipboardData(CF_TEXT);
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(std::string(static_cast<const char*>(GlobalLock(kept))), text);
    GlobalUnlock(kept);
    EmptyClipboard();
    CloseClipboard();
}

TEST_F(ImgEditCtlBufTest, SavetoTiffWritesThePicture) {
    const imaging::Image24 expected = ReadPpm(SamplePath("tga-truecolour.ppm"));
    buffer_.SavetoTIFF(PictureOf(expected).Get(), folder_.Path(), "saved.tif");
    EXPECT_EQ(folder_.Files(), std::vector<std::string>{"saved.tif"});
    EXPECT_EQ(MaxDifference(PixelsOf(buffer_.LoadOtherImage((folder_ / "saved.tif")).Get()), expected), 0);
}

TEST_F(ImgEditCtlBufTest, SavetoTiffIntoAMissingFolderFailsAndRaises) {
    const auto picture = PictureOf(ReadPpm(SamplePath("tga-truecolour.ppm")));
    EXPECT_EQ(ErrorNumberOf([&] { buffer_.SavetoTIFF(picture.Get(), (folder_ / "no-such-folder"), "x.tif"); }),
              forms::err::PathFileAccessError);
    EXPECT_TRUE(folder_.Files().empty());
}

}  // namespace
}  // namespace imgbuf::test
