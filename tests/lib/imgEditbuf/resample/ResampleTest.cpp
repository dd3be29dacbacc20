#include "lib/imgEditbuf/resample/Resample.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <utility>
#include <vector>

namespace imgbuf {
namespace {

// A 24-bit buffer laid out as the DIB section lays it out, with padding bytes set to a marker.
struct Buffer {
    static constexpr std::uint8_t Pad = 0xA5;
    Buffer(std::int32_t w, std::int32_t h) : width(w), height(h), stride(BytesPerScanLine(w)), bytes(stride * h, Pad) {}
    std::uint8_t* Pixel(std::int32_t x, std::int32_t y) { return bytes.data() + y * stride + 3 * x; }
    ConstPixels In() const { return {bytes.data(), width, height, stride}; }
    Pixels Out() { return {bytes.data(), width, height, stride}; }
    void Fill(std::uint32_t seed) {
        std::mt19937 gen(seed);
        for (std::int32_t y = 0; y < height; ++y)
            for (std::int32_t k = 0; k < width * 3; ++k) bytes[y * stride + k] = static_cast<std::uint8_t>(gen());
    }
    std::int32_t width, height;
    std::size_t stride;
    std::vector<std::uint8_t> bytes;
};

TEST(BytesPerScanLine, RowsArePaddedToFourBytes) {
    EXPECT_EQ(BytesPerScanLine(1), 4u);
    EXPECT_EQ(BytesPerScanLine(2), 8u);
    EXPECT_EQ(BytesPerScanLine(4), 12u);
    EXPECT_EQ(BytesPerScanLine(5), 16u);
}

// One horizontal blend: a 3-pixel row scaled to 4 puts target pixel 1 halfway between source pixels 0 and 1
// (xScale 0.5), and 2 rows scaled to 1 take row 0 exactly (yScale 1, fy 0).
struct BlendCase {
    std::uint8_t left, right, expected;
};

class HalfwayBlend : public testing::TestWithParam<BlendCase> {};

TEST_P(HalfwayBlend, RoundsHalfToEven) {
    const BlendCase c = GetParam();
    Buffer src(3, 2);
    src.Fill(1);
    src.Pixel(0, 0)[1] = c.left;
    src.Pixel(1, 0)[1] = c.right;
    Buffer dst(4, 1);
    ResampleBilinear(src.In(), dst.Out());
    EXPECT_EQ(dst.Pixel(1, 0)[1], c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, HalfwayBlend,
                         testing::Values(BlendCase{0, 255, 128}, BlendCase{0, 1, 0}, BlendCase{1, 2, 2},
                                         BlendCase{2, 3, 2}, BlendCase{255, 0, 128}, BlendCase{10, 10, 10}));

TEST(Resample, ThreeByThreeToTwoByTwoTakesTheCentrePixel) {
    Buffer src(3, 3);
    src.Fill(2);
    Buffer dst(2, 2);
    ResampleBilinear(src.In(), dst.Out());
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(dst.Pixel(1, 1)[c], src.Pixel(1, 1)[c]);
        EXPECT_EQ(dst.Pixel(0, 0)[c], src.Pixel(0, 0)[c]);
    }
}

TEST(Resample, VerticalBlendUsesTheSingleFraction) {
    // Two rows to three: yScale = float(1/3); row 1 at 0.33333334 and row 2 at 0.6666667 of the way.
    Buffer src(2, 2);
    for (int x = 0; x < 2; ++x) {
        src.Pixel(x, 0)[0] = 0;
        src.Pixel(x, 1)[0] = 255;
    }
    Buffer dst(2, 3);
    ResampleBilinear(src.In(), dst.Out());
    EXPECT_EQ(dst.Pixel(0, 0)[0], 0);
    EXPECT_EQ(dst.Pixel(0, 1)[0], 85);
    EXPECT_EQ(dst.Pixel(0, 2)[0], 170);
}

TEST(Resample, LastSourceRowAndColumnAreNeverTheFirstNeighbour) {
    Buffer src(4, 4);
    src.Fill(3);
    for (int y = 0; y < 4; ++y) src.Pixel(3, y)[2] = 200;
    Buffer dst(4 * 3, 1);
    ResampleBilinear(src.In(), dst.Out());
    // xScale = 3/12 = 0.25: the last target pixel lies at 2.75, between columns 2 and 3.
    const double expected = 0.25 * src.Pixel(2, 0)[2] + 0.75 * 200;
    EXPECT_NEAR(dst.Pixel(11, 0)[2], expected, 0.5);
}

TEST(Resample, SameSizeIsAPlainCopy) {
    Buffer src(7, 5);
    src.Fill(4);
    Buffer dst(7, 5);
    ResampleBilinear(src.In(), dst.Out());
    EXPECT_EQ(src.bytes, dst.bytes);
}

TEST(Resample, PaddingOfTheTargetIsLeftAlone) {
    Buffer src(9, 9);
    src.Fill(5);
    Buffer dst(5, 3);
    ResampleBilinear(src.In(), dst.Out());
    for (int y = 0; y < 3; ++y)
        for (std::size_t k = 15; k < dst.stride; ++k) EXPECT_EQ(dst.bytes[y * dst.stride + k], Buffer::Pad);
}

// A source 1 pixel wide or high has no second neighbour: the one column or row is used for both, which is
// what a source with that column or row doubled gives along that axis.
struct ThinCase {
    std::int32_t ws, hs, wt, ht;
};

class ThinSource : public testing::TestWithParam<ThinCase> {};

TEST_P(ThinSource, RepeatsItsOnlyColumnOrRow) {
    const ThinCase c = GetParam();
    Buffer thin(c.ws, c.hs);
    thin.Fill(6);
    const std::int32_t dw = c.ws == 1 ? 2 : c.ws;
    const std::int32_t dh = c.hs == 1 ? 2 : c.hs;
    Buffer doubled(dw, dh);
    for (std::int32_t y = 0; y < dh; ++y)
        for (std::int32_t x = 0; x < dw; ++x)
            for (int k = 0; k < 3; ++k) doubled.Pixel(x, y)[k] = thin.Pixel(x % c.ws, y % c.hs)[k];
    Buffer fromThin(c.wt, c.ht);
    Buffer fromDoubled(c.wt, c.ht);
    ResampleBilinear(thin.In(), fromThin.Out());
    // Along a doubled axis the scale differs, but both neighbours are equal, so only the other axis blends.
    for (std::int32_t y = 0; y < c.ht; ++y)
        for (std::int32_t x = 0; x < c.wt; ++x)
            for (int k = 0; k < 3; ++k) {
                if (c.ws == 1) {
                    EXPECT_EQ(fromThin.Pixel(x, y)[k], fromThin.Pixel(0, y)[k]);
                }
                if (c.hs == 1) {
                    EXPECT_EQ(fromThin.Pixel(x, y)[k], fromThin.Pixel(x, 0)[k]);
                }
            }
    if (c.ws == 1 && c.hs == 1) {
        EXPECT_EQ(fromThin.Pixel(c.wt - 1, c.ht - 1)[2], thin.Pixel(0, 0)[2]);
        return;
    }
    // The axis that is not thin blends as a 2-wide (or 2-high) copy of the source does.
    Buffer reference(c.ws == 1 ? 2 : c.wt, c.hs == 1 ? 2 : c.ht);
    Buffer twoWide(reference.width, reference.height);
    ResampleBilinear(doubled.In(), twoWide.Out());
    for (std::int32_t y = 0; y < c.ht && c.ws == 1; ++y)
        for (int k = 0; k < 3; ++k) EXPECT_EQ(fromThin.Pixel(0, y)[k], twoWide.Pixel(0, y)[k]);
    for (std::int32_t x = 0; x < c.wt && c.hs == 1; ++x)
        for (int k = 0; k < 3; ++k) EXPECT_EQ(fromThin.Pixel(x, 0)[k], twoWide.Pixel(x, 0)[k]);
}

INSTANTIATE_TEST_SUITE_P(Cases, ThinSource,
                         testing::Values(ThinCase{1, 4, 5, 7}, ThinCase{1, 9, 3, 4}, ThinCase{6, 1, 11, 3},
                                         ThinCase{9, 1, 4, 2}, ThinCase{1, 1, 3, 2}));

// The resampling rule written out from its steps alone, for each target byte: the scale (source size - 1 over
// target size) and the position (scale times index), each formed in double and kept in single precision;
// the neighbours at the position's whole part and the next one, the last column or row standing in for
// any past the end; the fraction, the position less its whole part; a vertical blend at both neighbour
// columns and a horizontal blend of the two, each in double and rounded to the nearest whole number, ties
// to even. Same-sized buffers are copied.
Buffer Expected(const Buffer& src, std::int32_t wt, std::int32_t ht) {
    Buffer out(wt, ht);
    if (wt == src.width && ht == src.height) {
        out.bytes = src.bytes;
        return out;
    }
    const float xScale = static_cast<float>(static_cast<double>(src.width - 1) / wt);
    const float yScale = static_cast<float>(static_cast<double>(src.height - 1) / ht);
    const auto at = [&src](std::int32_t x, std::int32_t y, int c) {
        return static_cast<double>(src.bytes[y * src.stride + 3 * x + c]);
    };
    for (std::int32_t y = 0; y < ht; ++y) {
        const float py = static_cast<float>(static_cast<double>(yScale) * y);
        const double fy = py - std::floor(py);
        const auto y0 = std::min(static_cast<std::int32_t>(std::floor(py)), src.height - 1);
        const auto y1 = std::min(static_cast<std::int32_t>(std::floor(py)) + 1, src.height - 1);
        for (std::int32_t x = 0; x < wt; ++x) {
            const float px = static_cast<float>(static_cast<double>(xScale) * x);
            const double fx = px - std::floor(px);
            const auto x0 = std::min(static_cast<std::int32_t>(std::floor(px)), src.width - 1);
            const auto x1 = std::min(static_cast<std::int32_t>(std::floor(px)) + 1, src.width - 1);
            for (int c = 0; c < 3; ++c) {
                const double left = std::nearbyint((1.0 - fy) * at(x0, y0, c) + fy * at(x0, y1, c));
                const double right = std::nearbyint((1.0 - fy) * at(x1, y0, c) + fy * at(x1, y1, c));
                out.bytes[y * out.stride + 3 * x + c] =
                    static_cast<std::uint8_t>(std::nearbyint((1.0 - fx) * left + fx * right));
            }
        }
    }
    return out;
}

// The fast path (integer blends where they are provably the same) against the rule, downscaling,
// upscaling and mixed, with odd widths so that padding and fine first fractions both appear.
struct SizeCase {
    std::int32_t ws, hs, wt, ht;
};

class MatchesReference : public testing::TestWithParam<SizeCase> {
protected:
    void TearDown() override { LimitVectorKernel(VectorKernel::Widest); }
};

TEST_P(MatchesReference, ByteForByte) {
    const SizeCase c = GetParam();
    Buffer src(c.ws, c.hs);
    src.Fill(static_cast<std::uint32_t>(c.ws * 7919 + c.hs * 31 + c.wt));
    const Buffer plain = Expected(src, c.wt, c.ht);
    const std::pair<VectorKernel, const char*> kernels[] = {
        {VectorKernel::Widest, "widest vector"}, {VectorKernel::Sse41, "SSE4.1"}, {VectorKernel::None, "scalar"}};
    for (const auto& [kernel, name] : kernels) {
        LimitVectorKernel(kernel);
        Buffer fast(c.wt, c.ht);
        ResampleBilinear(src.In(), fast.Out());
        EXPECT_EQ(fast.bytes, plain.bytes) << name;
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, MatchesReference,
                         testing::Values(SizeCase{2, 2, 1, 1}, SizeCase{2, 2, 7, 9}, SizeCase{3, 3, 2, 2},
                                         SizeCase{5, 3, 1, 7}, SizeCase{600, 400, 192, 128},
                                         SizeCase{600, 400, 64, 43}, SizeCase{97, 61, 301, 203},
                                         SizeCase{1000, 3, 999, 5}, SizeCase{3, 1000, 4, 777},
                                         SizeCase{1, 9, 13, 4}, SizeCase{9, 1, 4, 13}, SizeCase{1, 1, 3, 3},
                                         SizeCase{4097, 2, 8191, 3}, SizeCase{123, 77, 122, 78},
                                         // rows without padding: reads near the end of the source
                                         SizeCase{8, 6, 29, 17}, SizeCase{4, 2, 7, 5}, SizeCase{12, 3, 13, 2}));

}  // namespace
}  // namespace imgbuf
