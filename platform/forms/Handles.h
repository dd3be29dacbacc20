#pragma once
// Scope types for Win32 acquire/release pairs: one owner per handle, copies deleted, moves allowed.

#include "platform/forms/UniqueHandle.h"

#include <windows.h>

#include <utility>

namespace forms {

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

// SelectObject, restoring the previous object.
class ScopedSelect {
public:
    ScopedSelect(HDC dc, HGDIOBJ obj) noexcept : dc_(dc), old_(obj ? SelectObject(dc, obj) : nullptr) {}
    ~ScopedSelect() { if (old_) SelectObject(dc_, old_); }
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

}  // namespace forms
