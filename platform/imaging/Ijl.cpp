#include "platform/imaging/Ijl.h"

#include <algorithm>
#include <span>
#include <string>

#include "platform/runtime/RuntimeError.h"
#include "platform/imaging/JpegWriter.h"
#include "platform/imaging/Wic.h"
#include "platform/runtime/ReplacingFile.h"
#include "platform/runtime/Strings.h"

namespace imaging {

struct IjlSession {
    ComPtr<IWICBitmapSource> frame;  // after a successful parameter read
};

namespace {

bool DibUsable(const JpegCoreProperties& p) {
    return p.DIBBytes && p.DIBWidth > 0 && p.DIBHeight != 0 && p.DIBChannels == 3 && p.DIBPadBytes >= 0 &&
           p.DIBPadBytes < 4;
}

std::size_t DibStride(const JpegCoreProperties& p) {
    return static_cast<std::size_t>(p.DIBWidth) * 3 + static_cast<std::size_t>(p.DIBPadBytes);
}

// The number of rows, whichever order they are stored in.
std::int64_t DibRows(const JpegCoreProperties& p) {
    return p.DIBHeight < 0 ? -std::int64_t{p.DIBHeight} : std::int64_t{p.DIBHeight};
}

std::uint8_t* DibRow(const JpegCoreProperties& p, std::uint32_t rowFromTop) {
    const auto height = static_cast<std::uint32_t>(DibRows(p));
    const std::uint32_t memoryRow = p.DIBHeight < 0 ? height - 1 - rowFromTop : rowFromTop;
    return p.DIBBytes + memoryRow * DibStride(p);
}

std::int32_t ReadParams(JpegCoreProperties& p) {
    if (!p.JPGFile) return IjlBadArgument;
    ComPtr<IWICImagingFactory> factory;
    try {
        factory = WicFactory();
    } catch (const forms::RuntimeError&) {
        return IjlNoCodec;
    }
    ComPtr<IWICBitmapDecoder> decoder;
    if (FAILED(factory->CreateDecoderFromFilename(forms::ToWide(p.JPGFile).c_str(), nullptr, GENERIC_READ,
                                                  WICDecodeMetadataCacheOnDemand, &decoder))) {
        return IjlOpenFailed;
    }
    GUID container = {};
    if (FAILED(decoder->GetContainerFormat(&container)) || !IsEqualGUID(container, GUID_ContainerFormatJpeg)) {
        return IjlNotJpeg;
    }
    ComPtr<IWICBitmapFrameDecode> frame;
    UINT width = 0;
    UINT height = 0;
    if (FAILED(decoder->GetFrame(0, &frame)) || FAILED(frame->GetSize(&width, &height))) return IjlNotJpeg;
    // The header is untrusted: no buffer is sized from it beyond the suite's ceiling.
    if (width == 0 || height == 0 || static_cast<std::uint64_t>(width) * height > kMaxPixels) return IjlTooLarge;
    WICPixelFormatGUID format = {};
    const bool grey = SUCCEEDED(frame->GetPixelFormat(&format)) && IsEqualGUID(format, GUID_WICPixelFormat8bppGray);
    p.JPGWidth = static_cast<std::int32_t>(width);
    p.JPGHeight = static_cast<std::int32_t>(height);
    p.JPGChannels = grey ? 1 : 3;
    p.session->frame = frame;
    return IjlOk;
}

std::int32_t ReadWhole(JpegCoreProperties& p) {
    if (!p.session->frame) {
        const std::int32_t params = ReadParams(p);
        if (params != IjlOk) return params;
    }
    if (!DibUsable(p) || p.DIBWidth != p.JPGWidth || DibRows(p) != p.JPGHeight) {
        return IjlBadArgument;
    }
    const bool copied = WicCopyBgr24(p.session->frame.Get(), [&p](std::uint32_t row) { return DibRow(p, row); });
    return copied ? IjlOk : IjlDecodeFailed;
}

std::int32_t WriteWhole(JpegCoreProperties& p) {
    if (!p.JPGFile || !DibUsable(p) || p.JPGWidth != p.DIBWidth || DibRows(p) != p.JPGHeight) {
        return IjlBadArgument;
    }
    const JpegRequest request{static_cast<std::uint32_t>(p.JPGWidth), static_cast<std::uint32_t>(p.JPGHeight),
                              p.jquality};
    // The compressed stream is gathered first so that the runtime's replacing writer puts it in place whole.
    std::string stream;
    const bool encoded = EncodeJpeg(request, [&p](std::uint32_t row) { return DibRow(p, row); },
                                    [&stream](std::span<const std::uint8_t> bytes) {
                                        stream.append(reinterpret_cast<const char*>(bytes.data()), bytes.size());
                                        return true;
                                    });
    if (!encoded) return IjlEncodeFailed;
    try {
        forms::ReplaceWholeFile(p.JPGFile, stream);
    } catch (const forms::RuntimeError&) {
        return IjlOpenFailed;
    }
    return IjlOk;
}

}  // namespace

std::int32_t ijlInit(JpegCoreProperties* props) {
    if (!props) return IjlBadArgument;
    *props = JpegCoreProperties{};
    props->DIBChannels = 3;
    props->JPGChannels = 3;
    props->jquality = 75;
    props->session = std::make_shared<IjlSession>();
    return IjlOk;
}

std::int32_t ijlFree(JpegCoreProperties* props) {
    if (!props) return IjlBadArgument;
    props->session.reset();
    return IjlOk;
}

std::int32_t ijlRead(JpegCoreProperties* props, std::int32_t job) {
    if (!props) return IjlBadArgument;
    if (!props->session) return IjlNotInitialised;
    switch (job) {
    case IjlReadParams: return ReadParams(*props);
    case IjlReadWhole: return ReadWhole(*props);
    default: return IjlBadArgument;
    }
}

std::int32_t ijlWrite(JpegCoreProperties* props, std::int32_t job) {
    if (!props) return IjlBadArgument;
    if (!props->session) return IjlNotInitialised;
    return job == IjlWriteWhole ? WriteWhole(*props) : IjlBadArgument;
}

}  // namespace imaging
