#include "bench/BareDecode.h"

#include <windows.h>
#include <objbase.h>
#include <wincodec.h>
#include <wrl/client.h>

#include <cstdio>
#include <memory>

#include "platform/runtime/Strings.h"

namespace bench {

void BareDecode(const std::string& path) {
    using Microsoft::WRL::ComPtr;
    ComPtr<IWICImagingFactory> factory;
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    ComPtr<IWICBitmapSource> bgr;
    UINT width = 0;
    UINT height = 0;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory))) ||
        FAILED(factory->CreateDecoderFromFilename(forms::ToWide(path).c_str(), nullptr, GENERIC_READ,
                                                  WICDecodeMetadataCacheOnDemand, &decoder)) ||
        FAILED(decoder->GetFrame(0, &frame)) ||
        FAILED(WICConvertBitmapSource(GUID_WICPixelFormat24bppBGR, frame.Get(), &bgr)) ||
        FAILED(bgr->GetSize(&width, &height))) {
        std::printf("  bare decode failed: %s\n", path.c_str());
        return;
    }
    const UINT stride = (width * 3 + 3) & ~3u;
    std::unique_ptr<BYTE[]> pixels(new BYTE[static_cast<std::size_t>(stride) * height]);
    bgr->CopyPixels(nullptr, stride, stride * height, pixels.get());
}

}  // namespace bench
