#pragma once
// Entry of the main program: decides whether this start is the first running instance for the user's
// session; a later start hands its command line to the running instance's window and ends.

#include <windows.h>

#include <string>

namespace modInstances {

inline constexpr char kMutexName[] = "Quillview5419_APPLICATION_MUTEX";
inline constexpr char kInstanceProperty[] = "Quillview5419_APPLICATION";
// A later start that finds the mutex taken waits this long for the running instance to mark its window.
inline constexpr DWORD kWindowWaitMs = 5000;
inline constexpr UINT kHandOffTimeoutMs = 5000;
// Test seam: a later start that finds no marked window sets the event of this name, when one exists, as it
// begins to wait; nothing creates the event in normal use.
inline constexpr char kWaitingEventName[] = "QuillviewTest_LaterStartWaiting";

void Main();

// True when this is the first instance (the named mutex did not exist yet).
bool CreateInstanceMutex(const std::string& name);
// Leaves the first marked top-level window (or none) in FoundWindow().
void FindRunningInstance();
HWND FoundWindow();
bool IsInstanceWindow(HWND hwnd);
BOOL CALLBACK EnumInstanceWindowsProc(HWND hwnd, LPARAM lParam);
void RestoreAndActivate(HWND hwnd);
void BringToForeground(HWND hwnd);
void MarkInstanceWindow(HWND hwnd);
void ReleaseInstanceMutex();

// Sends the hand-off record (WM_COPYDATA, dwData 0, the command line's bytes without terminator, or one zero
// byte when it is empty) with the bounded wait.
void SendCommandLine(HWND target, const std::string& commandLine);

}  // namespace modInstances
