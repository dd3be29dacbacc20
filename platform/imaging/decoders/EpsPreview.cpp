#include "platform/imaging/decoders/EpsPreview.h"

#include "platform/imaging/decoders/ByteReader.h"
#include "platform/imaging/decoders/DecodeError.h"

namespace imaging::eps {

namespace {

constexpr std::size_t kHeaderSize = 30;

}  // namespace

bool Probe(std::span<const std::uint8_t> bytes) noexcept {
    return bytes.size() >= 4 && bytes[0] == 0xC5 && bytes[1] == 0xD0 && bytes[2] == 0xD3 && bytes[3] == 0xC6;
}

Preview FindPreview(std::span<const std::uint8_t> bytes) {
    if (!Probe(bytes) || bytes.size() < kHeaderSize) {
        throw DecodeError("not an EPS file with a binary header");
    }
    ByteReader in(bytes);
    in.Skip(4 + 8);  // signature, PostScript section
    const std::uint32_t wmfOffset = in.U32LE();
    const std::uint32_t wmfLength = in.U32LE();
    const std::uint32_t tiffOffset = in.U32LE();
    const std::uint32_t tiffLength = in.U32LE();
    in.Require("EPS header");
    const auto section = [&](PreviewKind kind, std::uint64_t offset, std::uint64_t length) -> Preview {
        if (offset < kHeaderSize || offset + length > bytes.size()) {
            throw DecodeError("EPS preview outside the file");
        }
        const auto at = static_cast<std::size_t>(offset);
        const auto size = static_cast<std::size_t>(length);
        return {kind, at, size, bytes.subspan(at, size)};
    };
    if (tiffOffset != 0 && tiffLength != 0) {
        return section(PreviewKind::Tiff, tiffOffset, tiffLength);
    }
    if (wmfOffset != 0 && wmfLength != 0) {
        return section(PreviewKind::Wmf, wmfOffset, wmfLength);
    }
    throw DecodeError("EPS file without a preview");
}

}  // namespace imaging::eps
