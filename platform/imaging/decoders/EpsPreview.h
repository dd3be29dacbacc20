#pragma once
// EPS files with the DOS binary header carry a screen preview beside the PostScript: a TIFF or a Windows
// metafile. We do not render PostScript; the preview is what is shown, decoded on the Windows side.

#include <cstddef>
#include <cstdint>
#include <span>

namespace imaging::eps {

enum class PreviewKind { Tiff, Wmf };

struct Preview {
    PreviewKind kind = PreviewKind::Tiff;
    std::size_t offset = 0;
    std::size_t length = 0;
    std::span<const std::uint8_t> bytes;  // the preview inside the file's bytes
};

// The DOS EPS signature C5 D0 D3 C6.
bool Probe(std::span<const std::uint8_t> bytes) noexcept;
// The TIFF preview when there is one, else the metafile. Throws DecodeError for a file without a preview
// or one whose offsets fall outside the file.
Preview FindPreview(std::span<const std::uint8_t> bytes);

}  // namespace imaging::eps
