// cDIBSection through its dual interface: a real DIB section whose bytes the test reads in place.

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "lib/comserver/ComPtr.h"
#include "platform/runtime/OwnedHandles.h"
#include "platform/imaging/Picture.h"
#include "rvimgctl.h"
#include "tests/lib/imgEditbuf/ServerSupport.h"

namespace imgbuf::test {
namespace {

using comserver::ComPtr;

class DibSection : public testing::Test {
protected:
    static ComPtr<_cDIBSection> Make() {
        ComPtr<_cDIBSection> dib;
        EXPECT_EQ(CoCreateInstance(CLSID_cDIBSection, nullptr, CLSCTX_INPROC_SERVER, IID__cDIBSection, dib.PutVoid()), S_OK);
        return dib;
    }
    static ComPtr<_cDIBSection> Made(LONG width, LONG height) {
        ComPtr<_cDIBSection> dib = Make();
        VARIANT_BOOL ok = VARIANT_FALSE;
        EXPECT_EQ(dib->Create(width, height, &ok), S_OK);
        EXPECT_EQ(ok, VARIANT_TRUE);
        return dib;
    }
    static std::uint8_t* Bits(_cDIBSection* dib) {
        LONG_PTR bits = 0;
        dib->get_DIBSectionBitsPtr(&bits);
        GdiFlush();
        return reinterpret_cast<std::uint8_t*>(bits);
    }
    static LONG Stride(_cDIBSection* dib) {
        LONG stride = 0;
        dib->get_BytesPerScanLine(&stride);
        return stride;
    }
    static LONG WidthOf(_cDIBSection* dib) {
        LONG w = 0;
        dib->get_Width(&w);
        return w;
    }
    static LONG HeightOf(_cDIBSection* dib) {
        LONG h = 0;
        dib->get_Height(&h);
        return h;
    }
    static std::uint8_t* Byte(_cDIBSection* dib, LONG row, LONG k) { return Bits(dib) + row * Stride(dib) + k; }
    static ComPtr<_cDIBSection> Resampled(_cDIBSection* dib, LONG height, LONG width) {
        ComPtr<_cDIBSection> result;
        EXPECT_EQ(dib->Resample(height, width, result.Put()), S_OK);
        return result;
    }
    void SetUp() override { Messages::Clear(); }
};

TEST_F(DibSection, RowsArePaddedToFourBytes) {
    const std::pair<LONG, LONG> cases[] = {{1, 4}, {2, 8}, {4, 12}, {5, 16}, {7, 24}};
    for (const auto& [width, stride] : cases) {
        const auto dib = Made(width, 3);
        EXPECT_EQ(Stride(dib.Get()), stride) << width;
        LONG_PTR hdc = 0, hDib = 0;
        dib->get_hdc(&hdc);
        dib->get_hDib(&hDib);
        EXPECT_NE(hdc, 0);
        EXPECT_NE(hDib, 0);
        // A bottom-up 24-bit DIB section selected into the buffer's DC.
        DIBSECTION described = {};
        ASSERT_EQ(GetObjectA(reinterpret_cast<HBITMAP>(hDib), sizeof(described), &described), int{sizeof(described)});
        EXPECT_EQ(described.dsBmih.biHeight, 3);
        EXPECT_EQ(described.dsBm.bmBitsPixel, 24);
        EXPECT_EQ(GetCurrentObject(reinterpret_cast<HDC>(hdc), OBJ_BITMAP), reinterpret_cast<HGDIOBJ>(hDib));
    }
}

TEST_F(DibSection, SizesBelowOneOrBeyondTheCeilingAreRefused) {
    const std::pair<LONG, LONG> cases[] = {{0, 5}, {5, 0}, {-3, 4}, {4, -3}, {70000, 70000}};
    for (const auto& [width, height] : cases) {
        const auto dib = Make();
        VARIANT_BOOL ok = VARIANT_TRUE;
        ASSERT_EQ(dib->Create(width, height, &ok), S_OK);
        EXPECT_EQ(ok, VARIANT_FALSE) << width << "x" << height;
        LONG_PTR hdc = 1;
        dib->get_hdc(&hdc);
        EXPECT_EQ(hdc, 0);
        EXPECT_EQ(Bits(dib.Get()), nullptr);
        ComPtr<_cDIBSection> none = Resampled(Made(3, 3).Get(), height, width);
        EXPECT_FALSE(none);
    }
}

TEST_F(DibSection, ClearUpEmptiesButKeepsTheSize) {
    const auto dib = Made(6, 4);
    ASSERT_EQ(dib->ClearUp(), S_OK);
    LONG_PTR hdc = 1;
    dib->get_hdc(&hdc);
    EXPECT_EQ(hdc, 0);
    EXPECT_EQ(Bits(dib.Get()), nullptr);
    EXPECT_EQ(WidthOf(dib.Get()), 6);
    EXPECT_EQ(HeightOf(dib.Get()), 4);
}

TEST_F(DibSection, ResampleTakesHeightFirst) {
    const auto dib = Made(30, 20);
    const auto scaled = Resampled(dib.Get(), 100, 200);
    ASSERT_TRUE(scaled);
    EXPECT_EQ(WidthOf(scaled.Get()), 200);
    EXPECT_EQ(HeightOf(scaled.Get()), 100);
}

// Byte (row, k) of the source set to v before resampling; byte (row, k) of the result expected.
struct ResampleCase {
    const char* what;
    LONG ws, hs, wt, ht;
    std::vector<std::tuple<LONG, LONG, std::uint8_t>> set;
    LONG row, k;
    std::uint8_t expected;
};

TEST_F(DibSection, ResampleArithmetic) {
    const ResampleCase cases[] = {
        {"3x3 to 2x2 takes source pixel (1,1)", 3, 3, 2, 2, {{1, 3, 77}, {1, 4, 88}, {1, 5, 99}}, 1, 4, 88},
        {"green 0 and 255 halfway rounds to even 128", 3, 2, 4, 1, {{0, 1, 0}, {0, 4, 255}}, 0, 4, 128},
        {"0 and 1 halfway rounds to even 0", 3, 2, 4, 1, {{0, 1, 0}, {0, 4, 1}}, 0, 4, 0},
        {"1 and 2 halfway rounds to even 2", 3, 2, 4, 1, {{0, 1, 1}, {0, 4, 2}}, 0, 4, 2},
        {"a third of the way in single precision", 2, 2, 2, 3, {{0, 0, 0}, {1, 0, 255}}, 1, 0, 85},
        {"two thirds of the way", 2, 2, 2, 3, {{0, 0, 0}, {1, 0, 255}}, 2, 0, 170},
        {"a 1-pixel-wide source repeats its column", 1, 3, 4, 3, {{0, 2, 200}, {1, 2, 200}, {2, 2, 200}}, 1, 11, 200},
        {"a 1-pixel-high source repeats its row", 3, 1, 3, 4, {{0, 5, 150}}, 3, 5, 100},
    };
    for (const ResampleCase& c : cases) {
        const auto dib = Made(c.ws, c.hs);
        for (const auto& [row, k, v] : c.set) *Byte(dib.Get(), row, k) = v;
        const auto scaled = Resampled(dib.Get(), c.ht, c.wt);
        ASSERT_TRUE(scaled) << c.what;
        EXPECT_EQ(*Byte(scaled.Get(), c.row, c.k), c.expected) << c.what;
    }
}

TEST_F(DibSection, ResampleToTheSameSizeIsABlockCopy) {
    const auto dib = Made(5, 3);
    for (LONG row = 0; row < 3; ++row)
        for (LONG k = 0; k < 15; ++k) *Byte(dib.Get(), row, k) = static_cast<std::uint8_t>(row * 40 + k * 7 + 1);
    const auto copy = Resampled(dib.Get(), 3, 5);
    ASSERT_TRUE(copy);
    for (LONG row = 0; row < 3; ++row)
        EXPECT_EQ(std::memcmp(Byte(copy.Get(), row, 0), Byte(dib.Get(), row, 0), 15), 0);
}

// A result may be made in the memory of one released before: it must be as a new one whatever its last user
// did to the bytes (the row padding too) or to the DC, and results alive at once never share memory.
TEST_F(DibSection, AResultAfterAReleasedOneIsAsNew) {
    const auto source = Made(5, 3);
    for (LONG row = 0; row < 3; ++row)
        for (LONG k = 0; k < 15; ++k) *Byte(source.Get(), row, k) = static_cast<std::uint8_t>(row * 50 + k * 9 + 3);
    constexpr LONG Width = 7, Height = 4;  // rows of 21 bytes padded to 24
    std::vector<std::uint8_t> expected;
    {
        const auto first = Resampled(source.Get(), Height, Width);
        ASSERT_TRUE(first);
        expected.assign(Bits(first.Get()), Bits(first.Get()) + Stride(first.Get()) * Height);
    }
    const forms::UniqueBitmap foreign(CreateBitmap(2, 2, 1, 1, nullptr));
    struct Case {
        const char* what;
        bool byClearUp;
        void (*use)(HDC dc, HBITMAP foreign);
    };
    const Case cases[] = {
        {"bytes overwritten, released by its last reference", false, [](HDC, HBITMAP) {}},
        {"bytes overwritten, released by ClearUp", true, [](HDC, HBITMAP) {}},
        {"drawing state changed", false, [](HDC dc, HBITMAP) {
             SetStretchBltMode(dc, HALFTONE);
             SetMapMode(dc, MM_LOMETRIC);
             SaveDC(dc);
             SetTextColor(dc, RGB(1, 2, 3));
         }},
        {"another bitmap selected", true, [](HDC dc, HBITMAP other) { SelectObject(dc, other); }},
    };
    for (const Case& c : cases) {
        ComPtr<_cDIBSection> used = Resampled(source.Get(), Height, Width);
        ASSERT_TRUE(used) << c.what;
        std::memset(Bits(used.Get()), 0xA5, expected.size());
        LONG_PTR usedDC = 0;
        used->get_hdc(&usedDC);
        c.use(reinterpret_cast<HDC>(usedDC), foreign.get());
        const auto alongside = Resampled(source.Get(), Height, Width);
        ASSERT_TRUE(alongside) << c.what;
        EXPECT_NE(Bits(alongside.Get()), Bits(used.Get())) << c.what;
        const std::uint8_t* const usedBits = Bits(used.Get());
        if (c.byClearUp) ASSERT_EQ(used->ClearUp(), S_OK);
        used = {};

        const auto next = Resampled(source.Get(), Height, Width);
        ASSERT_TRUE(next) << c.what;
        EXPECT_EQ(Bits(next.Get()), usedBits) << c.what << ": the released memory is the one used again";
        EXPECT_EQ(std::memcmp(Bits(next.Get()), expected.data(), expected.size()), 0) << c.what;
        LONG_PTR dc = 0, dib = 0;
        next->get_hdc(&dc);
        next->get_hDib(&dib);
        const auto nextDC = reinterpret_cast<HDC>(dc);
        EXPECT_EQ(GetCurrentObject(nextDC, OBJ_BITMAP), reinterpret_cast<HGDIOBJ>(dib)) << c.what;
        EXPECT_EQ(GetStretchBltMode(nextDC), BLACKONWHITE) << c.what;
        EXPECT_EQ(GetMapMode(nextDC), MM_TEXT) << c.what;
        EXPECT_EQ(GetTextColor(nextDC), RGB(0, 0, 0)) << c.what;
    }
}

TEST_F(DibSection, RandomiseBitsFillsPixelsAndLeavesPadding) {
    const auto grey = Made(5, 4);
    for (LONG row = 0; row < 4; ++row) std::memset(Byte(grey.Get(), row, 15), 0xA5, 1);
    ASSERT_EQ(grey->RandomiseBits(VARIANT_TRUE), S_OK);
    for (LONG row = 0; row < 4; ++row) {
        for (LONG x = 0; x < 5; ++x) {
            const std::uint8_t* p = Byte(grey.Get(), row, 3 * x);
            EXPECT_EQ(p[0], p[1]);
            EXPECT_EQ(p[1], p[2]);
        }
        EXPECT_EQ(*Byte(grey.Get(), row, 15), 0xA5);
    }
    const auto colour = Made(64, 64);
    ASSERT_EQ(colour->RandomiseBits(VARIANT_FALSE), S_OK);
    int distinct = 0;
    for (LONG row = 0; row < 64; ++row) {
        for (LONG x = 0; x < 64; ++x) {
            const std::uint8_t* p = Byte(colour.Get(), row, 3 * x);
            EXPECT_EQ(p[0], 0);
            distinct += p[1] != p[2];
        }
    }
    EXPECT_GT(distinct, 64 * 64 / 2);
}

TEST_F(DibSection, BlitsMoveRectanglesWithRasterOperations) {
    const auto source = Made(4, 4);
    const auto target = Made(4, 4);
    LONG_PTR sourceDC = 0;
    LONG_PTR targetDC = 0;
    source->get_hdc(&sourceDC);
    target->get_hdc(&targetDC);
    for (LONG row = 0; row < 4; ++row) std::memset(Byte(source.Get(), row, 0), 0x0F, 12);
    for (LONG row = 0; row < 4; ++row) std::memset(Byte(target.Get(), row, 0), 0xF0, 12);
    ASSERT_EQ(source->PaintPicture(targetDC, 0, 0, -1, -1, 0, 0, SRCPAINT), S_OK);
    EXPECT_EQ(*Byte(target.Get(), 2, 5), 0xFF);
    ASSERT_EQ(target->LoadPictureBlt(sourceDC, 0, 0, 2, 2, SRCCOPY), S_OK);
    // The top-left 2x2 of the source (the last two rows in memory) lands top-left in the target.
    EXPECT_EQ(*Byte(target.Get(), 3, 0), 0x0F);
    EXPECT_EQ(*Byte(target.Get(), 0, 0), 0xFF);
}

TEST_F(DibSection, CreateFromPictureCopiesABitmapPicture) {
    imaging::Image24 image = imaging::Image24::Allocate(3, 2);
    image.Row(0)[0] = 10;  // top-left blue
    image.Row(1)[8] = 200; // bottom-right red
    const auto picture = PictureOf(image);
    const auto dib = Make();
    VARIANT result;
    VariantInit(&result);
    ASSERT_EQ(dib->CreateFromPicture(picture.Get(), &result), S_OK);
    EXPECT_EQ(V_VT(&result), VT_EMPTY);
    EXPECT_EQ(WidthOf(dib.Get()), 3);
    EXPECT_EQ(HeightOf(dib.Get()), 2);
    // Bottom-up: memory row 0 is the picture's last row.
    EXPECT_EQ(*Byte(dib.Get(), 1, 0), 10);
    EXPECT_EQ(*Byte(dib.Get(), 0, 8), 200);
}

// Pictures over bitmaps of other layouts: a bottom-up 24-bit DIB and a 32-bit one (the block transfer).
TEST_F(DibSection, CreateFromPictureOfOtherBitmapLayouts) {
    const struct {
        WORD bits;
        LONG height;  // negative: top-down
    } layouts[] = {{24, 2}, {24, -2}, {32, 2}, {32, -2}};
    for (const auto& layout : layouts) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = 3;
        info.bmiHeader.biHeight = layout.height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = layout.bits;
        void* bits = nullptr;
        forms::UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        ASSERT_TRUE(bitmap);
        const std::size_t pixel = layout.bits / 8u;
        const std::size_t stride = (3 * pixel + 3) & ~std::size_t{3};
        auto* bytes = static_cast<std::uint8_t*>(bits);
        // The picture's top-left pixel blue 10, bottom-right pixel red 200.
        const std::size_t topRow = layout.height < 0 ? 0 : 1;
        bytes[topRow * stride] = 10;
        bytes[(1 - topRow) * stride + 2 * pixel + 2] = 200;
        const auto picture = imaging::PictureFromBitmap(std::move(bitmap));
        const auto dib = Make();
        VARIANT result;
        VariantInit(&result);
        ASSERT_EQ(dib->CreateFromPicture(picture.Get(), &result), S_OK);
        EXPECT_EQ(*Byte(dib.Get(), 1, 0), 10) << layout.bits << " " << layout.height;
        EXPECT_EQ(*Byte(dib.Get(), 0, 8), 200) << layout.bits << " " << layout.height;
    }
}

TEST_F(DibSection, CreateFromAPictureWithoutBitmapCreatesNothing) {
    const auto empty = imaging::EmptyPicture();
    const auto dib = Make();
    VARIANT result;
    VariantInit(&result);
    EXPECT_EQ(dib->CreateFromPicture(empty.Get(), &result), S_OK);
    EXPECT_EQ(Bits(dib.Get()), nullptr);
    EXPECT_EQ(dib->CreateFromPicture(nullptr, &result), S_OK);
    EXPECT_EQ(Bits(dib.Get()), nullptr);
}

TEST_F(DibSection, CopyToClipboardAsDibIsRefusedWithAMessage) {
    const auto dib = Made(3, 3);
    VARIANT_BOOL ok = VARIANT_TRUE;
    ASSERT_EQ(dib->CopyToClipboard(VARIANT_TRUE, &ok), S_OK);
    EXPECT_EQ(ok, VARIANT_FALSE);
    EXPECT_EQ(Messages::Shown(),
              std::vector<std::string>{"I don't know how to put a DIB on the clipboard! Copy as bitmap instead!!!"});
}

TEST_F(DibSection, CopyToClipboardAsBitmapHandsTheClipboardABitmap) {
    const auto dib = Made(6, 5);
    VARIANT_BOOL ok = VARIANT_FALSE;
    ASSERT_EQ(dib->CopyToClipboard(VARIANT_FALSE, &ok), S_OK);
    EXPECT_EQ(ok, VARIANT_TRUE);
    ASSERT_TRUE(OpenClipboard(nullptr));
    const auto bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
    BITMAP record = {};
    if (bitmap) GetObjectA(bitmap, sizeof(record), &record);
    EmptyClipboard();
    CloseClipboard();
    EXPECT_EQ(record.bmWidth, 6);
    EXPECT_EQ(record.bmHeight, 5);
    EXPECT_TRUE(Messages::Shown().empty());
}

}  // namespace
}  // namespace imgbuf::test
