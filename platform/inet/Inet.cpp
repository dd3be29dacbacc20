#include "platform/inet/Inet.h"

#include <wininet.h>

#include <utility>

namespace inet {

namespace {

constexpr UINT kWake = WM_APP + 0x51;
constexpr UINT_PTR kWatchTimer = 1;
constexpr UINT kWatchMs = 250;
// The next slice when other messages wait: the earliest a timer can come, after paint and input.
constexpr UINT_PTR kPaceTimer = 2;
// How long one turn of the message loop may spend delivering.
constexpr std::int64_t kSliceMicroseconds = 8000;
constexpr char kClassName[] = "QuillviewInetSink";

HINSTANCE ThisModule() {
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&ThisModule), &module);
    return module;
}

void RegisterSinkClass() {
    static const bool registered = [] {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = ThisModule();
        wc.lpszClassName = kClassName;
        return RegisterClassExA(&wc) != 0;
    }();
    (void)registered;
}

bool IsInput(UINT message) {
    return (message >= WM_KEYFIRST && message <= WM_KEYLAST) || (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCXBUTTONDBLCLK) || message == WM_MOUSEHOVER ||
           message == WM_MOUSELEAVE || message == WM_NCMOUSELEAVE;
}

}  // namespace

std::string ErrorText(std::uint32_t code) {
    if (code == kTimedOut) return "Request timed out";
    if (code == kRedirectRefused)
        return "The server sent the request on to another address, which Quillview Update does not follow.";
    char* text = nullptr;
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_HMODULE |
                                       FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                   GetModuleHandleA("wininet.dll"), code, 0, reinterpret_cast<LPSTR>(&text), 0, nullptr);
    std::string result;
    if (n > 0 && text) {
        result.assign(text, n);
        while (!result.empty() && (result.back() == '\r' || result.back() == '\n' || result.back() == ' '))
            result.pop_back();
    }
    if (text) LocalFree(text);
    return result.empty() ? "Internet error " + std::to_string(code) : result;
}

Inet::Inet() {
    RegisterSinkClass();
    sink_ = CreateWindowExA(0, kClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, ThisModule(), nullptr);
    SetWindowLongPtrA(sink_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrA(sink_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Inet::WndProc));
}

Inet::~Inet() {
    if (channel_) channel_->Abandon();
    if (sink_) DestroyWindow(sink_);
}

LRESULT CALLBACK Inet::WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Inet*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self && message == kWake) {
        self->Deliver();
        return 0;
    }
    if (self && message == WM_TIMER && wParam == kWatchTimer) {
        self->CheckTimeout();
        return 0;
    }
    if (self && message == WM_TIMER && wParam == kPaceTimer) {
        KillTimer(hwnd, kPaceTimer);
        self->Deliver();
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

void Inet::Start(RequestSpec spec) {
    Cancel();
    activeTimeout_ = timeout_ > 0 ? timeout_ : 60;
    spec.timeoutSeconds = activeTimeout_;
    received_ = 0;
    channel_ = std::make_shared<Channel>(sink_, kWake);
    SetTimer(sink_, kWatchTimer, kWatchMs, nullptr);
    StartWorker(channel_, std::move(spec));
}

void Inet::Cancel() {
    if (!channel_) return;
    channel_->Abandon();
    channel_.reset();
    KillTimer(sink_, kWatchTimer);
    KillTimer(sink_, kPaceTimer);
}

void Inet::Finish(Result result) {
    Cancel();
    if (Done) Done(result);
}

void Inet::CheckTimeout() {
    if (!channel_ || delivering_) return;
    // Anything not yet delivered means the UI is behind, not the server: a block the worker left
    // unannounced (the line stalled right after it) goes out now.
    if (channel_->Pending()) {
        Rearm();
        return;
    }
    if (GetTickCount() - channel_->LastActivity() < static_cast<DWORD>(activeTimeout_) * 1000) return;
    Result r;
    r.error = kTimedOut;
    r.errorText = ErrorText(kTimedOut);
    Finish(std::move(r));
}

void Inet::Deliver() {
    // An event handler waiting in a message box must not get the next event inside it; the queue keeps it,
    // the wake-up stays armed (so the worker posts no more), and the worker waits once the queue is full.
    // The outer delivery arranges the next slice when the handler returns.
    if (delivering_ || !channel_) return;
    const auto owner = channel_;
    {
        delivering_ = true;
        struct Reset {
            bool& flag;
            ~Reset() { flag = false; }
        } reset{delivering_};
        LARGE_INTEGER frequency, start, now;
        QueryPerformanceFrequency(&frequency);
        QueryPerformanceCounter(&start);
        const std::int64_t budget = frequency.QuadPart * kSliceMicroseconds / 1000000;
        while (channel_ == owner) {
            auto e = owner->Pop();
            if (!e) break;
            Handle(*e);  // may cancel or restart
            QueryPerformanceCounter(&now);
            if (now.QuadPart - start.QuadPart >= budget) break;
        }
    }
    if (channel_ != owner) return;  // ended, or a new request with its own wake-ups
    owner->Disarm();
    if (owner->Pending()) Rearm();
}

void Inet::Handle(WorkerEvent& e) {
    switch (e.kind) {
        case WorkerEvent::Kind::State:
            if (StateChanged) StateChanged(e.state);
            break;
        case WorkerEvent::Kind::Response: {
            Result head;
            head.status = e.outcome.status;
            head.reason = e.outcome.reason;
            head.contentLength = e.outcome.contentLength;
            if (Response) Response(head);
            break;
        }
        case WorkerEvent::Kind::Data:
            received_ += e.data.size;
            if (Data) Data(e.data.View(), received_);
            break;
        case WorkerEvent::Kind::Done: {
            Result r;
            r.error = e.outcome.error;
            if (r.error == ERROR_INTERNET_TIMEOUT) r.error = kTimedOut;
            if (r.error != 0) r.errorText = ErrorText(r.error);
            r.status = e.outcome.status;
            r.reason = e.outcome.reason;
            r.contentLength = e.outcome.contentLength;
            r.received = received_;
            Finish(std::move(r));
            break;
        }
    }
}

void Inet::Rearm() {
    if (!channel_ || !channel_->Arm()) return;
    // Posted messages come before paint, input and timers: a posted wake-up while any of them waits would
    // keep the window from painting and its timers from ticking for as long as data comes faster than it
    // is handled. Then the next slice comes by timer, after them.
    if (HIWORD(GetQueueStatus(QS_INPUT | QS_PAINT | QS_TIMER)) != 0) {
        SetTimer(sink_, kPaceTimer, USER_TIMER_MINIMUM, nullptr);
    } else {
        PostMessageA(sink_, kWake, 0, 0);
    }
}

bool Inet::Wait() {
    while (channel_) {
        MSG msg;
        if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            MsgWaitForMultipleObjectsEx(0, nullptr, kWatchMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
            continue;
        }
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        if (IsInput(msg.message)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return true;
}

}  // namespace inet
