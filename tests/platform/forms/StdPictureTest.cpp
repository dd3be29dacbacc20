#include "platform/forms/StdPicture.h"

#include <windows.h>

#include <wincodec.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/OwnedHandles.h"
#include "platform/runtime/ReplacingFile.h"
#include "tests/platform/forms/ErrorNumber.h"
#include "tests/support/TempFolder.h"
#include "tests/support/Apartment.h"

using Microsoft::WRL::ComPtr;

namespace forms {
namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

int ScreenDpi() {
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi;
}

int PixelsOf(long hiMetric) { return MulDiv(hiMetric, ScreenDpi(), 2540); }

// The picture drawn into a width x height bitmap; the colour at (x, y) from the top-left.
COLORREF PixelOf(const StdPicture& picture, int width, int height, int x, int y) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB};
    void* bits = nullptr;
    const UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    const UniqueDC dc(CreateCompatibleDC(nullptr));
    const HGDIOBJ old = SelectObject(dc.get(), bitmap.get());
    std::memset(bits, 0x80, static_cast<std::size_t>(width) * height * 4);
    picture.Render(dc.get(), 0, 0, width, height);
    GdiFlush();
    SelectObject(dc.get(), old);
    const auto* pixel = static_cast<const std::uint8_t*>(bits) + (static_cast<std::size_t>(y) * width + x) * 4;
    return RGB(pixel[2], pixel[1], pixel[0]);
}

bool Near(COLORREF a, COLORREF b, int tolerance) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

void Append(std::string& bytes, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// A bitmap file: header, info header, palette and the pixel bytes as given.
std::string BitmapFile(int width, int height, int bitCount, std::uint32_t compression,
                       const std::vector<COLORREF>& palette, const std::string& bits) {
    std::string file = "BM";
    const std::uint32_t offset = 14 + 40 + static_cast<std::uint32_t>(palette.size()) * 4;
    Append(file, offset + static_cast<std::uint32_t>(bits.size()), 4);
    Append(file, 0, 4);
    Append(file, offset, 4);
    for (const std::uint32_t v : {40u, static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height)}) {
        Append(file, v, 4);
    }
    Append(file, 1, 2);
    Append(file, static_cast<std::uint32_t>(bitCount), 2);
    for (const std::uint32_t v : {compression, static_cast<std::uint32_t>(bits.size()), 2835u, 2835u,
                                  static_cast<std::uint32_t>(palette.size()), 0u}) {
        Append(file, v, 4);
    }
    for (const COLORREF c : palette) {
        Append(file, (GetBValue(c)) | (GetGValue(c) << 8) | (GetRValue(c) << 16), 4);
    }
    return file + bits;
}

// 3 x 2: the top row blue, the bottom row red.
std::string TwoRowBitmapFile() {
    std::string bits;
    for (const COLORREF row : {kRed, kBlue}) {  // bottom-up
        for (int x = 0; x < 3; ++x) {
            bits += static_cast<char>(GetBValue(row));
            bits += static_cast<char>(GetGValue(row));
            bits += static_cast<char>(GetRValue(row));
        }
        bits.append(3, '\0');  // rows end on 4 bytes
    }
    return BitmapFile(3, 2, 24, BI_RGB, {}, bits);
}

class StdPictureTest : public testing::Test {
protected:
    const qvtest::Apartment apartment_;

    static void ExpectPicture(const StdPicture& picture, PictureType type, int width, int height) {
        ASSERT_TRUE(picture);
        EXPECT_EQ(picture.Type(), type);
        EXPECT_NE(picture.Handle(), nullptr);
        EXPECT_EQ(PixelsOf(picture.Width()), width);
        EXPECT_EQ(PixelsOf(picture.Height()), height);
    }

    // A solid picture encoded by WIC (a GIF is indexed, with a two-colour palette).
    std::string EncodeWithWic(REFGUID container, COLORREF colour, int width, int height) {
        ComPtr<IWICImagingFactory> factory;
        EXPECT_HRESULT_SUCCEEDED(
            CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory)));
        if (!factory) return {};
        ComPtr<IStream> stream;
        CreateStreamOnHGlobal(nullptr, TRUE, &stream);
        ComPtr<IWICBitmapEncoder> encoder;
        EXPECT_HRESULT_SUCCEEDED(factory->CreateEncoder(container, nullptr, &encoder));
        if (!encoder) return {};
        encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache);
        ComPtr<IWICBitmapFrameEncode> frame;
        ComPtr<IPropertyBag2> options;
        encoder->CreateNewFrame(&frame, &options);
        frame->Initialize(options.Get());
        frame->SetSize(width, height);
        const bool indexed = container == GUID_ContainerFormatGif;
        WICPixelFormatGUID format = indexed ? GUID_WICPixelFormat8bppIndexed : GUID_WICPixelFormat24bppBGR;
        frame->SetPixelFormat(&format);
        std::vector<std::uint8_t> pixels;
        UINT stride = 0;
        if (indexed) {
            ComPtr<IWICPalette> palette;
            factory->CreatePalette(&palette);
            WICColor colours[2] = {0xFF000000u | (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour),
                                   0xFFFFFFFFu};
            palette->InitializeCustom(colours, 2);
            frame->SetPalette(palette.Get());
            stride = static_cast<UINT>(width);
            pixels.assign(static_cast<std::size_t>(stride) * height, 0);
        } else {
            stride = static_cast<UINT>((width * 3 + 3) & ~3);
            pixels.assign(static_cast<std::size_t>(stride) * height, 0);
            for (int y = 0; y < height; ++y) {
                for (int x = 0; x < width; ++x) {
                    std::uint8_t* p = &pixels[static_cast<std::size_t>(y) * stride + x * 3];
                    p[0] = GetBValue(colour);
                    p[1] = GetGValue(colour);
                    p[2] = GetRValue(colour);
                }
            }
        }
        EXPECT_HRESULT_SUCCEEDED(frame->WritePixels(height, stride, static_cast<UINT>(pixels.size()), pixels.data()));
        EXPECT_HRESULT_SUCCEEDED(frame->Commit());
        EXPECT_HRESULT_SUCCEEDED(encoder->Commit());
        HGLOBAL memory = nullptr;
        GetHGlobalFromStream(stream.Get(), &memory);
        STATSTG stat{};
        stream->Stat(&stat, STATFLAG_NONAME);
        const auto* data = static_cast<const char*>(GlobalLock(memory));
        std::string bytes(data, static_cast<std::size_t>(stat.cbSize.QuadPart));
        GlobalUnlock(memory);
        return bytes;
    }

    static StdPicture SolidIcon(COLORREF colour) {
        constexpr int size = 16;
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), size, size, 1, 32, BI_RGB};
        void* bits = nullptr;
        const UniqueBitmap colourBitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        auto* pixels = static_cast<std::uint32_t*>(bits);
        for (int i = 0; i < size * size; ++i) {
            pixels[i] = 0xFF000000u | (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
        }
        const std::vector<std::uint8_t> maskBits(size * size / 8, 0);  // all opaque
        const UniqueBitmap mask(CreateBitmap(size, size, 1, 1, maskBits.data()));
        ICONINFO icon{TRUE, 0, 0, mask.get(), colourBitmap.get()};
        return StdPicture::FromIcon(CreateIconIndirect(&icon));
    }

    qvtest::TempFolder folder_;
};

TEST_F(StdPictureTest, BitmapFilesLoadWithTheirPixels) {
    for (const char* name : {"two.bmp", "two.dib"}) {
        SCOPED_TRACE(name);
        folder_.Write(name, TwoRowBitmapFile());
        const StdPicture picture = LoadPicture(folder_ / name);
        ExpectPicture(picture, PictureType::Bitmap, 3, 2);
        EXPECT_EQ(PixelOf(picture, 3, 2, 0, 0), kBlue);
        EXPECT_EQ(PixelOf(picture, 3, 2, 2, 1), kRed);
    }
}

TEST_F(StdPictureTest, RunLengthEncodedBitmapLoads) {
    // 4 x 2, 8 bits: the bottom row four red pixels, the top row two blue ones and then the end of the bitmap,
    // so its last two pixels are left at colour 0.
    const std::string bits("\x04\x01\x00\x00\x02\x02\x00\x01", 8);
    folder_.Write("run.rle", BitmapFile(4, 2, 8, BI_RLE8, {kBlack, kRed, kBlue}, bits));
    const StdPicture picture = LoadPicture(folder_ / "run.rle");
    ExpectPicture(picture, PictureType::Bitmap, 4, 2);
    EXPECT_EQ(PixelOf(picture, 4, 2, 0, 1), kRed);
    EXPECT_EQ(PixelOf(picture, 4, 2, 3, 1), kRed);
    EXPECT_EQ(PixelOf(picture, 4, 2, 1, 0), kBlue);
    EXPECT_EQ(PixelOf(picture, 4, 2, 3, 0), kBlack);
    // A run-length bitmap whose header does not add up is refused, not read past its end.
    folder_.Write("bad.rle", BitmapFile(4, 2, 24, BI_RLE8, {}, bits));
    EXPECT_EQ(ErrorNumber([&] { LoadPicture(folder_ / "bad.rle"); }), err::InvalidPicture);
}

TEST_F(StdPictureTest, MetafilesSaveAndLoad) {
    // A 1 x 0.5 inch red rectangle.
    const HDC recorder = CreateMetaFileA(nullptr);
    SetWindowOrgEx(recorder, 0, 0, nullptr);
    SetWindowExtEx(recorder, 100, 50, nullptr);
    const UniqueBrush red(CreateSolidBrush(kRed));
    SelectObject(recorder, red.get());
    SelectObject(recorder, GetStockObject(NULL_PEN));
    Rectangle(recorder, 0, 0, 101, 51);
    const StdPicture made = StdPicture::FromMetafile(CloseMetaFile(recorder), 2540, 1270);
    SavePicture(made, folder_ / "pic.wmf");
    EXPECT_EQ(folder_.Read("pic.wmf").substr(0, 4), "\xD7\xCD\xC6\x9A");  // placeable
    const StdPicture loaded = LoadPicture(folder_ / "pic.wmf");
    EXPECT_EQ(loaded.Type(), PictureType::Metafile);
    EXPECT_EQ(loaded.Width(), 2540);
    EXPECT_EQ(loaded.Height(), 1270);
    EXPECT_EQ(PixelOf(loaded, 40, 20, 20, 10), kRed);
    // A metre-wide picture does not fit the header's 16-bit box at the usual unit; its size still survives.
    const HDC large = CreateMetaFileA(nullptr);
    Rectangle(large, 0, 0, 10, 10);
    SavePicture(StdPicture::FromMetafile(CloseMetaFile(large), 100000, 50000), folder_ / "large.wmf");
    const StdPicture wide = LoadPicture(folder_ / "large.wmf");
    EXPECT_NEAR(wide.Width(), 100000, 10);
    EXPECT_NEAR(wide.Height(), 50000, 10);

    const RECT frame{0, 0, 2540, 1270};
    const HDC enhanced = CreateEnhMetaFileA(nullptr, (folder_ / "pic.emf").c_str(), &frame, nullptr);
    const UniqueBrush blue(CreateSolidBrush(kBlue));
    const RECT fill{0, 0, PixelsOf(2540), PixelsOf(1270)};
    FillRect(enhanced, &fill, blue.get());
    DeleteEnhMetaFile(CloseEnhMetaFile(enhanced));
    const StdPicture emf = LoadPicture(folder_ / "pic.emf");
    EXPECT_EQ(emf.Type(), PictureType::EnhMetafile);
    EXPECT_NEAR(emf.Width(), 2540, 30);
    EXPECT_EQ(PixelOf(emf, 40, 20, 20, 10), kBlue);
    SavePicture(emf, folder_ / "copy.emf");
    const StdPicture again = LoadPicture(folder_ / "copy.emf");
    EXPECT_EQ(again.Type(), PictureType::EnhMetafile);
    EXPECT_EQ(folder_.Read("copy.emf"), folder_.Read("pic.emf"));

    // One made from a handle, as the clipboard gives it, has the size of its frame and draws.
    const HDC inMemory = CreateEnhMetaFileA(nullptr, nullptr, &frame, nullptr);
    FillRect(inMemory, &fill, blue.get());
    const StdPicture handed = StdPicture::FromEnhMetafile(CloseEnhMetaFile(inMemory));
    EXPECT_NEAR(handed.Width(), 2540, 30);
    EXPECT_NEAR(handed.Height(), 1270, 30);
    EXPECT_EQ(PixelOf(handed, 40, 20, 20, 10), kBlue);
}

TEST_F(StdPictureTest, IconsAndCursorsLoadAsIcons) {
    SavePicture(SolidIcon(kGreen), folder_ / "made.ico");
    const std::string ico = folder_.Read("made.ico");
    ASSERT_GE(ico.size(), 22u);
    EXPECT_EQ(ico.substr(0, 4), std::string("\0\0\1\0", 4));
    const StdPicture icon = LoadPicture(folder_ / "made.ico");
    ExpectPicture(icon, PictureType::Icon, 16, 16);
    EXPECT_EQ(PixelOf(icon, 16, 16, 8, 8), kGreen);

    // The same image as a cursor: type 2, and the hot spot where an icon has planes and bit count.
    std::string cur = ico;
    cur[2] = 2;
    cur[10] = 1;
    cur[11] = 0;
    cur[12] = 1;
    cur[13] = 0;
    folder_.Write("made.cur", cur);
    const StdPicture cursor = LoadPicture(folder_ / "made.cur");
    ExpectPicture(cursor, PictureType::Icon, 16, 16);
    EXPECT_EQ(PixelOf(cursor, 16, 16, 8, 8), kGreen);
}

TEST_F(StdPictureTest, JpegAndGifLoadAndSaveAsBitmaps) {
    folder_.Write("solid.jpg", EncodeWithWic(GUID_ContainerFormatJpeg, kRed, 8, 6));
    folder_.Write("solid.gif", EncodeWithWic(GUID_ContainerFormatGif, kBlue, 5, 4));
    const StdPicture jpeg = LoadPicture(folder_ / "solid.jpg");
    ExpectPicture(jpeg, PictureType::Bitmap, 8, 6);
    EXPECT_TRUE(Near(PixelOf(jpeg, 8, 6, 4, 3), kRed, 24));
    const StdPicture gif = LoadPicture(folder_ / "solid.gif");
    ExpectPicture(gif, PictureType::Bitmap, 5, 4);
    EXPECT_EQ(PixelOf(gif, 5, 4, 2, 2), kBlue);

    // Saved in the picture's own kind, whatever the name: a bitmap.
    SavePicture(jpeg, folder_ / "saved.jpg");
    EXPECT_EQ(folder_.Read("saved.jpg").substr(0, 2), "BM");
    const StdPicture reloaded = LoadPicture(folder_ / "saved.jpg");
    ExpectPicture(reloaded, PictureType::Bitmap, 8, 6);
    EXPECT_EQ(PixelOf(reloaded, 8, 6, 4, 3), PixelOf(jpeg, 8, 6, 4, 3));
}

TEST_F(StdPictureTest, BitmapSavesAndDrawsParts) {
    folder_.Write("two.bmp", TwoRowBitmapFile());
    const StdPicture picture = LoadPicture(folder_ / "two.bmp");
    SavePicture(picture, folder_ / "again.bmp");
    const StdPicture again = LoadPicture(folder_ / "again.bmp");
    ExpectPicture(again, PictureType::Bitmap, 3, 2);
    EXPECT_EQ(PixelOf(again, 3, 2, 1, 0), kBlue);
    EXPECT_EQ(PixelOf(again, 3, 2, 1, 1), kRed);

    // The bottom half of the source, measured from the top, stretched over the whole target.
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 3, -2, 1, 32, BI_RGB};
    void* bits = nullptr;
    const UniqueBitmap target(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    const UniqueDC dc(CreateCompatibleDC(nullptr));
    const HGDIOBJ old = SelectObject(dc.get(), target.get());
    again.Render(dc.get(), 0, 0, 3, 2, 0, again.Height() / 2, again.Width(), again.Height() / 2);
    GdiFlush();
    SelectObject(dc.get(), old);
    EXPECT_EQ(static_cast<const std::uint32_t*>(bits)[0] & 0xFFFFFF, 0xFF0000u);  // red, as BGRA
}

TEST_F(StdPictureTest, AFailedSaveLeavesTheEarlierFile) {
    folder_.Write("two.bmp", TwoRowBitmapFile());
    const StdPicture picture = LoadPicture(folder_ / "two.bmp");
    folder_.Write("kept.bmp", "the user's earlier picture");
    FailReplacingWritesAfter(20);  // the disk fills up half-way through the new file
    const std::int32_t error = ErrorNumber([&] { SavePicture(picture, folder_ / "kept.bmp"); });
    FailReplacingWritesAfter(std::nullopt);
    EXPECT_EQ(error, err::DiskFull);
    EXPECT_EQ(folder_.Read("kept.bmp"), "the user's earlier picture");
}

TEST_F(StdPictureTest, LoadErrors) {
    folder_.Write("text.jpg", "this is not a picture");
    folder_.Write("empty.bmp", "");
    folder_.Write("compuserve.rle", std::string("\x47\x4B\x00\x10\x00\x10", 6));
    struct Case {
        std::string path;
        std::int32_t error;
    };
    const Case cases[] = {
        {folder_ / "missing.bmp", err::FileNotFound},
        {folder_ / "no\\such\\folder.bmp", err::FileNotFound},
        {folder_ / "text.jpg", err::InvalidPicture},
        {folder_ / "empty.bmp", err::InvalidPicture},
        {folder_ / "compuserve.rle", err::InvalidPicture},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ErrorNumber([&] { LoadPicture(c.path); }), c.error) << c.path;
    }
}

TEST_F(StdPictureTest, EmptyPictureAndNothing) {
    const StdPicture empty = LoadPicture("");
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty.Type(), PictureType::None);
    EXPECT_EQ(empty.Handle(), nullptr);
    EXPECT_EQ(empty.Width(), 0);
    const UniqueDC dc(CreateCompatibleDC(nullptr));
    EXPECT_NO_THROW(empty.Render(dc.get(), 0, 0, 1, 1));
    EXPECT_EQ(ErrorNumber([&] { SavePicture(empty, folder_ / "e.bmp"); }), err::InvalidPicture);

    const StdPicture nothing;
    EXPECT_TRUE(nothing.IsNothing());
    EXPECT_EQ(ErrorNumber([&] { nothing.Type(); }), err::ObjectNotSet);
    EXPECT_EQ(ErrorNumber([&] { nothing.Handle(); }), err::ObjectNotSet);
    EXPECT_EQ(ErrorNumber([&] { SavePicture(nothing, folder_ / "n.bmp"); }), err::ObjectNotSet);
    EXPECT_TRUE(StdPicture::FromObject(nullptr).IsNothing());
}

TEST_F(StdPictureTest, CopiesAreTheSamePictureObject) {
    folder_.Write("two.bmp", TwoRowBitmapFile());
    const StdPicture original = LoadPicture(folder_ / "two.bmp");
    const StdPicture copy = original;  // NOLINT(performance-unnecessary-copy-initialization)
    EXPECT_TRUE(copy == original);
    EXPECT_EQ(copy.Get(), original.Get());
    ASSERT_NE(copy.Disp(), nullptr);
    const StdPicture viaDispatch = StdPicture::FromObject(copy.Disp());
    EXPECT_TRUE(viaDispatch == original);
    EXPECT_FALSE(LoadPicture(folder_ / "two.bmp") == original);
    // Something that is no picture does not pass as one.
    ComPtr<IStream> stream;
    CreateStreamOnHGlobal(nullptr, TRUE, &stream);
    EXPECT_EQ(ErrorNumber([&] { StdPicture::FromObject(stream.Get()); }), err::TypeMismatch);
}

TEST_F(StdPictureTest, ResourcePicturesOfTheRunningModule) {
    const StdPicture bitmap = LoadResPicture(101, res_kind::Bitmap);
    ExpectPicture(bitmap, PictureType::Bitmap, 3, 2);
    EXPECT_EQ(PixelOf(bitmap, 3, 2, 0, 1), kRed);
    const StdPicture icon = LoadResPicture(101, res_kind::Icon);
    EXPECT_EQ(icon.Type(), PictureType::Icon);
    EXPECT_EQ(PixelOf(icon, 16, 16, 8, 8), kGreen);
    EXPECT_EQ(ErrorNumber([] { LoadResPicture(999, res_kind::Bitmap); }), err::ResourceNotFound);
    EXPECT_EQ(ErrorNumber([] { LoadResPicture(999, res_kind::Icon); }), err::ResourceNotFound);
    EXPECT_EQ(ErrorNumber([] { LoadResPicture(101, 7); }), err::InvalidProcedureCall);
}

// A deferred picture is made at its first use, once for all its copies; a making that fails raises at that
// use and is tried again at the next.
TEST_F(StdPictureTest, ADeferredPictureIsMadeAtItsFirstUseOnceForAllItsCopies) {
    int made = 0;
    bool fail = true;
    const StdPicture icon = StdPicture::Deferred([&] {
        ++made;
        if (fail) throw RuntimeError(err::CannotDrawPicture);
        return LoadResPicture(101, res_kind::Icon);
    });
    const StdPicture copy = icon;
    EXPECT_FALSE(icon.IsNothing());
    EXPECT_TRUE(copy == icon);
    EXPECT_EQ(made, 0);
    EXPECT_EQ(ErrorNumber([&] { icon.Type(); }), err::CannotDrawPicture);
    EXPECT_EQ(copy.Get(), nullptr);
    EXPECT_EQ(made, 2);
    fail = false;
    EXPECT_EQ(copy.Type(), PictureType::Icon);
    EXPECT_EQ(PixelOf(icon, 16, 16, 8, 8), kGreen);
    EXPECT_EQ(icon.Handle(), copy.Handle()) << "the copies are one picture object";
    EXPECT_EQ(made, 3);
    // Met again at a COM boundary, it is the same picture.
    EXPECT_TRUE(StdPicture::FromObject(icon.Get()) == copy);
    EXPECT_FALSE(LoadResPicture(101, res_kind::Icon) == icon);
}

}  // namespace
}  // namespace forms
