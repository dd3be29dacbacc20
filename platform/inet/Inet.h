#pragma once
// Our internet transfer control: one HTTP request at a time over WinINet, run on a worker thread with
// blocking calls. Everything it reports (states, body data, the end) arrives on the UI thread from the
// message loop, through a message-only window of its own, never inside another of its own events.
//
// Events are delivered in slices of a few milliseconds: between two slices the message loop turns, and
// while paint, timer or input messages wait the next slice waits for them instead of overtaking them.
//
// Time-outs are decided here, not by WinINet (whose time-outs are not dependable): no sign of the worker
// for `timeoutSeconds` ends the request with kTimedOut. Cancel ends a request at once; the worker, which
// may still wait inside WinINet, is abandoned and ends on its own without touching anything.

#include "platform/inet/InetWorker.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace inet {

inline constexpr std::uint32_t kTimedOut = 35761;

struct Result {
    std::uint32_t error = 0;  // 0, a WinINet code, kRedirectRefused or kTimedOut
    std::string errorText;
    int status = 0;
    std::string reason;
    std::optional<std::uint64_t> contentLength;
    std::uint64_t received = 0;
};

// The system's text for a WinINet code, else "Internet error n"; ours for 762 and 35761.
std::string ErrorText(std::uint32_t code);

class Inet {
public:
    Inet();
    ~Inet();
    Inet(const Inet&) = delete;
    Inet& operator=(const Inet&) = delete;

    // The transfer control's states: 1-6 on the way to the server, 9 and 10 as the connection closes.
    std::function<void(int state)> StateChanged;
    // The answer's status line and length, before its body (not for redirects that are followed).
    std::function<void(const Result& head)> Response;
    // A block of the body and the bytes received so far.
    std::function<void(std::string_view block, std::uint64_t total)> Data;
    // The end of a request: always exactly once per Start, unless it was cancelled.
    std::function<void(const Result&)> Done;

    // Starts a request; a running one is cancelled first.
    void Start(RequestSpec spec);
    // Ends the running request at once, with no further events.
    void Cancel();
    bool StillExecuting() const noexcept { return static_cast<bool>(channel_); }
    int RequestTimeout() const noexcept { return timeout_; }
    void SetRequestTimeout(int seconds) noexcept { timeout_ = seconds; }

    // Waits for the running request to end. The wait dispatches paint, timer and other posted messages (so
    // windows repaint and timers tick) and discards keyboard and mouse input, so nothing re-enters the
    // caller. False when WM_QUIT ended the wait (it is posted again).
    bool Wait();

private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void Deliver();
    void Handle(WorkerEvent& e);
    void Rearm();
    void CheckTimeout();
    void Finish(Result result);

    HWND sink_ = nullptr;
    std::shared_ptr<Channel> channel_;
    int timeout_ = 60;
    int activeTimeout_ = 60;
    bool delivering_ = false;
    std::uint64_t received_ = 0;
};

}  // namespace inet
