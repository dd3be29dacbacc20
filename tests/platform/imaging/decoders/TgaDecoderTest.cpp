#include "platform/imaging/decoders/TgaDecoder.h"

#include <gtest/gtest.h>

#include "TestBytes.h"

namespace imaging::test {
namespace {

struct TgaHeader {
    unsigned type = 2;
    unsigned depth = 24;
    unsigned width = 2;
    unsigned height = 2;
    unsigned descriptor = 0;
    unsigned mapFirst = 0;
    unsigned mapLength = 0;  // a map is present when this is not 0
    unsigned mapDepth = 24;
    std::string id;
};

ByteWriter Tga(const TgaHeader& h) {
    ByteWriter w;
    w.U8({static_cast<unsigned>(h.id.size()), h.mapLength ? 1u : 0u, h.type});
    w.U16LE(h.mapFirst).U16LE(h.mapLength).U8(h.mapLength ? h.mapDepth : 0);
    w.U16LE(0).U16LE(0).U16LE(h.width).U16LE(h.height).U8({h.depth, h.descriptor});
    w.Text(h.id);
    return w;
}

std::vector<DecodeCase> Cases() {
    const Bytes bottomUp = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};  // BGR, bottom row first
    std::vector<DecodeCase> cases;
    cases.push_back({"24 bit, bottom-left", Tga({}).Append(bottomUp).Get(), 2, 2,
                     {0x090807, 0x0C0B0A, 0x030201, 0x060504}});
    cases.push_back({"24 bit, top-left", Tga({.descriptor = 0x20}).Append(bottomUp).Get(), 2, 2,
                     {0x030201, 0x060504, 0x090807, 0x0C0B0A}});
    cases.push_back({"24 bit, top-right", Tga({.descriptor = 0x30}).Append(bottomUp).Get(), 2, 2,
                     {0x060504, 0x030201, 0x0C0B0A, 0x090807}});
    cases.push_back({"32 bit, alpha dropped",
                     Tga({.depth = 32, .height = 1, .descriptor = 0x28}).U8({1, 2, 3, 0x80, 4, 5, 6, 0}).Get(), 2, 1,
                     {0x030201, 0x060504}});
    cases.push_back({"16 bit", Tga({.depth = 16, .descriptor = 0x20}).U16LE(0x7C00).U16LE(0x03E0).U16LE(0x801F).U16LE(0x4210).Get(),
                     2, 2, {0xFF0000, 0x00FF00, 0x0000FF, 0x848484}});
    cases.push_back({"15 bit", Tga({.depth = 15, .height = 1, .descriptor = 0x20}).U16LE(0x7FFF).U16LE(0x0001).Get(), 2, 1,
                     {0xFFFFFF, 0x000008}});
    cases.push_back({"grey, run-length", Tga({.type = 11, .depth = 8, .descriptor = 0x20}).U8({0x82, 0x40, 0x00, 0x99}).Get(), 2, 2,
                     {0x404040, 0x404040, 0x404040, 0x999999}});
    cases.push_back({"grey with alpha", Tga({.type = 3, .depth = 16, .height = 1, .descriptor = 0x20}).U8({0x10, 0xFF, 0x20, 0}).Get(),
                     2, 1, {0x101010, 0x202020}});
    {
        // Map entries 2..4 and an id field to skip.
        auto w = Tga({.type = 1, .depth = 8, .width = 3, .height = 1, .descriptor = 0x20, .mapFirst = 2, .mapLength = 3, .id = "abc"});
        w.U8({0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x70, 0x80, 0x90}).U8({4, 2, 3});
        cases.push_back({"colour-mapped", w.Get(), 3, 1, {0x908070, 0x302010, 0x605040}});
        // One run of four pixels goes on from the first row into the second.
        auto r = Tga({.type = 9, .depth = 8, .mapFirst = 2, .mapLength = 3});
        r.U8({0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x70, 0x80, 0x90}).U8({0x83, 3});
        cases.push_back({"colour-mapped, run across rows", r.Get(), 2, 2, {0x605040, 0x605040, 0x605040, 0x605040}});
        auto m15 = Tga({.type = 1, .depth = 8, .width = 1, .height = 1, .mapLength = 1, .mapDepth = 15});
        m15.U16LE(0x7C00).U8(0);
        cases.push_back({"15-bit colour map", m15.Get(), 1, 1, {0xFF0000}});
    }
    {
        auto w = Tga({.type = 10, .width = 3, .height = 1, .descriptor = 0x20});
        w.U8({0x00, 1, 2, 3}).U8({0x81, 9, 8, 7});
        cases.push_back({"24 bit, run-length", w.Get(), 3, 1, {0x030201, 0x070809, 0x070809}});
        auto r16 = Tga({.type = 10, .depth = 16, .width = 3, .height = 1, .descriptor = 0x20});
        r16.U8(0x82).U16LE(0x03E0);
        cases.push_back({"16 bit, run-length", r16.Get(), 3, 1, {0x00FF00, 0x00FF00, 0x00FF00}});
        auto r32 = Tga({.type = 10, .depth = 32, .width = 3, .height = 1, .descriptor = 0x28});
        r32.U8({0x81, 1, 2, 3, 0xFF}).U8({0x00, 4, 5, 6, 0});
        cases.push_back({"32 bit, run-length", r32.Get(), 3, 1, {0x030201, 0x030201, 0x060504}});
        // True colour with a map that is not used: skipped by its length.
        auto m = Tga({.height = 1, .descriptor = 0x20, .mapLength = 2});
        m.Repeat(0xEE, 6).U8({1, 2, 3, 4, 5, 6});
        cases.push_back({"24 bit with an unused map", m.Get(), 2, 1, {0x030201, 0x060504}});
    }
    return cases;
}

TEST(TgaDecoder, DecodesEachTypeAndOrigin) {
    ExpectDecodes({tga::Probe, tga::ReadHeader, tga::Decode}, Cases());
}

TEST(TgaDecoder, RefusesBrokenFiles) {
    const auto mapped = [] {
        auto w = Tga({.type = 1, .depth = 8, .width = 2, .height = 1, .mapFirst = 2, .mapLength = 3});
        w.Repeat(0x33, 9);
        return w;
    };
    const std::vector<RefusedCase> bad = {
        {"index past the map", mapped().U8({2, 5}).Get(), "outside the map"},
        {"index before the map's first entry", mapped().U8({1, 2}).Get(), "outside the map"},
        {"colour map cut", Tga({.type = 1, .depth = 8, .mapLength = 200}).Repeat(0, 30).Get(), "colour map"},
        {"raw data cut", Tga({}).Repeat(7, 11).Get(), "truncated"},
        {"run without its value", Tga({.type = 10, .height = 1}).U8({0x81, 1, 2}).Get(), "truncated"},
        {"literal packet cut", Tga({.type = 10, .height = 1}).U8({0x01, 1, 2, 3, 4}).Get(), "truncated"},
        {"unknown type", Tga({.type = 32}).Repeat(0, 12).Get(), "not a supported"},
        {"colour-mapped without a map", Tga({.type = 1, .depth = 8}).Repeat(0, 4).Get(), "not a supported"},
        {"true colour of 8 bits", Tga({.depth = 8}).Repeat(0, 4).Get(), "not a supported"},
        {"zero width", Tga({.width = 0}).Repeat(0, 12).Get(), "not a supported"},
        {"65535 x 65535", Tga({.width = 65535, .height = 65535}).Repeat(0, 12).Get(), "too large"},
        {"16000 x 16000 in a few bytes", Tga({.type = 10, .width = 16000, .height = 16000}).Repeat(0xFF, 100).Get(),
         "truncated pixel data"},
    };
    ExpectRefused([](auto bytes) { tga::Decode(bytes); }, bad);
}

}  // namespace
}  // namespace imaging::test
