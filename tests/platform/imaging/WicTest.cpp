#include "platform/imaging/Wic.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

namespace imaging {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Bgr = std::array<std::uint8_t, 3>;

// A 2x2 source in `format`; `pixels` holds its rows without padding.
ComPtr<IWICBitmap> Source(const GUID& format, const Bytes& pixels, const std::vector<WICColor>& palette = {}) {
    const UINT stride = static_cast<UINT>(pixels.size() / 2);
    ComPtr<IWICBitmap> bitmap;
    EXPECT_HRESULT_SUCCEEDED(WicFactory()->CreateBitmapFromMemory(
        2, 2, format, stride, static_cast<UINT>(pixels.size()), const_cast<BYTE*>(pixels.data()), &bitmap));
    if (!palette.empty() && bitmap) {
        ComPtr<IWICPalette> colours;
        EXPECT_HRESULT_SUCCEEDED(WicFactory()->CreatePalette(&colours));
        EXPECT_HRESULT_SUCCEEDED(colours->InitializeCustom(const_cast<WICColor*>(palette.data()),
                                                           static_cast<UINT>(palette.size())));
        EXPECT_HRESULT_SUCCEEDED(bitmap->SetPalette(colours.Get()));
    }
    return bitmap;
}

std::vector<Bgr> Copy(IWICBitmapSource* source, bool& delivered) {
    std::vector<std::uint8_t> out(2 * 2 * 3, 0xEE);
    delivered = WicCopyBgr24(source, [&out](std::uint32_t row) { return out.data() + row * 6; });
    std::vector<Bgr> pixels;
    for (std::size_t i = 0; i < out.size(); i += 3) pixels.push_back({out[i], out[i + 1], out[i + 2]});
    return pixels;
}

// 16-bit samples, little-endian as the codecs lay them out.
Bytes Wide(std::initializer_list<unsigned> samples) {
    Bytes bytes;
    for (const unsigned s : samples) {
        bytes.push_back(static_cast<std::uint8_t>(s & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(s >> 8));
    }
    return bytes;
}

TEST(WicCopyBgr24, EveryLayoutTheCodecsDeliverBecomesBgr) {
    struct Case {
        const char* name;
        GUID format;
        Bytes pixels;
        std::vector<Bgr> expected;  // row by row, from the top
        std::vector<WICColor> palette;
    };
    // Ink C, M, Y, K: none, black only, cyan only, and a red the outside encoder wrote as 0/204/177/55.
    const std::vector<Bgr> inks = {{255, 255, 255}, {0, 0, 0}, {255, 255, 0}, {61, 40, 200}};
    const std::vector<Case> cases = {
        {"24-bit BGR", GUID_WICPixelFormat24bppBGR, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12},
         {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {10, 11, 12}}},
        {"24-bit RGB", GUID_WICPixelFormat24bppRGB, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12},
         {{3, 2, 1}, {6, 5, 4}, {9, 8, 7}, {12, 11, 10}}},
        {"32-bit BGRA, alpha dropped", GUID_WICPixelFormat32bppBGRA,
         {1, 2, 3, 255, 4, 5, 6, 0, 7, 8, 9, 128, 10, 11, 12, 1},
         {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {10, 11, 12}}},
        {"8-bit grey", GUID_WICPixelFormat8bppGray, {0, 127, 200, 255},
         {{0, 0, 0}, {127, 127, 127}, {200, 200, 200}, {255, 255, 255}}},
        {"16-bit grey", GUID_WICPixelFormat16bppGray, Wide({0x0000, 0x80FF, 0x1234, 0xFFFF}),
         {{0, 0, 0}, {128, 128, 128}, {18, 18, 18}, {255, 255, 255}}},
        {"32-bit CMYK", GUID_WICPixelFormat32bppCMYK, {0, 0, 0, 0, 0, 0, 0, 255, 255, 0, 0, 0, 0, 204, 177, 55},
         inks},
        {"64-bit CMYK", GUID_WICPixelFormat64bppCMYK,
         Wide({0, 0, 0, 0, 0, 0, 0, 0xFFFF, 0xFFFF, 0, 0, 0, 0, 204 * 257, 177 * 257, 55 * 257}), inks},
        {"48-bit RGB", GUID_WICPixelFormat48bppRGB,
         Wide({0xFFFF, 0, 0, 0, 0xFFFF, 0, 0, 0, 0xFFFF, 0x8080, 0x8080, 0x8080}),
         {{0, 0, 255}, {0, 255, 0}, {255, 0, 0}, {128, 128, 128}}},
        {"8-bit palette", GUID_WICPixelFormat8bppIndexed, {2, 0, 1, 2},
         {{0, 0, 255}, {10, 20, 30}, {0, 255, 0}, {0, 0, 255}},
         {0xFF1E140A, 0xFF00FF00, 0xFFFF0000}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ComPtr<IWICBitmap> source = Source(c.format, c.pixels, c.palette);
        ASSERT_TRUE(source);
        bool delivered = false;
        const std::vector<Bgr> pixels = Copy(source.Get(), delivered);
        EXPECT_TRUE(delivered);
        EXPECT_EQ(pixels, c.expected);
    }
}

// A source that takes every request and then fails the copy, as the system's converter does for some.
class FailingCopy final : public IWICBitmapSource {
public:
    explicit FailingCopy(GUID format) : format_(format) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IWICBitmapSource) {
            *out = this;
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetSize(UINT* w, UINT* h) override {
        *w = 2;
        *h = 2;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetPixelFormat(WICPixelFormatGUID* format) override {
        *format = format_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetResolution(double* x, double* y) override {
        *x = *y = 96;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE CopyPalette(IWICPalette*) override { return WINCODEC_ERR_PALETTEUNAVAILABLE; }
    HRESULT STDMETHODCALLTYPE CopyPixels(const WICRect*, UINT, UINT, BYTE*) override {
        return WINCODEC_ERR_UNSUPPORTEDOPERATION;
    }

private:
    GUID format_;
};

TEST(WicCopyBgr24, ASourceThatDoesNotDeliverIsAFailure) {
    for (const GUID& format : {GUID_WICPixelFormat24bppBGR, GUID_WICPixelFormat8bppGray,
                               GUID_WICPixelFormat32bppCMYK, GUID_WICPixelFormat32bppBGRA}) {
        FailingCopy source(format);
        bool delivered = true;
        Copy(&source, delivered);
        EXPECT_FALSE(delivered);
    }
}

}  // namespace
}  // namespace imaging
