#include "platform/imaging/Wic.h"

#include <algorithm>
#include <vector>

#include "platform/runtime/ReplacingFile.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/imaging/decoders/DecodeError.h"
#include "platform/runtime/Strings.h"

namespace imaging {
ComPtr<IWICImagingFactory> WicFactory() {
    ComPtr<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory)))) {
        throw forms::RuntimeError(forms::err::CannotCreateObject);
    }
    return factory;
}

namespace {

// How the rows a source delivers become BGR.
enum class RowKind { Bgr24, Bgra32, Gray8, Gray16, Cmyk32, Cmyk64 };

struct OwnFormat {
    const GUID* format;
    RowKind kind;
    std::size_t pixelBytes;
};

// Formats read in their own layout and turned into BGR here: the system's converter refuses some of them
// (16-bit CMYK) and, for others, accepts a request for 24-bit BGR whose copy then fails (grey).
const OwnFormat kOwnFormats[] = {
    {&GUID_WICPixelFormat24bppBGR, RowKind::Bgr24, 3},  {&GUID_WICPixelFormat8bppGray, RowKind::Gray8, 1},
    {&GUID_WICPixelFormat16bppGray, RowKind::Gray16, 2}, {&GUID_WICPixelFormat32bppCMYK, RowKind::Cmyk32, 4},
    {&GUID_WICPixelFormat64bppCMYK, RowKind::Cmyk64, 8},
};

// Samples of 16 bits are little-endian; their high byte is the 8-bit value.
std::uint8_t High(const std::uint8_t* sample) { return sample[1]; }

// Ink as the codec delivers it (0 is none); each colour is what its ink and the black leave of white.
std::uint8_t FromInk(unsigned ink, unsigned black) {
    return static_cast<std::uint8_t>(((255 - ink) * (255 - black) + 127) / 255);
}

void RowToBgr(RowKind kind, const std::uint8_t* from, std::uint8_t* to, UINT width) {
    switch (kind) {
    case RowKind::Bgr24:
        std::copy_n(from, std::size_t{width} * 3, to);
        return;
    case RowKind::Bgra32:
        for (UINT x = 0; x < width; ++x, from += 4, to += 3) std::copy_n(from, 3, to);
        return;
    case RowKind::Gray8:
        for (UINT x = 0; x < width; ++x, ++from, to += 3) std::fill_n(to, 3, *from);
        return;
    case RowKind::Gray16:
        for (UINT x = 0; x < width; ++x, from += 2, to += 3) std::fill_n(to, 3, High(from));
        return;
    case RowKind::Cmyk32:
        for (UINT x = 0; x < width; ++x, from += 4, to += 3) {
            to[0] = FromInk(from[2], from[3]);
            to[1] = FromInk(from[1], from[3]);
            to[2] = FromInk(from[0], from[3]);
        }
        return;
    case RowKind::Cmyk64:
        for (UINT x = 0; x < width; ++x, from += 8, to += 3) {
            to[0] = FromInk(High(from + 4), High(from + 6));
            to[1] = FromInk(High(from + 2), High(from + 6));
            to[2] = FromInk(High(from), High(from + 6));
        }
        return;
    }
}

}  // namespace

bool WicCopyBgr24(IWICBitmapSource* source, const RowTarget& target) {
    UINT width = 0;
    UINT height = 0;
    WICPixelFormatGUID format = {};
    if (FAILED(source->GetSize(&width, &height)) || FAILED(source->GetPixelFormat(&format))) return false;
    if (width == 0 || height == 0) return false;
    ComPtr<IWICBitmapSource> rows(source);
    RowKind kind = RowKind::Bgra32;
    std::size_t pixelBytes = 4;
    const auto own = std::find_if(std::begin(kOwnFormats), std::end(kOwnFormats),
                                  [&format](const OwnFormat& f) { return IsEqualGUID(*f.format, format); });
    if (own != std::end(kOwnFormats)) {
        kind = own->kind;
        pixelBytes = own->pixelBytes;
    } else {
        // Everything else goes through 32-bit BGRA, the one conversion every system codec offers.
        rows.Reset();
        if (FAILED(WICConvertBitmapSource(GUID_WICPixelFormat32bppBGRA, source, &rows))) return false;
    }
    const std::uint64_t stride = std::uint64_t{width} * pixelBytes;
    if (stride > 0xFFFFFFFFu / 2) return false;
    const std::uint32_t bandRows = std::max<std::uint32_t>(1, static_cast<std::uint32_t>((1u << 20) / stride));
    std::vector<std::uint8_t> band(static_cast<std::size_t>(stride) * std::min<std::uint32_t>(bandRows, height));
    for (std::uint32_t first = 0; first < height; first += bandRows) {
        const std::uint32_t count = std::min(bandRows, height - first);
        const WICRect rect{0, static_cast<INT>(first), static_cast<INT>(width), static_cast<INT>(count)};
        // Only the copy tells whether the source delivers: a conversion it accepted may still fail here.
        if (FAILED(rows->CopyPixels(&rect, static_cast<UINT>(stride), static_cast<UINT>(stride * count), band.data()))) {
            return false;
        }
        for (std::uint32_t r = 0; r < count; ++r) RowToBgr(kind, band.data() + r * stride, target(first + r), width);
    }
    return true;
}

Image24 WicCopyFrame(IWICBitmapSource* frame) {
    UINT width = 0;
    UINT height = 0;
    if (FAILED(frame->GetSize(&width, &height))) throw DecodeError("frame size unreadable");
    CheckedLayout(width, height);
    Image24 image = Image24::Allocate(width, height);
    if (!WicCopyBgr24(frame, [&image](std::uint32_t row) { return image.Row(row); })) {
        throw DecodeError("pixel data unreadable");
    }
    return image;
}

Image24 WicDecode(std::span<const std::uint8_t> bytes) {
    if (bytes.empty() || bytes.size() > 0xFFFFFFFFu) throw DecodeError("no data");
    const ComPtr<IWICImagingFactory> factory = WicFactory();
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    if (FAILED(factory->CreateStream(&stream)) ||
        FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()))) ||
        FAILED(factory->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand, &decoder)) ||
        FAILED(decoder->GetFrame(0, &frame))) {
        throw DecodeError("not readable by the system codecs");
    }
    return WicCopyFrame(frame.Get());
}

bool WicEncodeToFile(const std::string& path, const EncodeRequest& request, const RowSource& rows) {
    if (request.width == 0 || request.height == 0) return false;
    forms::ReplacingFile file(path);
    if (!file.Valid()) return false;
    const ComPtr<IWICImagingFactory> factory = WicFactory();
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapEncoder> encoder;
    ComPtr<IWICBitmapFrameEncode> frame;
    ComPtr<IPropertyBag2> options;
    if (FAILED(factory->CreateStream(&stream)) ||
        FAILED(stream->InitializeFromFilename(forms::ToWide(file.TempPath()).c_str(), GENERIC_WRITE)) ||
        FAILED(factory->CreateEncoder(request.container, nullptr, &encoder)) ||
        FAILED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache)) ||
        FAILED(encoder->CreateNewFrame(&frame, &options))) {
        return false;
    }
    if (request.quality) {
        PROPBAG2 option = {};
        option.pstrName = const_cast<LPOLESTR>(L"ImageQuality");
        VARIANT value;
        VariantInit(&value);
        value.vt = VT_R4;
        value.fltVal = std::clamp(*request.quality, 0.0f, 1.0f);
        if (FAILED(options->Write(1, &option, &value))) return false;
    }
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    if (FAILED(frame->Initialize(options.Get())) || FAILED(frame->SetSize(request.width, request.height)) ||
        FAILED(frame->SetPixelFormat(&format)) || !IsEqualGUID(format, GUID_WICPixelFormat24bppBGR)) {
        return false;
    }
    // Row by row straight from the caller's pixels: no copy of the picture, whatever its row order.
    const UINT rowBytes = request.width * 3;
    for (std::uint32_t y = 0; y < request.height; ++y) {
        if (FAILED(frame->WritePixels(1, rowBytes, rowBytes, const_cast<BYTE*>(rows(y))))) return false;
    }
    if (FAILED(frame->Commit()) || FAILED(encoder->Commit())) return false;
    // Every reference to the stream goes before the file can be moved.
    frame.Reset();
    options.Reset();
    encoder.Reset();
    stream.Reset();
    return file.Commit();
}

}  // namespace imaging
