#include "platform/imaging/decoders/Image24.h"

#include <gtest/gtest.h>

#include <limits>

#include "platform/imaging/decoders/DecodeError.h"

namespace imaging {
namespace {

struct LayoutCase {
    std::uint64_t width, height;
    std::size_t stride, bytes;
};

TEST(Image24, RowsArePaddedToFourBytes) {
    const LayoutCase cases[] = {
        {1, 1, 4, 4}, {2, 1, 8, 8}, {3, 2, 12, 24}, {4, 3, 12, 36}, {5, 1, 16, 16}, {13, 7, 40, 280},
        // the cap itself: 16384 x 16384 = 2^28 pixels
        {16384, 16384, 49152, std::size_t{49152} * 16384},
        {std::uint64_t{1} << 28, 1, (std::size_t{3} << 28), (std::size_t{3} << 28)},
    };
    for (const auto& c : cases) {
        const ImageLayout l = CheckedLayout(c.width, c.height);
        EXPECT_EQ(l.stride, c.stride) << c.width << "x" << c.height;
        EXPECT_EQ(l.bytes, c.bytes) << c.width << "x" << c.height;
    }
}

TEST(Image24, SizesPastTheCapOrEmptyAreRefused) {
    constexpr std::uint64_t kMax32 = std::numeric_limits<std::uint32_t>::max();
    constexpr std::uint64_t kMax64 = std::numeric_limits<std::uint64_t>::max();
    const std::pair<std::uint64_t, std::uint64_t> refused[] = {
        {0, 1}, {1, 0}, {0, 0}, {16385, 16384}, {65535, 65535}, {(std::uint64_t{1} << 28) + 1, 1},
        {kMax32, kMax32},
        {std::uint64_t{1} << 32, std::uint64_t{1} << 32},  // the product wraps to 0 in 64 bits
        {kMax64, 2}, {2, kMax64},
    };
    for (const auto& [w, h] : refused) {
        EXPECT_THROW(CheckedLayout(w, h), DecodeError) << w << "x" << h;
    }
}

TEST(Image24, AllocateFillsEveryByte) {
    const Image24 image = Image24::Allocate(3, 2, 0xFF);
    EXPECT_EQ(image.width, 3u);
    EXPECT_EQ(image.height, 2u);
    EXPECT_EQ(image.stride, 12u);
    ASSERT_EQ(image.pixels.size(), 24u);
    for (const auto b : image.pixels) {
        EXPECT_EQ(b, 0xFF);
    }
    EXPECT_EQ(image.Row(1) - image.Row(0), 12);
    EXPECT_THROW(Image24::Allocate(65535, 65535), DecodeError);
}

TEST(Image24, RequireInputRefusesClaimsBeyondTheFile) {
    EXPECT_NO_THROW(RequireInput(10, 10));
    EXPECT_THROW(RequireInput(9, 10), DecodeError);
}

}  // namespace
}  // namespace imaging
