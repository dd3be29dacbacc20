#include "main/windows/ShownHold.h"

#include "platform/subclass/Subclasser.h"

ShownHold::~ShownHold() { Release(); }

void ShownHold::Follow(HWND hwnd) {
    Release();
    hwnd_ = hwnd;
    subclass::SubscribeMessage(*this, hwnd_, WM_WINDOWPOSCHANGED);
}

void ShownHold::Release() {
    if (hwnd_) subclass::UnsubscribeMessage(*this, hwnd_, WM_WINDOWPOSCHANGED);
    hwnd_ = nullptr;
    hold_.GiveBack();
}

LRESULT ShownHold::WindowProc(HWND hwnd, UINT, WPARAM, LPARAM) {
    if (IsWindowVisible(hwnd)) hold_.Take();
    else hold_.GiveBack();
    return 0;
}
