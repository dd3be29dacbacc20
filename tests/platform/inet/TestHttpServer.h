#pragma once
// A small HTTP/1.1 server of the tests, on 127.0.0.1 and a port the system picks, run on threads of the test
// process. Each test declares its routes: what to answer and how to misbehave. It answers plain requests
// and the absolute form a client sends to a proxy ("GET http://host/path HTTP/1.1"), routing by host and
// path, so tests can point the per-user proxy setting at it and reach the built-in placeholder hosts.

#include <winsock2.h>

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace qvtest {

struct Route {
    int status = 200;
    std::string reason = "OK";
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;
    // A generated body of `generatedSize` bytes (byte i is generator(i)), in place of `body`.
    std::uint64_t generatedSize = 0;
    std::function<char(std::uint64_t)> generator;
    bool chunked = false;
    // Sends only this many body bytes (after the full length was announced), then closes.
    std::optional<std::uint64_t> cutAfter;
    // Announces this length instead of the body's.
    std::optional<std::uint64_t> announcedLength;
    // Sends nothing until Release() (or the server stops).
    bool hold = false;
    // Sends the body in pieces of this size, each after the previous was written (0: at once).
    std::size_t trickle = 0;
    // Closes the connection without a word.
    bool closeUnanswered = false;

    static Route Text(std::string body, int status = 200, std::string reason = "OK");
    static Route Redirect(std::string location, int status = 302);
    static Route Generated(std::uint64_t size);
};

// Byte i of a generated body.
char GeneratedByte(std::uint64_t i);

struct RecordedRequest {
    std::string method;
    std::string target;  // as sent: a path, or an absolute address through a proxy
    std::string host;    // the address's host, else the Host header without its port
    std::string path;    // path and query
    std::map<std::string, std::string> headers;  // names in lower case
    std::string body;
};

class TestHttpServer {
public:
    TestHttpServer();
    ~TestHttpServer();
    TestHttpServer(const TestHttpServer&) = delete;
    TestHttpServer& operator=(const TestHttpServer&) = delete;

    int Port() const { return port_; }
    // "http://127.0.0.1:<port>"
    std::string Base() const;

    // A route for a path on any host, or on one host only (which wins).
    void Add(const std::string& path, Route route);
    void Add(const std::string& host, const std::string& path, Route route);
    // Lets held answers go (each then sends its route's answer).
    void Release();

    std::vector<RecordedRequest> Requests() const;
    std::size_t RequestCount() const;

private:
    void AcceptLoop();
    void Serve(SOCKET s);
    std::optional<Route> Find(const std::string& host, const std::string& path) const;

    SOCKET listener_ = INVALID_SOCKET;
    int port_ = 0;
    std::thread acceptor_;
    mutable std::mutex mutex_;
    std::condition_variable released_;
    bool release_ = false;
    bool stopping_ = false;
    std::map<std::string, Route> routes_;  // "host|path"
    std::vector<RecordedRequest> requests_;
    std::vector<std::thread> connections_;
    std::vector<SOCKET> open_;
};

// Points the per-user WinINet proxy setting at a server for the guard's lifetime (port 0: no proxy) and
// puts the earlier values back afterwards. Tests that use it hold the CTest lock internet_settings.
class ProxySetting {
public:
    explicit ProxySetting(int port);
    ~ProxySetting();
    ProxySetting(const ProxySetting&) = delete;
    ProxySetting& operator=(const ProxySetting&) = delete;

private:
    std::optional<DWORD> enable_;
    std::optional<std::string> server_;
    std::optional<std::string> override_;
};

}  // namespace qvtest
