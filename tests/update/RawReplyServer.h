#pragma once
// A server that answers every request on 127.0.0.1 with the same bytes, as they are, and closes: for replies
// no well-behaved server sends (a status line without a readable code). It reads the request's head first,
// so the client has sent it whole.

#include <winsock2.h>
#include <ws2tcpip.h>

#include <atomic>
#include <string>
#include <thread>

namespace updtest {

class RawReplyServer {
public:
    explicit RawReplyServer(std::string reply) : reply_(std::move(reply)) {
        WSADATA data{};
        WSAStartup(MAKEWORD(2, 2), &data);
        listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        listen(listener_, 8);
        int size = sizeof address;
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size);
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { Serve(); });
    }
    ~RawReplyServer() {
        stopping_ = true;
        closesocket(listener_);
        thread_.join();
        WSACleanup();
    }
    RawReplyServer(const RawReplyServer&) = delete;
    RawReplyServer& operator=(const RawReplyServer&) = delete;

    int Port() const { return port_; }
    std::string Base() const { return "http://127.0.0.1:" + std::to_string(port_); }
    int Requests() const { return requests_; }

private:
    void Serve() {
        while (!stopping_) {
            const SOCKET s = accept(listener_, nullptr, nullptr);
            if (s == INVALID_SOCKET) return;
            std::string in;
            char buffer[4096];
            while (in.find("\r\n\r\n") == std::string::npos) {
                const int n = recv(s, buffer, sizeof buffer, 0);
                if (n <= 0) break;
                in.append(buffer, static_cast<std::size_t>(n));
            }
            ++requests_;
            send(s, reply_.data(), static_cast<int>(reply_.size()), 0);
            shutdown(s, SD_SEND);
            // The rest of a posted body is read, briefly, so the close does not reset the connection.
            const DWORD wait = 2000;
            setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&wait), sizeof wait);
            while (recv(s, buffer, sizeof buffer, 0) > 0) {
            }
            closesocket(s);
        }
    }

    std::string reply_;
    SOCKET listener_ = INVALID_SOCKET;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    std::atomic<int> requests_{0};
    std::thread thread_;
};

}  // namespace updtest
