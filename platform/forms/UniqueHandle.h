#pragma once
// One owning wrapper for every kind of Win32 handle: the traits say what "no handle" is and how to release it.
// Moves only; a copy would release twice.

#include <windows.h>

#include <utility>

namespace forms {

template <typename Traits>
class UniqueHandle {
public:
    using Handle = typename Traits::Handle;

    UniqueHandle() noexcept = default;
    explicit UniqueHandle(Handle handle) noexcept : handle_(handle) {}
    ~UniqueHandle() { reset(); }

    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    Handle get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != Traits::Invalid(); }

    Handle release() noexcept { return std::exchange(handle_, Traits::Invalid()); }
    void reset(Handle handle = Traits::Invalid()) noexcept {
        const Handle old = std::exchange(handle_, handle);
        if (old != Traits::Invalid()) Traits::Close(old);
    }
    // For APIs that return the handle through an out parameter; releases what was held.
    Handle* put() noexcept {
        reset();
        return &handle_;
    }

private:
    Handle handle_ = Traits::Invalid();
};

namespace handle_traits {
// `Close` releases a handle; most kinds use null for "none", CreateFile and FindFirstFile use
// INVALID_HANDLE_VALUE.
template <typename H, auto Close_, bool InvalidIsMinusOne = false>
struct Of {
    using Handle = H;
    static Handle Invalid() noexcept {
        if constexpr (InvalidIsMinusOne) {
            return INVALID_HANDLE_VALUE;
        } else {
            return nullptr;
        }
    }
    static void Close(Handle h) noexcept { Close_(h); }
};
}  // namespace handle_traits

using UniqueKey = UniqueHandle<handle_traits::Of<HKEY, RegCloseKey>>;
using UniqueFile = UniqueHandle<handle_traits::Of<HANDLE, CloseHandle, true>>;
using UniqueKernelHandle = UniqueHandle<handle_traits::Of<HANDLE, CloseHandle>>;
using UniqueFind = UniqueHandle<handle_traits::Of<HANDLE, FindClose, true>>;
using UniqueBitmap = UniqueHandle<handle_traits::Of<HBITMAP, DeleteObject>>;
using UniqueBrush = UniqueHandle<handle_traits::Of<HBRUSH, DeleteObject>>;
using UniqueFont = UniqueHandle<handle_traits::Of<HFONT, DeleteObject>>;
using UniquePen = UniqueHandle<handle_traits::Of<HPEN, DeleteObject>>;
using UniqueRegion = UniqueHandle<handle_traits::Of<HRGN, DeleteObject>>;
using UniqueMenu = UniqueHandle<handle_traits::Of<HMENU, DestroyMenu>>;
using UniqueWindow = UniqueHandle<handle_traits::Of<HWND, DestroyWindow>>;
using UniqueIcon = UniqueHandle<handle_traits::Of<HICON, DestroyIcon>>;
using UniqueDc = UniqueHandle<handle_traits::Of<HDC, DeleteDC>>;
using UniqueMetaFile = UniqueHandle<handle_traits::Of<HMETAFILE, DeleteMetaFile>>;
using UniqueEnhMetaFile = UniqueHandle<handle_traits::Of<HENHMETAFILE, DeleteEnhMetaFile>>;

}  // namespace forms
