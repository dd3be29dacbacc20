#include "platform/imaging/decoders/PixelRows.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "platform/imaging/decoders/DecodeError.h"

namespace imaging {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(PixelRows, ExpandIndicesKeepsTheMostSignificantFirst) {
    struct Case {
        unsigned bits;
        Bytes src;
        std::size_t count;
        Bytes expected;
    };
    const Case cases[] = {
        {1, {0b10110010, 0b11000000}, 10, {1, 0, 1, 1, 0, 0, 1, 0, 1, 1}},
        {2, {0b00011011, 0b11000000}, 5, {0, 1, 2, 3, 3}},
        {4, {0xA5, 0x30}, 3, {0xA, 0x5, 0x3}},
        {8, {7, 200, 9}, 3, {7, 200, 9}},
    };
    for (const auto& c : cases) {
        Bytes out(c.count, 0xEE);
        ExpandIndices(c.src.data(), c.bits, c.count, out.data());
        EXPECT_EQ(out, c.expected) << c.bits << " bits";
    }
}

TEST(PixelRows, PlanarToIndicesMatchesBitByBit) {
    std::mt19937 random(12345);  // fixed seed: a failure reproduces
    for (unsigned planes = 1; planes <= 8; ++planes) {
        for (const std::size_t count : {1u, 7u, 8u, 9u, 31u}) {
            const std::size_t stride = (count + 7) / 8 + 1;
            Bytes src(stride * planes);
            for (auto& b : src) {
                b = static_cast<std::uint8_t>(random());
            }
            Bytes expected(count);
            for (std::size_t x = 0; x < count; ++x) {
                for (unsigned p = 0; p < planes; ++p) {
                    const unsigned bit = (src[p * stride + x / 8] >> (7 - x % 8)) & 1;
                    expected[x] = static_cast<std::uint8_t>(expected[x] | (bit << p));
                }
            }
            Bytes out(count, 0xEE);
            PlanarToIndices(src.data(), stride, planes, count, out.data());
            EXPECT_EQ(out, expected) << planes << " planes, " << count << " pixels";
        }
    }
}

TEST(PixelRows, IndicesToBgrAndGreyRamp) {
    Palette p;
    p.Set(3, 10, 20, 30);
    const Bytes indexes = {3, 0};
    Bytes bgr(6, 0xEE);
    IndicesToBgr(indexes.data(), 2, p, bgr.data());
    EXPECT_EQ(bgr, (Bytes{30, 20, 10, 0, 0, 0}));
    const Palette grey = Palette::GreyRamp(16);
    EXPECT_EQ(grey.bgr[15 * 3], 255);
    EXPECT_EQ(grey.bgr[1 * 3], 17);
    EXPECT_EQ(grey.bgr[16 * 3], 0);
    std::uint8_t c[3];
    Rgb555ToBgr(0x7C1F, c);  // red and blue full, green 0
    EXPECT_EQ(Bytes(c, c + 3), (Bytes{255, 0, 255}));
}

TEST(PixelRows, UnpackBitsRunsLiteralsAndNoOps) {
    const Bytes packed = {0x02, 'a', 'b', 'c', 0xFE, 'x', 0x80, 0x00, 'z'};
    ByteReader in(packed);
    Bytes out(7);
    UnpackBits(in, out);
    EXPECT_EQ(out, (Bytes{'a', 'b', 'c', 'x', 'x', 'x', 'z'}));
    EXPECT_EQ(in.Remaining(), 0u);

    const Bytes words = {0x00, 0x12, 0x34, 0xFF, 0xAB, 0xCD};  // one literal word, then a word twice
    ByteReader win(words);
    Bytes wout(6);
    UnpackBits(win, wout, 2);
    EXPECT_EQ(wout, (Bytes{0x12, 0x34, 0xAB, 0xCD, 0xAB, 0xCD}));
}

TEST(PixelRows, UnpackBitsRefusesOverrunsAndShortInput) {
    const Bytes cases[] = {
        {0x81, 'x'},            // a run of 128 into 4 bytes
        {0x05, 'a', 'b'},       // a literal of 6 into 4 bytes
        {0x03, 'a', 'b'},       // a literal that the input cannot hold
        {0xFD},                 // a run without its value
        {0x00, 'a'},            // input ends before the row is full
    };
    for (const auto& c : cases) {
        ByteReader in(c);
        Bytes out(4);
        EXPECT_THROW(UnpackBits(in, out), DecodeError);
    }
}

}  // namespace
}  // namespace imaging
