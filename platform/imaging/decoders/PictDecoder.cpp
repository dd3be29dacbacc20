#include "platform/imaging/decoders/PictDecoder.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "platform/imaging/decoders/ByteReader.h"
#include "platform/imaging/decoders/DecodeError.h"
#include "platform/imaging/decoders/PixelRows.h"

namespace imaging::pict {

namespace {

constexpr std::size_t kFileHeader = 512;
// A bitmap may be drawn scaled up or small on a larger frame, but a few bytes must not buy a huge frame:
// past 4 megapixels, at most 1024 frame pixels per byte of file (blank packed rows of a 1-bit picture,
// the most compact real case, take about one byte per 400 pixels).
constexpr std::uint64_t kFreeFramePixels = std::uint64_t{1} << 22;
constexpr std::uint64_t kFramePixelsPerByte = 1024;

struct Rect {
    std::int32_t top = 0, left = 0, bottom = 0, right = 0;
    std::int32_t Width() const noexcept { return right - left; }
    std::int32_t Height() const noexcept { return bottom - top; }
};

Rect ReadRect(ByteReader& in) noexcept {
    Rect r;
    r.top = in.I16BE();
    r.left = in.I16BE();
    r.bottom = in.I16BE();
    r.right = in.I16BE();
    return r;
}

struct Start {
    std::size_t base = 0;  // where the picture (its size word) begins
    int version = 0;
    Rect frame;
};

std::optional<Start> FindStart(std::span<const std::uint8_t> bytes) noexcept {
    for (const std::size_t base : {kFileHeader, std::size_t{0}}) {
        if (bytes.size() < base + 14) {
            continue;
        }
        const std::uint8_t* v = bytes.data() + base + 10;
        int version = 0;
        if (v[0] == 0x11 && v[1] == 0x01) {
            version = 1;
        } else if (v[0] == 0x00 && v[1] == 0x11 && v[2] == 0x02 && v[3] == 0xFF) {
            version = 2;
        } else {
            continue;
        }
        ByteReader in(bytes.subspan(base + 2, 8));
        return Start{base, version, ReadRect(in)};
    }
    return std::nullopt;
}

Start Parse(std::span<const std::uint8_t> bytes) {
    const auto start = FindStart(bytes);
    if (!start) {
        throw DecodeError("not a PICT file");
    }
    if (start->frame.Width() <= 0 || start->frame.Height() <= 0) {
        throw DecodeError("empty PICT frame");
    }
    CheckedLayout(static_cast<std::uint32_t>(start->frame.Width()),
                  static_cast<std::uint32_t>(start->frame.Height()));
    return *start;
}

// A bitmap or pixmap header with its colour table: everything needed to turn its rows into BGR.
struct PixMap {
    std::size_t rowBytes = 0;
    Rect bounds;
    unsigned packType = 0;
    unsigned pixelSize = 1;
    unsigned cmpCount = 1;
    Palette palette;
};

void ReadColourTable(ByteReader& in, Palette& palette) {
    in.Skip(4);  // seed
    const unsigned flags = in.U16BE();
    const unsigned count = in.U16BE() + 1u;
    const bool byPosition = (flags & 0x8000) != 0;
    for (unsigned i = 0; i < count && !in.Failed(); ++i) {
        // 16-bit components, 0xFFFF full: the nearest 8-bit level, not just the high byte.
        const auto level = [&in] { return static_cast<std::uint8_t>((in.U16BE() + 128u) / 257u); };
        const unsigned value = in.U16BE();
        const std::uint8_t r = level();
        const std::uint8_t g = level();
        const std::uint8_t b = level();
        const unsigned index = byPosition ? i : value;
        if (index < 256) {
            palette.Set(index, r, g, b);
        }
    }
    in.Require("PICT colour table");
}

// The fields after rowBytes and bounds of a pixmap (version .. reserved, 36 bytes).
void ReadPixMapFields(ByteReader& in, PixMap& pm) {
    in.Skip(2);  // version
    pm.packType = in.U16BE();
    in.Skip(4 + 4 + 4 + 2);  // packSize, hRes, vRes, pixelType
    pm.pixelSize = in.U16BE();
    pm.cmpCount = in.U16BE();
    in.Skip(2 + 4 + 4 + 4);  // cmpSize, planeBytes, pmTable, reserved
    in.Require("PICT pixmap");
}

// rowBytes, bounds and, for a pixmap, its fields and (indexed only) its colour table.
PixMap ReadMapHeader(ByteReader& in, bool direct) {
    PixMap pm;
    const unsigned rowBytes = in.U16BE();
    const bool isPixMap = (rowBytes & 0x8000) != 0;
    pm.rowBytes = rowBytes & (isPixMap ? 0x3FFF : 0x7FFF);
    pm.bounds = ReadRect(in);
    if (isPixMap) {
        ReadPixMapFields(in, pm);
    } else if (direct) {
        throw DecodeError("PICT direct bits without a pixmap");
    } else {
        pm.palette.Set(0, 255, 255, 255);  // a plain bitmap: 0 is white, 1 black
    }
    if (direct) {
        if (!((pm.pixelSize == 16 && pm.cmpCount == 3) ||
              (pm.pixelSize == 32 && (pm.cmpCount == 3 || pm.cmpCount == 4)))) {
            throw DecodeError("unsupported PICT direct pixel layout");
        }
        if (pm.packType == 0) {
            pm.packType = pm.pixelSize == 16 ? 3 : 4;
        }
        if (pm.rowBytes < 8 && pm.packType <= 4) {
            pm.packType = 1;  // rows under 8 bytes are never packed: plain pixels whatever the pack type
        }
        if (pm.packType > 4 || (pm.pixelSize == 16 && (pm.packType == 2 || pm.packType == 4)) ||
            (pm.pixelSize == 32 && pm.packType == 3)) {
            throw DecodeError("unsupported PICT pack type");
        }
    } else {
        if (isPixMap) {
            ReadColourTable(in, pm.palette);
        }
        if (pm.pixelSize != 1 && pm.pixelSize != 2 && pm.pixelSize != 4 && pm.pixelSize != 8) {
            throw DecodeError("unsupported PICT pixel size");
        }
        pm.packType = 0;
    }
    if (pm.bounds.Width() <= 0 || pm.bounds.Height() <= 0) {
        throw DecodeError("empty PICT bitmap");
    }
    const std::uint64_t needBits = std::uint64_t(pm.bounds.Width()) * pm.pixelSize;
    if (pm.packType != 2 && pm.packType != 4 && std::uint64_t{pm.rowBytes} * 8 < needBits) {
        throw DecodeError("PICT rows too short for their width");
    }
    return pm;
}

struct RowLayout {
    bool packed = false;
    bool wideCount = false;   // a packed row's byte count is a word
    std::size_t rowSize = 0;  // bytes of one unpacked row
};

RowLayout LayoutOf(const PixMap& pm, bool packedOpcode) noexcept {
    RowLayout l;
    const std::size_t width = static_cast<std::size_t>(pm.bounds.Width());
    l.packed = packedOpcode && pm.rowBytes >= 8 && pm.packType != 1 && pm.packType != 2;
    l.wideCount = pm.rowBytes > 250;
    l.rowSize = pm.packType == 4 ? width * pm.cmpCount : pm.packType == 2 ? width * 3 : pm.rowBytes;
    return l;
}

// A packed row is at least its count; unpacked rows are all there. Checked before anything is allocated.
void RequireRows(const ByteReader& in, const PixMap& pm, const RowLayout& l) {
    const std::uint64_t rows = static_cast<std::uint64_t>(pm.bounds.Height());
    RequireInput(in.Remaining(), rows * (l.packed ? (l.wideCount ? 2 : 1) : l.rowSize));
}

// Decodes the rows of `pm` and hands each, as BGR, to draw(row index, bgr).
template <typename Draw>
void ReadRows(ByteReader& in, const PixMap& pm, bool packed, Draw&& draw) {
    const std::size_t width = static_cast<std::size_t>(pm.bounds.Width());
    const std::size_t rows = static_cast<std::size_t>(pm.bounds.Height());
    const RowLayout layout = LayoutOf(pm, packed);
    RequireRows(in, pm, layout);
    packed = layout.packed;
    const std::size_t rowSize = layout.rowSize;
    const bool wideCount = layout.wideCount;

    std::vector<std::uint8_t> row(rowSize);
    std::vector<std::uint8_t> bgr(width * 3);
    std::vector<std::uint8_t> indexes(pm.pixelSize <= 8 ? width : 0);
    const unsigned unit = pm.packType == 3 ? 2 : 1;
    for (std::size_t y = 0; y < rows; ++y) {
        if (packed) {
            const std::size_t count = wideCount ? in.U16BE() : in.U8();
            ByteReader rowIn(in.Take(count));
            in.Require("PICT pixel data");
            UnpackBits(rowIn, row, unit);
        } else {
            const auto raw = in.Take(rowSize);
            in.Require("PICT pixel data");
            std::memcpy(row.data(), raw.data(), rowSize);
        }
        const std::uint8_t* src = row.data();
        std::uint8_t* out = bgr.data();
        if (pm.pixelSize <= 8) {
            ExpandIndices(src, pm.pixelSize, width, indexes.data());
            IndicesToBgr(indexes.data(), width, pm.palette, out);
        } else if (pm.pixelSize == 16) {
            for (std::size_t x = 0; x < width; ++x, src += 2, out += 3) {
                Rgb555ToBgr((src[0] << 8) | src[1], out);
            }
        } else if (pm.packType == 4) {
            // Component planes, alpha first when there are four.
            const std::uint8_t* r = src + (pm.cmpCount == 4 ? width : 0);
            const std::uint8_t* g = r + width;
            const std::uint8_t* b = g + width;
            for (std::size_t x = 0; x < width; ++x, out += 3) {
                out[0] = b[x];
                out[1] = g[x];
                out[2] = r[x];
            }
        } else {
            const std::size_t step = pm.packType == 2 ? 3 : 4;
            const std::size_t skip = step - 3;  // the pad byte leads an unpacked pixel
            for (std::size_t x = 0; x < width; ++x, src += step, out += 3) {
                out[0] = src[skip + 2];
                out[1] = src[skip + 1];
                out[2] = src[skip];
            }
        }
        draw(y, bgr.data());
    }
}

// Copies rows of a bitmap's srcRect into dstRect of the picture, nearest neighbour when they differ in
// size, clipped to the frame. Rows arrive in order, so each source row is drawn to its target rows at once.
class Blitter {
public:
    Blitter(Image24& image, const Rect& frame, const PixMap& pm, const Rect& src, const Rect& dst)
        : image_(image), frame_(frame), bounds_(pm.bounds), src_(src), dst_(dst), nextDy_(dst.top) {
        if (src.Width() <= 0 || src.Height() <= 0 || dst.Width() <= 0 || dst.Height() <= 0) {
            nextDy_ = dst_.bottom;  // draws nothing
            return;
        }
        const std::int32_t from = std::max(dst.left, frame.left);
        const std::int32_t to = std::min(dst.right, frame.right);
        for (std::int32_t dx = from; dx < to; ++dx) {
            const std::int64_t sx =
                src.left + std::int64_t(dx - dst.left) * src.Width() / dst.Width() - bounds_.left;
            if (sx >= 0 && sx < bounds_.Width()) {
                columns_.push_back({static_cast<std::size_t>(dx - frame.left) * 3, static_cast<std::size_t>(sx) * 3});
            }
        }
        // Same width and no clipping inside: one copy per row.
        contiguous_ = !columns_.empty() &&
                      columns_.back().out - columns_.front().out == (columns_.size() - 1) * 3 &&
                      columns_.back().in - columns_.front().in == (columns_.size() - 1) * 3;
    }

    void operator()(std::size_t row, const std::uint8_t* bgr) {
        const std::int64_t sy = bounds_.top + std::int64_t(row);
        while (nextDy_ < dst_.bottom) {
            const std::int64_t mapped = src_.top + std::int64_t(nextDy_ - dst_.top) * src_.Height() / dst_.Height();
            if (mapped > sy) {
                return;
            }
            if (mapped == sy && nextDy_ >= frame_.top && nextDy_ < frame_.bottom) {
                std::uint8_t* out = image_.Row(static_cast<std::uint32_t>(nextDy_ - frame_.top));
                if (contiguous_) {
                    std::memcpy(out + columns_.front().out, bgr + columns_.front().in, columns_.size() * 3);
                } else {
                    for (const auto& c : columns_) {
                        std::memcpy(out + c.out, bgr + c.in, 3);
                    }
                }
            }
            ++nextDy_;
        }
    }

private:
    struct Column {
        std::size_t out;
        std::size_t in;
    };
    Image24& image_;
    Rect frame_, bounds_, src_, dst_;
    std::int32_t nextDy_;
    std::vector<Column> columns_;
    bool contiguous_ = false;
};

void SkipRegion(ByteReader& in) {
    const unsigned size = in.U16BE();
    if (size < 10) {
        throw DecodeError("bad PICT region");
    }
    in.Skip(size - 2);
}

// A pixel pattern (opcodes 0x12-0x14): a colour pattern carries a whole pixmap, read and discarded.
void SkipPixPat(ByteReader& in) {
    const unsigned type = in.U16BE();
    in.Skip(8);
    if (type == 1) {
        const PixMap pm = ReadMapHeader(in, false);
        ReadRows(in, pm, true, [](std::size_t, const std::uint8_t*) {});
    } else if (type == 2) {
        in.Skip(6);
    }
}

void SkipText(ByteReader& in, std::size_t before) {
    in.Skip(before);
    in.Skip(in.U8());
}

// Skips the data of every opcode other than the bitmaps and the end.
void SkipOpcode(ByteReader& in, unsigned op, int version) {
    if (op >= 0x0100) {
        if (op <= 0x7FFF) {
            in.Skip((op >> 8) * 2u);
        } else if (op >= 0x8100) {
            in.Skip(in.U32BE());
        }
        return;
    }
    switch (op) {
    case 0x01: SkipRegion(in); return;
    case 0x03: case 0x05: case 0x08: case 0x0D: case 0x15: case 0x16: case 0x23: case 0xA0: in.Skip(2); return;
    case 0x04: in.Skip(1); return;
    case 0x06: case 0x07: case 0x0B: case 0x0C: case 0x0E: case 0x0F: case 0x21: in.Skip(4); return;
    case 0x02: case 0x09: case 0x0A: case 0x10: case 0x20: in.Skip(8); return;
    case 0x11: in.Skip(version == 1 ? 1 : 2); return;
    case 0x12: case 0x13: case 0x14: SkipPixPat(in); return;
    case 0x1A: case 0x1B: case 0x1D: case 0x1F: case 0x22: in.Skip(6); return;
    case 0x28: SkipText(in, 4); return;
    case 0x29: case 0x2A: SkipText(in, 1); return;
    case 0x2B: SkipText(in, 2); return;
    case 0xA1: in.Skip(2); in.Skip(in.U16BE()); return;
    default: break;
    }
    if ((op >= 0x24 && op <= 0x27) || (op >= 0x2C && op <= 0x2F) || (op >= 0x92 && op <= 0x97) ||
        (op >= 0x9C && op <= 0x9F) || (op >= 0xA2 && op <= 0xAF)) {
        in.Skip(in.U16BE());
    } else if ((op >= 0x30 && op <= 0x37) || (op >= 0x40 && op <= 0x47) || (op >= 0x50 && op <= 0x57)) {
        in.Skip(8);
    } else if (op >= 0x60 && op <= 0x67) {
        in.Skip(12);
    } else if (op >= 0x68 && op <= 0x6F) {
        in.Skip(4);
    } else if ((op >= 0x70 && op <= 0x77) || (op >= 0x80 && op <= 0x87)) {
        const unsigned size = in.U16BE();
        if (size < 2) {
            throw DecodeError("bad PICT polygon or region");
        }
        in.Skip(size - 2);
    } else if (op >= 0xD0 && op <= 0xFE) {
        in.Skip(in.U32BE());
    }
    // The rest (0x00, 0x17-0x19, 0x1C, 0x1E, same-shape and reserved 0xB0-0xCF) have no data.
}

template <typename Target>
void DrawBits(ByteReader& in, unsigned op, Target&& target, const Rect& frame) {
    const bool direct = op == 0x9A || op == 0x9B;
    if (direct) {
        in.Skip(4);  // base address
    }
    const PixMap pm = ReadMapHeader(in, direct);
    const Rect src = ReadRect(in);
    const Rect dst = ReadRect(in);
    in.Skip(2);  // transfer mode: drawn as a copy
    if (op == 0x91 || op == 0x99 || op == 0x9B) {
        SkipRegion(in);  // the mask: the whole rectangle is drawn
    }
    in.Require("PICT bitmap header");
    const bool packed = op != 0x90 && op != 0x91;
    RequireRows(in, pm, LayoutOf(pm, packed));
    ReadRows(in, pm, packed, Blitter(target(), frame, pm, src, dst));
}

}  // namespace

bool Probe(std::span<const std::uint8_t> bytes) noexcept { return FindStart(bytes).has_value(); }

ImageInfo ReadHeader(std::span<const std::uint8_t> bytes) {
    const Start s = Parse(bytes);
    return {static_cast<std::uint32_t>(s.frame.Width()), static_cast<std::uint32_t>(s.frame.Height())};
}

Image24 Decode(std::span<const std::uint8_t> bytes) {
    const Start s = Parse(bytes);
    ByteReader in(bytes);
    in.Seek(s.base + 10 + (s.version == 1 ? 2 : 4));
    std::optional<Image24> image;
    const auto target = [&]() -> Image24& {
        if (!image) {
            const std::uint64_t pixels = std::uint64_t(s.frame.Width()) * std::uint64_t(s.frame.Height());
            RequireInput(kFreeFramePixels + bytes.size() * kFramePixelsPerByte, pixels);
            image = Image24::Allocate(static_cast<std::uint32_t>(s.frame.Width()),
                                      static_cast<std::uint32_t>(s.frame.Height()), 0xFF);
        }
        return *image;
    };
    // Every opcode takes at least one byte, so the loop ends with the input.
    for (;;) {
        if (s.version == 2 && ((in.Position() - s.base) & 1) != 0) {
            in.Skip(1);  // version 2 opcodes are word-aligned
        }
        const unsigned op = s.version == 1 ? in.U8() : in.U16BE();
        if (in.Failed() || op == 0xFF) {
            break;
        }
        if (op == 0x90 || op == 0x91 || op == 0x98 || op == 0x99 || op == 0x9A || op == 0x9B) {
            DrawBits(in, op, target, s.frame);
        } else {
            SkipOpcode(in, op, s.version);
            in.Require("PICT opcode");
        }
    }
    if (!image) {
        throw DecodeError("PICT without a bitmap");
    }
    return std::move(*image);
}

}  // namespace imaging::pict
