#include "platform/imaging/decoders/PcxDecoder.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "TestBytes.h"

namespace imaging::test {
namespace {

struct PcxHeader {
    unsigned version = 5;
    unsigned encoding = 1;
    unsigned bits = 8;
    unsigned planes = 1;
    unsigned width = 1;
    unsigned height = 1;
    unsigned bytesPerLine = 2;
    std::vector<std::uint32_t> palette;  // header (EGA) palette, 0xRRGGBB
};

ByteWriter Pcx(const PcxHeader& h) {
    ByteWriter w;
    w.U8({0x0A, h.version, h.encoding, h.bits}).U16LE(0).U16LE(0).U16LE(h.width - 1).U16LE(h.height - 1);
    w.U16LE(72).U16LE(72);
    for (unsigned i = 0; i < 16; ++i) {
        const std::uint32_t c = i < h.palette.size() ? h.palette[i] : 0;
        w.U8({c >> 16, (c >> 8) & 0xFF, c & 0xFF});
    }
    w.U8(0).U8(h.planes).U16LE(h.bytesPerLine).U16LE(1).Repeat(0, 58);
    return w;
}

// A VGA palette at the end: entry i = (i, 2i, 255 - i).
ByteWriter& VgaPalette(ByteWriter& w) {
    w.U8(0x0C);
    for (unsigned i = 0; i < 256; ++i) {
        w.U8({i, (2 * i) & 0xFF, 255 - i});
    }
    return w;
}

constexpr std::uint32_t W = 0xFFFFFF;
constexpr std::uint32_t B = 0x000000;

std::vector<DecodeCase> Cases() {
    std::vector<DecodeCase> cases;
    {
        // 1 bit, empty header palette: black and white; 0xC0 itself must be coded as a run.
        auto w = Pcx({.bits = 1, .width = 10, .height = 2});
        w.U8({0xB2, 0xC1, 0xC0}).U8({0xC2, 0x00});
        cases.push_back({"mono", w.Get(), 10, 2, {W, B, W, W, B, B, W, B, W, W, B, B, B, B, B, B, B, B, B, B}});
    }
    {
        auto v3 = Pcx({.version = 3, .bits = 1, .width = 2, .palette = {0x102030, 0xA0B0C0}});
        v3.U8({0x40, 0});
        cases.push_back({"mono, version 3", v3.Get(), 2, 1, {B, W}});
    }
    {
        auto w = Pcx({.encoding = 0, .bits = 1, .width = 3, .bytesPerLine = 2, .palette = {0x102030, 0xA0B0C0}});
        w.U8({0b01000000, 0});
        cases.push_back({"mono, header palette, raw", w.Get(), 3, 1, {0x102030, 0xA0B0C0, 0x102030}});
    }
    {
        auto w = Pcx({.bits = 2, .width = 5, .palette = {0x000001, 0x000002, 0x000003, 0x000004}});
        w.U8({0b00011011, 0b10000000});
        cases.push_back({"2 bit packed", w.Get(), 5, 1, {1, 2, 3, 4, 3}});
    }
    {
        std::vector<std::uint32_t> pal(16);
        for (unsigned i = 0; i < 16; ++i) {
            pal[i] = 0x010101 * (i * 16);
        }
        auto w = Pcx({.bits = 4, .width = 3, .palette = pal});
        w.U8({0x1F, 0x20});
        cases.push_back({"4 bit packed", w.Get(), 3, 1, {0x101010, 0xF0F0F0, 0x202020}});
        // 4 planes of 1 bit: pixels 5, 10, 15.
        auto p = Pcx({.bits = 1, .planes = 4, .width = 3, .palette = pal});
        p.U8({0xA0, 0, 0x60, 0, 0xA0, 0, 0x60, 0});
        cases.push_back({"4 planes", p.Get(), 3, 1, {0x505050, 0xA0A0A0, 0xF0F0F0}});
        // Version 3 files have no palette: the default EGA colours apply.
        auto v3 = Pcx({.version = 3, .bits = 1, .planes = 4, .width = 3, .palette = pal});
        v3.U8({0xA0, 0, 0x60, 0, 0xA0, 0, 0x60, 0});
        cases.push_back({"4 planes, version 3", v3.Get(), 3, 1, {0xAA00AA, 0x55FF55, 0xFFFFFF}});
    }
    {
        // 8 bit: the run of four 7s goes on from the first line into the second.
        auto w = Pcx({.width = 3, .height = 2, .bytesPerLine = 4});
        w.U8({0x01, 0x02, 0xC4, 0x07, 0x09, 0x00});
        VgaPalette(w);
        cases.push_back({"8 bit, run across lines", w.Get(), 3, 2, {0x0102FE, 0x0204FD, 0x070EF8, 0x070EF8, 0x070EF8, 0x0912F6}});
        // The palette marker sits 769 bytes from the end; before version 5 there was none: grey levels.
        auto g = Pcx({.version = 3, .width = 2, .height = 1, .bytesPerLine = 2});
        g.U8({0x10, 0x80});
        cases.push_back({"8 bit, version 3, no palette", g.Get(), 2, 1, {0x101010, 0x808080}});
    }
    {
        auto w = Pcx({.planes = 3, .width = 2, .bytesPerLine = 2});
        w.U8({10, 20, 30, 40, 50, 60});
        cases.push_back({"24 bit", w.Get(), 2, 1, {0x0A1E32, 0x14283C}});
        auto a = Pcx({.planes = 4, .width = 2, .bytesPerLine = 2});
        a.U8({10, 20, 30, 40, 50, 60, 0xC2, 0xFF});
        cases.push_back({"32 bit, alpha plane ignored", a.Get(), 2, 1, {0x0A1E32, 0x14283C}});
    }
    return cases;
}

TEST(PcxDecoder, DecodesEachLayout) {
    ExpectDecodes({pcx::Probe, pcx::ReadHeader, pcx::Decode}, Cases());
}

// Lines wide enough for the decoder's long-line path: random bytes, a third of them 0xC0 or above, and
// repeats of up to 80, coded as one stream, so that runs go on across planes, padding and lines. Runs of
// none (0xC0 and a value) are sprinkled in.
struct WideFile {
    Bytes file;
    Bytes decoded;  // what the runs stand for, line after line, plane after plane
};

WideFile WidePcx(unsigned planes, unsigned width, unsigned height, unsigned bytesPerLine) {
    WideFile wide;
    std::uint32_t seed = 12345;
    const auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 16; };
    const std::size_t total = std::size_t{bytesPerLine} * planes * height;
    while (wide.decoded.size() < total) {
        const unsigned value = next() % 3 == 0 ? 0xC0 + next() % 64 : next() % 0xC0;
        const std::size_t repeat = next() % 4 == 0 ? 1 + next() % 80 : 1;
        wide.decoded.insert(wide.decoded.end(), std::min(repeat, total - wide.decoded.size()),
                            static_cast<std::uint8_t>(value));
    }
    ByteWriter w = Pcx({.planes = planes, .width = width, .height = height, .bytesPerLine = bytesPerLine});
    for (std::size_t i = 0; i < total;) {
        std::size_t n = 1;
        while (i + n < total && n < 63 && wide.decoded[i + n] == wide.decoded[i]) ++n;
        if (n == 1 && wide.decoded[i] < 0xC0) {
            w.U8(wide.decoded[i]);
        } else {
            w.U8({0xC0u + static_cast<unsigned>(n), wide.decoded[i]});
        }
        if (next() % 16 == 0) w.U8({0xC0, 0x5A});
        i += n;
    }
    if (planes == 1) VgaPalette(w);
    wide.file = std::move(w.Get());
    return wide;
}

TEST(PcxDecoder, WideLinesWithRunsAcrossPlanesAndLines) {
    std::vector<DecodeCase> cases;
    {
        const unsigned width = 301, height = 5, bpl = 304;
        const WideFile wide = WidePcx(3, width, height, bpl);
        std::vector<std::uint32_t> pixels;
        for (unsigned y = 0; y < height; ++y) {
            const std::uint8_t* line = wide.decoded.data() + std::size_t{y} * bpl * 3;
            for (unsigned x = 0; x < width; ++x)
                pixels.push_back(std::uint32_t{line[x]} << 16 | std::uint32_t{line[bpl + x]} << 8 | line[2 * bpl + x]);
        }
        cases.push_back({"24 bit, wide", wide.file, width, height, pixels});
    }
    {
        const unsigned width = 250, height = 4, bpl = 250;
        const WideFile wide = WidePcx(1, width, height, bpl);
        std::vector<std::uint32_t> pixels;
        for (const std::uint8_t i : wide.decoded) pixels.push_back(i << 16 | ((2 * i) & 0xFF) << 8 | (255 - i));
        cases.push_back({"8 bit, wide", wide.file, width, height, pixels});
    }
    ExpectDecodes({pcx::Probe, pcx::ReadHeader, pcx::Decode}, cases);

    // Cut anywhere in the middle: refused, never read past the end.
    const WideFile wide = WidePcx(3, 301, 5, 304);
    std::vector<RefusedCase> cut;
    for (const std::size_t keep : {std::size_t{200}, wide.file.size() / 2, wide.file.size() - 1}) {
        cut.push_back({"cut", Bytes(wide.file.begin(), wide.file.begin() + static_cast<std::ptrdiff_t>(keep)),
                       "truncated"});
    }
    ExpectRefused([](auto bytes) { pcx::Decode(bytes); }, cut);
}

TEST(PcxDecoder, RefusesBrokenFiles) {
    const auto mono = [] { return Pcx({.bits = 1, .width = 10, .height = 2}); };
    std::vector<RefusedCase> bad;
    {
        auto w = mono();
        w.U8({0xB2, 0xC1, 0xC0}).U8({0xC2});
        bad.push_back({"run without its value", w.Get(), "truncated"});
    }
    {
        auto w = mono();
        w.U8({0xB2});
        bad.push_back({"data ends early", w.Get(), "truncated"});
    }
    bad.push_back({"8 bit, version 5, palette missing", Pcx({.width = 2}).U8({0x10, 0x80}).Get(), "palette"});
    bad.push_back({"line shorter than the width", Pcx({.bits = 1, .width = 17, .bytesPerLine = 2}).U8({0, 0}).Get(),
                   "line too short"});
    bad.push_back({"unsupported depth", Pcx({.bits = 8, .planes = 2}).U8({0, 0, 0, 0}).Get(), "depth"});
    bad.push_back({"65535 x 65535", Pcx({.width = 65535, .height = 65535, .bytesPerLine = 65535}).U8({0}).Get(),
                   "too large"});
    // Within the cap, but a few bytes cannot code 16000 x 16000: refused before the buffer is allocated.
    bad.push_back({"16000 x 16000 in a few bytes",
                   Pcx({.planes = 3, .width = 16000, .height = 16000, .bytesPerLine = 16000}).Repeat(0xFF, 100).Get(),
                   "truncated pixel data"});
    {
        auto w = Pcx({.width = 2});
        w.Get()[8] = 0;
        w.Get()[9] = 0;
        w.Get()[4] = 5;  // xmin 5 > xmax 0
        w.U8({0, 0});
        bad.push_back({"window upside down", w.Get(), "window"});
    }
    {
        auto w = Pcx({.width = 2});
        w.Get()[0] = 0x0B;
        bad.push_back({"not PCX", w.U8({0, 0}).Get(), "not a PCX"});
    }
    bad.push_back({"header only, cut", Bytes(60, 0x0A), "truncated"});
    ExpectRefused([](auto bytes) { pcx::Decode(bytes); }, bad);
}

}  // namespace
}  // namespace imaging::test
