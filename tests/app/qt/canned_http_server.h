#pragma once

// A real HTTP server on 127.0.0.1 for the window's tests: it answers every
// request with a canned body and keeps the bytes each request brought.
//
// It serves from a thread of its own, since the window's request blocks
// the thread that runs the window until the answer has been read. A
// request is recorded before its answer goes out, so once the window has
// its answer the request is in Requests().

#include <QByteArray>
#include <QList>
#include <QtGlobal>
#include <atomic>
#include <functional>
#include <mutex>
#include <thread>

namespace quorvel::testing {

class CannedHttpServer {
public:
    // The body answering the request numbered `index` (from 1) whose bytes
    // are `request`.
    using Answer = std::function<QByteArray(int index, const QByteArray& request)>;

    // Listens on 127.0.0.1 at `port`; 0 lets the system pick a free one.
    explicit CannedHttpServer(Answer answer, quint16 port = 0);
    ~CannedHttpServer();
    CannedHttpServer(const CannedHttpServer&) = delete;
    CannedHttpServer& operator=(const CannedHttpServer&) = delete;

    // The port it listens on; 0 when it could not listen.
    quint16 Port() const { return port_; }

    // Every request so far, header and body bytes as received.
    QList<QByteArray> Requests() const;

private:
    void Serve(quint16 port, const std::function<void(quint16)>& listening);

    Answer answer_;
    quint16 port_ = 0;
    std::atomic<bool> stopping_{false};
    mutable std::mutex mutex_;
    QList<QByteArray> requests_;
    std::thread thread_;
};

// A port on 127.0.0.1 where nothing listens: bound once, then closed.
quint16 ClosedPort();

}  // namespace quorvel::testing
