#pragma once
// The user's mouse and keys through SendInput, for tests that hold the desktop_input lock: clicks and
// drags at screen points of a window, key presses to the window in front.

#include <windows.h>

namespace formstest {

inline POINT ScreenPoint(HWND window, int x, int y) {
    POINT pt{x, y};
    ClientToScreen(window, &pt);
    return pt;
}

inline void MouseAt(POINT screen, DWORD flags = 0) {
    SetCursorPos(screen.x, screen.y);
    if (!flags) flags = MOUSEEVENTF_MOVE;
    const int w = GetSystemMetrics(SM_CXVIRTUALSCREEN) - 1, h = GetSystemMetrics(SM_CYVIRTUALSCREEN) - 1;
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = MulDiv(screen.x, 65535, w > 0 ? w : 1);
    in.mi.dy = MulDiv(screen.y, 65535, h > 0 ? h : 1);
    in.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    SendInput(1, &in, sizeof in);
}

inline void LeftDown(POINT screen) { MouseAt(screen, MOUSEEVENTF_LEFTDOWN); }
inline void LeftUp(POINT screen) { MouseAt(screen, MOUSEEVENTF_LEFTUP); }
inline void RightDown(POINT screen) { MouseAt(screen, MOUSEEVENTF_RIGHTDOWN); }
inline void RightUp(POINT screen) { MouseAt(screen, MOUSEEVENTF_RIGHTUP); }

inline void KeyPress(WORD vk) {
    INPUT in[2]{};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = vk;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof in[0]);
}

}  // namespace formstest
