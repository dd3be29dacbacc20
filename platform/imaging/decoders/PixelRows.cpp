#include "platform/imaging/decoders/PixelRows.h"

#include <cstring>

#include "platform/imaging/decoders/DecodeError.h"

namespace imaging {

namespace {

// spread[v] holds, in memory order, one byte per bit of v: byte k is bit 7 - k. OR-ing shifted entries
// turns 8 pixels of a bit plane into 8 index bytes in one step.
struct SpreadTable {
    std::array<std::uint64_t, 256> entry{};
    SpreadTable() noexcept {
        for (unsigned v = 0; v < 256; ++v) {
            std::uint8_t bytes[8];
            for (unsigned k = 0; k < 8; ++k) {
                bytes[k] = static_cast<std::uint8_t>((v >> (7 - k)) & 1);
            }
            std::memcpy(&entry[v], bytes, 8);
        }
    }
};

const SpreadTable kSpread;

}  // namespace

Palette Palette::GreyRamp(unsigned count) noexcept {
    Palette p;
    const unsigned last = count > 1 ? count - 1 : 1;
    for (unsigned i = 0; i < count && i < 256; ++i) {
        const auto v = static_cast<std::uint8_t>(i * 255 / last);
        p.Set(i, v, v, v);
    }
    return p;
}

void ExpandIndices(const std::uint8_t* src, unsigned bits, std::size_t count, std::uint8_t* dst) noexcept {
    if (bits == 8) {
        std::memcpy(dst, src, count);
        return;
    }
    const unsigned perByte = 8 / bits;
    const unsigned mask = (1u << bits) - 1;
    std::size_t x = 0;
    for (; x + perByte <= count; x += perByte) {
        const unsigned v = *src++;
        for (unsigned k = 0; k < perByte; ++k) {
            dst[x + k] = static_cast<std::uint8_t>((v >> (8 - bits * (k + 1))) & mask);
        }
    }
    if (x < count) {
        const unsigned v = *src;
        for (unsigned k = 0; x < count; ++k, ++x) {
            dst[x] = static_cast<std::uint8_t>((v >> (8 - bits * (k + 1))) & mask);
        }
    }
}

void PlanarToIndices(const std::uint8_t* src, std::size_t planeStride, unsigned planeCount, std::size_t count,
                     std::uint8_t* dst) noexcept {
    const std::size_t groups = (count + 7) / 8;
    for (std::size_t g = 0; g < groups; ++g) {
        std::uint64_t acc = 0;
        for (unsigned p = 0; p < planeCount; ++p) {
            acc |= kSpread.entry[src[p * planeStride + g]] << p;
        }
        const std::size_t n = count - g * 8 < 8 ? count - g * 8 : 8;
        std::memcpy(dst + g * 8, &acc, n);
    }
}

void IndicesToBgr(const std::uint8_t* indexes, std::size_t count, const Palette& palette,
                  std::uint8_t* bgr) noexcept {
    const std::uint8_t* table = palette.bgr.data();
    for (std::size_t x = 0; x < count; ++x) {
        const std::uint8_t* entry = table + indexes[x] * 3;
        bgr[0] = entry[0];
        bgr[1] = entry[1];
        bgr[2] = entry[2];
        bgr += 3;
    }
}

void UnpackBits(ByteReader& in, std::span<std::uint8_t> out, unsigned unit) {
    std::size_t pos = 0;
    while (pos < out.size()) {
        const unsigned n = in.U8();
        if (in.Failed()) {
            throw DecodeError("packed data ends early");
        }
        if (n == 128) {
            continue;
        }
        const std::size_t items = n < 128 ? n + 1 : 257 - n;
        const std::size_t bytes = items * unit;
        if (bytes > out.size() - pos) {
            throw DecodeError("packed run overruns the row");
        }
        if (n < 128) {
            const auto literal = in.Take(bytes);
            if (literal.empty()) {
                throw DecodeError("packed data ends early");
            }
            std::memcpy(out.data() + pos, literal.data(), bytes);
        } else {
            const auto item = in.Take(unit);
            if (item.empty()) {
                throw DecodeError("packed data ends early");
            }
            if (unit == 1) {
                std::memset(out.data() + pos, item[0], bytes);
            } else {
                for (std::size_t i = 0; i < bytes; i += unit) {
                    std::memcpy(out.data() + pos + i, item.data(), unit);
                }
            }
        }
        pos += bytes;
    }
}

}  // namespace imaging
