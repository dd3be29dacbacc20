#include "tests/platform/inet/TestHttpServer.h"

#include <ws2tcpip.h>
#include <wininet.h>

#include <algorithm>
#include <cctype>

namespace qvtest {

namespace {

struct WinsockInit {
    WinsockInit() {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
    }
};

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

bool SendAll(SOCKET s, const char* data, std::size_t size) {
    while (size > 0) {
        const int n = send(s, data, static_cast<int>(std::min<std::size_t>(size, 1 << 20)), 0);
        if (n <= 0) return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool SendAll(SOCKET s, const std::string& text) { return SendAll(s, text.data(), text.size()); }

std::string HostWithoutPort(std::string host) {
    const auto colon = host.find(':');
    if (colon != std::string::npos) host.resize(colon);
    return Lower(host);
}

}  // namespace

char GeneratedByte(std::uint64_t i) { return static_cast<char>((i * 31 + (i >> 8)) & 0xFF); }

Route Route::Text(std::string body, int status, std::string reason) {
    Route r;
    r.status = status;
    r.reason = std::move(reason);
    r.body = std::move(body);
    return r;
}

Route Route::Redirect(std::string location, int status) {
    Route r;
    r.status = status;
    r.reason = "Found";
    r.headers.emplace_back("Location", std::move(location));
    r.body = "moved";
    return r;
}

Route Route::Generated(std::uint64_t size) {
    Route r;
    r.generatedSize = size;
    r.generator = GeneratedByte;
    return r;
}

TestHttpServer::TestHttpServer() {
    static WinsockInit winsock;
    listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    bind(listener_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    listen(listener_, SOMAXCONN);
    int len = sizeof addr;
    getsockname(listener_, reinterpret_cast<sockaddr*>(&addr), &len);
    port_ = ntohs(addr.sin_port);
    acceptor_ = std::thread([this] { AcceptLoop(); });
}

TestHttpServer::~TestHttpServer() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
        for (const SOCKET s : open_) shutdown(s, SD_BOTH);
    }
    released_.notify_all();
    closesocket(listener_);
    acceptor_.join();
    std::vector<std::thread> connections;
    {
        const std::lock_guard lock(mutex_);
        connections.swap(connections_);
    }
    for (auto& t : connections) t.join();
}

std::string TestHttpServer::Base() const { return "http://127.0.0.1:" + std::to_string(port_); }

void TestHttpServer::Add(const std::string& path, Route route) { Add("", path, std::move(route)); }

void TestHttpServer::Add(const std::string& host, const std::string& path, Route route) {
    const std::lock_guard lock(mutex_);
    routes_[Lower(host) + "|" + path] = std::move(route);
}

void TestHttpServer::Release() {
    {
        const std::lock_guard lock(mutex_);
        release_ = true;
    }
    released_.notify_all();
}

std::vector<RecordedRequest> TestHttpServer::Requests() const {
    const std::lock_guard lock(mutex_);
    return requests_;
}

std::size_t TestHttpServer::RequestCount() const {
    const std::lock_guard lock(mutex_);
    return requests_.size();
}

std::optional<Route> TestHttpServer::Find(const std::string& host, const std::string& path) const {
    const std::lock_guard lock(mutex_);
    if (const auto it = routes_.find(host + "|" + path); it != routes_.end()) return it->second;
    if (const auto it = routes_.find("|" + path); it != routes_.end()) return it->second;
    return std::nullopt;
}

void TestHttpServer::AcceptLoop() {
    while (true) {
        const SOCKET s = accept(listener_, nullptr, nullptr);
        if (s == INVALID_SOCKET) return;
        const std::lock_guard lock(mutex_);
        if (stopping_) {
            closesocket(s);
            return;
        }
        open_.push_back(s);
        connections_.emplace_back([this, s] { Serve(s); });
    }
}

void TestHttpServer::Serve(SOCKET s) {
    struct Closer {
        TestHttpServer* self;
        SOCKET s;
        ~Closer() {
            const std::lock_guard lock(self->mutex_);
            self->open_.erase(std::remove(self->open_.begin(), self->open_.end(), s), self->open_.end());
            closesocket(s);
        }
    } closer{this, s};

    // One request per connection: every answer says "Connection: close".
    std::string in;
    char buffer[8192];
    std::size_t headerEnd = std::string::npos;
    while ((headerEnd = in.find("\r\n\r\n")) == std::string::npos) {
        const int n = recv(s, buffer, sizeof buffer, 0);
        if (n <= 0) return;
        in.append(buffer, static_cast<std::size_t>(n));
    }
    RecordedRequest req;
    const std::string head = in.substr(0, headerEnd);
    std::size_t lineEnd = head.find("\r\n");
    const std::string requestLine = head.substr(0, lineEnd);
    const auto sp1 = requestLine.find(' ');
    const auto sp2 = requestLine.rfind(' ');
    req.method = requestLine.substr(0, sp1);
    req.target = requestLine.substr(sp1 + 1, sp2 - sp1 - 1);
    std::size_t pos = lineEnd == std::string::npos ? head.size() : lineEnd + 2;
    while (pos < head.size()) {
        auto end = head.find("\r\n", pos);
        if (end == std::string::npos) end = head.size();
        const std::string line = head.substr(pos, end - pos);
        const auto colon = line.find(':');
        if (colon != std::string::npos) {
            std::string value = line.substr(colon + 1);
            value.erase(0, value.find_first_not_of(' '));
            req.headers[Lower(line.substr(0, colon))] = value;
        }
        pos = end + 2;
    }
    if (Lower(req.target.substr(0, 7)) == "http://") {
        const auto slash = req.target.find('/', 7);
        req.host = HostWithoutPort(req.target.substr(7, slash == std::string::npos ? std::string::npos : slash - 7));
        req.path = slash == std::string::npos ? "/" : req.target.substr(slash);
    } else {
        req.host = HostWithoutPort(req.headers.count("host") ? req.headers["host"] : "");
        req.path = req.target;
    }
    std::size_t bodyLength = 0;
    if (req.headers.count("content-length")) bodyLength = std::stoul(req.headers["content-length"]);
    req.body = in.substr(headerEnd + 4);
    while (req.body.size() < bodyLength) {
        const int n = recv(s, buffer, sizeof buffer, 0);
        if (n <= 0) break;
        req.body.append(buffer, static_cast<std::size_t>(n));
    }
    {
        const std::lock_guard lock(mutex_);
        requests_.push_back(req);
    }

    Route route = Find(req.host, req.path).value_or(Route::Text("<html>Not Found</html>", 404, "Not Found"));
    if (route.hold) {
        std::unique_lock lock(mutex_);
        released_.wait(lock, [this] { return release_ || stopping_; });
        if (stopping_) return;
    }
    if (route.closeUnanswered) return;

    const std::uint64_t size = route.generator ? route.generatedSize : route.body.size();
    std::string response = "HTTP/1.1 " + std::to_string(route.status) + " " + route.reason + "\r\n";
    for (const auto& [name, value] : route.headers) response += name + ": " + value + "\r\n";
    if (route.chunked) {
        response += "Transfer-Encoding: chunked\r\n";
    } else {
        response += "Content-Length: " + std::to_string(route.announcedLength.value_or(size)) + "\r\n";
    }
    response += "Connection: close\r\n\r\n";
    if (!SendAll(s, response) || req.method == "HEAD") return;

    const std::uint64_t toSend = std::min(size, route.cutAfter.value_or(size));
    const std::size_t piece = route.trickle ? route.trickle : (route.chunked ? 16 * 1024 : 256 * 1024);
    std::string block;
    for (std::uint64_t done = 0; done < toSend;) {
        const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(piece, toSend - done));
        if (route.generator) {
            block.resize(n);
            for (std::size_t i = 0; i < n; ++i) block[i] = route.generator(done + i);
        } else {
            block.assign(route.body, static_cast<std::size_t>(done), n);
        }
        if (route.chunked) {
            char sizeLine[32];
            snprintf(sizeLine, sizeof sizeLine, "%zx\r\n", n);
            if (!SendAll(s, sizeLine) || !SendAll(s, block) || !SendAll(s, "\r\n")) return;
        } else if (!SendAll(s, block)) {
            return;
        }
        done += n;
    }
    if (route.chunked && !route.cutAfter) SendAll(s, "0\r\n\r\n");
    shutdown(s, SD_SEND);
}

namespace {

constexpr char kInternetSettings[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

std::optional<std::string> ReadString(HKEY key, const char* name) {
    char value[1024] = {};
    DWORD size = sizeof value - 1;
    DWORD type = 0;
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return std::nullopt;
    return std::string(value);
}

void WriteOrDelete(HKEY key, const char* name, const std::optional<std::string>& value) {
    if (value) {
        RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value->c_str()),
                       static_cast<DWORD>(value->size() + 1));
    } else {
        RegDeleteValueA(key, name);
    }
}

void Apply() { InternetSetOptionA(nullptr, INTERNET_OPTION_SETTINGS_CHANGED, nullptr, 0); }

}  // namespace

ProxySetting::ProxySetting(int port) {
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, kInternetSettings, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key, nullptr);
    DWORD enable = 0, size = sizeof enable, type = 0;
    if (RegQueryValueExA(key, "ProxyEnable", nullptr, &type, reinterpret_cast<BYTE*>(&enable), &size) ==
            ERROR_SUCCESS &&
        type == REG_DWORD)
        enable_ = enable;
    server_ = ReadString(key, "ProxyServer");
    override_ = ReadString(key, "ProxyOverride");
    const DWORD on = port != 0 ? 1 : 0;
    RegSetValueExA(key, "ProxyEnable", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&on), sizeof on);
    WriteOrDelete(key, "ProxyServer", port != 0 ? std::optional<std::string>("127.0.0.1:" + std::to_string(port))
                                                : std::nullopt);
    // Every request goes through the server, the loopback address included.
    WriteOrDelete(key, "ProxyOverride", std::nullopt);
    RegCloseKey(key);
    Apply();
}

ProxySetting::~ProxySetting() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kInternetSettings, 0, KEY_WRITE, &key) == ERROR_SUCCESS) {
        if (enable_) {
            RegSetValueExA(key, "ProxyEnable", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&*enable_), sizeof *enable_);
        } else {
            RegDeleteValueA(key, "ProxyEnable");
        }
        WriteOrDelete(key, "ProxyServer", server_);
        WriteOrDelete(key, "ProxyOverride", override_);
        RegCloseKey(key);
    }
    Apply();
}

}  // namespace qvtest
