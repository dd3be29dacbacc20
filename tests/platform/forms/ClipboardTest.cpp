#include "ErrorNumber.h"

#include "platform/forms/Clipboard.h"
#include "platform/runtime/OwnedHandles.h"

#include <gtest/gtest.h>

#include <functional>
#include <thread>
#include <vector>

using namespace forms;

namespace {

constexpr COLORREF Red = RGB(255, 0, 0);
constexpr COLORREF Blue = RGB(0, 0, 255);
constexpr COLORREF White = RGB(255, 255, 255);

COLORREF PixelOf(HBITMAP bitmap, int x, int y) {
    UniqueDC dc(CreateCompatibleDC(nullptr));
    ScopedSelect select(dc.get(), bitmap);
    return GetPixel(dc.get(), x, y);
}

// A 16 x 16 bitmap, blue with a red pixel at (1, 1).
HBITMAP MakeBitmap() {
    ScopedGetDC screen(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen.get(), 16, 16);
    UniqueDC dc(CreateCompatibleDC(screen.get()));
    ScopedSelect select(dc.get(), bitmap);
    UniqueBrush blue(CreateSolidBrush(Blue));
    const RECT all{0, 0, 16, 16};
    FillRect(dc.get(), &all, blue.get());
    SetPixel(dc.get(), 1, 1, Red);
    return bitmap;
}

// A 16 x 16 icon: red in its left half, transparent in its right half.
HICON MakeIcon() {
    ScopedGetDC screen(nullptr);
    UniqueBitmap color(CreateCompatibleBitmap(screen.get(), 16, 16));
    UniqueBitmap mask(CreateBitmap(16, 16, 1, 1, nullptr));
    {
        UniqueDC dc(CreateCompatibleDC(screen.get()));
        ScopedSelect c(dc.get(), color.get());
        const RECT all{0, 0, 16, 16}, left{0, 0, 8, 16}, right{8, 0, 16, 16};
        FillRect(dc.get(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        UniqueBrush red(CreateSolidBrush(Red));
        FillRect(dc.get(), &left, red.get());
        ScopedSelect m(dc.get(), mask.get());
        FillRect(dc.get(), &left, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        FillRect(dc.get(), &right, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
    ICONINFO info{TRUE, 0, 0, mask.get(), color.get()};
    return CreateIconIndirect(&info);
}

StdPicture MakeMetafile() {
    const HDC dc = CreateMetaFileA(nullptr);
    Rectangle(dc, 0, 0, 100, 50);
    return StdPicture::FromMetafile(CloseMetaFile(dc), 2000, 1000);
}

StdPicture MakeEnhMetafile() {
    const RECT frame{0, 0, 2000, 1000};
    const HDC dc = CreateEnhMetaFileA(nullptr, nullptr, &frame, nullptr);
    Rectangle(dc, 0, 0, 100, 50);
    return StdPicture::FromEnhMetafile(CloseEnhMetaFile(dc));
}

struct Formats {
    bool bitmap, metafile, dib, emf;
};
Formats FormatsNow() {
    return {Clipboard::GetFormat(clipformat::Bitmap), Clipboard::GetFormat(clipformat::Metafile),
            Clipboard::GetFormat(clipformat::Dib), Clipboard::GetFormat(clipformat::EnhMetafile)};
}

TEST(Clipboard, PicturesGoAndComeBackAsCopiesInTheirOwnFormat) {
    struct Case {
        const char* what;
        std::function<StdPicture()> make;
        Formats formats;
        PictureType back;
    };
    const Case cases[] = {
        {"bitmap", [] { return StdPicture::FromBitmap(MakeBitmap()); }, {true, false, true, false}, PictureType::Bitmap},
        // The system offers either kind of metafile as the other too; without a format the enhanced one wins.
        {"enhanced metafile", MakeEnhMetafile, {false, true, false, true}, PictureType::EnhMetafile},
        {"metafile", MakeMetafile, {false, true, false, true}, PictureType::EnhMetafile},
        {"icon", [] { return StdPicture::FromIcon(MakeIcon()); }, {true, false, true, false}, PictureType::Bitmap},
    };
    for (const Case& c : cases) {
        const StdPicture original = c.make();
        Clipboard::SetData(original);
        const Formats f = FormatsNow();
        EXPECT_EQ(f.bitmap, c.formats.bitmap) << c.what;
        EXPECT_EQ(f.metafile, c.formats.metafile) << c.what;
        EXPECT_EQ(f.dib, c.formats.dib) << c.what;
        EXPECT_EQ(f.emf, c.formats.emf) << c.what;
        const StdPicture back = original.Type() == PictureType::Metafile ? Clipboard::GetData(clipformat::Metafile)
                                                                          : Clipboard::GetData();
        const PictureType expected = original.Type() == PictureType::Metafile ? PictureType::Metafile : c.back;
        ASSERT_EQ(Clipboard::GetData().Type(), c.back) << c.what;
        ASSERT_EQ(back.Type(), expected) << c.what;
        EXPECT_NE(back.Handle(), original.Handle()) << c.what << ": a copy, never the same handle";
        // Neither picture depends on the clipboard's copy: both still work once it is emptied.
        Clipboard::Clear();
        EXPECT_EQ(FormatsNow().bitmap || FormatsNow().emf || FormatsNow().metafile, false);
        if (expected == PictureType::Bitmap) {
            const auto bitmap = static_cast<HBITMAP>(back.Handle());
            EXPECT_EQ(PixelOf(bitmap, 1, 1), Red) << c.what;
            EXPECT_EQ(PixelOf(bitmap, 12, 4), original.Type() == PictureType::Icon ? White : Blue)
                << c.what << ": an icon is drawn on white";
        } else if (expected == PictureType::Metafile) {
            EXPECT_EQ(back.Width(), 2000) << "the size goes in HiMetric";
            EXPECT_EQ(back.Height(), 1000);
            EXPECT_GT(GetMetaFileBitsEx(static_cast<HMETAFILE>(back.Handle()), 0, nullptr), 0u);
        } else {
            EXPECT_GT(GetEnhMetaFileBits(static_cast<HENHMETAFILE>(back.Handle()), 0, nullptr), 0u);
        }
        if (original.Type() == PictureType::Icon) {
            ICONINFO info{};
            EXPECT_TRUE(GetIconInfo(static_cast<HICON>(original.Handle()), &info)) << "the icon survives the emptying";
            DeleteObject(info.hbmMask);
            DeleteObject(info.hbmColor);
        } else {
            EXPECT_NE(GetObjectType(original.Handle()), 0u) << c.what << ": the original survives the emptying";
        }
    }
}

TEST(Clipboard, ADibAloneIsReadAsABitmap) {
    // A 2 x 1 bottom-up 24-bit DIB: red, then blue.
    const BITMAPINFOHEADER header{sizeof header, 2, 1, 1, 24, BI_RGB, 8, 0, 0, 0, 0};
    const BYTE bits[8] = {0, 0, 255, 255, 0, 0, 0, 0};
    HGLOBAL global = GlobalAlloc(GMEM_MOVEABLE, sizeof header + sizeof bits);
    auto* p = static_cast<BYTE*>(GlobalLock(global));
    memcpy(p, &header, sizeof header);
    memcpy(p + sizeof header, bits, sizeof bits);
    GlobalUnlock(global);
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    SetClipboardData(CF_DIB, global);
    CloseClipboard();
    EXPECT_TRUE(Clipboard::GetFormat(clipformat::Dib));
    const StdPicture picture = Clipboard::GetData();
    ASSERT_EQ(picture.Type(), PictureType::Bitmap);
    EXPECT_EQ(PixelOf(static_cast<HBITMAP>(picture.Handle()), 0, 0), Red);
    EXPECT_EQ(PixelOf(static_cast<HBITMAP>(picture.Handle()), 1, 0), Blue);
}

TEST(Clipboard, TextIsNoPicture) {
    HGLOBAL global = GlobalAlloc(GMEM_MOVEABLE, 6);
    memcpy(GlobalLock(global), "hello", 6);
    GlobalUnlock(global);
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    SetClipboardData(CF_TEXT, global);
    CloseClipboard();
    for (int format : {clipformat::Bitmap, clipformat::Metafile, clipformat::Dib, clipformat::EnhMetafile})
        EXPECT_FALSE(Clipboard::GetFormat(format)) << format;
    const StdPicture picture = Clipboard::GetData();
    EXPECT_EQ(picture.Type(), PictureType::None);
    EXPECT_EQ(picture.Handle(), nullptr);
}

TEST(Clipboard, RefusalsAndAClipboardHeldByAnother) {
    EXPECT_EQ(ErrorNumber([] { Clipboard::SetData(StdPicture()); }), err::ObjectNotSet);
    EXPECT_EQ(ErrorNumber([] { Clipboard::SetData(StdPicture::Empty()); }), err::InvalidPicture);
    EXPECT_EQ(ErrorNumber([] { Clipboard::SetData(MakeMetafile(), clipformat::Bitmap); }), err::InvalidProcedureCall);

    HANDLE opened = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread other([&] {
        OpenClipboard(nullptr);
        SetEvent(opened);
        WaitForSingleObject(release, 10000);
        CloseClipboard();
    });
    WaitForSingleObject(opened, 10000);
    const ULONGLONG start = GetTickCount64();
    try {
        Clipboard::Clear();
        ADD_FAILURE() << "the clipboard was held open";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Number(), err::CannotOpenClipboard);
        EXPECT_EQ(e.Description(), "Can't open Clipboard");
    }
    EXPECT_GE(GetTickCount64() - start, 400u) << "retried for about half a second";
    SetEvent(release);
    other.join();
    CloseHandle(opened);
    CloseHandle(release);
    EXPECT_NO_THROW(Clipboard::Clear());
}

}  // namespace
