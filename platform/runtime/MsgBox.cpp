#include "platform/runtime/MsgBox.h"

#include <windows.h>

#include <algorithm>
#include <string>

#include "platform/runtime/Answerer.h"
#include "platform/runtime/App.h"
#include "platform/runtime/OwnedHandles.h"

namespace forms {
namespace {

Answerer*& Installed() noexcept {
    static Answerer* installed = nullptr;
    return installed;
}

// The system sizes its box from the text and the buttons alone, so a short text under a longer title gets a
// title bar that cuts the title ("Quillview Erro"). The box of this thread's next call is widened, once, as
// its dialog initialises, to the width its title needs.
thread_local bool fitPending = false;

int TitleBarWidth(HWND box) {
    std::wstring title(static_cast<size_t>(GetWindowTextLengthW(box)) + 1, L'\0');
    title.resize(static_cast<size_t>(GetWindowTextW(box, title.data(), static_cast<int>(title.size()))));
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (title.empty() || !SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return 0;
    const UniqueFont font(CreateFontIndirectW(&metrics.lfCaptionFont));
    const ScopedGetDC dc(box);
    if (!font || !dc.get()) return 0;
    const ScopedSelect selected(dc.get(), font.get());
    SIZE text{};
    if (!GetTextExtentPoint32W(dc.get(), title.c_str(), static_cast<int>(title.size()), &text)) return 0;
    RECT window{}, client{};
    GetWindowRect(box, &window);
    GetClientRect(box, &client);
    const int frame = (window.right - window.left) - client.right;
    // The close button, room for the icon the title bar may show and a margin of one button each side.
    return text.cx + frame + GetSystemMetrics(SM_CXSMICON) + 3 * GetSystemMetrics(SM_CXSIZE);
}

struct Shift {
    HWND box;
    int dx;
};

// Only the box's own children move: EnumChildWindows also walks grandchildren, which move with their parent.
BOOL CALLBACK ShiftChild(HWND child, LPARAM p) {
    const auto& [parent, dx] = *reinterpret_cast<const Shift*>(p);
    if (GetParent(child) != parent) return TRUE;
    RECT place{};
    GetWindowRect(child, &place);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&place), 2);
    SetWindowPos(child, nullptr, place.left + dx, place.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return TRUE;
}

void FitTitle(HWND box) {
    RECT at{};
    GetWindowRect(box, &at);
    const int width = at.right - at.left;
    const int needed = TitleBarWidth(box);
    if (needed <= width) return;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(box, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    const int fitted = std::min<int>(needed, work.right - work.left);
    const int grow = fitted - width;
    if (grow <= 0) return;
    const int left = std::clamp<int>(at.left - grow / 2, work.left, std::max<int>(work.left, work.right - fitted));
    SetWindowPos(box, nullptr, left, at.top, fitted, at.bottom - at.top, SWP_NOZORDER | SWP_NOACTIVATE);
    // Buttons and text keep their place in the middle of the wider box.
    Shift shift{box, grow / 2};
    EnumChildWindows(box, &ShiftChild, reinterpret_cast<LPARAM>(&shift));
}

bool IsDialog(HWND window) {
    char name[16]{};
    return GetClassNameA(window, name, sizeof name) && std::string(name) == "#32770";
}

LRESULT CALLBACK FitTitleOnInit(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && fitPending) {
        const auto& sent = *reinterpret_cast<const CWPRETSTRUCT*>(lParam);
        if (sent.message == WM_INITDIALOG && IsDialog(sent.hwnd)) {
            fitPending = false;
            FitTitle(sent.hwnd);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

int SystemMsgBox(const std::string& prompt, int buttons, const std::string& title) {
    // Owned by the program's active window; without one the box still keeps the program's other windows.
    HWND owner = GetActiveWindow();
    UINT style = static_cast<UINT>(buttons) & (MB_TYPEMASK | MB_ICONMASK | MB_DEFMASK | MB_SYSTEMMODAL);
    if (!owner && !(style & MB_SYSTEMMODAL)) style |= MB_TASKMODAL;
    const UniqueHook fit(SetWindowsHookExW(WH_CALLWNDPROCRET, &FitTitleOnInit, nullptr, GetCurrentThreadId()));
    fitPending = static_cast<bool>(fit);
    const int answer = MessageBoxA(owner, prompt.c_str(), title.c_str(), style | MB_SETFOREGROUND);
    fitPending = false;
    return answer;
}

}  // namespace

Answerer* InstalledAnswerer() noexcept { return Installed(); }

ScopedAnswerer::ScopedAnswerer(Answerer& answerer) noexcept : previous_(Installed()) { Installed() = &answerer; }
ScopedAnswerer::~ScopedAnswerer() { Installed() = previous_; }

int MsgBox(const std::string& prompt, int buttons, const std::string& title) {
    const std::string& shown = title.empty() ? App::Title() : title;
    if (Answerer* answerer = InstalledAnswerer()) return answerer->MsgBox(prompt, buttons, shown);
    return SystemMsgBox(prompt, buttons, shown);
}

}  // namespace forms
