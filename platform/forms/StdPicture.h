#pragma once
// A picture object: a shared reference to an OLE picture (IPicture/IPictureDisp), so that copies are the same
// picture object, as the suite's windows, libraries and the clipboard pass it around. A default-constructed
// StdPicture is "Nothing": using it raises 91.

#include <windows.h>

#include <ocidl.h>
#include <olectl.h>
#include <wrl/client.h>

#include <functional>
#include <memory>
#include <string_view>

namespace forms {

enum class PictureType : short { None = 0, Bitmap = 1, Metafile = 2, Icon = 3, EnhMetafile = 4 };

class StdPicture {
public:
    StdPicture() noexcept = default;

    // An empty picture object (type None), as LoadPicture("") gives.
    static StdPicture Empty();
    // The picture takes ownership of the handle and releases it with its last reference.
    static StdPicture FromBitmap(HBITMAP owned, HPALETTE palette = nullptr);
    static StdPicture FromIcon(HICON owned);
    static StdPicture FromMetafile(HMETAFILE owned, long widthHiMetric, long heightHiMetric);
    static StdPicture FromEnhMetafile(HENHMETAFILE owned);
    // A picture object met at a COM boundary: null is Nothing, an object that is no picture raises 13.
    static StdPicture FromObject(IUnknown* object);
    // A picture object made at its first use by `make`, which gives a picture (not Nothing) or raises the
    // error of that use; copies share it. Start-up gives its buttons pictures that are first drawn once the
    // window is on screen.
    static StdPicture Deferred(std::function<StdPicture()> make);

    bool IsNothing() const noexcept { return !shared_; }
    explicit operator bool() const noexcept { return static_cast<bool>(shared_); }

    PictureType Type() const;
    // Size in HiMetric (0.01 mm).
    long Width() const;
    long Height() const;
    // The GDI handle of the picture's kind (HBITMAP, HMETAFILE, HICON, HENHMETAFILE); null for an empty one.
    HANDLE Handle() const;
    HPALETTE hPal() const;

    // Null for Nothing, and for a deferred picture that cannot be made.
    IPicture* Get() const noexcept;
    IPictureDisp* Disp() const noexcept;

    // Draws the whole picture into the pixel rectangle; an empty picture draws nothing. 480 when it fails.
    void Render(HDC dc, int x, int y, int width, int height) const;
    // Draws a part: the source rectangle in HiMetric, measured from the picture's top-left corner.
    void Render(HDC dc, int x, int y, int width, int height, long sourceX, long sourceY, long sourceWidth,
                long sourceHeight) const;

    // True when both refer to the same picture object (or both are Nothing).
    friend bool operator==(const StdPicture& a, const StdPicture& b) noexcept;

private:
    struct Shared {
        Microsoft::WRL::ComPtr<IPicture> picture;
        Microsoft::WRL::ComPtr<IPictureDisp> disp;
        std::function<StdPicture()> make;  // set until a deferred picture is made
    };

    explicit StdPicture(Microsoft::WRL::ComPtr<IPicture> picture);
    // Makes a deferred picture; 91 for Nothing.
    IPicture& Required() const;

    std::shared_ptr<Shared> shared_;
};

// Bitmaps (bmp, dib, and Windows RLE bitmaps), metafiles (placeable wmf, emf), icons, cursors, JPEG and GIF
// (its first frame), told apart by their content. "" gives an empty picture. Errors: 53 the file is missing,
// 481 not a picture this loader reads, 480 not enough memory to make it.
StdPicture LoadPicture(std::string_view path);
// Writes the picture in its own format whatever the name says: bitmap as BMP, metafile as placeable WMF,
// enhanced metafile as EMF, icon as ICO. Nothing raises 91, an empty picture 481.
void SavePicture(const StdPicture& picture, std::string_view path);

// From the running module's resources (or `module`'s). Kinds as the runtime numbers them.
namespace res_kind {
inline constexpr int Bitmap = 0;
inline constexpr int Icon = 1;
inline constexpr int Cursor = 2;
}  // namespace res_kind
// 326 when the module has no such resource, 5 for an unknown kind.
StdPicture LoadResPicture(int id, int kind, HMODULE module = nullptr);

}  // namespace forms
