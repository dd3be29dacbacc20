#pragma once
// Shared by the control tests: pumping until a condition holds, synthesized mouse input at screen points,
// and a log of events.

#include "platform/forms/MessageLoop.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace comctltest {

// Pumps until done() holds, at most ms. A ticking timer wakes the loop, so that a condition on what another
// process does (the taskbar painting) is seen without a message of our own.
bool PumpUntil(const std::function<bool()>& done, DWORD ms = 5000);
// Dispatches what waits in the queue (synthesized input is queued by the time SendInput returns).
void Settle();

// A press and release of a mouse button (MOUSEEVENTF_LEFTDOWN... flags) at a screen point.
void ClickAt(POINT screen, DWORD down = MOUSEEVENTF_LEFTDOWN, DWORD up = MOUSEEVENTF_LEFTUP);
void DoubleClickAt(POINT screen);
// Clicks until seen() holds: under Wine a synthesized press right after a window change is now and then
// lost, and a lost press raised nothing, so pressing again counts no event twice. False after three tries.
bool ClickUntil(POINT screen, const std::function<bool()>& seen, DWORD down = MOUSEEVENTF_LEFTDOWN,
                DWORD up = MOUSEEVENTF_LEFTUP);
// The same input without pumping: for use inside another loop (a popup menu's), which must see it itself.
void SendClickAt(POINT screen);
void MoveTo(POINT screen);
void KeyPress(WORD vk);
// The centre of a window's client rectangle (or of a rectangle in its client coordinates) on the screen.
POINT CentreOf(HWND window);
POINT CentreOf(HWND window, const RECT& client);
// Brings a top-level window to the front (topmost) with the focus, so that synthesized input reaches it.
bool BringToFront(HWND window);

// Runs fn from inside whatever message loop runs a moment from now (a modal loop, a popup menu's).
void Later(std::function<void()> fn, UINT ms = 20);
// A solid icon of one colour, for finding it on the screen.
HICON SolidIcon(COLORREF colour, int size = 16);

struct Log {
    std::vector<std::string> lines;
    void operator()(std::string line) { lines.push_back(std::move(line)); }
    void Clear() { lines.clear(); }
};

}  // namespace comctltest
