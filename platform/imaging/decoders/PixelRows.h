#pragma once
// Row conversions shared by the decoders: packed and planar indexes to one byte per pixel, indexes to BGR
// through a palette, and PackBits (the run-length scheme of PICT and of IFF's ByteRun1).

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/imaging/decoders/ByteReader.h"

namespace imaging {

// 256 BGR entries: an 8-bit index can never fall outside it. Entries a file does not set stay black.
struct Palette {
    std::array<std::uint8_t, 256 * 3> bgr{};

    void Set(std::size_t index, std::uint8_t r, std::uint8_t g, std::uint8_t b) noexcept {
        bgr[index * 3] = b;
        bgr[index * 3 + 1] = g;
        bgr[index * 3 + 2] = r;
    }
    // Entry i = (i * 255) / (count - 1) grey, for count entries (2..256).
    static Palette GreyRamp(unsigned count) noexcept;
};

// A 15-bit colour (x RRRRR GGGGG BBBBB) to BGR, each 5-bit component widened to fill 0..255.
inline void Rgb555ToBgr(unsigned v, std::uint8_t* bgr) noexcept {
    const auto widen = [](unsigned c) { return static_cast<std::uint8_t>((c << 3) | (c >> 2)); };
    bgr[0] = widen(v & 31);
    bgr[1] = widen((v >> 5) & 31);
    bgr[2] = widen((v >> 10) & 31);
}

// `count` indexes of `bits` (1, 2, 4 or 8) each, most significant first, to one byte each.
// src holds at least (count * bits + 7) / 8 bytes.
void ExpandIndices(const std::uint8_t* src, unsigned bits, std::size_t count, std::uint8_t* dst) noexcept;

// `planeCount` (1..8) bit planes, plane p at src + p * planeStride and holding bit p of each index,
// most significant bit first, to one index byte per pixel. Each plane holds at least (count + 7) / 8 bytes.
void PlanarToIndices(const std::uint8_t* src, std::size_t planeStride, unsigned planeCount, std::size_t count,
                     std::uint8_t* dst) noexcept;

void IndicesToBgr(const std::uint8_t* indexes, std::size_t count, const Palette& palette,
                  std::uint8_t* bgr) noexcept;

// Fills `out` from PackBits data of `unit` (1 or 2) byte items: a control byte n < 128 copies n + 1 items,
// n > 128 repeats the next item 257 - n times, 128 does nothing. A run longer than what is left of `out`
// or input that ends first throws DecodeError.
void UnpackBits(ByteReader& in, std::span<std::uint8_t> out, unsigned unit = 1);

}  // namespace imaging
