#include "platform/forms/StdPicture.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/runtime/App.h"
#include "platform/forms/PictureFiles.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/OwnedHandles.h"
#include "platform/runtime/ReplacingFile.h"
#include "platform/runtime/WholeFile.h"

using Microsoft::WRL::ComPtr;

namespace forms {
namespace {

void Check(HRESULT hr, std::int32_t error) {
    if (FAILED(hr)) throw RuntimeError(error);
}

// An enhanced metafile's picture frame, in HiMetric as its header keeps it. Some picture objects made from an
// enhanced metafile handle report no size; the frame is the size Windows' own reports.
SIZE EnhMetafileFrame(HENHMETAFILE metafile) {
    ENHMETAHEADER header{};
    if (!metafile || !GetEnhMetaFileHeader(metafile, sizeof header, &header)) return {};
    return {std::max(0L, header.rclFrame.right - header.rclFrame.left),
            std::max(0L, header.rclFrame.bottom - header.rclFrame.top)};
}

// A missing folder is as much "the file is not there" to a picture's user.
std::vector<std::uint8_t> ReadPictureFile(const std::string& path) {
    try {
        return ReadWholeFileBytes(path, 0x7FFFFFFF);
    } catch (const RuntimeError& e) {
        if (e.Number() == err::PathNotFound) throw RuntimeError(err::FileNotFound);
        if (e.Number() == err::OutOfMemory) throw RuntimeError(err::InvalidPicture);
        throw;
    }
}

// A picture object over the handle; until it exists, `owned` releases the handle if anything fails.
template <typename Unique>
StdPicture Adopt(Unique owned, PICTDESC& description) {
    description.cbSizeofstruct = sizeof description;
    ComPtr<IPicture> picture;
    Check(OleCreatePictureIndirect(&description, IID_IPicture, TRUE, reinterpret_cast<void**>(picture.GetAddressOf())),
          err::CannotDrawPicture);
    owned.release();
    return StdPicture::FromObject(picture.Get());
}

StdPicture LoadCursorFile(const std::string& path) {
    const HANDLE cursor = LoadImageA(nullptr, path.c_str(), IMAGE_CURSOR, 0, 0, LR_LOADFROMFILE);
    if (!cursor) throw RuntimeError(err::InvalidPicture);
    return StdPicture::FromIcon(static_cast<HICON>(cursor));
}

StdPicture LoadWithOle(const std::vector<std::uint8_t>& bytes) {
    const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (!memory) throw RuntimeError(err::CannotDrawPicture);
    std::memcpy(GlobalLock(memory), bytes.data(), bytes.size());
    GlobalUnlock(memory);
    ComPtr<IStream> stream;
    if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream))) {
        GlobalFree(memory);
        throw RuntimeError(err::CannotDrawPicture);
    }
    // Run mode: the picture keeps no copy of the file it came from.
    ComPtr<IPicture> picture;
    const HRESULT hr = OleLoadPicture(stream.Get(), static_cast<LONG>(bytes.size()), TRUE, IID_IPicture,
                                      reinterpret_cast<void**>(picture.GetAddressOf()));
    if (hr == E_OUTOFMEMORY || hr == CTL_E_OUTOFMEMORY) throw RuntimeError(err::CannotDrawPicture);
    if (FAILED(hr) || !picture) throw RuntimeError(err::InvalidPicture);
    return StdPicture::FromObject(picture.Get());
}

}  // namespace

StdPicture::StdPicture(ComPtr<IPicture> picture) : shared_(std::make_shared<Shared>()) {
    shared_->picture = std::move(picture);
    shared_->picture.As(&shared_->disp);
}

StdPicture StdPicture::Deferred(std::function<StdPicture()> make) {
    StdPicture deferred;
    deferred.shared_ = std::make_shared<Shared>();
    deferred.shared_->make = std::move(make);
    return deferred;
}

StdPicture StdPicture::Empty() {
    PICTDESC description{};
    description.picType = PICTYPE_NONE;
    return Adopt(UniqueBitmap(), description);
}

StdPicture StdPicture::FromBitmap(HBITMAP owned, HPALETTE palette) {
    PICTDESC description{};
    description.picType = PICTYPE_BITMAP;
    description.bmp = {owned, palette};
    return Adopt(UniqueBitmap(owned), description);
}

StdPicture StdPicture::FromIcon(HICON owned) {
    PICTDESC description{};
    description.picType = PICTYPE_ICON;
    description.icon.hicon = owned;
    return Adopt(UniqueIcon(owned), description);
}

StdPicture StdPicture::FromMetafile(HMETAFILE owned, long widthHiMetric, long heightHiMetric) {
    PICTDESC description{};
    description.picType = PICTYPE_METAFILE;
    description.wmf = {owned, static_cast<int>(widthHiMetric), static_cast<int>(heightHiMetric)};
    return Adopt(UniqueMetaFile(owned), description);
}

StdPicture StdPicture::FromEnhMetafile(HENHMETAFILE owned) {
    PICTDESC description{};
    description.picType = PICTYPE_ENHMETAFILE;
    description.emf.hemf = owned;
    return Adopt(UniqueEnhMetaFile(owned), description);
}

StdPicture StdPicture::FromObject(IUnknown* object) {
    if (!object) return {};
    ComPtr<IPicture> picture;
    if (FAILED(object->QueryInterface(IID_PPV_ARGS(&picture))) || !picture) throw RuntimeError(err::TypeMismatch);
    return StdPicture(std::move(picture));
}

IPicture& StdPicture::Required() const {
    if (!shared_) throw RuntimeError(err::ObjectNotSet);
    Shared& shared = *shared_;
    if (shared.make) {
        // A failed making raises at this use and is tried again at the next.
        const StdPicture made = shared.make();
        if (!made) throw RuntimeError(err::InvalidPicture);
        IPicture& picture = made.Required();
        shared.picture = &picture;
        shared.disp = made.shared_->disp;
        shared.make = nullptr;
    }
    return *shared.picture.Get();
}

IPicture* StdPicture::Get() const noexcept {
    if (!shared_) return nullptr;
    try {
        return &Required();
    } catch (const RuntimeError&) {
        return nullptr;
    }
}

IPictureDisp* StdPicture::Disp() const noexcept {
    return Get() ? shared_->disp.Get() : nullptr;
}

bool operator==(const StdPicture& a, const StdPicture& b) noexcept {
    if (a.shared_ == b.shared_) return true;
    if (!a.shared_ || !b.shared_) return false;
    // A deferred picture not yet made has no object that another reference could have reached.
    if (a.shared_->make || b.shared_->make) return false;
    return a.shared_->picture.Get() == b.shared_->picture.Get();
}

PictureType StdPicture::Type() const {
    SHORT type = PICTYPE_NONE;
    Check(Required().get_Type(&type), err::InvalidPicture);
    return type < 0 ? PictureType::None : static_cast<PictureType>(type);
}

long StdPicture::Width() const {
    OLE_XSIZE_HIMETRIC width = 0;
    const PictureType type = Type();
    if (type == PictureType::None) return 0;
    Check(Required().get_Width(&width), err::InvalidPicture);
    if (width == 0 && type == PictureType::EnhMetafile) {
        return EnhMetafileFrame(static_cast<HENHMETAFILE>(Handle())).cx;
    }
    return width;
}

long StdPicture::Height() const {
    OLE_YSIZE_HIMETRIC height = 0;
    const PictureType type = Type();
    if (type == PictureType::None) return 0;
    Check(Required().get_Height(&height), err::InvalidPicture);
    if (height == 0 && type == PictureType::EnhMetafile) {
        return EnhMetafileFrame(static_cast<HENHMETAFILE>(Handle())).cy;
    }
    return height;
}

HANDLE StdPicture::Handle() const {
    OLE_HANDLE handle = 0;
    Check(Required().get_Handle(&handle), err::InvalidPicture);
    // GDI handles fit in 32 bits and widen with their sign.
    return LongToHandle(static_cast<LONG>(handle));
}

HPALETTE StdPicture::hPal() const {
    OLE_HANDLE palette = 0;
    Check(Required().get_hPal(&palette), err::InvalidPicture);
    return static_cast<HPALETTE>(LongToHandle(static_cast<LONG>(palette)));
}

void StdPicture::Render(HDC dc, int x, int y, int width, int height) const {
    Render(dc, x, y, width, height, 0, 0, Width(), Height());
}

void StdPicture::Render(HDC dc, int x, int y, int width, int height, long sourceX, long sourceY, long sourceWidth,
                        long sourceHeight) const {
    if (Type() == PictureType::None) return;
    // The picture's source coordinates run bottom-up.
    Check(Required().Render(dc, x, y, width, height, sourceX, Height() - sourceY, sourceWidth, -sourceHeight,
                            nullptr),
          err::CannotDrawPicture);
}

StdPicture LoadPicture(std::string_view path) {
    if (path.empty()) return StdPicture::Empty();
    const std::string name(path);
    const std::vector<std::uint8_t> bytes = ReadPictureFile(name);
    if (bytes.empty()) throw RuntimeError(err::InvalidPicture);
    if (IsRleBitmap(bytes)) return StdPicture::FromBitmap(DecodeRleBitmap(bytes));
    if (IsCursorFile(bytes)) return LoadCursorFile(name);
    return LoadWithOle(bytes);
}

void SavePicture(const StdPicture& picture, std::string_view path) {
    if (!picture) throw RuntimeError(err::ObjectNotSet);
    std::vector<std::uint8_t> bytes;
    switch (picture.Type()) {
    case PictureType::None: throw RuntimeError(err::InvalidPicture);
    case PictureType::Bitmap:
        bytes = BitmapFileBytes(static_cast<HBITMAP>(picture.Handle()), picture.hPal());
        break;
    case PictureType::Metafile:
        bytes = PlaceableMetafileBytes(static_cast<HMETAFILE>(picture.Handle()), picture.Width(), picture.Height());
        break;
    case PictureType::Icon: bytes = IconFileBytes(static_cast<HICON>(picture.Handle())); break;
    case PictureType::EnhMetafile: bytes = EnhancedMetafileBytes(static_cast<HENHMETAFILE>(picture.Handle())); break;
    default: throw RuntimeError(err::InvalidPicture);
    }
    ReplaceWholeFile(std::string(path),
                     std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

StdPicture LoadResPicture(int id, int kind, HMODULE module) {
    if (!module) module = App::hInstance();
    UINT type = IMAGE_BITMAP;
    UINT flags = LR_CREATEDIBSECTION;
    switch (kind) {
    case res_kind::Bitmap: break;
    case res_kind::Icon:
        type = IMAGE_ICON;
        flags = LR_DEFAULTSIZE;
        break;
    case res_kind::Cursor:
        type = IMAGE_CURSOR;
        flags = LR_DEFAULTSIZE;
        break;
    default: throw RuntimeError(err::InvalidProcedureCall);
    }
    const auto load = [module, id, type, flags] {
        const HANDLE image = LoadImageA(module, MAKEINTRESOURCEA(id), type, 0, 0, flags);
        if (!image) throw RuntimeError(err::ResourceNotFound);
        return type == IMAGE_BITMAP ? StdPicture::FromBitmap(static_cast<HBITMAP>(image))
                                    : StdPicture::FromIcon(static_cast<HICON>(image));
    };
    if (type == IMAGE_BITMAP) return load();
    // An icon's handles and picture object are made when it is first drawn or asked about; a missing
    // resource still raises here.
    const LPCSTR group = type == IMAGE_ICON ? RT_GROUP_ICON : RT_GROUP_CURSOR;
    if (!FindResourceA(module, MAKEINTRESOURCEA(id), group)) throw RuntimeError(err::ResourceNotFound);
    return StdPicture::Deferred(load);
}

}  // namespace forms
