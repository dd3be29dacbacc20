#include "platform/imaging/decoders/PcxDecoder.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <utility>
#include <vector>

#include "platform/imaging/decoders/ByteReader.h"
#include "platform/imaging/decoders/DecodeError.h"
#include "platform/imaging/decoders/PixelRows.h"

namespace imaging::pcx {

namespace {

constexpr std::size_t kHeaderSize = 128;
constexpr std::size_t kVgaPaletteSize = 1 + 256 * 3;

struct Header {
    unsigned version = 0;
    bool encoded = false;
    unsigned bits = 0;
    unsigned planes = 0;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::size_t bytesPerLine = 0;
    std::span<const std::uint8_t> egaPalette;
};

// The colours a version 3 file ("no palette") is shown with.
constexpr std::uint8_t kDefaultEga[16][3] = {
    {0, 0, 0},       {0, 0, 170},     {0, 170, 0},     {0, 170, 170},   {170, 0, 0},     {170, 0, 170},
    {170, 85, 0},    {170, 170, 170}, {85, 85, 85},    {85, 85, 255},   {85, 255, 85},   {85, 255, 255},
    {255, 85, 85},   {255, 85, 255},  {255, 255, 85},  {255, 255, 255}};

bool KnownLayout(unsigned bits, unsigned planes) noexcept {
    switch (bits) {
    case 1: return planes >= 1 && planes <= 4;
    case 2:
    case 4: return planes == 1;
    case 8: return planes == 1 || planes == 3 || planes == 4;
    default: return false;
    }
}

Header Parse(std::span<const std::uint8_t> bytes) {
    ByteReader in(bytes);
    Header h;
    const unsigned manufacturer = in.U8();
    h.version = in.U8();
    const unsigned encoding = in.U8();
    h.bits = in.U8();
    const unsigned xmin = in.U16LE();
    const unsigned ymin = in.U16LE();
    const unsigned xmax = in.U16LE();
    const unsigned ymax = in.U16LE();
    in.Skip(4);  // resolution
    h.egaPalette = in.Take(48);
    in.Skip(1);
    h.planes = in.U8();
    h.bytesPerLine = in.U16LE();
    in.Require("PCX header");
    if (bytes.size() < kHeaderSize || manufacturer != 0x0A || encoding > 1) {
        throw DecodeError("not a PCX file");
    }
    if (!KnownLayout(h.bits, h.planes)) {
        throw DecodeError("unsupported PCX depth");
    }
    if (xmax < xmin || ymax < ymin) {
        throw DecodeError("bad PCX window");
    }
    h.encoded = encoding == 1;
    h.width = xmax - xmin + 1;
    h.height = ymax - ymin + 1;
    CheckedLayout(h.width, h.height);
    if (h.bytesPerLine * 8 < std::size_t{h.width} * h.bits) {
        throw DecodeError("PCX line too short for its width");
    }
    return h;
}

Palette HeaderPalette(const Header& h) {
    Palette p;
    const bool useDefault = h.version == 3;
    for (unsigned i = 0; i < 16; ++i) {
        const std::uint8_t* rgb = useDefault ? kDefaultEga[i] : h.egaPalette.data() + i * 3;
        p.Set(i, rgb[0], rgb[1], rgb[2]);
    }
    // A 2-colour file without a palette (version 3, or both entries left equal) is black and white.
    if (h.bits == 1 && h.planes == 1 && (useDefault || std::memcmp(p.bgr.data(), p.bgr.data() + 3, 3) == 0)) {
        p.Set(0, 0, 0, 0);
        p.Set(1, 255, 255, 255);
    }
    return p;
}

// Run-length data decoded straight to where the bytes go; a run may go on into the next plane or line, as
// some writers let it.
class RunReader {
public:
    RunReader(std::span<const std::uint8_t> data, bool encoded)
        : next_(data.data()), end_(data.data() + data.size()), encoded_(encoded) {}

    // The next `count` bytes, stored Stride apart from `to` on.
    template <std::size_t Stride>
    void Read(std::uint8_t* to, std::size_t count) {
        Decode<true, Stride>(to, count);
    }
    void Skip(std::size_t count) { Decode<false, 1>(nullptr, count); }

private:
    template <bool Store, std::size_t Stride>
    void Decode(std::uint8_t* to, std::size_t count) {
        if (!encoded_) {
            if (static_cast<std::size_t>(end_ - next_) < count) Truncated();
            if constexpr (Store) {
                for (std::size_t i = 0; i < count; ++i, to += Stride) *to = next_[i];
            }
            next_ += count;
            return;
        }
        if constexpr (Store) {
            if (pending_ == 0) DecodeWhileRoomy<Stride>(to, count);
        }
        while (count > 0) {
            if (pending_ == 0) {
                // Bytes of their own, the most common case in photographs, up to the next run.
                const std::uint8_t* from = next_;
                const std::uint8_t* const stop = next_ + std::min<std::size_t>(count, end_ - next_);
                while (from != stop && *from < 0xC0) {
                    if constexpr (Store) {
                        *to = *from;
                        to += Stride;
                    }
                    ++from;
                }
                count -= static_cast<std::size_t>(from - next_);
                next_ = from;
                if (count == 0) return;
                if (end_ - next_ < 2) Truncated();
                pending_ = next_[0] & 0x3Fu;
                value_ = next_[1];
                next_ += 2;
            }
            const std::size_t n = pending_ < count ? pending_ : count;
            if constexpr (Store) {
                for (std::size_t i = 0; i < n; ++i, to += Stride) *to = value_;
            }
            pending_ -= n;
            count -= n;
        }
    }

    template <std::size_t Stride, std::size_t... I>
    static void StoreEight(std::uint8_t* to, const std::uint8_t* from, std::index_sequence<I...>) {
        ((to[I * Stride] = from[I]), ...);
    }
    template <std::size_t Stride>
    static void StoreEight(std::uint8_t* to, const std::uint8_t* from) {
        StoreEight<Stride>(to, from, std::make_index_sequence<8>{});
    }

    // While neither `count` nor the input can run out: eight bytes are looked at together, the bytes of their
    // own before the first run are stored together, then that run. Whether a byte starts a run is a coin
    // toss in a photograph, so nothing branches on it; stores past what was decoded are written over later.
    template <std::size_t Stride>
    void DecodeWhileRoomy(std::uint8_t*& to, std::size_t& count) {
        static_assert(std::endian::native == std::endian::little, "the first byte is the lowest");
        constexpr std::uint64_t TopBits = 0x8080808080808080ull;
        // 8 bytes looked at and a run of up to 63 after 7 of them.
        constexpr std::size_t RoomNeeded = 7 + 63;
        const std::uint8_t* from = next_;
        while (count >= RoomNeeded && end_ - from >= 10) {
            std::uint64_t word;
            std::memcpy(&word, from, sizeof word);
            const std::uint64_t runs = word & (word << 1) & TopBits;  // both top bits: 0xC0 and above
            const unsigned own = static_cast<unsigned>(std::countr_zero(runs)) / 8;  // 8 when there is none
            StoreEight<Stride>(to, from);
            to += own * Stride;
            const unsigned isRun = own < 8 ? 1u : 0u;
            const std::size_t n = isRun ? (from[own] & 0x3Fu) : 0u;
            const std::uint8_t value = from[own + 1];
            to[0] = value;
            for (std::size_t i = 1; i < n; ++i) to[i * Stride] = value;
            to += n * Stride;
            from += own + 2 * isRun;
            count -= own + n;
        }
        next_ = from;
    }

    [[noreturn]] static void Truncated() { throw DecodeError("truncated PCX data"); }

    const std::uint8_t* next_;
    const std::uint8_t* end_;
    bool encoded_;
    std::size_t pending_ = 0;
    std::uint8_t value_ = 0;
};

}  // namespace

bool Probe(std::span<const std::uint8_t> bytes) noexcept {
    if (bytes.size() < kHeaderSize || bytes[0] != 0x0A || bytes[2] > 1) {
        return false;
    }
    const unsigned version = bytes[1];
    if (version != 0 && version != 2 && version != 3 && version != 4 && version != 5) {
        return false;
    }
    return KnownLayout(bytes[3], bytes[65]);
}

ImageInfo ReadHeader(std::span<const std::uint8_t> bytes) {
    const Header h = Parse(bytes);
    return {h.width, h.height};
}

Image24 Decode(std::span<const std::uint8_t> bytes) {
    const Header h = Parse(bytes);
    auto data = bytes.subspan(kHeaderSize);
    Palette palette;
    if (h.bits == 8 && h.planes == 1) {
        if (data.size() >= kVgaPaletteSize && data[data.size() - kVgaPaletteSize] == 0x0C) {
            const std::uint8_t* rgb = data.data() + data.size() - kVgaPaletteSize + 1;
            for (unsigned i = 0; i < 256; ++i) {
                palette.Set(i, rgb[i * 3], rgb[i * 3 + 1], rgb[i * 3 + 2]);
            }
            data = data.first(data.size() - kVgaPaletteSize);
        } else if (h.version >= 5) {
            // Version 5 promises the palette; without it the file was cut short.
            throw DecodeError("PCX without its 256-colour palette");
        } else {
            palette = Palette::GreyRamp(256);
        }
    } else if (h.planes * h.bits <= 4) {
        palette = HeaderPalette(h);
    }

    const std::size_t lineSize = h.bytesPerLine * h.planes;
    const std::uint64_t total = std::uint64_t{lineSize} * h.height;
    // A run codes at most 63 bytes in 2.
    RequireInput(data.size(), h.encoded ? (total / 63) * 2 : total);

    Image24 image = Image24::Allocate(h.width, h.height);
    const bool trueColour = h.bits == 8 && h.planes >= 3;
    std::vector<std::uint8_t> line(trueColour ? 0 : lineSize);
    std::vector<std::uint8_t> indexes(h.planes == 1 && h.bits == 8 ? 0 : std::size_t{h.width} + 8);
    RunReader reader(data, h.encoded);
    const std::size_t w = h.width;
    for (std::uint32_t y = 0; y < h.height; ++y) {
        std::uint8_t* out = image.Row(y);
        if (trueColour) {
            // Red, green and blue planes straight into their places in the row; a fourth plane is not shown.
            for (unsigned plane = 0; plane < h.planes; ++plane) {
                if (plane < 3) {
                    reader.Read<3>(out + 2 - plane, w);
                } else {
                    reader.Skip(w);
                }
                reader.Skip(h.bytesPerLine - w);
            }
            continue;
        }
        reader.Read<1>(line.data(), lineSize);
        if (h.bits == 8) {
            IndicesToBgr(line.data(), w, palette, out);
        } else if (h.planes == 1) {
            ExpandIndices(line.data(), h.bits, w, indexes.data());
            IndicesToBgr(indexes.data(), w, palette, out);
        } else {
            PlanarToIndices(line.data(), h.bytesPerLine, h.planes, w, indexes.data());
            IndicesToBgr(indexes.data(), w, palette, out);
        }
    }
    return image;
}

}  // namespace imaging::pcx
