#include "platform/imaging/decoders/GifStructure.h"

#include <gtest/gtest.h>

#include "TestBytes.h"
#include "platform/imaging/decoders/DecodeError.h"

namespace imaging::test {
namespace {

// A 1x1 frame's LZW data for a code size of 2: clear, index 0, end.
const Bytes kOnePixel = {0x02, 0x02, 0x44, 0x01, 0x00};

struct Screen {
    const char* version = "89a";
    unsigned width = 1;
    unsigned height = 1;
    int tableBits = 0;  // a global table of 2^(bits+1) entries, none when negative
};

ByteWriter Gif(const Screen& s) {
    ByteWriter w;
    w.Text("GIF").Text(s.version).U16LE(s.width).U16LE(s.height);
    w.U8({s.tableBits < 0 ? 0u : 0x80u | static_cast<unsigned>(s.tableBits), 0, 0});
    if (s.tableBits >= 0) w.Repeat(0x7F, std::size_t{3} << (s.tableBits + 1));
    return w;
}

// An image descriptor, its local table when `tableBits` is not negative, and one pixel of data.
ByteWriter& Frame(ByteWriter& w, unsigned width = 1, unsigned height = 1, int tableBits = -1) {
    w.U8(0x2C).U16LE(0).U16LE(0).U16LE(width).U16LE(height);
    w.U8(tableBits < 0 ? 0u : 0x80u | static_cast<unsigned>(tableBits));
    if (tableBits >= 0) w.Repeat(0x20, std::size_t{3} << (tableBits + 1));
    return w.Append(kOnePixel);
}

ByteWriter& Control(ByteWriter& w) { return w.U8({0x21, 0xF9, 4, 0, 10, 0, 0, 0}); }

Bytes Cut(Bytes bytes, std::size_t drop) {
    bytes.resize(bytes.size() - drop);
    return bytes;
}

TEST(GifStructure, AcceptsWholeFiles) {
    struct Case {
        const char* name;
        Bytes file;
        gif::Structure expected;
    };
    std::vector<Case> cases;
    {
        auto w = Gif({.version = "87a", .width = 3, .height = 2, .tableBits = 1});
        cases.push_back({"87a, global table", Frame(w, 3, 2).U8(0x3B).Get(), {3, 2, 1, false}});
    }
    {
        auto w = Gif({.tableBits = -1});
        w.U8({0x21, 0xFF, 11}).Text("NETSCAPE2.0").U8({3, 1, 0, 0, 0});
        Frame(Control(w), 1, 1, 0);
        Frame(Control(w), 1, 1, 7);
        cases.push_back({"local tables only, looping and control extensions", w.U8(0x3B).Get(), {1, 1, 2, true}});
    }
    {
        auto w = Gif({.tableBits = 0});
        cases.push_back({"no trailer after a whole image", Frame(w).Get(), {1, 1, 1, true}});
    }
    {
        auto w = Gif({.tableBits = 0});
        cases.push_back({"bytes after the trailer", Frame(w).U8(0x3B).Text("junk").Get(), {1, 1, 1, true}});
    }
    {
        auto w = Gif({.width = 16384, .height = 16384, .tableBits = 0});
        for (int i = 0; i < 4; ++i) Frame(w, 16384, 16384);
        cases.push_back({"frames of the largest size, as many as fit", w.U8(0x3B).Get(), {16384, 16384, 4, true}});
    }
    {
        auto w = Gif({.tableBits = 0});
        for (std::uint32_t i = 0; i < gif::kMaxFrames; ++i) Frame(w);
        cases.push_back({"the most frames", w.U8(0x3B).Get(), {1, 1, gif::kMaxFrames, true}});
    }
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const gif::Structure s = gif::CheckStructure(c.file);
        EXPECT_EQ(s.width, c.expected.width);
        EXPECT_EQ(s.height, c.expected.height);
        EXPECT_EQ(s.frames, c.expected.frames);
        EXPECT_EQ(s.gif89a, c.expected.gif89a);
    }
}

TEST(GifStructure, RefusesWhatTheSystemCodecMustNotSee) {
    std::vector<RefusedCase> cases;
    {
        // The file that makes the system's codec read address 0.
        auto w = Gif({.tableBits = -1});
        Frame(Control(w));
        Frame(Control(w));
        cases.push_back({"two frames, no colour table at all", w.U8(0x3B).Get(), "image without a colour table"});
    }
    {
        auto w = Gif({.tableBits = -1});
        Frame(w, 1, 1, 0);
        cases.push_back({"a later frame without a table", Frame(w).U8(0x3B).Get(), "image without a colour table"});
    }
    cases.push_back({"not a GIF", ByteWriter().Text("GIF89b").Repeat(0, 20).Get(), "no GIF signature"});
    cases.push_back({"empty", {}, "no GIF signature"});
    cases.push_back({"logical screen cut", Cut(Gif({.tableBits = -1}).Get(), 1), "logical screen"});
    cases.push_back({"global table cut", Cut(Gif({.tableBits = 7}).Get(), 1), "colour table"});
    {
        auto w = Gif({.tableBits = -1});
        w.U8(0x2C).U16LE(0).U16LE(0).U16LE(1).U16LE(1).U8(0x82).Repeat(0, 23);
        cases.push_back({"local table cut", w.Get(), "colour table"});
    }
    {
        auto w = Gif({.tableBits = 0});
        cases.push_back({"image descriptor cut", w.U8({0x2C, 0, 0, 0, 0, 1}).Get(), "image descriptor"});
    }
    {
        auto w = Gif({.tableBits = 0});
        cases.push_back({"image data runs past the end", Cut(Frame(w).Get(), 1), "image data"});
    }
    {
        auto w = Gif({.tableBits = 0});
        w.U8(0x2C).U16LE(0).U16LE(0).U16LE(1).U16LE(1).U8(0).U8({2, 200, 1, 2, 3});
        cases.push_back({"a sub-block longer than the rest", w.Get(), "image data"});
    }
    {
        auto w = Gif({.tableBits = 0});
        cases.push_back({"extension runs past the end", w.U8({0x21, 0xFE, 9}).Text("abc").Get(), "extension"});
    }
    {
        auto w = Gif({.tableBits = 0});
        cases.push_back({"unknown block", Frame(w).U8(0).Get(), "unknown block"});
    }
    cases.push_back({"no image", Gif({.tableBits = 0}).U8(0x3B).Get(), "no image"});
    for (const unsigned size : {0u, 12u, 255u}) {
        auto w = Gif({.tableBits = 0});
        w.U8(0x2C).U16LE(0).U16LE(0).U16LE(1).U16LE(1).U8(0).U8({size, 1, 0, 0});
        cases.push_back({"LZW code size out of range", w.U8(0x3B).Get(), "bad LZW code size"});
    }
    {
        auto w = Gif({.width = 65535, .height = 65535, .tableBits = 0});
        cases.push_back({"canvas too large", Frame(w).Get(), "canvas too large"});
    }
    {
        auto w = Gif({.tableBits = 0});
        cases.push_back({"one frame too large", Frame(w, 65535, 65535).Get(), "frame too large"});
    }
    {
        auto w = Gif({.tableBits = 0});
        for (int i = 0; i < 5; ++i) Frame(w, 16384, 16384);
        cases.push_back({"frames too large together", w.Get(), "frames too large together"});
    }
    {
        auto w = Gif({.tableBits = 0});
        for (std::uint32_t i = 0; i <= gif::kMaxFrames; ++i) Frame(w);
        cases.push_back({"one frame more than the most", w.U8(0x3B).Get(), "too many frames"});
    }
    ExpectRefused([](std::span<const std::uint8_t> bytes) { gif::CheckStructure(bytes); }, cases);
}

}  // namespace
}  // namespace imaging::test
