#include "platform/imaging/decoders/PictDecoder.h"

#include <gtest/gtest.h>

#include "TestBytes.h"

namespace imaging::test {
namespace {

struct R {
    int top = 0, left = 0, bottom = 0, right = 0;
};

ByteWriter& Rect(ByteWriter& w, const R& r) {
    return w.U16BE(r.top & 0xFFFF).U16BE(r.left & 0xFFFF).U16BE(r.bottom & 0xFFFF).U16BE(r.right & 0xFFFF);
}

// A version 2 picture up to its first drawing opcode, with the 512-byte file header unless told not to.
ByteWriter Pict2(const R& frame, bool fileHeader = true) {
    ByteWriter w;
    if (fileHeader) {
        w.Repeat(0, 512);
    }
    w.U16BE(0);
    Rect(w, frame);
    w.U16BE(0x0011).U16BE(0x02FF);
    w.U16BE(0x0C00).U16BE(0xFFFE).U16BE(0).U32BE(0x00480000).U32BE(0x00480000);
    Rect(w, frame).U32BE(0);
    return w;
}

struct PixMapFields {
    unsigned rowBytes = 0;
    R bounds;
    unsigned packType = 0;
    unsigned pixelSize = 8;
    unsigned cmpCount = 1;
};

ByteWriter& PixMap(ByteWriter& w, const PixMapFields& p) {
    w.U16BE(p.rowBytes | 0x8000);
    Rect(w, p.bounds);
    w.U16BE(0).U16BE(p.packType).U32BE(0).U32BE(0x00480000).U32BE(0x00480000);
    w.U16BE(p.cmpCount == 1 ? 0 : 16).U16BE(p.pixelSize).U16BE(p.cmpCount).U16BE(p.cmpCount == 1 ? p.pixelSize : 8);
    return w.U32BE(0).U32BE(0).U32BE(0);
}

ByteWriter& ColourTable(ByteWriter& w, const std::vector<std::uint32_t>& colours) {
    w.U32BE(0).U16BE(0).U16BE(static_cast<unsigned>(colours.size() - 1));
    for (unsigned i = 0; i < colours.size(); ++i) {
        const std::uint32_t c = colours[i];
        w.U16BE(i).U16BE((c >> 16) * 0x101).U16BE(((c >> 8) & 0xFF) * 0x101).U16BE((c & 0xFF) * 0x101);
    }
    return w;
}

// srcRect, dstRect and the transfer mode.
ByteWriter& Placement(ByteWriter& w, const R& src, const R& dst) {
    Rect(w, src);
    Rect(w, dst);
    return w.U16BE(0);
}

ByteWriter& PackBitsRect(ByteWriter& w, const PixMapFields& p, const std::vector<std::uint32_t>& colours) {
    w.U16BE(0x0098);
    PixMap(w, p);
    ColourTable(w, colours);
    return Placement(w, p.bounds, p.bounds);
}

ByteWriter& DirectBitsRect(ByteWriter& w, const PixMapFields& p) {
    w.U16BE(0x009A).U32BE(0xFF);
    PixMap(w, p);
    return Placement(w, p.bounds, p.bounds);
}

// The end opcode, word-aligned (every fixture's picture starts at an even offset).
ByteWriter End(ByteWriter w) {
    if (w.Size() % 2 != 0) {
        w.U8(0);
    }
    return w.U16BE(0x00FF);
}

const std::vector<std::uint32_t> kColours = {0x112233, 0x445566, 0x778899};
constexpr std::uint32_t W = 0xFFFFFF;
constexpr std::uint32_t B = 0x000000;

std::vector<DecodeCase> Cases() {
    std::vector<DecodeCase> cases;
    {
        // rowBytes below 8: rows are stored unpacked.
        auto w = Pict2({0, 0, 2, 3});
        PackBitsRect(w, {.rowBytes = 4, .bounds = {0, 0, 2, 3}}, kColours).U8({0, 1, 2, 0, 2, 2, 1, 0});
        cases.push_back({"8 bit, unpacked rows", End(w).Get(), 3, 2,
                         {0x112233, 0x445566, 0x778899, 0x778899, 0x778899, 0x445566}});
    }
    {
        auto w = Pict2({0, 0, 1, 10}, false);
        PackBitsRect(w, {.rowBytes = 10, .bounds = {0, 0, 1, 10}}, kColours).U8({5, 0x01, 0x01, 0x00, 0xF9, 0x02});
        cases.push_back({"8 bit, packed, no file header", End(w).Get(), 10, 1,
                         {0x445566, 0x112233, 0x778899, 0x778899, 0x778899, 0x778899, 0x778899, 0x778899, 0x778899, 0x778899}});
    }
    {
        // Pack type 4: one PackBits row of component planes R, G, B.
        auto w = Pict2({0, 0, 1, 2});
        DirectBitsRect(w, {.rowBytes = 8, .bounds = {0, 0, 1, 2}, .packType = 4, .pixelSize = 32, .cmpCount = 3});
        w.U8({7, 0x05, 0x10, 0x20, 0x30, 0x40, 0x50, 0x60});
        cases.push_back({"direct 32 bit, pack type 4", End(w).Get(), 2, 1, {0x103050, 0x204060}});
        // With alpha as a fourth plane, first.
        auto a = Pict2({0, 0, 1, 2});
        DirectBitsRect(a, {.rowBytes = 8, .bounds = {0, 0, 1, 2}, .packType = 4, .pixelSize = 32, .cmpCount = 4});
        a.U8({9, 0x07, 0xFF, 0xFF, 0x10, 0x20, 0x30, 0x40, 0x50, 0x60});
        cases.push_back({"direct 32 bit, pack type 4 with alpha", End(a).Get(), 2, 1, {0x103050, 0x204060}});
        // Pack type 0 means the default, 4, for 32 bits.
        auto d = Pict2({0, 0, 1, 2});
        DirectBitsRect(d, {.rowBytes = 8, .bounds = {0, 0, 1, 2}, .packType = 0, .pixelSize = 32, .cmpCount = 3});
        d.U8({7, 0x05, 0x10, 0x20, 0x30, 0x40, 0x50, 0x60});
        cases.push_back({"direct 32 bit, default packing", End(d).Get(), 2, 1, {0x103050, 0x204060}});
    }
    {
        auto w = Pict2({0, 0, 1, 2});
        DirectBitsRect(w, {.rowBytes = 8, .bounds = {0, 0, 1, 2}, .packType = 1, .pixelSize = 32, .cmpCount = 3});
        w.U8({0, 0x10, 0x30, 0x50, 0, 0x20, 0x40, 0x60});
        cases.push_back({"direct 32 bit, unpacked", End(w).Get(), 2, 1, {0x103050, 0x204060}});
        // Rows under 8 bytes are plain pixels, whatever the pack type says.
        auto narrow = Pict2({0, 0, 2, 1});
        DirectBitsRect(narrow, {.rowBytes = 4, .bounds = {0, 0, 2, 1}, .packType = 4, .pixelSize = 32, .cmpCount = 3});
        narrow.U8({0, 0x10, 0x30, 0x50, 0, 0x20, 0x40, 0x60});
        cases.push_back({"direct 32 bit, one pixel wide", End(narrow).Get(), 1, 2, {0x103050, 0x204060}});
        auto p = Pict2({0, 0, 1, 2});
        DirectBitsRect(p, {.rowBytes = 8, .bounds = {0, 0, 1, 2}, .packType = 2, .pixelSize = 32, .cmpCount = 3});
        p.U8({0x10, 0x30, 0x50, 0x20, 0x40, 0x60});
        cases.push_back({"direct 32 bit, pad byte dropped", End(p).Get(), 2, 1, {0x103050, 0x204060}});
    }
    {
        // Pack type 3: PackBits over 16-bit words; a run of four red pixels.
        auto w = Pict2({0, 0, 1, 4});
        DirectBitsRect(w, {.rowBytes = 8, .bounds = {0, 0, 1, 4}, .packType = 3, .pixelSize = 16, .cmpCount = 3});
        w.U8({3, 0xFD, 0x7C, 0x00});
        cases.push_back({"direct 16 bit, pack type 3", End(w).Get(), 4, 1, {0xFF0000, 0xFF0000, 0xFF0000, 0xFF0000}});
        auto u = Pict2({0, 0, 1, 2});
        DirectBitsRect(u, {.rowBytes = 4, .bounds = {0, 0, 1, 2}, .packType = 1, .pixelSize = 16, .cmpCount = 3});
        u.U8({0x03, 0xE0, 0x00, 0x1F});
        cases.push_back({"direct 16 bit, unpacked", End(u).Get(), 2, 1, {0x00FF00, 0x0000FF}});
    }
    {
        // Version 1: one-byte opcodes, a plain 1-bit BitMap (0 white, 1 black), unpacked then packed.
        ByteWriter w;
        w.U16BE(0).U16BE(0).U16BE(0).U16BE(3).U16BE(16).U8({0x11, 0x01});
        w.U8(0x90).U16BE(2);
        Rect(w, {0, 0, 2, 8});
        Placement(w, {0, 0, 2, 8}, {0, 0, 2, 8}).U8({0b10100000, 0, 0xFF, 0});
        w.U8(0x98).U16BE(8);
        Rect(w, {2, 0, 3, 16});
        Placement(w, {2, 0, 3, 16}, {2, 0, 3, 16}).U8({4, 0x00, 0x80, 0xFA, 0x00}).U8(0xFF);
        std::vector<std::uint32_t> pixels;
        for (const auto p : {B, W, B, W, W, W, W, W}) pixels.push_back(p);
        pixels.insert(pixels.end(), 8, W);
        pixels.insert(pixels.end(), 8, B);
        pixels.insert(pixels.end(), 8, W);
        pixels.push_back(B);
        pixels.insert(pixels.end(), 15, W);
        cases.push_back({"version 1 bitmaps", w.Get(), 16, 3, pixels});
    }
    {
        // Opcodes a paint program writes before its bitmap, one with odd-length data (aligned after it).
        auto w = Pict2({0, 0, 1, 1});
        w.U16BE(0x0001).U16BE(10);
        Rect(w, {0, 0, 1, 1});
        w.U16BE(0x001E).U16BE(0x001A).U16BE(1).U16BE(2).U16BE(3);
        w.U16BE(0x00A1).U16BE(100).U16BE(3).U8({1, 2, 3}).U8(0);
        w.U16BE(0x00A0).U16BE(5);
        w.U16BE(0x0012).U16BE(2).Repeat(0, 8).U16BE(1).U16BE(2).U16BE(3);
        w.U16BE(0x0028).U16BE(0).U16BE(0).U8(3).Text("abc");
        w.U16BE(0x00D0).U32BE(2).U8({9, 9});
        w.U16BE(0x8200).U32BE(3).U8({1, 2, 3}).U8(0);
        w.U16BE(0x0031).Repeat(0, 8).U16BE(0x0070).U16BE(12).Repeat(0, 10);
        PackBitsRect(w, {.rowBytes = 2, .bounds = {0, 0, 1, 1}}, kColours).U8({2, 0});
        cases.push_back({"opcodes skipped", End(w).Get(), 1, 1, {0x778899}});
    }
    {
        // A 1x1 bitmap drawn at (1, 1) of a frame that does not start at the origin; the rest stays white.
        auto w = Pict2({10, 20, 13, 23});
        w.U16BE(0x0098);
        PixMap(w, {.rowBytes = 2, .bounds = {0, 0, 1, 1}});
        ColourTable(w, kColours);
        Placement(w, {0, 0, 1, 1}, {11, 21, 12, 22}).U8({1, 0});
        cases.push_back({"placed inside the frame", End(w).Get(), 3, 3, {W, W, W, W, 0x445566, W, W, W, W}});
    }
    {
        // A 2x1 source stretched to 4x2 (nearest pixel), partly outside the frame (clipped).
        auto w = Pict2({0, 0, 2, 3});
        w.U16BE(0x0099);
        PixMap(w, {.rowBytes = 2, .bounds = {0, 0, 1, 2}});
        ColourTable(w, kColours);
        Placement(w, {0, 0, 1, 2}, {0, 0, 2, 4});
        w.U16BE(10);  // mask region: skipped
        Rect(w, {0, 0, 2, 4});
        w.U8({0, 2});
        cases.push_back({"stretched, mask region", End(w).Get(), 3, 2,
                         {0x112233, 0x112233, 0x778899, 0x112233, 0x112233, 0x778899}});
    }
    {
        // 16-bit colour components go to the nearest 8-bit level (0xD409 is 211.2 x 257), not the high byte.
        auto w = Pict2({0, 0, 1, 1});
        w.U16BE(0x0098);
        PixMap(w, {.rowBytes = 2, .bounds = {0, 0, 1, 1}});
        w.U32BE(0).U16BE(0).U16BE(0).U16BE(0).U16BE(0xD409).U16BE(0x00FF).U16BE(0xFF80);
        Placement(w, {0, 0, 1, 1}, {0, 0, 1, 1}).U8({0, 0});
        cases.push_back({"colour table levels rounded", End(w).Get(), 1, 1, {0xD301FF}});
    }
    {
        // A colour pixel pattern carries a whole pixmap of its own: read past, not drawn.
        auto w = Pict2({0, 0, 1, 1});
        w.U16BE(0x0013).U16BE(1).Repeat(0, 8);
        PixMap(w, {.rowBytes = 2, .bounds = {0, 0, 2, 1}});
        ColourTable(w, {0x00FF00}).U8({0, 0, 0, 0});
        PackBitsRect(w, {.rowBytes = 2, .bounds = {0, 0, 1, 1}}, kColours).U8({1, 0});
        cases.push_back({"colour pattern skipped", End(w).Get(), 1, 1, {0x445566}});
    }
    {
        // Two bands, as a program that writes a tall picture in strips does.
        auto w = Pict2({0, 0, 2, 1});
        PackBitsRect(w, {.rowBytes = 2, .bounds = {0, 0, 1, 1}}, kColours).U8({0, 0});
        PackBitsRect(w, {.rowBytes = 2, .bounds = {1, 0, 2, 1}}, kColours).U8({1, 0});
        cases.push_back({"two bands", End(w).Get(), 1, 2, {0x112233, 0x445566}});
    }
    return cases;
}

TEST(PictDecoder, DecodesBitmapOpcodes) {
    ExpectDecodes({pict::Probe, pict::ReadHeader, pict::Decode}, Cases());
}

TEST(PictDecoder, RefusesBrokenFiles) {
    std::vector<RefusedCase> bad;
    const auto packed = [](const Bytes& row) {
        auto w = Pict2({0, 0, 1, 10});
        PackBitsRect(w, {.rowBytes = 10, .bounds = {0, 0, 1, 10}}, kColours).Append(row);
        return w;
    };
    bad.push_back({"run overruns the row", End(packed({3, 0x00, 0x00, 0xF7}).Append({1})).Get(), "overruns"});
    bad.push_back({"row count past the file", packed({9, 0xF7, 0x01}).Get(), "truncated PICT pixel data"});
    bad.push_back({"row shorter than its width", End(packed({2, 0xFA, 0x01})).Get(), "ends early"});
    bad.push_back({"no bitmap", End(Pict2({0, 0, 1, 1})).Get(), "without a bitmap"});
    bad.push_back({"empty frame", End(Pict2({0, 0, 0, 5})).Get(), "empty PICT frame"});
    bad.push_back({"65535 x 65535", End(Pict2({-32768, -32768, 32767, 32767})).Get(), "too large"});
    {
        // Unpacked rows (rowBytes < 8) of a 16000-row bitmap in a short file: refused before drawing.
        auto w = Pict2({0, 0, 16000, 2});
        PackBitsRect(w, {.rowBytes = 2, .bounds = {0, 0, 16000, 2}}, kColours).Repeat(0, 100);
        bad.push_back({"rows past the file", w.Get(), "truncated pixel data"});
    }
    {
        // A 1x1 bitmap on a 16000 x 16000 frame: within the cap, but not worth 768 MB from a few bytes.
        auto w = Pict2({0, 0, 16000, 16000});
        PackBitsRect(w, {.rowBytes = 2, .bounds = {0, 0, 1, 1}}, kColours).U8({1, 0});
        bad.push_back({"huge frame from a tiny file", End(w).Get(), "truncated pixel data"});
    }
    {
        auto w = Pict2({0, 0, 1, 1});
        w.U16BE(0x0098);
        PixMap(w, {.rowBytes = 2, .bounds = {0, 0, 1, 1}});
        w.U32BE(0).U16BE(0).U16BE(200).Repeat(0, 40);
        bad.push_back({"colour table cut", w.Get(), "colour table"});
    }
    {
        auto w = Pict2({0, 0, 1, 1});
        w.U16BE(0x0001).U16BE(4).U16BE(0);
        bad.push_back({"region smaller than its rectangle", End(w).Get(), "region"});
    }
    {
        auto w = Pict2({0, 0, 1, 2});
        DirectBitsRect(w, {.rowBytes = 8, .bounds = {0, 0, 1, 2}, .packType = 4, .pixelSize = 8, .cmpCount = 1});
        bad.push_back({"direct bits of 8-bit pixels", End(w).Get(), "direct pixel layout"});
    }
    {
        auto w = Pict2({0, 0, 1, 40});
        PackBitsRect(w, {.rowBytes = 4, .bounds = {0, 0, 1, 40}}, kColours).Repeat(0, 40);
        bad.push_back({"rowBytes too small for the width", End(w).Get(), "too short"});
    }
    {
        auto w = Pict2({0, 0, 1, 1});
        w.U16BE(0x00A1).U16BE(1).U16BE(5000).Repeat(0, 10);
        bad.push_back({"comment longer than the file", w.Get(), "truncated PICT opcode"});
    }
    bad.push_back({"not PICT", Bytes(600, 0), "not a PICT"});
    ExpectRefused([](auto bytes) { pict::Decode(bytes); }, bad);
}

}  // namespace
}  // namespace imaging::test
