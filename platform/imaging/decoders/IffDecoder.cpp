#include "platform/imaging/decoders/IffDecoder.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/imaging/decoders/ByteReader.h"
#include "platform/imaging/decoders/DecodeError.h"
#include "platform/imaging/decoders/PixelRows.h"

namespace imaging::iff {

namespace {

constexpr std::uint32_t Id(const char (&s)[5]) noexcept {
    return (std::uint32_t(std::uint8_t(s[0])) << 24) | (std::uint32_t(std::uint8_t(s[1])) << 16) |
           (std::uint32_t(std::uint8_t(s[2])) << 8) | std::uint32_t(std::uint8_t(s[3]));
}

constexpr std::uint32_t kCamgEhb = 0x80;
constexpr std::uint32_t kCamgHam = 0x800;

struct Form {
    bool chunky = false;  // PBM
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    unsigned planes = 0;
    unsigned masking = 0;
    unsigned compression = 0;
    std::uint32_t camg = 0;
    std::span<const std::uint8_t> cmap;
    std::span<const std::uint8_t> body;
    bool hasBody = false;
};

bool Signature(std::span<const std::uint8_t> bytes, bool& chunky) noexcept {
    if (bytes.size() < 12) {
        return false;
    }
    ByteReader in(bytes);
    const std::uint32_t form = in.U32BE();
    in.Skip(4);
    const std::uint32_t type = in.U32BE();
    chunky = type == Id("PBM ");
    return form == Id("FORM") && (type == Id("ILBM") || chunky);
}

Form Parse(std::span<const std::uint8_t> bytes) {
    Form f;
    if (!Signature(bytes, f.chunky)) {
        throw DecodeError("not an IFF picture");
    }
    ByteReader in(bytes);
    in.Skip(4);
    // Writers disagree on whether the FORM size counts a final pad byte: trust the file's end over it.
    const std::uint64_t formEnd = std::min<std::uint64_t>(std::uint64_t{in.U32BE()} + 8, bytes.size());
    in.Skip(4);
    bool hasHeader = false;
    while (in.Position() + 8 <= formEnd) {
        const std::uint32_t id = in.U32BE();
        const std::uint32_t length = in.U32BE();
        if (length > formEnd - in.Position()) {
            throw DecodeError("IFF chunk runs past its FORM");
        }
        const auto data = in.Take(length);
        if (length & 1) {
            in.Skip(1);  // chunks are padded to even length
        }
        if (id == Id("BMHD")) {
            ByteReader h(data);
            f.width = h.U16BE();
            f.height = h.U16BE();
            h.Skip(4);
            f.planes = h.U8();
            f.masking = h.U8();
            f.compression = h.U8();
            h.Require("IFF BMHD");
            hasHeader = true;
        } else if (id == Id("CMAP")) {
            f.cmap = data;
        } else if (id == Id("CAMG") && length >= 4) {
            ByteReader c(data);
            f.camg = c.U32BE();
        } else if (id == Id("BODY")) {
            f.body = data;
            f.hasBody = true;
            break;  // everything the picture needs comes before its body
        }
    }
    if (!hasHeader) {
        throw DecodeError("IFF picture without BMHD");
    }
    const bool planesOk = f.chunky ? f.planes == 8
                                   : (f.planes >= 1 && f.planes <= 8) || f.planes == 24 || f.planes == 32;
    if (!planesOk || f.compression > 1) {
        throw DecodeError("unsupported IFF picture layout");
    }
    CheckedLayout(f.width, f.height);
    return f;
}

Palette ColourMap(const Form& f) {
    const unsigned colours = 1u << (f.planes > 8 ? 8 : f.planes);
    Palette p = f.cmap.empty() ? Palette::GreyRamp(colours) : Palette{};
    const std::size_t entries = std::min<std::size_t>(f.cmap.size() / 3, 256);
    for (std::size_t i = 0; i < entries; ++i) {
        p.Set(i, f.cmap[i * 3], f.cmap[i * 3 + 1], f.cmap[i * 3 + 2]);
    }
    const bool ham = (f.camg & kCamgHam) != 0;
    const bool ehb = !ham && f.planes == 6 && ((f.camg & kCamgEhb) != 0 || entries == 32);
    if (ehb) {
        for (std::size_t i = 0; i < 32; ++i) {
            const std::uint8_t* c = p.bgr.data() + i * 3;
            p.Set(32 + i, c[2] >> 1, c[1] >> 1, c[0] >> 1);
        }
    }
    return p;
}

// Hold-and-modify: the top two bits of each index keep the last colour and change one component. As the
// display hardware does, the value replaces the component's top bits and its low bits are kept.
void HamToBgr(const std::uint8_t* indexes, std::size_t count, unsigned planes, const Palette& palette,
              std::uint8_t* out) noexcept {
    const unsigned valueBits = planes - 2;
    const unsigned valueMask = (1u << valueBits) - 1;
    const unsigned shift = 8 - valueBits;
    const unsigned keep = (1u << shift) - 1;
    const auto modify = [&](std::uint8_t c, unsigned v) { return static_cast<std::uint8_t>((v << shift) | (c & keep)); };
    std::uint8_t b = palette.bgr[0], g = palette.bgr[1], r = palette.bgr[2];
    for (std::size_t x = 0; x < count; ++x, out += 3) {
        const unsigned v = indexes[x] & valueMask;
        switch (indexes[x] >> valueBits) {
        case 0:
            b = palette.bgr[v * 3];
            g = palette.bgr[v * 3 + 1];
            r = palette.bgr[v * 3 + 2];
            break;
        case 1: b = modify(b, v); break;
        case 2: r = modify(r, v); break;
        default: g = modify(g, v); break;
        }
        out[0] = b;
        out[1] = g;
        out[2] = r;
    }
}

}  // namespace

bool Probe(std::span<const std::uint8_t> bytes) noexcept {
    bool chunky = false;
    return Signature(bytes, chunky);
}

ImageInfo ReadHeader(std::span<const std::uint8_t> bytes) {
    const Form f = Parse(bytes);
    return {f.width, f.height};
}

Image24 Decode(std::span<const std::uint8_t> bytes) {
    const Form f = Parse(bytes);
    if (!f.hasBody) {
        throw DecodeError("IFF picture without BODY");
    }
    const std::size_t w = f.width;
    const std::size_t planeBytes = f.chunky ? (w + 1) & ~std::size_t{1} : ((w + 15) / 16) * 2;
    const unsigned storedPlanes = f.chunky ? 1 : f.planes + (f.masking == 1 ? 1 : 0);
    const std::size_t rowSize = planeBytes * storedPlanes;
    const std::uint64_t total = std::uint64_t{rowSize} * f.height;
    // A ByteRun1 run codes at most 128 bytes in 2.
    RequireInput(f.body.size(), f.compression == 1 ? (total / 128) * 2 : total);

    const Palette palette = ColourMap(f);
    const bool ham = !f.chunky && (f.camg & kCamgHam) != 0 && (f.planes == 6 || f.planes == 8);
    Image24 image = Image24::Allocate(f.width, f.height);
    std::vector<std::uint8_t> row(rowSize);
    std::vector<std::uint8_t> channels(w * 3);
    ByteReader in(f.body);
    for (std::uint32_t y = 0; y < f.height; ++y) {
        if (f.compression == 1) {
            UnpackBits(in, row);
        } else {
            const auto raw = in.Take(rowSize);
            in.Require("IFF BODY");
            std::memcpy(row.data(), raw.data(), rowSize);
        }
        std::uint8_t* out = image.Row(y);
        if (f.chunky) {
            IndicesToBgr(row.data(), w, palette, out);
        } else if (f.planes <= 8) {
            std::uint8_t* indexes = channels.data();
            PlanarToIndices(row.data(), planeBytes, f.planes, w, indexes);
            if (ham) {
                HamToBgr(indexes, w, f.planes, palette, out);
            } else {
                IndicesToBgr(indexes, w, palette, out);
            }
        } else {
            std::uint8_t* r = channels.data();
            std::uint8_t* g = r + w;
            std::uint8_t* b = g + w;
            PlanarToIndices(row.data(), planeBytes, 8, w, r);
            PlanarToIndices(row.data() + 8 * planeBytes, planeBytes, 8, w, g);
            PlanarToIndices(row.data() + 16 * planeBytes, planeBytes, 8, w, b);
            for (std::size_t x = 0; x < w; ++x, out += 3) {
                out[0] = b[x];
                out[1] = g[x];
                out[2] = r[x];
            }
        }
    }
    return image;
}

}  // namespace imaging::iff
