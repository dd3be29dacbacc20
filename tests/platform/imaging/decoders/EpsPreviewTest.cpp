#include "platform/imaging/decoders/EpsPreview.h"

#include <gtest/gtest.h>

#include "TestBytes.h"

namespace imaging::test {
namespace {

struct Sections {
    std::uint32_t psOffset = 30, psLength = 4;
    std::uint32_t wmfOffset = 0, wmfLength = 0;
    std::uint32_t tiffOffset = 0, tiffLength = 0;
};

// Header, "%!PS", then "WMF!" at 34 and "TIFF" at 38.
Bytes Eps(const Sections& s) {
    ByteWriter w;
    w.U8({0xC5, 0xD0, 0xD3, 0xC6}).U32LE(s.psOffset).U32LE(s.psLength).U32LE(s.wmfOffset).U32LE(s.wmfLength);
    w.U32LE(s.tiffOffset).U32LE(s.tiffLength).U16LE(0xFFFF).Text("%!PSWMF!TIFF");
    return w.Get();
}

std::string Text(std::span<const std::uint8_t> bytes) { return std::string(bytes.begin(), bytes.end()); }

TEST(EpsPreview, FindsTheTiffOrElseTheMetafile) {
    const Bytes both = Eps({.wmfOffset = 34, .wmfLength = 4, .tiffOffset = 38, .tiffLength = 4});
    ASSERT_TRUE(eps::Probe(both));
    const eps::Preview tiff = eps::FindPreview(both);
    EXPECT_EQ(tiff.kind, eps::PreviewKind::Tiff);
    EXPECT_EQ(tiff.offset, 38u);
    EXPECT_EQ(tiff.length, 4u);
    EXPECT_EQ(Text(tiff.bytes), "TIFF");

    const Bytes wmfOnly = Eps({.wmfOffset = 34, .wmfLength = 4});
    const eps::Preview wmf = eps::FindPreview(wmfOnly);
    EXPECT_EQ(wmf.kind, eps::PreviewKind::Wmf);
    EXPECT_EQ(Text(wmf.bytes), "WMF!");
}

TEST(EpsPreview, RefusesMissingOrOutOfRangePreviews) {
    const std::vector<RefusedCase> bad = {
        {"no preview", Eps({}), "without a preview"},
        {"TIFF past the end", Eps({.tiffOffset = 38, .tiffLength = 5}), "outside the file"},
        {"offset and length wrap 32 bits", Eps({.tiffOffset = 38, .tiffLength = 0xFFFFFFF0u}), "outside the file"},
        {"preview inside the header", Eps({.wmfOffset = 2, .wmfLength = 4}), "outside the file"},
        {"header cut", Bytes{0xC5, 0xD0, 0xD3, 0xC6, 30, 0}, "not an EPS"},
        {"PostScript only, no binary header", ByteWriter().Text("%!PS-Adobe-3.0 EPSF-3.0\n").Repeat(' ', 40).Get(), "not an EPS"},
    };
    ExpectRefused([](auto bytes) { eps::FindPreview(bytes); }, bad);
}

}  // namespace
}  // namespace imaging::test
