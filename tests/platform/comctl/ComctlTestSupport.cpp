#include "ComctlTestSupport.h"

#include <ole2.h>

#include <map>

#include <gtest/gtest.h>

namespace comctltest {
namespace {
// Pictures need OLE on the UI thread.
class OleEnvironment : public ::testing::Environment {
public:
    void SetUp() override { OleInitialize(nullptr); }
    void TearDown() override { OleUninitialize(); }
};
const auto* const env = ::testing::AddGlobalTestEnvironment(new OleEnvironment);

void Send(DWORD flags) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    SendInput(1, &in, sizeof in);
}
std::map<UINT_PTR, std::function<void()>>& Pending() {
    static std::map<UINT_PTR, std::function<void()>> pending;
    return pending;
}

void CALLBACK OnLater(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    auto node = Pending().extract(id);
    if (node) node.mapped()();
}
}  // namespace

bool PumpUntil(const std::function<bool()>& done, DWORD ms) {
    const UINT_PTR tick = SetTimer(nullptr, 0, 20, nullptr);
    const bool held = forms::MessageLoop::RunUntil(done, ms);
    KillTimer(nullptr, tick);
    return held;
}

void Later(std::function<void()> fn, UINT ms) {
    const UINT_PTR id = SetTimer(nullptr, 0, ms, &OnLater);
    Pending()[id] = std::move(fn);
}

HICON SolidIcon(COLORREF colour, int size) {
    const HDC screen = GetDC(nullptr);
    HBITMAP colourBits = CreateCompatibleBitmap(screen, size, size);
    HBITMAP mask = CreateBitmap(size, size, 1, 1, nullptr);
    const HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, colourBits);
    HBRUSH brush = CreateSolidBrush(colour);
    RECT all{0, 0, size, size};
    FillRect(dc, &all, brush);
    SelectObject(dc, mask);
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));  // opaque everywhere
    SelectObject(dc, old);
    DeleteObject(brush);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    ICONINFO info{TRUE, 0, 0, mask, colourBits};
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(colourBits);
    DeleteObject(mask);
    return icon;
}

void Settle() {
    forms::MessageLoop::DoEvents();
}

void MoveTo(POINT screen) {
    SetCursorPos(screen.x, screen.y);
    Send(MOUSEEVENTF_MOVE);  // a zero move, so the window under the pointer sees WM_MOUSEMOVE
    Settle();
}

void ClickAt(POINT screen, DWORD down, DWORD up) {
    MoveTo(screen);
    Send(down);
    Send(up);
    Settle();
}

void SendClickAt(POINT screen) {
    SetCursorPos(screen.x, screen.y);
    Send(MOUSEEVENTF_MOVE);
    Send(MOUSEEVENTF_LEFTDOWN);
    Send(MOUSEEVENTF_LEFTUP);
}

bool ClickUntil(POINT screen, const std::function<bool()>& seen, DWORD down, DWORD up) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        ClickAt(screen, down, up);
        if (PumpUntil(seen, 2000)) return true;
    }
    return false;
}

void DoubleClickAt(POINT screen) {
    MoveTo(screen);
    Send(MOUSEEVENTF_LEFTDOWN);
    Send(MOUSEEVENTF_LEFTUP);
    Send(MOUSEEVENTF_LEFTDOWN);
    Send(MOUSEEVENTF_LEFTUP);
    Settle();
}

void KeyPress(WORD vk) {
    INPUT in[2]{};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = vk;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof in[0]);
    Settle();
}

POINT CentreOf(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    return CentreOf(window, r);
}

POINT CentreOf(HWND window, const RECT& client) {
    POINT p{(client.left + client.right) / 2, (client.top + client.bottom) / 2};
    ClientToScreen(window, &p);
    return p;
}

bool BringToFront(HWND window) {
    // Topmost, so that windows of tests running beside this one cannot come between it and the pointer.
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(window);
    return PumpUntil([&] { return GetForegroundWindow() == window; }, 3000);
}

}  // namespace comctltest
