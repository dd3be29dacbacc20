#include "platform/forms/Clipboard.h"

#include "platform/runtime/OwnedHandles.h"
#include "platform/runtime/RuntimeError.h"

#include <cstring>

namespace forms {
namespace {

constexpr DWORD OpenRetryMs = 500;
constexpr DWORD OpenRetryStepMs = 10;

// The clipboard's owner while this program puts data on it: EmptyClipboard with no owner window would
// make SetClipboardData fail.
HWND OwnerWindow() {
    static UniqueWindow owner(CreateWindowExA(0, "STATIC", "Quillview.Clipboard", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                              nullptr, GetModuleHandleA(nullptr), nullptr));
    return owner.get();
}

class OpenClipboardScope {
public:
    OpenClipboardScope() {
        const ULONGLONG until = GetTickCount64() + OpenRetryMs;
        while (!OpenClipboard(OwnerWindow())) {
            if (GetTickCount64() >= until) throw RuntimeError(err::CannotOpenClipboard);
            Sleep(OpenRetryStepMs);
        }
    }
    ~OpenClipboardScope() { CloseClipboard(); }
    OpenClipboardScope(const OpenClipboardScope&) = delete;
    OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;
};

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    GetObjectA(bitmap, sizeof info, &info);
    return {info.bmWidth, info.bmHeight};
}

// A device-dependent copy, as the clipboard's CF_BITMAP expects, drawn by `paint` over white.
template <class Paint>
UniqueBitmap ScreenBitmap(SIZE size, Paint paint) {
    ScopedGetDC screen(nullptr);
    UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), size.cx, size.cy));
    UniqueDC dc(CreateCompatibleDC(screen.get()));
    if (!bitmap || !dc) throw RuntimeError(err::OutOfMemory);
    ScopedSelect select(dc.get(), bitmap.get());
    const RECT all{0, 0, size.cx, size.cy};
    FillRect(dc.get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    paint(dc.get());
    return bitmap;
}

UniqueBitmap CopyBitmap(HBITMAP source) {
    const SIZE size = BitmapSize(source);
    return ScreenBitmap(size, [&](HDC dc) {
        UniqueDC from(CreateCompatibleDC(dc));
        ScopedSelect select(from.get(), source);
        BitBlt(dc, 0, 0, size.cx, size.cy, from.get(), 0, 0, SRCCOPY);
    });
}

UniqueBitmap IconBitmap(HICON icon) {
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) throw RuntimeError(err::InvalidPicture);
    UniqueBitmap mask(info.hbmMask), color(info.hbmColor);
    SIZE size = BitmapSize(info.hbmColor ? info.hbmColor : info.hbmMask);
    if (!info.hbmColor) size.cy /= 2;  // a monochrome icon stacks its AND and XOR masks
    return ScreenBitmap(size, [&](HDC dc) { DrawIconEx(dc, 0, 0, icon, size.cx, size.cy, 0, nullptr, DI_NORMAL); });
}

void Put(UINT format, HANDLE data) {
    if (!SetClipboardData(format, data)) throw RuntimeError(err::CannotOpenClipboard);
}

// A packed DIB (CF_DIB) as a bitmap the picture owns.
UniqueBitmap FromPackedDib(HGLOBAL global) {
    const auto* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(global));
    if (!header) return {};
    UniqueBitmap bitmap;
    const SIZE_T size = GlobalSize(global);
    if (size >= sizeof(BITMAPINFOHEADER) && header->biSize >= sizeof(BITMAPINFOHEADER) && header->biSize <= size) {
        DWORD colors = header->biClrUsed;
        if (!colors && header->biBitCount <= 8) colors = 1u << header->biBitCount;
        DWORD masks = header->biCompression == BI_BITFIELDS && header->biSize == sizeof(BITMAPINFOHEADER) ? 3 : 0;
        const SIZE_T offset = header->biSize + (colors + masks) * sizeof(RGBQUAD);
        if (offset < size) {
            ScopedGetDC screen(nullptr);
            bitmap.reset(CreateDIBitmap(screen.get(), header, CBM_INIT, reinterpret_cast<const BYTE*>(header) + offset,
                                        reinterpret_cast<const BITMAPINFO*>(header), DIB_RGB_COLORS));
        }
    }
    GlobalUnlock(global);
    return bitmap;
}

StdPicture TakeBitmap() {
    if (const auto bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP))) {
        UniqueBitmap copy = CopyBitmap(bitmap);
        return StdPicture::FromBitmap(copy.release());
    }
    if (const HANDLE dib = GetClipboardData(CF_DIB)) {
        if (UniqueBitmap copy = FromPackedDib(static_cast<HGLOBAL>(dib))) return StdPicture::FromBitmap(copy.release());
    }
    return StdPicture::Empty();
}

StdPicture TakeEnhMetafile() {
    const auto emf = static_cast<HENHMETAFILE>(GetClipboardData(CF_ENHMETAFILE));
    if (!emf) return StdPicture::Empty();
    UniqueEnhMetaFile copy(CopyEnhMetaFileA(emf, nullptr));
    if (!copy) throw RuntimeError(err::OutOfMemory);
    return StdPicture::FromEnhMetafile(copy.release());
}

StdPicture TakeMetafile() {
    const auto global = static_cast<HGLOBAL>(GetClipboardData(CF_METAFILEPICT));
    const auto* pict = global ? static_cast<const METAFILEPICT*>(GlobalLock(global)) : nullptr;
    if (!pict) return StdPicture::Empty();
    UniqueMetaFile copy(CopyMetaFileA(pict->hMF, nullptr));
    const long width = pict->xExt > 0 ? pict->xExt : 0;
    const long height = pict->yExt > 0 ? pict->yExt : 0;
    GlobalUnlock(global);
    if (!copy) throw RuntimeError(err::OutOfMemory);
    return StdPicture::FromMetafile(copy.release(), width, height);
}

bool Available(int format) { return format > 0 && IsClipboardFormatAvailable(static_cast<UINT>(format)); }

}  // namespace

void Clipboard::Clear() {
    OpenClipboardScope open;
    EmptyClipboard();
}

void Clipboard::SetData(const StdPicture& picture, std::optional<int> format) {
    const PictureType type = picture.Type();  // Nothing: 91
    if (type == PictureType::None) throw RuntimeError(err::InvalidPicture);
    const bool asBitmap = type == PictureType::Bitmap || type == PictureType::Icon;
    if (format) {
        const bool fits = asBitmap ? *format == clipformat::Bitmap || *format == clipformat::Dib
                                   : *format == (type == PictureType::Metafile ? clipformat::Metafile
                                                                               : clipformat::EnhMetafile);
        if (!fits) throw RuntimeError(err::InvalidProcedureCall);
    }
    OpenClipboardScope open;
    EmptyClipboard();
    switch (type) {
    case PictureType::Bitmap: case PictureType::Icon: {
        UniqueBitmap copy = type == PictureType::Bitmap ? CopyBitmap(static_cast<HBITMAP>(picture.Handle()))
                                                        : IconBitmap(static_cast<HICON>(picture.Handle()));
        Put(CF_BITMAP, copy.get());
        copy.release();  // the clipboard owns it now
        break;
    }
    case PictureType::EnhMetafile: {
        UniqueEnhMetaFile copy(CopyEnhMetaFileA(static_cast<HENHMETAFILE>(picture.Handle()), nullptr));
        if (!copy) throw RuntimeError(err::OutOfMemory);
        Put(CF_ENHMETAFILE, copy.get());
        copy.release();
        break;
    }
    case PictureType::Metafile: {
        UniqueMetaFile copy(CopyMetaFileA(static_cast<HMETAFILE>(picture.Handle()), nullptr));
        HGLOBAL global = GlobalAlloc(GMEM_MOVEABLE, sizeof(METAFILEPICT));
        if (!copy || !global) {
            if (global) GlobalFree(global);
            throw RuntimeError(err::OutOfMemory);
        }
        auto* pict = static_cast<METAFILEPICT*>(GlobalLock(global));
        *pict = METAFILEPICT{MM_ANISOTROPIC, picture.Width(), picture.Height(), copy.get()};
        GlobalUnlock(global);
        if (!SetClipboardData(CF_METAFILEPICT, global)) {
            GlobalFree(global);
            throw RuntimeError(err::CannotOpenClipboard);
        }
        copy.release();
        break;
    }
    default: throw RuntimeError(err::InvalidPicture);
    }
}

StdPicture Clipboard::GetData(std::optional<int> format) {
    OpenClipboardScope open;
    if (!format) {
        if (Available(CF_BITMAP) || Available(CF_DIB)) return TakeBitmap();
        if (Available(CF_ENHMETAFILE)) return TakeEnhMetafile();
        if (Available(CF_METAFILEPICT)) return TakeMetafile();
        return StdPicture::Empty();
    }
    switch (*format) {
    case clipformat::Bitmap: case clipformat::Dib: return Available(*format) ? TakeBitmap() : StdPicture::Empty();
    case clipformat::EnhMetafile: return TakeEnhMetafile();
    case clipformat::Metafile: return TakeMetafile();
    default: return StdPicture::Empty();
    }
}

bool Clipboard::GetFormat(int format) { return Available(format); }

}  // namespace forms
