#pragma once

// A small HTTP server of the tests' own, on a thread of the test program,
// bound to a free loopback port. It records every request exactly as it
// arrived (the head, and the body as far as Content-Length says) and answers
// with bytes the test gives, then closes the connection. An answer that is
// shorter than its Content-Length is a server that closes mid-body.
//
// As a proxy it needs nothing special: a request sent to a proxy is recorded
// like any other, absolute-form request line included.
//
// It builds for Windows (Winsock) too, so that the same cases run against
// WinINet under Wine.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace quorvel {

struct CannedAnswer {
    std::string bytes;  // sent as they are
    // Read the request, then send nothing and hold the connection until the
    // server's watchdog runs out (or the server ends).
    bool silent = false;
};

class CaptureServer {
public:
    // Request n (counted from 0) gets answers[n]; the last answer is given
    // again once they run out.
    explicit CaptureServer(std::vector<CannedAnswer> answers,
                           std::chrono::seconds watchdog = std::chrono::seconds(5));
    ~CaptureServer();
    CaptureServer(const CaptureServer&) = delete;
    CaptureServer& operator=(const CaptureServer&) = delete;

    std::uint16_t Port() const { return port_; }
    // "127.0.0.1:port"
    std::string Authority() const;
    // Every request received so far, in order, byte for byte.
    std::vector<std::string> Requests() const;

private:
    void Serve();
    void Answer(std::uintptr_t client);

    std::vector<CannedAnswer> answers_;
    std::chrono::seconds watchdog_;
    std::uintptr_t listener_;
    std::uint16_t port_ = 0;

    mutable std::mutex mutex_;
    std::condition_variable stopped_;
    bool stopping_ = false;
    std::uintptr_t client_;  // the connection being served, shut down on stop
    std::vector<std::string> requests_;
    std::thread thread_;
};

// A loopback port where connections are refused: bound, never listening,
// for as long as the object lives.
class RefusingPort {
public:
    RefusingPort();
    ~RefusingPort();
    RefusingPort(const RefusingPort&) = delete;
    RefusingPort& operator=(const RefusingPort&) = delete;

    std::uint16_t Port() const { return port_; }

private:
    std::uintptr_t socket_;
    std::uint16_t port_ = 0;
};

// A whole response: the status line, the header lines, a Content-Length
// line for `body` (unless `contentLength` gives another number), the body.
std::string HttpResponse(std::string_view statusLine, const std::vector<std::string>& headerLines,
                         std::string_view body, long long contentLength = -1);

}  // namespace quorvel
