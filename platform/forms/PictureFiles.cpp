#include "platform/forms/PictureFiles.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/OwnedHandles.h"

namespace forms {
namespace {

constexpr std::size_t kFileHeader = 14;

std::uint32_t ReadU32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    if (at + 4 > bytes.size()) return 0;
    return bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16) | (static_cast<std::uint32_t>(bytes[at + 3]) << 24);
}

std::uint16_t ReadU16(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    if (at + 2 > bytes.size()) return 0;
    return static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

class Writer {
public:
    void U16(std::uint32_t value) { Bytes(&value, 2); }
    void U32(std::uint32_t value) { Bytes(&value, 4); }  // little-endian on every Windows target
    void Bytes(const void* data, std::size_t size) {
        const auto* p = static_cast<const std::uint8_t*>(data);
        bytes_.insert(bytes_.end(), p, p + size);
    }
    std::vector<std::uint8_t> Take() { return std::move(bytes_); }

private:
    std::vector<std::uint8_t> bytes_;
};

std::size_t RowBytes(LONG width, int bitCount) { return ((static_cast<std::size_t>(width) * bitCount + 31) / 32) * 4; }

BITMAPINFOHEADER BottomUp(LONG width, LONG height, WORD bitCount) {
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = bitCount;
    header.biCompression = BI_RGB;
    header.biSizeImage = static_cast<DWORD>(RowBytes(width, bitCount) * static_cast<std::size_t>(height));
    return header;
}

BITMAP BitmapSize(HBITMAP bitmap) {
    BITMAP size{};
    if (!bitmap || GetObjectA(bitmap, sizeof size, &size) == 0 || size.bmWidth <= 0 || size.bmHeight <= 0) {
        throw RuntimeError(err::InvalidPicture);
    }
    return size;
}

// The bitmap's pixels at the given depth, bottom-up rows.
std::vector<std::uint8_t> PixelsOf(HBITMAP bitmap, HPALETTE palette, WORD bitCount, BITMAPINFO& info) {
    const BITMAP size = BitmapSize(bitmap);
    info.bmiHeader = BottomUp(size.bmWidth, size.bmHeight, bitCount);
    std::vector<std::uint8_t> pixels(info.bmiHeader.biSizeImage);
    const UniqueDC dc(CreateCompatibleDC(nullptr));
    const HPALETTE oldPalette = palette ? SelectPalette(dc.get(), palette, FALSE) : nullptr;
    if (palette) RealizePalette(dc.get());
    const int lines = GetDIBits(dc.get(), bitmap, 0, static_cast<UINT>(size.bmHeight), pixels.data(), &info,
                                DIB_RGB_COLORS);
    if (oldPalette) SelectPalette(dc.get(), oldPalette, FALSE);
    if (lines != size.bmHeight) throw RuntimeError(err::InvalidPicture);
    return pixels;
}

}  // namespace

bool IsRleBitmap(const std::vector<std::uint8_t>& file) {
    if (file.size() < kFileHeader + sizeof(BITMAPINFOHEADER) || file[0] != 'B' || file[1] != 'M') return false;
    const std::uint32_t compression = ReadU32(file, kFileHeader + 16);
    return compression == BI_RLE8 || compression == BI_RLE4;
}

bool IsCursorFile(const std::vector<std::uint8_t>& file) {
    return file.size() >= 6 && ReadU16(file, 0) == 0 && ReadU16(file, 2) == 2 && ReadU16(file, 4) > 0;
}

HBITMAP DecodeRleBitmap(const std::vector<std::uint8_t>& file) {
    const std::uint32_t bitsOffset = ReadU32(file, 10);
    const std::uint32_t infoSize = ReadU32(file, kFileHeader);
    if (infoSize < sizeof(BITMAPINFOHEADER) || bitsOffset < kFileHeader + infoSize || bitsOffset >= file.size()) {
        throw RuntimeError(err::InvalidPicture);
    }
    const std::uint16_t bitCount = ReadU16(file, kFileHeader + 14);
    const std::uint32_t compression = ReadU32(file, kFileHeader + 16);
    const std::uint32_t colorsUsed = ReadU32(file, kFileHeader + 32);
    if ((compression == BI_RLE8) != (bitCount == 8) || (compression == BI_RLE4) != (bitCount == 4) ||
        colorsUsed > (1u << bitCount)) {
        throw RuntimeError(err::InvalidPicture);
    }
    // Header and a full colour table in aligned storage, as GDI reads them as structures: entries the file
    // leaves out stay black instead of being read past the buffer.
    const std::size_t paletteBytes =
        std::min<std::size_t>(bitsOffset - kFileHeader - infoSize, 256 * sizeof(RGBQUAD));
    std::vector<std::uint32_t> info((sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD)) / 4, 0);
    auto* bitmapInfo = reinterpret_cast<BITMAPINFO*>(info.data());
    std::memcpy(info.data(), file.data() + kFileHeader, sizeof(BITMAPINFOHEADER));
    std::memcpy(bitmapInfo->bmiColors, file.data() + kFileHeader + infoSize, paletteBytes);
    BITMAPINFOHEADER& header = bitmapInfo->bmiHeader;
    header.biSize = sizeof(BITMAPINFOHEADER);
    const std::vector<std::uint8_t> bits(file.begin() + bitsOffset, file.end());
    header.biSizeImage = static_cast<DWORD>(bits.size());
    const LONG width = header.biWidth;
    const LONG height = header.biHeight;
    constexpr LONG maxSide = 1 << 15;
    if (width <= 0 || height <= 0 || width > maxSide || height > maxSide) throw RuntimeError(err::InvalidPicture);

    BITMAPINFO target{};
    target.bmiHeader = BottomUp(width, height, 24);
    void* pixels = nullptr;
    UniqueBitmap section(CreateDIBSection(nullptr, &target, DIB_RGB_COLORS, &pixels, nullptr, 0));
    const UniqueDC dc(CreateCompatibleDC(nullptr));
    if (!section || !dc) throw RuntimeError(err::CannotDrawPicture);
    const HGDIOBJ old = SelectObject(dc.get(), section.get());
    const RGBQUAD background = bitmapInfo->bmiColors[0];
    const UniqueBrush brush(CreateSolidBrush(RGB(background.rgbRed, background.rgbGreen, background.rgbBlue)));
    const RECT all{0, 0, width, height};
    FillRect(dc.get(), &all, brush.get());
    const int lines = StretchDIBits(dc.get(), 0, 0, width, height, 0, 0, width, height, bits.data(), bitmapInfo,
                                    DIB_RGB_COLORS, SRCCOPY);
    SelectObject(dc.get(), old);
    if (lines == 0 || lines == static_cast<int>(GDI_ERROR)) throw RuntimeError(err::InvalidPicture);
    return section.release();
}

std::vector<std::uint8_t> BitmapFileBytes(HBITMAP bitmap, HPALETTE palette) {
    BITMAPINFO info{};
    const std::vector<std::uint8_t> pixels = PixelsOf(bitmap, palette, 24, info);
    Writer out;
    const std::uint32_t offset = kFileHeader + sizeof(BITMAPINFOHEADER);
    out.U16('B' | ('M' << 8));
    out.U32(offset + static_cast<std::uint32_t>(pixels.size()));
    out.U32(0);
    out.U32(offset);
    out.Bytes(&info.bmiHeader, sizeof info.bmiHeader);
    out.Bytes(pixels.data(), pixels.size());
    return out.Take();
}

std::vector<std::uint8_t> PlaceableMetafileBytes(HMETAFILE metafile, long widthHiMetric, long heightHiMetric) {
    const UINT size = GetMetaFileBitsEx(metafile, 0, nullptr);
    if (size == 0) throw RuntimeError(err::InvalidPicture);
    // The box is in signed 16-bit units: a coarser unit keeps a large picture's size from wrapping.
    const long largest = std::max({widthHiMetric, heightHiMetric, 1L});
    const int unitsPerInch = std::clamp(static_cast<int>(32767LL * 2540 / largest), 1, 1440);
    const auto toUnits = [unitsPerInch](long hiMetric) {
        return static_cast<std::uint16_t>(MulDiv(hiMetric, unitsPerInch, 2540));
    };
    // Key, handle, bounding box, units per inch, reserved; then the checksum of those ten words.
    const std::uint16_t header[10] = {0xCDD7, 0x9AC6, 0, 0, 0, toUnits(widthHiMetric), toUnits(heightHiMetric),
                                      static_cast<std::uint16_t>(unitsPerInch), 0, 0};
    std::uint16_t checksum = 0;
    Writer out;
    for (const std::uint16_t word : header) {
        checksum ^= word;
        out.U16(word);
    }
    out.U16(checksum);
    std::vector<std::uint8_t> bits(size);
    GetMetaFileBitsEx(metafile, size, bits.data());
    out.Bytes(bits.data(), bits.size());
    return out.Take();
}

std::vector<std::uint8_t> IconFileBytes(HICON icon) {
    ICONINFO parts{};
    if (!GetIconInfo(icon, &parts)) throw RuntimeError(err::InvalidPicture);
    const UniqueBitmap mask(parts.hbmMask);
    const UniqueBitmap colour(parts.hbmColor);
    // A monochrome icon has no colour bitmap: its mask holds the AND half over the XOR half.
    const BITMAP maskSize = BitmapSize(mask.get());
    const LONG width = maskSize.bmWidth;
    const LONG height = colour ? maskSize.bmHeight : maskSize.bmHeight / 2;
    BITMAPINFO info{};
    std::vector<std::uint8_t> xorBits;
    std::vector<std::uint8_t> andBits;
    {
        // Both halves in 32-bit colour: the XOR image keeps its colours, the AND mask is read 1 bit deep.
        std::vector<std::uint32_t> maskInfo((sizeof(BITMAPINFOHEADER) + 2 * sizeof(RGBQUAD)) / 4, 0);
        auto& maskBitmapInfo = *reinterpret_cast<BITMAPINFO*>(maskInfo.data());
        const std::vector<std::uint8_t> maskBits = PixelsOf(mask.get(), nullptr, 1, maskBitmapInfo);
        const std::size_t maskRow = RowBytes(width, 1);
        // Bottom-up rows: the AND half is the upper one, so it comes last in a monochrome mask.
        const std::size_t andStart = colour ? 0 : maskRow * static_cast<std::size_t>(height);
        andBits.assign(maskBits.begin() + static_cast<std::ptrdiff_t>(andStart),
                       maskBits.begin() + static_cast<std::ptrdiff_t>(andStart + maskRow * height));
        if (colour) {
            xorBits = PixelsOf(colour.get(), nullptr, 32, info);
        } else {
            info.bmiHeader = BottomUp(width, height, 32);
            xorBits.resize(info.bmiHeader.biSizeImage);
            for (LONG y = 0; y < height; ++y) {
                for (LONG x = 0; x < width; ++x) {
                    const bool set = maskBits[static_cast<std::size_t>(y) * maskRow + x / 8] & (0x80 >> (x % 8));
                    std::memset(&xorBits[(static_cast<std::size_t>(y) * width + x) * 4], set ? 0xFF : 0x00, 3);
                }
            }
        }
    }
    BITMAPINFOHEADER image = BottomUp(width, height, 32);
    image.biHeight = height * 2;  // an icon image counts the XOR and AND bitmaps together
    image.biSizeImage = static_cast<DWORD>(xorBits.size() + andBits.size());
    const auto imageSize = static_cast<std::uint32_t>(sizeof image + image.biSizeImage);
    Writer out;
    out.U16(0);
    out.U16(1);  // icon
    out.U16(1);  // one image
    out.Bytes(std::array<std::uint8_t, 4>{static_cast<std::uint8_t>(width < 256 ? width : 0),
                                          static_cast<std::uint8_t>(height < 256 ? height : 0), 0, 0}
                  .data(),
              4);
    out.U16(1);   // planes
    out.U16(32);  // bits per pixel
    out.U32(imageSize);
    out.U32(6 + 16);
    out.Bytes(&image, sizeof image);
    out.Bytes(xorBits.data(), xorBits.size());
    out.Bytes(andBits.data(), andBits.size());
    return out.Take();
}

std::vector<std::uint8_t> EnhancedMetafileBytes(HENHMETAFILE metafile) {
    const UINT size = GetEnhMetaFileBits(metafile, 0, nullptr);
    if (size == 0) throw RuntimeError(err::InvalidPicture);
    std::vector<std::uint8_t> bits(size);
    GetEnhMetaFileBits(metafile, size, bits.data());
    return bits;
}

}  // namespace forms
