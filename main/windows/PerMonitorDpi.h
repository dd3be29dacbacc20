#pragma once
// Per-monitor DPI awareness (v2) for the calling thread for the scope: the full-screen windows created
// inside it, and the screen reads made inside it, work in the monitor's real pixels, so the system never
// stretches them on a monitor whose DPI differs from the system's. Looked up at run time: a system without
// the second per-monitor mode gets the first, one without either nothing.

#include <windows.h>

class PerMonitorDpiScope {
public:
    PerMonitorDpiScope() noexcept;
    ~PerMonitorDpiScope();
    PerMonitorDpiScope(const PerMonitorDpiScope&) = delete;
    PerMonitorDpiScope& operator=(const PerMonitorDpiScope&) = delete;

    // True when the thread runs per-monitor aware inside the scope.
    bool Active() const noexcept { return previous_ != nullptr; }

    // Whether a window was created per-monitor aware; false where the system cannot say.
    static bool WindowIsPerMonitorAware(HWND window) noexcept;

private:
    DPI_AWARENESS_CONTEXT previous_ = nullptr;
};
