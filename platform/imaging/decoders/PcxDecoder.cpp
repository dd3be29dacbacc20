#include "platform/imaging/decoders/PcxDecoder.h"

#include <cstring>
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

// Run-length lines; a run may go on into the next line, as some writers let it.
class LineReader {
public:
    LineReader(std::span<const std::uint8_t> data, bool encoded) : in_(data), encoded_(encoded) {}

    void Read(std::uint8_t* line, std::size_t size) {
        if (!encoded_) {
            const auto raw = in_.Take(size);
            if (raw.empty() && size != 0) {
                throw DecodeError("truncated PCX data");
            }
            std::memcpy(line, raw.data(), size);
            return;
        }
        std::size_t pos = 0;
        while (pos < size) {
            if (pending_ == 0) {
                const unsigned b = in_.U8();
                if ((b & 0xC0) == 0xC0) {
                    pending_ = b & 0x3F;
                    value_ = in_.U8();
                } else {
                    pending_ = 1;
                    value_ = static_cast<std::uint8_t>(b);
                }
                if (in_.Failed()) {
                    throw DecodeError("truncated PCX data");
                }
            }
            const std::size_t n = pending_ < size - pos ? pending_ : size - pos;
            std::memset(line + pos, value_, n);
            pos += n;
            pending_ -= n;
        }
    }

private:
    ByteReader in_;
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
    std::vector<std::uint8_t> line(lineSize);
    std::vector<std::uint8_t> indexes(h.planes == 1 && h.bits == 8 ? 0 : std::size_t{h.width} + 8);
    LineReader reader(data, h.encoded);
    const std::size_t w = h.width;
    for (std::uint32_t y = 0; y < h.height; ++y) {
        reader.Read(line.data(), lineSize);
        std::uint8_t* out = image.Row(y);
        if (h.bits == 8 && h.planes >= 3) {
            const std::uint8_t* r = line.data();
            const std::uint8_t* g = r + h.bytesPerLine;
            const std::uint8_t* b = g + h.bytesPerLine;
            for (std::size_t x = 0; x < w; ++x) {
                out[0] = b[x];
                out[1] = g[x];
                out[2] = r[x];
                out += 3;
            }
        } else if (h.bits == 8) {
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
