#include "main/core/modInstances.h"

#include "main/core/Module1.h"
#include "platform/runtime/CommandLine.h"
#include "platform/runtime/OwnedHandles.h"


namespace modInstances {

namespace {
forms::UniqueKernelHandle g_mutex;
HWND g_found = nullptr;

// A later start polls for the window at this interval while the first instance is still starting.
constexpr DWORD kWindowPollMs = 50;
}  // namespace

bool CreateInstanceMutex(const std::string& name) {
    // The error is read before the reset, which may close an earlier handle and change it.
    const HANDLE mutex = CreateMutexA(nullptr, TRUE, name.c_str());
    const DWORD error = GetLastError();
    g_mutex.reset(mutex);
    if (error == ERROR_ALREADY_EXISTS) {
        g_mutex.reset();
        return false;
    }
    // A failed creation for any other reason counts as a first instance.
    return true;
}

BOOL CALLBACK EnumInstanceWindowsProc(HWND hwnd, LPARAM) {
    if (IsInstanceWindow(hwnd)) {
        g_found = hwnd;
        return FALSE;
    }
    return TRUE;
}

void FindRunningInstance() {
    g_found = nullptr;
    EnumWindows(&EnumInstanceWindowsProc, 0);
}

HWND FoundWindow() { return g_found; }

bool IsInstanceWindow(HWND hwnd) {
    return reinterpret_cast<INT_PTR>(GetPropA(hwnd, kInstanceProperty)) == 1;
}

void BringToForeground(HWND hwnd) { SetForegroundWindow(hwnd); }

void RestoreAndActivate(HWND hwnd) {
    if (IsIconic(hwnd)) {
        SendMessageA(hwnd, WM_SYSCOMMAND, SC_RESTORE, 0);
    }
    BringToForeground(hwnd);
}

void MarkInstanceWindow(HWND hwnd) {
    SetPropA(hwnd, kInstanceProperty, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(1)));
}

void ReleaseInstanceMutex() { g_mutex.reset(); }

void SendCommandLine(HWND target, const std::string& commandLine) {
    // An empty line still carries one byte, so the receiver can tell a hand-off from nothing.
    std::string bytes = commandLine.empty() ? std::string(1, '\0') : commandLine;
    COPYDATASTRUCT record{};
    record.dwData = 0;
    record.cbData = static_cast<DWORD>(bytes.size());
    record.lpData = bytes.data();
    DWORD_PTR result = 0;
    SendMessageTimeoutA(target, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&record), SMTO_NORMAL,
                        kHandOffTimeoutMs, &result);
}

namespace {
// Lets a test see this start reach its wait, instead of guessing with a delay.
void SignalWaiting() {
    const forms::UniqueKernelHandle event(OpenEventA(EVENT_MODIFY_STATE, FALSE, kWaitingEventName));
    if (event) SetEvent(event.get());
}

// The first instance may still be starting: its mutex exists before its window is marked. Waiting for the
// window, boundedly, keeps the user's file from being lost.
void FindRunningInstanceWaiting() {
    const ULONGLONG deadline = GetTickCount64() + kWindowWaitMs;
    FindRunningInstance();
    if (!g_found) SignalWaiting();
    while (!g_found && GetTickCount64() < deadline) {
        Sleep(kWindowPollMs);
        FindRunningInstance();
    }
}
}  // namespace

void Main() {
    Module1::gCommandLine = forms::Command();
    // Started by the system's object activation: no instance of the user's, so no mutex and no window.
    if (forms::AppStartMode() == forms::StartMode::Automation) return;

    if (CreateInstanceMutex(kMutexName)) {
        Module1::StartApplication();
        return;
    }

    FindRunningInstanceWaiting();
    const HWND window = FoundWindow();
    if (!window) return;
    if (IsWindowVisible(window) && Module1::gCommandLine.empty()) {
        RestoreAndActivate(window);
        return;
    }
    SendCommandLine(window, Module1::gCommandLine);
}

}  // namespace modInstances
