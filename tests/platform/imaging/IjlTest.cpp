#include "platform/imaging/Ijl.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "platform/runtime/ReplacingFile.h"
#include "platform/runtime/WholeFile.h"
#include "tests/support/TempFolder.h"

namespace imaging {
namespace {

// A 24-bit buffer in either row order, with padding, described to the codec the way the module does.
struct Buffer {
    Buffer(std::int32_t w, std::int32_t h, bool upward)
        : width(w), height(h), stride((w * 3 + 3) & ~3), bottomUp(upward), bytes(static_cast<std::size_t>(stride * h)) {}
    // The pixel's first (blue) byte, by row counted from the picture's top.
    std::uint8_t* Pixel(std::int32_t x, std::int32_t rowFromTop) {
        const std::int32_t row = bottomUp ? height - 1 - rowFromTop : rowFromTop;
        return bytes.data() + row * stride + 3 * x;
    }
    std::uint8_t& Blue(std::int32_t x, std::int32_t rowFromTop) { return *Pixel(x, rowFromTop); }
    void Describe(JpegCoreProperties& p) {
        p.DIBBytes = bytes.data();
        p.DIBWidth = width;
        p.DIBHeight = bottomUp ? -height : height;
        p.DIBPadBytes = stride - 3 * width;
        p.DIBChannels = 3;
    }
    std::int32_t width, height, stride;
    bool bottomUp;
    std::vector<std::uint8_t> bytes;
};

// Top rows dark, bottom rows bright: a flip is plain to see.
Buffer Shaded(std::int32_t w, std::int32_t h, bool bottomUp) {
    Buffer b(w, h, bottomUp);
    for (std::int32_t y = 0; y < h; ++y)
        for (std::int32_t x = 0; x < w; ++x) {
            const auto v = static_cast<std::uint8_t>(y < h / 2 ? 20 : 230);
            std::fill_n(b.Pixel(x, y), 3, v);
        }
    return b;
}

std::int32_t Write(Buffer& b, const std::string& path, std::int32_t quality) {
    JpegCoreProperties p{};
    EXPECT_EQ(ijlInit(&p), IjlOk);
    b.Describe(p);
    p.JPGFile = path.c_str();
    p.JPGWidth = b.width;
    p.JPGHeight = b.height;
    p.jquality = quality;
    const std::int32_t result = ijlWrite(&p, IjlWriteWhole);
    ijlFree(&p);
    return result;
}

TEST(Ijl, RowOrderFollowsTheSignOfTheHeight) {
    const qvtest::TempFolder dir;
    const std::string path = (dir / "shade.jpg");
    for (const bool writtenBottomUp : {true, false}) {
        Buffer written = Shaded(5, 8, writtenBottomUp);
        ASSERT_EQ(Write(written, path, 90), IjlOk);
        for (const bool readBottomUp : {true, false}) {
            JpegCoreProperties p{};
            ASSERT_EQ(ijlInit(&p), IjlOk);
            p.JPGFile = path.c_str();
            ASSERT_EQ(ijlRead(&p, IjlReadParams), IjlOk);
            EXPECT_EQ(p.JPGWidth, 5);
            EXPECT_EQ(p.JPGHeight, 8);
            Buffer read(p.JPGWidth, p.JPGHeight, readBottomUp);
            read.Describe(p);
            ASSERT_EQ(ijlRead(&p, IjlReadWhole), IjlOk);
            ijlFree(&p);
            EXPECT_LT(read.Blue(2, 0), 60) << writtenBottomUp << readBottomUp;
            EXPECT_GT(read.Blue(2, 7), 190) << writtenBottomUp << readBottomUp;
        }
    }
}

// A write that fails on the way (the disk full) or cannot replace the target (read-only) leaves the user's
// file as it was and no temporary file beside it.
TEST(Ijl, AFailedWriteLeavesTheExistingFileWhole) {
    const qvtest::TempFolder dir;
    const std::string path = (dir / "photo.jpg");
    Buffer b = Shaded(64, 64, true);
    ASSERT_EQ(Write(b, path, 90), IjlOk);
    const std::string before = forms::ReadWholeFile(path);
    forms::FailReplacingWritesAfter(100);
    EXPECT_LT(Write(b, path, 20), 0) << "disk full";
    forms::FailReplacingWritesAfter(std::nullopt);
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_LT(Write(b, path, 20), 0) << "read-only";
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(forms::ReadWholeFile(path), before);
    EXPECT_EQ(dir.Files(), std::vector<std::string>{"photo.jpg"});
}

TEST(Ijl, CallsOutsideARecordsLifeFail) {
    EXPECT_EQ(ijlInit(nullptr), IjlBadArgument);
    JpegCoreProperties p{};
    EXPECT_EQ(ijlRead(&p, IjlReadParams), IjlNotInitialised);
    EXPECT_EQ(ijlWrite(&p, IjlWriteWhole), IjlNotInitialised);
    ASSERT_EQ(ijlInit(&p), IjlOk);
    EXPECT_EQ(p.DIBChannels, 3);
    EXPECT_EQ(p.DIBColor, IjlColour::Bgr);
    EXPECT_EQ(ijlRead(&p, 7), IjlBadArgument);
    EXPECT_EQ(ijlWrite(&p, IjlReadWhole), IjlBadArgument);
    EXPECT_EQ(ijlRead(&p, IjlReadParams), IjlBadArgument);  // no file named
    EXPECT_EQ(ijlFree(&p), IjlOk);
    EXPECT_EQ(ijlRead(&p, IjlReadParams), IjlNotInitialised);
}

TEST(Ijl, ABufferThatDoesNotMatchTheFileIsRefused) {
    const qvtest::TempFolder dir;
    const std::string path = (dir / "x.jpg");
    Buffer b = Shaded(4, 4, true);
    JpegCoreProperties p{};
    ASSERT_EQ(ijlInit(&p), IjlOk);
    b.Describe(p);
    p.JPGFile = path.c_str();
    p.JPGWidth = 5;  // not the buffer's width
    p.JPGHeight = 4;
    EXPECT_EQ(ijlWrite(&p, IjlWriteWhole), IjlBadArgument);
    p.JPGWidth = 4;
    p.DIBChannels = 4;
    EXPECT_EQ(ijlWrite(&p, IjlWriteWhole), IjlBadArgument);
    ijlFree(&p);
    EXPECT_TRUE(dir.Files().empty());

    ASSERT_EQ(Write(b, path, 75), IjlOk);
    ASSERT_EQ(ijlInit(&p), IjlOk);
    p.JPGFile = path.c_str();
    ASSERT_EQ(ijlRead(&p, IjlReadParams), IjlOk);
    Buffer small(3, 4, true);
    small.Describe(p);
    EXPECT_EQ(ijlRead(&p, IjlReadWhole), IjlBadArgument);
    ijlFree(&p);
}

TEST(Ijl, FilesThatAreNotJpegFailAtTheParameterRead) {
    const qvtest::TempFolder dir;
    const std::string missing = (dir / "missing.jpg");
    const std::string text = (dir / "text.jpg");
    {
        FILE* f = std::fopen(text.c_str(), "wb");
        std::fputs("not a picture at all", f);
        std::fclose(f);
    }
    for (const std::string& path : {missing, text}) {
        JpegCoreProperties p{};
        ASSERT_EQ(ijlInit(&p), IjlOk);
        p.JPGFile = path.c_str();
        EXPECT_LT(ijlRead(&p, IjlReadParams), 0) << path;
        ijlFree(&p);
    }
}

}  // namespace
}  // namespace imaging
