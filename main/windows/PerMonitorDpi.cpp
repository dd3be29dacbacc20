#include "main/windows/PerMonitorDpi.h"

namespace {

using SetContextFn = DPI_AWARENESS_CONTEXT(WINAPI*)(DPI_AWARENESS_CONTEXT);
using WindowContextFn = DPI_AWARENESS_CONTEXT(WINAPI*)(HWND);
using AwarenessFn = DPI_AWARENESS(WINAPI*)(DPI_AWARENESS_CONTEXT);

template <class Fn>
Fn User32(const char* name) noexcept {
    HMODULE user32 = GetModuleHandleA("user32.dll");
    // The cast is how an entry point found at run time gets its type.
    return user32 ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

}  // namespace

PerMonitorDpiScope::PerMonitorDpiScope() noexcept {
    static const SetContextFn set = User32<SetContextFn>("SetThreadDpiAwarenessContext");
    if (!set) return;
    previous_ = set(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    // A system with the first per-monitor mode only: a borderless window works the same in it.
    if (!previous_) previous_ = set(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE);
}

PerMonitorDpiScope::~PerMonitorDpiScope() {
    static const SetContextFn set = User32<SetContextFn>("SetThreadDpiAwarenessContext");
    if (previous_ && set) set(previous_);
}

bool PerMonitorDpiScope::WindowIsPerMonitorAware(HWND window) noexcept {
    static const WindowContextFn of = User32<WindowContextFn>("GetWindowDpiAwarenessContext");
    static const AwarenessFn awareness = User32<AwarenessFn>("GetAwarenessFromDpiAwarenessContext");
    if (!of || !awareness) return false;
    const DPI_AWARENESS_CONTEXT context = of(window);
    return context && awareness(context) == DPI_AWARENESS_PER_MONITOR_AWARE;
}
