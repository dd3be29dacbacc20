#include "platform/imaging/decoders/ByteReader.h"

#include <gtest/gtest.h>

#include <array>

#include "platform/imaging/decoders/DecodeError.h"

namespace imaging {
namespace {

const std::array<std::uint8_t, 6> kBytes = {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC};
const std::span<const std::uint8_t> kSpan(kBytes);

TEST(ByteReader, ReadsEachByteOrderExplicitly) {
    ByteReader le(kBytes);
    EXPECT_EQ(le.U16LE(), 0x3412);
    EXPECT_EQ(le.U32LE(), 0xBC9A7856u);
    ByteReader be(kBytes);
    EXPECT_EQ(be.U16BE(), 0x1234);
    EXPECT_EQ(be.U32BE(), 0x56789ABCu);
    EXPECT_FALSE(be.Failed());
    ByteReader s(kSpan.subspan(4));
    EXPECT_EQ(s.I16BE(), -25924);  // 0x9ABC
}

TEST(ByteReader, ShortReadsGiveZeroAndStayFailed) {
    ByteReader in(kSpan.first(3));
    EXPECT_EQ(in.U16BE(), 0x1234);
    EXPECT_EQ(in.U32LE(), 0u);  // one byte left: nothing is half-read
    EXPECT_TRUE(in.Failed());
    EXPECT_EQ(in.Remaining(), 0u);
    in.Seek(0);
    EXPECT_EQ(in.U8(), 0x12);
    EXPECT_TRUE(in.Failed()) << "the failure is sticky";
    EXPECT_THROW(in.Require("header"), DecodeError);
}

TEST(ByteReader, TakeSkipAndSeekStopAtTheEnd) {
    ByteReader in(kBytes);
    EXPECT_EQ(in.Take(2).size(), 2u);
    EXPECT_EQ(in.Take(5).size(), 0u);
    EXPECT_TRUE(in.Failed());
    EXPECT_EQ(in.Position(), kBytes.size());

    ByteReader skip(kBytes);
    skip.Skip(6);
    EXPECT_FALSE(skip.Failed());
    skip.Skip(1);
    EXPECT_TRUE(skip.Failed());

    ByteReader seek(kBytes);
    seek.Seek(6);
    EXPECT_FALSE(seek.Failed());
    seek.Seek(7);
    EXPECT_TRUE(seek.Failed());
    EXPECT_EQ(seek.Position(), 6u);
    EXPECT_NO_THROW(ByteReader(kBytes).Require("nothing read"));
}

}  // namespace
}  // namespace imaging
