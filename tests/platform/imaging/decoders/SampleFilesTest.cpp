// Pictures written by netpbm and ImageMagick (data/make-data), decoded and compared with the pixels they
// were made from.

#include <gtest/gtest.h>

#include "TestBytes.h"
#include "platform/imaging/decoders/DecodeError.h"
#include "platform/imaging/decoders/EpsPreview.h"
#include "platform/imaging/decoders/IffDecoder.h"
#include "platform/imaging/decoders/ImageFormat.h"
#include "platform/imaging/decoders/PcxDecoder.h"
#include "platform/imaging/decoders/PictDecoder.h"
#include "platform/imaging/decoders/TgaDecoder.h"

namespace imaging::test {
namespace {

struct Sample {
    const char* file;
    ImageFormat format;
    const char* expected;  // PPM of the expected pixels
};

// ImageMagick writes its TGA rows top row first but marks them as starting at the bottom; we follow the
// header, as tgatoppm does, and so compare with tgatoppm's reading of those files.
const Sample kSamples[] = {
    {"pcx_mono.pcx", ImageFormat::Pcx, "two.ppm"},
    {"pcx_planar4.pcx", ImageFormat::Pcx, "pal16.ppm"},
    {"pcx_packed4.pcx", ImageFormat::Pcx, "pal16.ppm"},
    {"pcx_8bit.pcx", ImageFormat::Pcx, "pal256.ppm"},
    {"pcx_24bit.pcx", ImageFormat::Pcx, "rgb.ppm"},
    {"im_8.pcx", ImageFormat::Pcx, "pal256.ppm"},
    {"im_24.pcx", ImageFormat::Pcx, "rgb.ppm"},
    {"tga_rgb_rle.tga", ImageFormat::Tga, "rgb.ppm"},
    {"tga_rgb_raw.tga", ImageFormat::Tga, "rgb.ppm"},
    {"tga_cmap_rle.tga", ImageFormat::Tga, "pal16.ppm"},
    {"tga_cmap_raw.tga", ImageFormat::Tga, "pal16.ppm"},
    {"tga_grey_rle.tga", ImageFormat::Tga, "grey.ppm"},
    {"im_rgb.tga", ImageFormat::Tga, "im_rgb.tga.ppm"},
    {"im_rgb_rle.tga", ImageFormat::Tga, "im_rgb_rle.tga.ppm"},
    {"im_rgba.tga", ImageFormat::Tga, "im_rgba.tga.ppm"},
    {"im_grey.tga", ImageFormat::Tga, "im_grey.tga.ppm"},
    {"im_cmap.tga", ImageFormat::Tga, "im_cmap.tga.ppm"},
    {"pict_pack8.pct", ImageFormat::Pict, "pal256.ppm"},
    {"im_direct.pct", ImageFormat::Pict, "rgb.ppm"},
    {"im_pal.pct", ImageFormat::Pict, "pal16.ppm"},
    {"ilbm_cmap.iff", ImageFormat::Iff, "pal16.ppm"},
    {"ilbm_cmap_raw.iff", ImageFormat::Iff, "pal16.ppm"},
    {"ilbm_24.iff", ImageFormat::Iff, "rgb.ppm"},
    {"ilbm_ham6.iff", ImageFormat::Iff, "ilbm_ham6.ppm"},
    {"ilbm_ham8.iff", ImageFormat::Iff, "ilbm_ham8.ppm"},
};

// What the component does with a file: recognise it, then decode with the matching decoder.
Image24 DecodeByContent(std::span<const std::uint8_t> bytes) {
    switch (DetectFormat(bytes)) {
    case ImageFormat::Pcx: return pcx::Decode(bytes);
    case ImageFormat::Tga: return tga::Decode(bytes);
    case ImageFormat::Pict: return pict::Decode(bytes);
    case ImageFormat::Iff: return iff::Decode(bytes);
    default: throw DecodeError("not one of our formats");
    }
}

TEST(SampleFiles, DecodeToTheirSourcePixels) {
    for (const auto& s : kSamples) {
        SCOPED_TRACE(s.file);
        const Bytes bytes = ReadFile(DataPath(s.file));
        EXPECT_EQ(DetectFormat(bytes), s.format);
        const Ppm expected = ReadPpm(DataPath(s.expected));
        const Image24 image = DecodeByContent(bytes);
        ExpectLayout(image, expected.width, expected.height);
        EXPECT_EQ(Pixels(image), expected.pixels);
    }
}

TEST(SampleFiles, EpsGivesItsTiffPreview) {
    const Bytes bytes = ReadFile(DataPath("eps_tiff.eps"));
    EXPECT_EQ(DetectFormat(bytes), ImageFormat::Eps);
    const eps::Preview preview = eps::FindPreview(bytes);
    EXPECT_EQ(preview.kind, eps::PreviewKind::Tiff);
    EXPECT_EQ(DetectFormat(preview.bytes), ImageFormat::Tiff);
    EXPECT_EQ(preview.offset + preview.length, bytes.size());
    EXPECT_THROW(eps::FindPreview(std::span(bytes).first(bytes.size() - 1)), DecodeError);
}

// Every cut of every sample either fails cleanly or decodes a picture of the stated size; half a file
// always fails. Under the sanitizers this also shows that no cut reads outside the bytes.
TEST(SampleFiles, EveryTruncationFailsCleanly) {
    for (const auto& s : kSamples) {
        SCOPED_TRACE(s.file);
        const Bytes bytes = ReadFile(DataPath(s.file));
        const Ppm expected = ReadPpm(DataPath(s.expected));
        for (std::size_t size = 0; size < bytes.size(); ++size) {
            // Copy, so that a read past the cut is a read past an allocation.
            const Bytes cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size));
            try {
                const Image24 image = DecodeByContent(cut);
                EXPECT_EQ(image.width, expected.width) << size;
                EXPECT_EQ(image.height, expected.height) << size;
            } catch (const DecodeError&) {
            }
        }
        const Bytes half(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(bytes.size() / 2));
        EXPECT_THROW(DecodeByContent(half), DecodeError);
    }
}

}  // namespace
}  // namespace imaging::test
