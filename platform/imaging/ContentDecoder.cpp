#include "platform/imaging/ContentDecoder.h"

#include <windows.h>

#include <cstring>

#include "platform/runtime/OwnedHandles.h"
#include "platform/imaging/Wic.h"
#include "platform/imaging/decoders/DecodeError.h"
#include "platform/imaging/decoders/EpsPreview.h"
#include "platform/imaging/decoders/IffDecoder.h"
#include "platform/imaging/decoders/ImageFormat.h"
#include "platform/imaging/decoders/PcxDecoder.h"
#include "platform/imaging/decoders/MetafileStructure.h"
#include "platform/imaging/decoders/PictDecoder.h"
#include "platform/imaging/decoders/SystemCodecCheck.h"
#include "platform/imaging/decoders/TgaDecoder.h"

namespace imaging {

Image24 DecodeWindowsMetafile(std::span<const std::uint8_t> bytes) {
    if (bytes.empty() || bytes.size() > 0x7FFFFFFFu) throw DecodeError("metafile size");
    wmf::CheckStructure(bytes);
    forms::UniqueEnhMetaFile metafile(SetWinMetaFileBits(static_cast<UINT>(bytes.size()), bytes.data(), nullptr, nullptr));
    if (!metafile) throw DecodeError("metafile unreadable");
    ENHMETAHEADER header = {};
    if (GetEnhMetaFileHeader(metafile.get(), sizeof(header), &header) == 0) throw DecodeError("metafile header");
    const std::int64_t width = std::int64_t{header.rclBounds.right} - header.rclBounds.left + 1;
    const std::int64_t height = std::int64_t{header.rclBounds.bottom} - header.rclBounds.top + 1;
    if (width <= 0 || height <= 0) throw DecodeError("metafile is empty");
    Image24 image = Image24::Allocate(static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height), 0xFF);

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = static_cast<LONG>(image.width);
    info.bmiHeader.biHeight = -static_cast<LONG>(image.height);
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    forms::UniqueBitmap canvas(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    forms::UniqueDC dc(CreateCompatibleDC(nullptr));
    if (!canvas || !bits || !dc) throw DecodeError("no canvas for the metafile");
    std::memcpy(bits, image.pixels.data(), image.pixels.size());
    {
        const forms::ScopedSelect selected(dc.get(), canvas.get());
        const RECT area{0, 0, static_cast<LONG>(image.width), static_cast<LONG>(image.height)};
        if (!selected.Selected() || !PlayEnhMetaFile(dc.get(), metafile.get(), &area)) {
            throw DecodeError("metafile does not play");
        }
        GdiFlush();
    }
    std::memcpy(image.pixels.data(), bits, image.pixels.size());
    return image;
}

Image24 DecodeContent(std::span<const std::uint8_t> bytes) {
    switch (DetectFormat(bytes)) {
    case ImageFormat::Pcx: return pcx::Decode(bytes);
    case ImageFormat::Tga: return tga::Decode(bytes);
    case ImageFormat::Pict: return pict::Decode(bytes);
    case ImageFormat::Iff: return iff::Decode(bytes);
    case ImageFormat::Eps: {
        const eps::Preview preview = eps::FindPreview(bytes);
        if (preview.kind == eps::PreviewKind::Tiff) return WicDecode(preview.bytes);
        return DecodeWindowsMetafile(preview.bytes);
    }
    // Formats every Windows reads itself; a file misnamed as one of ours still opens.
    case ImageFormat::Png:
    case ImageFormat::Tiff:
    case ImageFormat::Jpeg:
    case ImageFormat::Bmp:
    case ImageFormat::Gif:
        CheckBeforeSystemCodec(bytes);
        return WicDecode(bytes);
    case ImageFormat::Unknown: break;
    }
    throw DecodeError("unknown format");
}

}  // namespace imaging
