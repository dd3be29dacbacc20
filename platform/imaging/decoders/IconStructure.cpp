#include "platform/imaging/decoders/IconStructure.h"

#include <algorithm>
#include <array>

#include "platform/imaging/decoders/ByteReader.h"
#include "platform/imaging/decoders/DecodeError.h"

namespace imaging::icon {

namespace {

constexpr std::size_t kDirectory = 6;
constexpr std::size_t kEntry = 16;
constexpr std::uint32_t kSmallestBitmapHeader = 12;
constexpr std::array<std::uint8_t, 8> kPng{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

}  // namespace

void CheckStructure(std::span<const std::uint8_t> bytes) {
    ByteReader in(bytes);
    const unsigned reserved = in.U16LE();
    const unsigned type = in.U16LE();
    const std::size_t count = in.U16LE();
    in.Require("icon directory");
    if (reserved != 0 || (type != 1 && type != 2)) throw DecodeError("no icon directory");
    if (count == 0) throw DecodeError("no icon image");
    const std::size_t imagesStart = kDirectory + count * kEntry;
    if (imagesStart > bytes.size()) throw DecodeError("truncated icon directory");
    for (std::size_t i = 0; i < count; ++i) {
        in.Seek(kDirectory + i * kEntry + 8);
        const std::uint64_t size = in.U32LE();
        const std::uint64_t offset = in.U32LE();
        if (size == 0 || offset < imagesStart || offset + size > bytes.size()) {
            throw DecodeError("icon image outside the file");
        }
        const std::span<const std::uint8_t> image = bytes.subspan(static_cast<std::size_t>(offset),
                                                                  static_cast<std::size_t>(size));
        if (image.size() >= kPng.size() && std::equal(kPng.begin(), kPng.end(), image.begin())) continue;
        ByteReader header(image);
        const std::uint32_t headerSize = header.U32LE();
        if (header.Failed() || headerSize < kSmallestBitmapHeader || headerSize > image.size()) {
            throw DecodeError("icon bitmap header");
        }
    }
}

}  // namespace imaging::icon
