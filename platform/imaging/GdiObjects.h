#pragma once
// Owning wrappers for the GDI objects the picture code creates, and a scope that undoes a SelectObject.

#include <windows.h>

#include <utility>

namespace imaging {

template <class Handle, auto Deleter>
class UniqueGdi {
public:
    UniqueGdi() noexcept = default;
    explicit UniqueGdi(Handle h) noexcept : h_(h) {}
    UniqueGdi(const UniqueGdi&) = delete;
    UniqueGdi& operator=(const UniqueGdi&) = delete;
    UniqueGdi(UniqueGdi&& other) noexcept : h_(std::exchange(other.h_, nullptr)) {}
    UniqueGdi& operator=(UniqueGdi&& other) noexcept {
        if (this != &other) Reset(std::exchange(other.h_, nullptr));
        return *this;
    }
    ~UniqueGdi() { Reset(); }

    void Reset(Handle h = nullptr) noexcept {
        if (Handle old = std::exchange(h_, h)) Deleter(old);
    }
    Handle Release() noexcept { return std::exchange(h_, nullptr); }
    Handle Get() const noexcept { return h_; }
    explicit operator bool() const noexcept { return h_ != nullptr; }

private:
    Handle h_ = nullptr;
};

inline void DeleteGdiObject(HGDIOBJ h) noexcept { DeleteObject(h); }
inline void DeleteMemoryDC(HDC h) noexcept { DeleteDC(h); }
inline void DeleteMetafile(HENHMETAFILE h) noexcept { DeleteEnhMetaFile(h); }

using UniqueBitmap = UniqueGdi<HBITMAP, DeleteGdiObject>;
using UniqueMemoryDC = UniqueGdi<HDC, DeleteMemoryDC>;
using UniqueEnhMetafile = UniqueGdi<HENHMETAFILE, DeleteMetafile>;

// The screen's device context for the length of a scope.
class ScreenDC {
public:
    ScreenDC() noexcept : dc_(GetDC(nullptr)) {}
    ScreenDC(const ScreenDC&) = delete;
    ScreenDC& operator=(const ScreenDC&) = delete;
    ~ScreenDC() {
        if (dc_) ReleaseDC(nullptr, dc_);
    }
    HDC Get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }

private:
    HDC dc_;
};

// Selects an object into a DC and puts the previous one back at the end of the scope.
class SelectionScope {
public:
    SelectionScope(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(SelectObject(dc, object)) {}
    SelectionScope(const SelectionScope&) = delete;
    SelectionScope& operator=(const SelectionScope&) = delete;
    ~SelectionScope() {
        if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
    }
    bool Selected() const noexcept { return previous_ && previous_ != HGDI_ERROR; }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

}  // namespace imaging
