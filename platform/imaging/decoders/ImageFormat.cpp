#include "platform/imaging/decoders/ImageFormat.h"

#include <cstring>

#include "platform/imaging/decoders/EpsPreview.h"
#include "platform/imaging/decoders/IffDecoder.h"
#include "platform/imaging/decoders/PcxDecoder.h"
#include "platform/imaging/decoders/PictDecoder.h"
#include "platform/imaging/decoders/TgaDecoder.h"

namespace imaging {

namespace {

bool StartsWith(std::span<const std::uint8_t> bytes, std::initializer_list<std::uint8_t> magic) noexcept {
    return bytes.size() >= magic.size() && std::memcmp(bytes.data(), magic.begin(), magic.size()) == 0;
}

// "BM" alone is two letters of text; a bitmap also has one of the known info-header sizes.
bool IsBmp(std::span<const std::uint8_t> bytes) noexcept {
    if (bytes.size() < 18 || bytes[0] != 'B' || bytes[1] != 'M') {
        return false;
    }
    const std::uint32_t info = bytes[14] | (bytes[15] << 8) | (bytes[16] << 16) | (std::uint32_t{bytes[17]} << 24);
    return info == 12 || info == 40 || info == 52 || info == 56 || info == 64 || info == 108 || info == 124;
}

}  // namespace

ImageFormat DetectFormat(std::span<const std::uint8_t> bytes) noexcept {
    if (StartsWith(bytes, {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A})) {
        return ImageFormat::Png;
    }
    if (StartsWith(bytes, {0xFF, 0xD8, 0xFF})) {
        return ImageFormat::Jpeg;
    }
    if (StartsWith(bytes, {'G', 'I', 'F', '8', '7', 'a'}) || StartsWith(bytes, {'G', 'I', 'F', '8', '9', 'a'})) {
        return ImageFormat::Gif;
    }
    if (StartsWith(bytes, {'I', 'I', 42, 0}) || StartsWith(bytes, {'M', 'M', 0, 42})) {
        return ImageFormat::Tiff;
    }
    if (eps::Probe(bytes)) {
        return ImageFormat::Eps;
    }
    if (iff::Probe(bytes)) {
        return ImageFormat::Iff;
    }
    if (IsBmp(bytes)) {
        return ImageFormat::Bmp;
    }
    if (pict::Probe(bytes)) {
        return ImageFormat::Pict;
    }
    if (pcx::Probe(bytes)) {
        return ImageFormat::Pcx;
    }
    if (tga::Probe(bytes)) {
        return ImageFormat::Tga;
    }
    return ImageFormat::Unknown;
}

}  // namespace imaging
