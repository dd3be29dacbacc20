#include "platform/imaging/decoders/IffDecoder.h"

#include <gtest/gtest.h>

#include "TestBytes.h"

namespace imaging::test {
namespace {

struct Chunk {
    std::string id;
    Bytes data;
};

Bytes Form(const std::string& type, const std::vector<Chunk>& chunks) {
    ByteWriter body;
    body.Text(type);
    for (const auto& c : chunks) {
        body.Text(c.id).U32BE(static_cast<std::uint32_t>(c.data.size())).Append(c.data);
        if (c.data.size() % 2 != 0) {
            body.U8(0);
        }
    }
    ByteWriter form;
    form.Text("FORM").U32BE(static_cast<std::uint32_t>(body.Size())).Append(body.Get());
    return form.Get();
}

Chunk Bmhd(unsigned width, unsigned height, unsigned planes, unsigned compression = 0, unsigned masking = 0) {
    ByteWriter w;
    w.U16BE(width).U16BE(height).U16BE(0).U16BE(0).U8({planes, masking, compression, 0});
    w.U16BE(0).U8({10, 11}).U16BE(width).U16BE(height);
    return {"BMHD", w.Get()};
}

Chunk Cmap(const std::vector<std::uint32_t>& colours) {
    ByteWriter w;
    for (const auto c : colours) {
        w.U8({c >> 16, (c >> 8) & 0xFF, c & 0xFF});
    }
    return {"CMAP", w.Get()};
}

Chunk Camg(std::uint32_t mode) {
    ByteWriter w;
    w.U32BE(mode);
    return {"CAMG", w.Get()};
}

// One row of bit planes (plane p holds bit p of each index), each plane padded to 16 pixels.
Bytes Planar(const std::vector<unsigned>& indexes, unsigned planes) {
    const std::size_t rowBytes = (indexes.size() + 15) / 16 * 2;
    Bytes out(rowBytes * planes);
    for (unsigned p = 0; p < planes; ++p) {
        for (std::size_t x = 0; x < indexes.size(); ++x) {
            if ((indexes[x] >> p) & 1) {
                out[p * rowBytes + x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
            }
        }
    }
    return out;
}

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const auto& p : parts) {
        out.insert(out.end(), p.begin(), p.end());
    }
    return out;
}

const std::vector<std::uint32_t> kFour = {0x000000, 0x102030, 0x405060, 0x708090};

std::vector<DecodeCase> Cases() {
    std::vector<DecodeCase> cases;
    cases.push_back({"2 planes, raw", Form("ILBM", {Bmhd(3, 1, 2), Cmap(kFour), {"BODY", Planar({1, 2, 3}, 2)}}), 3, 1,
                     {0x102030, 0x405060, 0x708090}});
    cases.push_back({"2 planes, ByteRun1, odd chunk before",
                     Form("ILBM", {Bmhd(16, 1, 2, 1), Cmap(kFour), {"ANNO", {'a', 'b', 'c'}},
                                   {"BODY", {0x01, 0xA0, 0x00, 0xFF, 0xFF}}}),
                     16, 1, [] {
                         std::vector<std::uint32_t> p(16, 0x405060);
                         p[0] = p[2] = 0x708090;
                         return p;
                     }()});
    cases.push_back({"mask plane skipped",
                     Form("ILBM", {Bmhd(3, 2, 2, 0, 1), Cmap(kFour),
                                   {"BODY", Concat({Planar({1, 2, 3}, 2), Bytes{0xFF, 0xFF}, Planar({3, 3, 0}, 2), Bytes{0xFF, 0xFF}})}}),
                     3, 2, {0x102030, 0x405060, 0x708090, 0x708090, 0x708090, 0x000000}});
    cases.push_back({"no CMAP: grey levels", Form("ILBM", {Bmhd(2, 1, 1), {"BODY", Planar({0, 1}, 1)}}), 2, 1,
                     {0x000000, 0xFFFFFF}});
    {
        std::vector<std::uint32_t> colours(32, 0);
        colours[1] = 0x80FF40;
        cases.push_back({"extra half-bright", Form("ILBM", {Bmhd(2, 1, 6), Camg(0x80), Cmap(colours), {"BODY", Planar({1, 33}, 6)}}),
                         2, 1, {0x80FF40, 0x407F20}});
    }
    {
        std::vector<std::uint32_t> colours(16, 0);
        colours[1] = 0x132537;
        // Palette 1, then blue := F, red := 8, green := 1: the value replaces the top 4 bits, the low 4 stay.
        cases.push_back({"HAM6",
                         Form("ILBM", {Bmhd(4, 1, 6), Camg(0x800), Cmap(colours),
                                       {"BODY", Planar({0b000001, 0b011111, 0b101000, 0b110001}, 6)}}),
                         4, 1, {0x132537, 0x1325F7, 0x8325F7, 0x8315F7}});
        // HAM8: six value bits over the top, two kept.
        cases.push_back({"HAM8",
                         Form("ILBM", {Bmhd(3, 1, 8), Camg(0x800), Cmap(colours),
                                       {"BODY", Planar({0x01, 0x40 | 0x3F, 0x80 | 0x20}, 8)}}),
                         3, 1, {0x132537, 0x1325FF, 0x8325FF}});
    }
    cases.push_back({"24 planes",
                     Form("ILBM", {Bmhd(2, 1, 24),
                                   {"BODY", Concat({Planar({0x12, 0xAB}, 8), Planar({0x34, 0xCD}, 8), Planar({0x56, 0xEF}, 8)})}}),
                     2, 1, {0x123456, 0xABCDEF}});
    cases.push_back({"32 planes, alpha dropped",
                     Form("ILBM", {Bmhd(1, 1, 32),
                                   {"BODY", Concat({Planar({0x12}, 8), Planar({0x34}, 8), Planar({0x56}, 8), Planar({0xFF}, 8)})}}),
                     1, 1, {0x123456}});
    cases.push_back({"PBM, chunky rows padded to even",
                     Form("PBM ", {Bmhd(3, 2, 8, 1), Cmap(kFour), {"BODY", {0x03, 1, 2, 3, 0, 0xFD, 2}}}), 3, 2,
                     {0x102030, 0x405060, 0x708090, 0x405060, 0x405060, 0x405060}});
    return cases;
}

TEST(IffDecoder, DecodesEachLayout) {
    ExpectDecodes({iff::Probe, iff::ReadHeader, iff::Decode}, Cases());
}

TEST(IffDecoder, RefusesBrokenFiles) {
    std::vector<RefusedCase> bad = {
        {"no BMHD", Form("ILBM", {Cmap(kFour), {"BODY", {0}}}), "without BMHD"},
        {"no BODY", Form("ILBM", {Bmhd(3, 1, 2), Cmap(kFour)}), "without BODY"},
        {"raw BODY too short", Form("ILBM", {Bmhd(3, 2, 2), {"BODY", Planar({1, 2, 3}, 2)}}), "truncated"},
        {"ByteRun1 run overruns the row", Form("ILBM", {Bmhd(16, 1, 1, 1), {"BODY", {0xF0, 0x00}}}), "overruns"},
        {"ByteRun1 data ends", Form("ILBM", {Bmhd(16, 2, 1, 1), {"BODY", {0xFF, 0x00}}}), "ends early"},
        {"9 planes", Form("ILBM", {Bmhd(1, 1, 9), {"BODY", Bytes(18, 0)}}), "unsupported"},
        {"unknown compression", Form("ILBM", {Bmhd(1, 1, 1, 2), {"BODY", Bytes(2, 0)}}), "unsupported"},
        {"65535 x 65535", Form("ILBM", {Bmhd(65535, 65535, 1), {"BODY", Bytes(2, 0)}}), "too large"},
        {"16000 x 16000 in a few bytes", Form("ILBM", {Bmhd(16000, 16000, 8, 1), {"BODY", Bytes(100, 0x81)}}),
         "truncated pixel data"},
        {"not a picture", Form("8SVX", {Bmhd(1, 1, 1)}), "not an IFF picture"},
    };
    {
        Bytes file = Form("ILBM", {Bmhd(3, 1, 2), {"BODY", Planar({1, 2, 3}, 2)}});
        file[file.size() - 8] = 0x40;  // the BODY's length (4 bytes before its 4 bytes of data), past the FORM
        bad.push_back({"chunk runs past the FORM", file, "runs past"});
    }
    ExpectRefused([](auto bytes) { iff::Decode(bytes); }, bad);
}

}  // namespace
}  // namespace imaging::test
