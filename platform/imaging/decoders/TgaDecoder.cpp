#include "platform/imaging/decoders/TgaDecoder.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "platform/imaging/decoders/ByteReader.h"
#include "platform/imaging/decoders/DecodeError.h"
#include "platform/imaging/decoders/PixelRows.h"

namespace imaging::tga {

namespace {

constexpr std::size_t kHeaderSize = 18;

enum class Kind { Indexed, Grey, Rgb16, Bgr24, Bgra32 };

struct Header {
    std::size_t idLength = 0;
    bool hasMap = false;
    unsigned type = 0;
    unsigned mapFirst = 0;
    unsigned mapLength = 0;
    unsigned mapDepth = 0;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    unsigned depth = 0;
    unsigned descriptor = 0;
};

Header Fields(std::span<const std::uint8_t> bytes) noexcept {
    ByteReader in(bytes);
    Header h;
    h.idLength = in.U8();
    h.hasMap = in.U8() == 1;
    h.type = in.U8();
    h.mapFirst = in.U16LE();
    h.mapLength = in.U16LE();
    h.mapDepth = in.U8();
    in.Skip(4);  // origin on screen
    h.width = in.U16LE();
    h.height = in.U16LE();
    h.depth = in.U8();
    h.descriptor = in.U8();
    return h;
}

bool ValidMapDepth(unsigned d) noexcept { return d == 15 || d == 16 || d == 24 || d == 32; }

bool Supported(std::span<const std::uint8_t> bytes, const Header& h) noexcept {
    if (bytes.size() < kHeaderSize || bytes[1] > 1 || h.width == 0 || h.height == 0 ||
        (h.descriptor & 0xC0) != 0) {
        return false;
    }
    if (h.hasMap && !ValidMapDepth(h.mapDepth)) {
        return false;
    }
    switch (h.type) {
    case 1:
    case 9: return h.hasMap && h.depth == 8;
    case 2:
    case 10: return ValidMapDepth(h.depth);
    case 3:
    case 11: return h.depth == 8 || h.depth == 16;
    default: return false;
    }
}

Header Parse(std::span<const std::uint8_t> bytes) {
    const Header h = Fields(bytes);
    if (!Supported(bytes, h)) {
        throw DecodeError("not a supported TGA file");
    }
    CheckedLayout(h.width, h.height);
    return h;
}

Kind KindOf(const Header& h) noexcept {
    switch (h.type & 3) {
    case 1: return Kind::Indexed;
    case 3: return Kind::Grey;
    default: return h.depth <= 16 ? Kind::Rgb16 : h.depth == 24 ? Kind::Bgr24 : Kind::Bgra32;
    }
}

// One colour in the file's layout (15/16, 24 or 32 bits, little-endian) to BGR.
inline void ColourToBgr(const std::uint8_t* src, unsigned bytesPer, std::uint8_t* out) noexcept {
    if (bytesPer == 2) {
        Rgb555ToBgr(src[0] | (src[1] << 8), out);
    } else {
        out[0] = src[0];
        out[1] = src[1];
        out[2] = src[2];
    }
}

struct ColourMap {
    Palette palette;
    std::array<bool, 256> valid{};
};

ColourMap ReadMap(ByteReader& in, const Header& h) {
    ColourMap map;
    const unsigned bytesPer = (h.mapDepth + 7) / 8;
    const auto entries = in.Take(std::size_t{h.mapLength} * bytesPer);
    in.Require("TGA colour map");
    for (unsigned i = 0; i < h.mapLength; ++i) {
        const unsigned index = h.mapFirst + i;
        if (index >= 256) {
            break;
        }
        std::uint8_t bgr[3];
        ColourToBgr(entries.data() + std::size_t{i} * bytesPer, bytesPer, bgr);
        map.palette.Set(index, bgr[2], bgr[1], bgr[0]);
        map.valid[index] = true;
    }
    return map;
}

// Run-length packets of whole pixels; a packet may go on into the next row, as many writers let it.
class RowReader {
public:
    RowReader(ByteReader& in, bool encoded, unsigned pixelBytes) : in_(in), encoded_(encoded), px_(pixelBytes) {}

    void Read(std::uint8_t* row, std::size_t pixels) {
        if (!encoded_) {
            const auto raw = in_.Take(pixels * px_);
            if (raw.empty()) {
                throw DecodeError("truncated TGA data");
            }
            std::memcpy(row, raw.data(), raw.size());
            return;
        }
        std::size_t x = 0;
        while (x < pixels) {
            if (left_ == 0) {
                const unsigned packet = in_.U8();
                left_ = (packet & 0x7F) + 1;
                repeat_ = (packet & 0x80) != 0;
                if (repeat_) {
                    const auto v = in_.Take(px_);
                    if (!v.empty()) {
                        std::memcpy(value_, v.data(), px_);
                    }
                }
                if (in_.Failed()) {
                    throw DecodeError("truncated TGA data");
                }
            }
            const std::size_t n = std::min(left_, pixels - x);
            if (repeat_) {
                Fill(row + x * px_, n);
            } else {
                const auto raw = in_.Take(n * px_);
                if (raw.empty()) {
                    throw DecodeError("truncated TGA data");
                }
                std::memcpy(row + x * px_, raw.data(), raw.size());
            }
            x += n;
            left_ -= n;
        }
    }

private:
    template <unsigned Size>
    static void FillWith(std::uint8_t* out, const std::uint8_t* value, std::size_t n) noexcept {
        for (std::size_t i = 0; i < n; ++i, out += Size) {
            std::memcpy(out, value, Size);
        }
    }

    // Pixel-sized copies of a constant size, which the compiler turns into plain stores.
    void Fill(std::uint8_t* out, std::size_t n) const noexcept {
        switch (px_) {
        case 1: std::memset(out, value_[0], n); break;
        case 2: FillWith<2>(out, value_, n); break;
        case 3: FillWith<3>(out, value_, n); break;
        default: FillWith<4>(out, value_, n); break;
        }
    }

    ByteReader& in_;
    bool encoded_;
    unsigned px_;
    std::size_t left_ = 0;
    bool repeat_ = false;
    std::uint8_t value_[4] = {};
};

}  // namespace

bool Probe(std::span<const std::uint8_t> bytes) noexcept { return Supported(bytes, Fields(bytes)); }

ImageInfo ReadHeader(std::span<const std::uint8_t> bytes) {
    const Header h = Parse(bytes);
    return {h.width, h.height};
}

Image24 Decode(std::span<const std::uint8_t> bytes) {
    const Header h = Parse(bytes);
    ByteReader in(bytes);
    in.Skip(kHeaderSize + h.idLength);
    ColourMap map;
    if (h.hasMap) {
        if (h.type == 1 || h.type == 9) {
            map = ReadMap(in, h);
        } else {
            in.Skip(std::size_t{h.mapLength} * ((h.mapDepth + 7) / 8));
        }
    }
    in.Require("TGA header");

    const Kind kind = KindOf(h);
    const unsigned px = (h.depth + 7) / 8;
    const bool encoded = h.type >= 9;
    const std::uint64_t pixels = std::uint64_t{h.width} * h.height;
    // A packet codes at most 128 pixels in 1 + px bytes.
    RequireInput(in.Remaining(), encoded ? (pixels / 128) * (1 + px) : pixels * px);

    Image24 image = Image24::Allocate(h.width, h.height);
    std::vector<std::uint8_t> raw(std::size_t{h.width} * px);
    RowReader reader(in, encoded, px);
    const bool topDown = (h.descriptor & 0x20) != 0;
    const bool rightToLeft = (h.descriptor & 0x10) != 0;
    const std::size_t w = h.width;
    for (std::uint32_t y = 0; y < h.height; ++y) {
        reader.Read(raw.data(), w);
        std::uint8_t* out = image.Row(topDown ? y : h.height - 1 - y);
        const std::uint8_t* src = raw.data();
        switch (kind) {
        case Kind::Indexed:
            for (std::size_t x = 0; x < w; ++x) {
                if (!map.valid[src[x]]) {
                    throw DecodeError("TGA colour index outside the map");
                }
            }
            IndicesToBgr(src, w, map.palette, out);
            break;
        case Kind::Grey:
            for (std::size_t x = 0; x < w; ++x, src += px, out += 3) {
                out[0] = out[1] = out[2] = src[0];
            }
            break;
        case Kind::Rgb16:
            for (std::size_t x = 0; x < w; ++x, src += 2, out += 3) {
                ColourToBgr(src, 2, out);
            }
            break;
        case Kind::Bgr24: std::memcpy(out, src, w * 3); break;
        case Kind::Bgra32:
            for (std::size_t x = 0; x < w; ++x, src += 4, out += 3) {
                out[0] = src[0];
                out[1] = src[1];
                out[2] = src[2];
            }
            break;
        }
        if (rightToLeft) {
            std::uint8_t* row = image.Row(topDown ? y : h.height - 1 - y);
            for (std::size_t a = 0, b = w - 1; a < b; ++a, --b) {
                std::swap_ranges(row + a * 3, row + a * 3 + 3, row + b * 3);
            }
        }
    }
    return image;
}

}  // namespace imaging::tga
