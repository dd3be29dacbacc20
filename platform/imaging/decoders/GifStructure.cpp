#include "platform/imaging/decoders/GifStructure.h"

#include "platform/imaging/decoders/ByteReader.h"
#include "platform/imaging/decoders/DecodeError.h"
#include "platform/imaging/decoders/Image24.h"

namespace imaging::gif {

namespace {

constexpr std::uint8_t kExtension = 0x21;
constexpr std::uint8_t kImage = 0x2C;
constexpr std::uint8_t kTrailer = 0x3B;
constexpr std::uint8_t kHasTable = 0x80;
// The largest LZW code is 12 bits; its first codes are one bit wider than the minimum size.
constexpr unsigned kMaxCodeSize = 11;

// A colour table follows when the packed field says so: 2^(n+1) entries of three bytes.
bool SkipColourTable(ByteReader& in, unsigned packed) {
    if ((packed & kHasTable) == 0) return false;
    in.Skip(std::size_t{3} << ((packed & 0x07) + 1));
    in.Require("colour table");
    return true;
}

// Data sub-blocks, each led by its length, up to the empty one that ends them.
void SkipSubBlocks(ByteReader& in, const char* what) {
    for (;;) {
        const std::size_t length = in.U8();
        in.Require(what);
        if (length == 0) return;
        in.Skip(length);
        in.Require(what);
    }
}

}  // namespace

Structure CheckStructure(std::span<const std::uint8_t> bytes) {
    ByteReader in(bytes);
    const std::span<const std::uint8_t> signature = in.Take(6);
    if (signature.empty() || signature[0] != 'G' || signature[1] != 'I' || signature[2] != 'F' ||
        signature[3] != '8' || (signature[4] != '7' && signature[4] != '9') || signature[5] != 'a') {
        throw DecodeError("no GIF signature");
    }
    Structure s;
    s.gif89a = signature[4] == '9';
    s.width = in.U16LE();
    s.height = in.U16LE();
    const unsigned screenPacked = in.U8();
    in.Skip(2);  // background index, aspect ratio
    in.Require("logical screen");
    if (std::uint64_t{s.width} * s.height > kMaxPixels) throw DecodeError("canvas too large");
    const bool globalTable = SkipColourTable(in, screenPacked);

    std::uint64_t framePixels = 0;
    for (;;) {
        const std::uint8_t introducer = in.U8();
        if (in.Failed()) break;  // the trailer is missing: the blocks before it are whole
        if (introducer == kTrailer) break;
        if (introducer == kExtension) {
            in.Skip(1);  // label
            SkipSubBlocks(in, "extension");
            continue;
        }
        if (introducer != kImage) throw DecodeError("unknown block");
        in.Skip(4);  // left, top
        const std::uint32_t width = in.U16LE();
        const std::uint32_t height = in.U16LE();
        const unsigned packed = in.U8();
        in.Require("image descriptor");
        if (!SkipColourTable(in, packed) && !globalTable) throw DecodeError("image without a colour table");
        const unsigned codeSize = in.U8();
        in.Require("image data");
        if (codeSize == 0 || codeSize > kMaxCodeSize) throw DecodeError("bad LZW code size");
        SkipSubBlocks(in, "image data");
        if (++s.frames > kMaxFrames) throw DecodeError("too many frames");
        const std::uint64_t pixels = std::uint64_t{width} * height;
        if (pixels > kMaxPixels) throw DecodeError("frame too large");
        framePixels += pixels;
        if (framePixels > kMaxFramePixels) throw DecodeError("frames too large together");
    }
    if (s.frames == 0) throw DecodeError("no image");
    return s;
}

}  // namespace imaging::gif
