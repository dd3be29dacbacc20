#include "platform/inet/InetWorker.h"

#include "platform/inet/ReplyNumber.h"

#include <wininet.h>

#include <array>
#include <cstring>
#include <thread>
#include <utility>

namespace inet {

namespace {

constexpr DWORD kBlockBytes = 64 * 1024;

// What an event holds in memory while it waits, so the queue's bound is one of memory, not of body bytes.
std::size_t Cost(const WorkerEvent& event) { return sizeof(WorkerEvent) + event.data.capacity; }

}  // namespace

bool Channel::Push(WorkerEvent event) {
    bool announce = event.kind != WorkerEvent::Kind::Data;
    {
        std::unique_lock lock(mutex_);
        if (event.kind == WorkerEvent::Kind::Data) {
            // A UI busy in a message box drains nothing: the reader waits here instead of buffering without
            // end.
            while (!abandoned_ && queuedBytes_ >= kQueueLimit) {
                lastActivity_.store(GetTickCount());
                space_.wait_for(lock, std::chrono::milliseconds(200));
            }
        }
        if (abandoned_) return false;
        lastActivity_.store(GetTickCount());
        queuedBytes_ += Cost(event);
        queue_.push_back(std::move(event));
        announce = announce || queuedBytes_ >= kBatchBytes;
    }
    const std::uint32_t now = GetTickCount();
    announce = announce || now - lastWake_ >= kBatchMs;
    // Pushed before the flag is tested: a UI that disarms and then finds the queue empty is woken by this.
    if (announce && Arm()) {
        lastWake_ = now;
        PostMessageA(sink_, wake_, 0, 0);
    }
    return true;
}

bool Channel::Abandoned() const {
    const std::lock_guard lock(mutex_);
    return abandoned_;
}

bool Channel::Pending() const {
    const std::lock_guard lock(mutex_);
    return !queue_.empty();
}

std::optional<WorkerEvent> Channel::Pop() {
    std::optional<WorkerEvent> event;
    bool roomAgain = false;
    {
        const std::lock_guard lock(mutex_);
        if (queue_.empty()) return event;
        event.emplace(std::move(queue_.front()));
        queue_.pop_front();
        roomAgain = queuedBytes_ >= kQueueLimit;
        queuedBytes_ -= Cost(*event);
        roomAgain = roomAgain && queuedBytes_ < kQueueLimit;
    }
    if (roomAgain) space_.notify_all();
    return event;
}

void Channel::Abandon() {
    {
        const std::lock_guard lock(mutex_);
        abandoned_ = true;
        queue_.clear();
        queuedBytes_ = 0;
    }
    space_.notify_all();
}

namespace {

struct InternetHandle {
    HINTERNET h = nullptr;
    InternetHandle() = default;
    explicit InternetHandle(HINTERNET handle) : h(handle) {}
    InternetHandle(const InternetHandle&) = delete;
    InternetHandle& operator=(const InternetHandle&) = delete;
    ~InternetHandle() {
        if (h) InternetCloseHandle(h);
    }
    explicit operator bool() const { return h != nullptr; }
};

// The status callback's milestones as the transfer control numbers its states.
int StateOfStatus(DWORD status) {
    switch (status) {
        case INTERNET_STATUS_RESOLVING_NAME: return 1;
        case INTERNET_STATUS_NAME_RESOLVED: return 2;
        case INTERNET_STATUS_CONNECTING_TO_SERVER: return 3;
        case INTERNET_STATUS_CONNECTED_TO_SERVER: return 4;
        case INTERNET_STATUS_SENDING_REQUEST: return 5;
        case INTERNET_STATUS_REQUEST_SENT: return 6;
        case INTERNET_STATUS_CLOSING_CONNECTION: return 9;
        case INTERNET_STATUS_CONNECTION_CLOSED: return 10;
        default: return 0;
    }
}

void CALLBACK StatusCallback(HINTERNET, DWORD_PTR context, DWORD status, LPVOID, DWORD) {
    const int state = StateOfStatus(status);
    if (state == 0 || context == 0) return;
    auto* channel = reinterpret_cast<Channel*>(context);
    WorkerEvent e;
    e.kind = WorkerEvent::Kind::State;
    e.state = state;
    channel->Push(std::move(e));
}

struct UrlParts {
    INTERNET_SCHEME scheme = INTERNET_SCHEME_UNKNOWN;
    std::string host;
    INTERNET_PORT port = 0;
    std::string pathAndQuery;
    std::string user, password;
};

std::optional<UrlParts> Crack(const std::string& url) {
    std::array<char, INTERNET_MAX_HOST_NAME_LENGTH + 1> host{};
    std::array<char, 256> user{}, password{};
    std::string path(url.size() + 2, '\0'), extra(url.size() + 2, '\0');
    URL_COMPONENTSA c{};
    c.dwStructSize = sizeof c;
    c.lpszHostName = host.data();
    c.dwHostNameLength = static_cast<DWORD>(host.size());
    c.lpszUserName = user.data();
    c.dwUserNameLength = static_cast<DWORD>(user.size());
    c.lpszPassword = password.data();
    c.dwPasswordLength = static_cast<DWORD>(password.size());
    c.lpszUrlPath = path.data();
    c.dwUrlPathLength = static_cast<DWORD>(path.size());
    c.lpszExtraInfo = extra.data();
    c.dwExtraInfoLength = static_cast<DWORD>(extra.size());
    if (url.empty() || !InternetCrackUrlA(url.c_str(), 0, 0, &c)) return std::nullopt;
    if (c.nScheme != INTERNET_SCHEME_HTTP && c.nScheme != INTERNET_SCHEME_HTTPS) return std::nullopt;
    if (host[0] == '\0') return std::nullopt;
    UrlParts p;
    p.scheme = c.nScheme;
    p.host = host.data();
    p.port = c.nPort;
    p.pathAndQuery = std::string(path.c_str()) + extra.c_str();
    if (p.pathAndQuery.empty()) p.pathAndQuery = "/";
    p.user = user.data();
    p.password = password.data();
    return p;
}

std::optional<std::string> QueryText(HINTERNET request, DWORD info) {
    std::string buffer(256, '\0');
    for (int attempt = 0; attempt < 2; ++attempt) {
        DWORD size = static_cast<DWORD>(buffer.size());
        DWORD index = 0;
        if (HttpQueryInfoA(request, info, buffer.data(), &size, &index)) {
            buffer.resize(size);
            return buffer;
        }
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return std::nullopt;
        buffer.assign(size + 1, '\0');
    }
    return std::nullopt;
}

std::string CombineUrl(const std::string& base, const std::string& relative) {
    DWORD size = static_cast<DWORD>(base.size() + relative.size() + 64);
    std::string out(size, '\0');
    if (!InternetCombineUrlA(base.c_str(), relative.c_str(), out.data(), &size, ICU_NO_ENCODE)) return {};
    out.resize(size);
    return out;
}

bool IsRedirect(int status) { return status == 301 || status == 302 || status == 303 || status == 307 || status == 308; }

// One request, following redirects within the same scheme, host and port, at most five hops.
Outcome Run(Channel& channel, RequestSpec spec) {
    Outcome out;
    const InternetHandle session(
        InternetOpenA("Quillview Update", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!session) {
        out.error = GetLastError();
        return out;
    }
    InternetSetStatusCallbackA(session.h, &StatusCallback);
    const auto first = Crack(spec.url);
    if (!first) {
        out.error = ERROR_INTERNET_INVALID_URL;
        return out;
    }
    std::string url = spec.url;
    UrlParts parts = *first;
    // WinINet's own time-out is a back-stop for a worker nobody waits for: the UI decides before it.
    const DWORD timeoutMs = static_cast<DWORD>(spec.timeoutSeconds + 5) * 1000;
    const auto context = reinterpret_cast<DWORD_PTR>(&channel);
    for (int hop = 0;; ++hop) {
        const InternetHandle connection(InternetConnectA(
            session.h, parts.host.c_str(), parts.port, parts.user.empty() ? nullptr : parts.user.c_str(),
            parts.password.empty() ? nullptr : parts.password.c_str(), INTERNET_SERVICE_HTTP, 0, context));
        if (!connection) {
            out.error = GetLastError();
            return out;
        }
        const DWORD flags = RequestFlags(parts.scheme == INTERNET_SCHEME_HTTPS);
        LPCSTR accept[] = {"*/*", nullptr};
        const InternetHandle request(HttpOpenRequestA(connection.h, spec.method.c_str(), parts.pathAndQuery.c_str(),
                                                      nullptr, nullptr, accept, flags, context));
        if (!request) {
            out.error = GetLastError();
            return out;
        }
        for (const DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                                   INTERNET_OPTION_RECEIVE_TIMEOUT}) {
            DWORD value = timeoutMs;
            InternetSetOptionA(request.h, option, &value, sizeof value);
        }
        if (!HttpSendRequestA(request.h, spec.headers.empty() ? nullptr : spec.headers.c_str(),
                              static_cast<DWORD>(spec.headers.size()), spec.body.empty() ? nullptr : spec.body.data(),
                              static_cast<DWORD>(spec.body.size()))) {
            out.error = GetLastError();
            return out;
        }
        if (channel.Abandoned()) return out;
        const auto status = ParseLength(QueryText(request.h, HTTP_QUERY_STATUS_CODE));
        out.status = status ? static_cast<int>(*status) : 0;
        out.reason = QueryText(request.h, HTTP_QUERY_STATUS_TEXT).value_or("");
        out.contentLength = ParseLength(QueryText(request.h, HTTP_QUERY_CONTENT_LENGTH));
        if (IsRedirect(out.status)) {
            const auto location = QueryText(request.h, HTTP_QUERY_LOCATION);
            const std::string next = location ? CombineUrl(url, *location) : std::string();
            const auto target = Crack(next);
            if (hop >= 5 || !target || target->scheme != parts.scheme || _stricmp(target->host.c_str(), parts.host.c_str()) != 0 ||
                target->port != parts.port) {
                out.error = kRedirectRefused;
                return out;
            }
            if (out.status == 303) {
                spec.method = "GET";
                spec.body.clear();
                spec.headers.clear();
            }
            url = next;
            parts = *target;
            continue;
        }
        {
            WorkerEvent head;
            head.kind = WorkerEvent::Kind::Response;
            head.outcome = out;
            if (!channel.Push(std::move(head))) return out;
        }
        if (!spec.readBody || spec.method == "HEAD") return out;
        while (true) {
            // Read straight into the block that is handed over: no copy of the body on the way.
            WorkerEvent e;
            e.kind = WorkerEvent::Kind::Data;
            e.data.bytes = std::make_unique_for_overwrite<char[]>(kBlockBytes);
            e.data.capacity = kBlockBytes;
            DWORD read = 0;
            if (!InternetReadFile(request.h, e.data.bytes.get(), kBlockBytes, &read)) {
                out.error = GetLastError();
                return out;
            }
            if (read == 0) return out;
            out.received += read;
            e.data.size = read;
            // A trickle of small reads must not each hold a whole block while it waits in the queue.
            if (read < kBlockBytes / 2) {
                auto fitted = std::make_unique_for_overwrite<char[]>(read);
                std::memcpy(fitted.get(), e.data.bytes.get(), read);
                e.data.bytes = std::move(fitted);
                e.data.capacity = read;
            }
            if (!channel.Push(std::move(e))) return out;
        }
    }
}

}  // namespace

DWORD RequestFlags(bool secure) {
    DWORD flags = INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_RELOAD | INTERNET_FLAG_PRAGMA_NOCACHE |
                  INTERNET_FLAG_NO_AUTO_REDIRECT | INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_COOKIES |
                  INTERNET_FLAG_KEEP_CONNECTION;
    if (secure) flags |= INTERNET_FLAG_SECURE;
    return flags;
}

void StartWorker(std::shared_ptr<Channel> channel, RequestSpec spec) {
    std::thread([channel = std::move(channel), spec = std::move(spec)]() mutable {
        WorkerEvent done;
        done.kind = WorkerEvent::Kind::Done;
        done.outcome = Run(*channel, std::move(spec));
        channel->Push(std::move(done));
    }).detach();
}

}  // namespace inet
