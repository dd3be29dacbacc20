#pragma once
// The worker half of Inet: runs one request with blocking WinINet calls and hands what happens to the UI
// thread through a bounded queue and a posted wake-up message. It touches no window and no object of the
// program; once abandoned it stops handing anything over, closes its handles and ends on its own.
//
// At most one wake-up is outstanding at a time: the worker posts one only when none is armed, and the UI
// side disarms it when it has taken what it will take for now. So a fast reader cannot flood the UI thread's
// queue with posted messages, which the message loop would take before any paint or timer. Body blocks
// that come back to back are announced together (kBatchBytes, or kBatchMs after the last wake-up); the UI
// side's watch timer takes a block left unannounced by a line that then stalls.

#include <windows.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace inet {

struct RequestSpec {
    std::string method = "GET";  // GET, POST, HEAD
    std::string url;
    std::string headers;         // extra request headers, CR LF separated
    std::string body;
    int timeoutSeconds = 60;
    bool readBody = true;
};

// How a request ended, as the worker saw it (time-outs are decided on the UI side).
struct Outcome {
    std::uint32_t error = 0;   // 0: an answer was received and read to its end
    int status = 0;            // HTTP status code
    std::string reason;        // its reason phrase
    std::optional<std::uint64_t> contentLength;
    std::uint64_t received = 0;
};

// Body bytes as they were read: not cleared before the read, and never copied on the way to the UI.
struct Block {
    std::unique_ptr<char[]> bytes;
    std::size_t size = 0;
    std::size_t capacity = 0;
    std::string_view View() const { return {bytes.get(), size}; }
};

struct WorkerEvent {
    enum class Kind { State, Response, Data, Done } kind = Kind::State;
    int state = 0;
    Block data;
    Outcome outcome;
};

// Shared by the UI side and one worker; the last one to let go frees it.
class Channel {
public:
    explicit Channel(HWND sink, UINT wakeMessage) : sink_(sink), wake_(wakeMessage) {}

    // Worker side. False once the UI has abandoned the request: the worker then stops.
    bool Push(WorkerEvent event);
    bool Abandoned() const;
    // Tick of the worker's last sign of life (a byte, a state, or waiting on a full queue).
    std::uint32_t LastActivity() const { return lastActivity_.load(); }
    void Touch() { lastActivity_.store(GetTickCount()); }

    // UI side. Pop takes the oldest event, if any.
    std::optional<WorkerEvent> Pop();
    bool Pending() const;
    void Abandon();
    // Arms the wake-up; false when one was armed already. Disarm lets the worker post the next one.
    bool Arm() { return !armed_.exchange(true); }
    void Disarm() { armed_.store(false); }

    // At most this much body data waits for the UI; then the reader waits.
    static constexpr std::size_t kQueueLimit = std::size_t{4} << 20;
    static constexpr std::size_t kBatchBytes = std::size_t{512} << 10;
    static constexpr std::uint32_t kBatchMs = 5;

private:
    mutable std::mutex mutex_;
    std::condition_variable space_;
    std::deque<WorkerEvent> queue_;
    std::size_t queuedBytes_ = 0;
    bool abandoned_ = false;
    std::atomic<std::uint32_t> lastActivity_{GetTickCount()};
    std::atomic<bool> armed_{false};
    std::uint32_t lastWake_ = 0;  // worker side only
    HWND sink_;
    UINT wake_;
};

// The flags every request is opened with (the secure flag added for https), so a measurement against bare
// WinINet asks the same of it.
DWORD RequestFlags(bool secure);

// Starts the worker thread for one request; it holds its own reference to the channel.
void StartWorker(std::shared_ptr<Channel> channel, RequestSpec spec);

// Errors of our own, beside WinINet's.
inline constexpr std::uint32_t kRedirectRefused = 762;

}  // namespace inet
