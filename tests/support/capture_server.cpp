#include "support/capture_server.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace quorvel {

namespace {

// The few socket calls the server needs, the same on both systems.
#ifdef _WIN32
using SocketHandle = SOCKET;
using IoSize = int;
const SocketHandle kNoSocket = INVALID_SOCKET;
constexpr int kSendFlags = 0;
constexpr int kShutBoth = SD_BOTH;
constexpr int kShutSend = SD_SEND;
void CloseSocket(SocketHandle s) { closesocket(s); }
void StartSockets() {
    static const bool started = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    if (!started) {
        throw std::runtime_error("WSAStartup failed");
    }
}
#else
using SocketHandle = int;
using IoSize = std::size_t;
constexpr SocketHandle kNoSocket = -1;
constexpr int kSendFlags = MSG_NOSIGNAL;  // a client that went away is no signal
constexpr int kShutBoth = SHUT_RDWR;
constexpr int kShutSend = SHUT_WR;
void CloseSocket(SocketHandle s) { close(s); }
void StartSockets() {}
#endif

// Sockets are kept as std::uintptr_t in the header, which holds either kind.
SocketHandle ToSocket(std::uintptr_t value) { return static_cast<SocketHandle>(value); }
std::uintptr_t FromSocket(SocketHandle s) { return static_cast<std::uintptr_t>(s); }

sockaddr_in Loopback(std::uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

// A socket bound to 127.0.0.1 on a port the system chooses; its port.
SocketHandle BoundSocket(std::uint16_t& port) {
    StartSockets();
    const SocketHandle s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == kNoSocket) {
        throw std::runtime_error("socket() failed");
    }
    sockaddr_in address = Loopback(0);
    socklen_t length = sizeof address;
    if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        CloseSocket(s);
        throw std::runtime_error("bind() to 127.0.0.1 failed");
    }
    port = ntohs(address.sin_port);
    return s;
}

bool ReceiveMore(SocketHandle s, std::string& into) {
    char buffer[16384];
    const auto got = recv(s, buffer, static_cast<IoSize>(sizeof buffer), 0);
    if (got <= 0) {
        return false;
    }
    into.append(buffer, static_cast<std::size_t>(got));
    return true;
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// The Content-Length of a request head, 0 when it names none.
std::size_t ContentLength(std::string_view head) {
    constexpr std::string_view kName = "\r\ncontent-length:";
    for (std::size_t p = 0; p + kName.size() <= head.size(); ++p) {
        bool match = true;
        for (std::size_t i = 0; i < kName.size() && match; ++i) {
            match = Lower(head[p + i]) == kName[i];
        }
        if (match) {
            return static_cast<std::size_t>(
                std::strtoull(head.data() + p + kName.size(), nullptr, 10));
        }
    }
    return 0;
}

}  // namespace

CaptureServer::CaptureServer(std::vector<CannedAnswer> answers, std::chrono::seconds watchdog)
    : answers_(std::move(answers)), watchdog_(watchdog), client_(FromSocket(kNoSocket)) {
    if (answers_.empty()) {
        answers_.push_back({});
    }
    const SocketHandle listener = BoundSocket(port_);
    if (listen(listener, 16) != 0) {
        CloseSocket(listener);
        throw std::runtime_error("listen() failed");
    }
    listener_ = FromSocket(listener);
    thread_ = std::thread([this] { Serve(); });
}

CaptureServer::~CaptureServer() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
        if (ToSocket(client_) != kNoSocket) {
            shutdown(ToSocket(client_), kShutBoth);
        }
    }
    stopped_.notify_all();
    // A connection of our own wakes the accept() the thread may be waiting in.
    const SocketHandle waker = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (waker != kNoSocket) {
        const sockaddr_in address = Loopback(port_);
        connect(waker, reinterpret_cast<const sockaddr*>(&address), sizeof address);
        CloseSocket(waker);
    }
    thread_.join();
    CloseSocket(ToSocket(listener_));
}

std::string CaptureServer::Authority() const { return "127.0.0.1:" + std::to_string(port_); }

std::vector<std::string> CaptureServer::Requests() const {
    const std::lock_guard lock(mutex_);
    return requests_;
}

void CaptureServer::Serve() {
    for (;;) {
        const SocketHandle client = accept(ToSocket(listener_), nullptr, nullptr);
        {
            const std::lock_guard lock(mutex_);
            if (stopping_ || client == kNoSocket) {
                if (client != kNoSocket) {
                    CloseSocket(client);
                }
                return;
            }
            client_ = FromSocket(client);
        }
        Answer(FromSocket(client));
        {
            const std::lock_guard lock(mutex_);
            client_ = FromSocket(kNoSocket);
        }
        CloseSocket(client);
    }
}

void CaptureServer::Answer(std::uintptr_t clientValue) {
    const SocketHandle client = ToSocket(clientValue);
    std::string request;
    std::size_t headEnd = std::string::npos;
    while ((headEnd = request.find("\r\n\r\n")) == std::string::npos) {
        if (!ReceiveMore(client, request)) {
            break;
        }
    }
    if (headEnd != std::string::npos) {
        const std::size_t total =
            headEnd + 4 + ContentLength(std::string_view(request).substr(0, headEnd + 2));
        while (request.size() < total && ReceiveMore(client, request)) {
        }
    }
    if (request.empty()) {
        return;  // connected and left without a word: nothing to record
    }
    std::unique_lock lock(mutex_);
    const std::size_t index = std::min(requests_.size(), answers_.size() - 1);
    // Recorded before the answer goes out, so a client that has its answer
    // finds its request here.
    requests_.push_back(std::move(request));
    const CannedAnswer& answer = answers_[index];
    if (answer.silent) {
        stopped_.wait_for(lock, watchdog_, [this] { return stopping_; });
        return;
    }
    lock.unlock();
    std::size_t sent = 0;
    while (sent < answer.bytes.size()) {
        const auto n = send(client, answer.bytes.data() + sent,
                            static_cast<IoSize>(answer.bytes.size() - sent), kSendFlags);
        if (n <= 0) {
            break;
        }
        sent += static_cast<std::size_t>(n);
    }
    shutdown(client, kShutSend);
}

RefusingPort::RefusingPort() : socket_(FromSocket(BoundSocket(port_))) {}

RefusingPort::~RefusingPort() { CloseSocket(ToSocket(socket_)); }

std::string HttpResponse(std::string_view statusLine, const std::vector<std::string>& headerLines,
                         std::string_view body, long long contentLength) {
    std::string response(statusLine);
    response += "\r\n";
    for (const std::string& line : headerLines) {
        response += line + "\r\n";
    }
    const long long length =
        contentLength >= 0 ? contentLength : static_cast<long long>(body.size());
    response += "Content-Length: " + std::to_string(length) + "\r\n\r\n";
    response += body;
    return response;
}

}  // namespace quorvel
