#include "lib/imgEditbuf/SaveJpeg.h"

#include <cstring>
#include <vector>

#include "lib/imgEditbuf/Messages.h"
#include "platform/imaging/Ijl.h"
#include "platform/imaging/Picture.h"
#include "platform/runtime/OwnedHandles.h"

namespace imgbuf {
namespace {

constexpr UINT Exclamation = MB_OK | MB_ICONEXCLAMATION;

// One record per call, released on every path once it was initialised.
class Properties {
public:
    Properties() : code_(imaging::ijlInit(&props_)) {}
    Properties(const Properties&) = delete;
    Properties& operator=(const Properties&) = delete;
    ~Properties() {
        if (code_ == imaging::IjlOk) imaging::ijlFree(&props_);
    }
    std::int32_t InitCode() const noexcept { return code_; }
    imaging::JpegCoreProperties* operator->() noexcept { return &props_; }
    imaging::JpegCoreProperties* Get() noexcept { return &props_; }

private:
    imaging::JpegCoreProperties props_{};
    std::int32_t code_;
};

bool Initialised(const Properties& props) {
    if (props.InitCode() == imaging::IjlOk) return true;
    ShowMessage("Failed to initialise the IJL library: " + std::to_string(props.InitCode()), Exclamation);
    return false;
}

BitmapBits BitsOf(const cDIBSection& buffer) {
    return {buffer.DIBSectionBitsPtr(), buffer.Width(), buffer.Height(), buffer.BytesPerScanLine(), true};
}

// Bottom-up rows are told to the codec by a negative height.
void DescribeBuffer(Properties& props, const BitmapBits& rows) {
    props->DIBWidth = rows.width;
    props->DIBHeight = rows.bottomUp ? -rows.height : rows.height;
    props->DIBBytes = rows.bits;
    props->DIBPadBytes = rows.stride - 3 * rows.width;
}

// GetObject gives a DIB section's height without its sign, so the row order is found out: the first pair of
// rows, from both ends of memory, that differ is compared with the picture's row GDI reports at that
// height. A picture whose rows mirror each other reads the same either way.
std::optional<bool> StoredBottomUp(HBITMAP bitmap, const DIBSECTION& dib) {
    const LONG width = dib.dsBm.bmWidth;
    const LONG height = dib.dsBm.bmHeight;
    const auto stride = static_cast<std::size_t>(dib.dsBm.bmWidthBytes);
    const auto rowBytes = static_cast<std::size_t>(width) * 3;
    const auto* bits = static_cast<const std::uint8_t*>(dib.dsBm.bmBits);
    for (LONG k = 0; k < height / 2; ++k) {
        const std::uint8_t* first = bits + static_cast<std::size_t>(k) * stride;
        const std::uint8_t* last = bits + static_cast<std::size_t>(height - 1 - k) * stride;
        if (std::memcmp(first, last, rowBytes) == 0) continue;
        BITMAPINFO info = {};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB};
        std::vector<std::uint8_t> row(stride);
        const forms::UniqueDC dc(CreateCompatibleDC(nullptr));
        // Scan lines count from the bottom: this is row k from the top.
        if (!dc || GetDIBits(dc.get(), bitmap, static_cast<UINT>(height - 1 - k), 1, row.data(), &info,
                             DIB_RGB_COLORS) != 1)
            return std::nullopt;
        if (std::memcmp(row.data(), first, rowBytes) == 0) return false;
        if (std::memcmp(row.data(), last, rowBytes) == 0) return true;
        return std::nullopt;
    }
    return true;
}

}  // namespace

bool LoadJPG(cDIBSection& buffer, const std::string& path) {
    Properties props;
    if (!Initialised(props)) return false;
    props->JPGFile = path.c_str();
    if (imaging::ijlRead(props.Get(), imaging::IjlReadParams) != imaging::IjlOk) {
        ShowMessage("Failed to read JPG", Exclamation);
        return false;
    }
    if (!buffer.Create(props->JPGWidth, props->JPGHeight)) return false;
    DescribeBuffer(props, BitsOf(buffer));
    props->DIBChannels = 3;
    if (imaging::ijlRead(props.Get(), imaging::IjlReadWhole) != imaging::IjlOk) {
        ShowMessage("Cannot read Image Data from file.", Exclamation);
        return false;
    }
    return true;
}

std::optional<BitmapBits> DibSectionBits(IPictureDisp* picture) {
    imaging::ComPtr<IPicture> pic;
    if (!picture || FAILED(picture->QueryInterface(IID_IPicture, reinterpret_cast<void**>(pic.GetAddressOf()))))
        return std::nullopt;
    SHORT type = PICTYPE_UNINITIALIZED;
    OLE_HANDLE handle = 0;
    if (FAILED(pic->get_Type(&type)) || type != PICTYPE_BITMAP || FAILED(pic->get_Handle(&handle)) || !handle)
        return std::nullopt;
    DIBSECTION dib = {};
    const auto bitmap = reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle));
    if (GetObjectA(bitmap, sizeof dib, &dib) != sizeof dib || !dib.dsBm.bmBits || dib.dsBm.bmBitsPixel != 24 ||
        dib.dsBmih.biCompression != BI_RGB || dib.dsBm.bmWidth <= 0 || dib.dsBm.bmHeight <= 0)
        return std::nullopt;
    GdiFlush();  // drawing into the bitmap must land before its bytes are compared
    const std::optional<bool> bottomUp = StoredBottomUp(bitmap, dib);
    if (!bottomUp) return std::nullopt;
    return BitmapBits{static_cast<std::uint8_t*>(dib.dsBm.bmBits), dib.dsBm.bmWidth, dib.dsBm.bmHeight,
                      dib.dsBm.bmWidthBytes, *bottomUp};
}

bool SaveJPG(const BitmapBits& rows, const std::string& path, std::int32_t quality) {
    Properties props;
    if (!Initialised(props)) return false;
    GdiFlush();  // drawing into the bitmap must land before the codec reads its bytes
    DescribeBuffer(props, rows);
    props->JPGFile = path.c_str();
    props->JPGWidth = rows.width;
    props->JPGHeight = rows.height;
    props->jquality = quality;
    if (imaging::ijlWrite(props.Get(), imaging::IjlWriteWhole) != imaging::IjlOk) {
        ShowMessage("Failed to save to JPG", Exclamation);
        return false;
    }
    return true;
}

bool SaveJPG(cDIBSection& buffer, const std::string& path, std::int32_t quality) {
    return SaveJPG(BitsOf(buffer), path, quality);
}

}  // namespace imgbuf
