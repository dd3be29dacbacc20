#include "platform/imaging/decoders/ImageFormat.h"

#include <gtest/gtest.h>

#include "TestBytes.h"

namespace imaging::test {
namespace {

Bytes PictAt(std::size_t base, bool version2) {
    ByteWriter w;
    w.Repeat(0, base).U16BE(0).U16BE(0).U16BE(0).U16BE(10).U16BE(10);
    if (version2) {
        w.U16BE(0x0011).U16BE(0x02FF);
    } else {
        w.U8({0x11, 0x01, 0xFF, 0});
    }
    return w.Get();
}

Bytes PcxHead(unsigned version, unsigned bits, unsigned planes) {
    Bytes b(128, 0);
    b[0] = 0x0A;
    b[1] = static_cast<std::uint8_t>(version);
    b[2] = 1;
    b[3] = static_cast<std::uint8_t>(bits);
    b[65] = static_cast<std::uint8_t>(planes);
    return b;
}

Bytes TgaHead(unsigned mapType, unsigned type, unsigned depth, unsigned width = 4) {
    ByteWriter w;
    w.U8({0, mapType, type}).U16LE(0).U16LE(mapType ? 2 : 0).U8(mapType ? 24 : 0);
    w.U16LE(0).U16LE(0).U16LE(width).U16LE(3).U8({depth, 0}).Repeat(0, 40);
    return w.Get();
}

Bytes Prefix(std::initializer_list<unsigned> head, std::size_t size = 64) {
    Bytes b = ByteWriter().U8(head).Get();
    b.resize(std::max(size, b.size()), 0);
    return b;
}

TEST(ImageFormat, RecognisesByContent) {
    struct Case {
        const char* name;
        Bytes bytes;
        ImageFormat format;
    };
    Bytes bmp = Prefix({'B', 'M'});
    bmp[14] = 40;
    Bytes bmpText = Prefix({'B', 'M', 'x', ' '});
    const Case cases[] = {
        {"PNG", Prefix({0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}), ImageFormat::Png},
        {"PNG signature cut", Prefix({0x89, 'P', 'N', 'G', 0x0D, 0x0A}, 6), ImageFormat::Unknown},
        {"JPEG", Prefix({0xFF, 0xD8, 0xFF, 0xE0}), ImageFormat::Jpeg},
        {"GIF 87a", ByteWriter().Text("GIF87a").Repeat(0, 20).Get(), ImageFormat::Gif},
        {"GIF 89a", ByteWriter().Text("GIF89a").Repeat(0, 20).Get(), ImageFormat::Gif},
        {"TIFF, little-endian", Prefix({'I', 'I', 42, 0}), ImageFormat::Tiff},
        {"TIFF, big-endian", Prefix({'M', 'M', 0, 42}), ImageFormat::Tiff},
        {"EPS binary header", Prefix({0xC5, 0xD0, 0xD3, 0xC6}), ImageFormat::Eps},
        {"IFF ILBM", ByteWriter().Text("FORM").U32BE(4).Text("ILBM").Get(), ImageFormat::Iff},
        {"IFF PBM", ByteWriter().Text("FORM").U32BE(4).Text("PBM ").Get(), ImageFormat::Iff},
        {"IFF sound", ByteWriter().Text("FORM").U32BE(4).Text("8SVX").Get(), ImageFormat::Unknown},
        {"BMP", bmp, ImageFormat::Bmp},
        {"text starting BM", bmpText, ImageFormat::Unknown},
        {"PICT 2 after the file header", PictAt(512, true), ImageFormat::Pict},
        {"PICT 2 without it", PictAt(0, true), ImageFormat::Pict},
        {"PICT 1 after the file header", PictAt(512, false), ImageFormat::Pict},
        {"PICT 1 without it", PictAt(0, false), ImageFormat::Pict},
        {"PCX 8 bit", PcxHead(5, 8, 1), ImageFormat::Pcx},
        {"PCX 4 planes", PcxHead(2, 1, 4), ImageFormat::Pcx},
        {"PCX version 1", PcxHead(1, 8, 1), ImageFormat::Unknown},
        {"PCX 8 bit x 2 planes", PcxHead(5, 8, 2), ImageFormat::Unknown},
        {"TGA true colour", TgaHead(0, 2, 24), ImageFormat::Tga},
        {"TGA RLE colour-mapped", TgaHead(1, 9, 8), ImageFormat::Tga},
        {"TGA grey RLE", TgaHead(0, 11, 8), ImageFormat::Tga},
        {"TGA type 1 without map", TgaHead(0, 1, 8), ImageFormat::Unknown},
        {"TGA zero width", TgaHead(0, 2, 24, 0), ImageFormat::Unknown},
        {"TGA depth 7", TgaHead(0, 2, 7), ImageFormat::Unknown},
        {"empty", Bytes{}, ImageFormat::Unknown},
        {"text", ByteWriter().Text("Hello, this is not a picture at all.").Get(), ImageFormat::Unknown},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DetectFormat(c.bytes), c.format) << c.name;
    }
}

}  // namespace
}  // namespace imaging::test
