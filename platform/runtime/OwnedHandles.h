#pragma once
// One owner per Win32 acquire/release pair: owned handles of every kind, and scopes for the pairs that
// belong to a window or a device context. Copies deleted, moves allowed.

#include <windows.h>

#include <utility>

namespace forms {

// An owned handle freed by Release, the function that frees its kind; a null handle is never released.
template <class Handle, auto Release>
class UniqueHandle {
public:
    UniqueHandle() noexcept = default;
    explicit UniqueHandle(Handle h) noexcept : h_(h) {}
    UniqueHandle(UniqueHandle&& other) noexcept : h_(std::exchange(other.h_, Handle{})) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(std::exchange(other.h_, Handle{}));
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { reset(); }

    Handle get() const noexcept { return h_; }
    explicit operator bool() const noexcept { return h_ != Handle{}; }
    Handle release() noexcept { return std::exchange(h_, Handle{}); }
    void reset(Handle h = Handle{}) noexcept {
        if (h_ != Handle{}) Release(h_);
        h_ = h;
    }
    // For calls that hand the handle back through a pointer; releases what was held first.
    Handle* put() noexcept {
        reset();
        return &h_;
    }

private:
    Handle h_{};
};

using UniqueBitmap = UniqueHandle<HBITMAP, &DeleteObject>;
using UniqueBrush = UniqueHandle<HBRUSH, &DeleteObject>;
using UniqueFont = UniqueHandle<HFONT, &DeleteObject>;
using UniquePen = UniqueHandle<HPEN, &DeleteObject>;
using UniqueRegion = UniqueHandle<HRGN, &DeleteObject>;
using UniquePalette = UniqueHandle<HPALETTE, &DeleteObject>;
using UniqueMenu = UniqueHandle<HMENU, &DestroyMenu>;
using UniqueDC = UniqueHandle<HDC, &DeleteDC>;
using UniqueWindow = UniqueHandle<HWND, &DestroyWindow>;
using UniqueKey = UniqueHandle<HKEY, &RegCloseKey>;
using UniqueHook = UniqueHandle<HHOOK, &UnhookWindowsHookEx>;
// Files, processes, threads. CreateFile and FindFirstFile fail with INVALID_HANDLE_VALUE: wrap their results
// through NullIfInvalid, so that "no handle" is null for every kind.
using UniqueKernelHandle = UniqueHandle<HANDLE, &CloseHandle>;
using UniqueFind = UniqueHandle<HANDLE, &FindClose>;
using UniqueIcon = UniqueHandle<HICON, &DestroyIcon>;
using UniqueMetaFile = UniqueHandle<HMETAFILE, &DeleteMetaFile>;
using UniqueEnhMetaFile = UniqueHandle<HENHMETAFILE, &DeleteEnhMetaFile>;

// A bitmap selected into a memory DC of its own (a drawing surface): the bitmap is put back out of the DC
// before either is deleted, as a selected bitmap cannot be deleted.
class BitmapDC {
public:
    BitmapDC() noexcept = default;
    // Takes both and selects the bitmap; stays empty, releasing both, when either is missing or the
    // selection fails (a bitmap is selected into one DC at a time).
    BitmapDC(UniqueDC dc, UniqueBitmap bitmap) noexcept {
        if (!dc || !bitmap) return;
        const HGDIOBJ old = SelectObject(dc.get(), bitmap.get());
        if (!old || old == HGDI_ERROR) return;
        dc_ = std::move(dc);
        bitmap_ = std::move(bitmap);
        old_ = old;
    }
    BitmapDC(BitmapDC&& other) noexcept
        : dc_(std::move(other.dc_)), bitmap_(std::move(other.bitmap_)), old_(std::exchange(other.old_, nullptr)) {}
    BitmapDC& operator=(BitmapDC&& other) noexcept {
        if (this != &other) {
            reset();
            dc_ = std::move(other.dc_);
            bitmap_ = std::move(other.bitmap_);
            old_ = std::exchange(other.old_, nullptr);
        }
        return *this;
    }
    BitmapDC(const BitmapDC&) = delete;
    BitmapDC& operator=(const BitmapDC&) = delete;
    ~BitmapDC() { reset(); }

    HDC dc() const noexcept { return dc_.get(); }
    HBITMAP bitmap() const noexcept { return bitmap_.get(); }
    explicit operator bool() const noexcept { return static_cast<bool>(dc_); }
    void reset() noexcept {
        if (dc_ && old_) SelectObject(dc_.get(), old_);
        old_ = nullptr;
        bitmap_.reset();
        dc_.reset();
    }

private:
    UniqueDC dc_;
    UniqueBitmap bitmap_;
    HGDIOBJ old_ = nullptr;
};

inline HANDLE NullIfInvalid(HANDLE handle) noexcept { return handle == INVALID_HANDLE_VALUE ? nullptr : handle; }


// GetDC/ReleaseDC.
class ScopedGetDC {
public:
    explicit ScopedGetDC(HWND hwnd) noexcept : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    ~ScopedGetDC() { if (dc_) ReleaseDC(hwnd_, dc_); }
    ScopedGetDC(const ScopedGetDC&) = delete;
    ScopedGetDC& operator=(const ScopedGetDC&) = delete;
    HDC get() const noexcept { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

// BeginPaint/EndPaint.
class ScopedPaint {
public:
    explicit ScopedPaint(HWND hwnd) noexcept : hwnd_(hwnd) { dc_ = BeginPaint(hwnd, &ps_); }
    ~ScopedPaint() { EndPaint(hwnd_, &ps_); }
    ScopedPaint(const ScopedPaint&) = delete;
    ScopedPaint& operator=(const ScopedPaint&) = delete;
    HDC get() const noexcept { return dc_; }
    const RECT& area() const noexcept { return ps_.rcPaint; }

private:
    HWND hwnd_;
    PAINTSTRUCT ps_{};
    HDC dc_{};
};

// SelectObject, restoring the previous object (nothing to restore when the selection failed).
class ScopedSelect {
public:
    ScopedSelect(HDC dc, HGDIOBJ obj) noexcept : dc_(dc), old_(obj ? SelectObject(dc, obj) : nullptr) {}
    ~ScopedSelect() {
        if (Selected()) SelectObject(dc_, old_);
    }
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;
    bool Selected() const noexcept { return old_ && old_ != HGDI_ERROR; }

private:
    HDC dc_;
    HGDIOBJ old_;
};

}  // namespace forms
