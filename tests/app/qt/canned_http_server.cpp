#include "canned_http_server.h"

#include <QDeadlineTimer>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <future>
#include <memory>
#include <utility>

namespace quorvel::testing {
namespace {

constexpr int kIoTimeoutMs = 10000;

// Reads one request: the header block, then as many body bytes as its
// Content-Length names.
QByteArray ReadRequest(QTcpSocket& socket) {
    QByteArray request;
    const QDeadlineTimer deadline(kIoTimeoutMs);
    qsizetype wanted = -1;
    while (!deadline.hasExpired()) {
        if (wanted < 0) {
            const qsizetype headerEnd = request.indexOf("\r\n\r\n");
            if (headerEnd >= 0) {
                qsizetype bodyLength = 0;
                for (const QByteArray& line : request.left(headerEnd).split('\n')) {
                    if (line.trimmed().toLower().startsWith("content-length:")) {
                        bodyLength = line.mid(line.indexOf(':') + 1).trimmed().toLongLong();
                    }
                }
                wanted = headerEnd + 4 + bodyLength;
            }
        }
        if (wanted >= 0 && request.size() >= wanted) {
            break;
        }
        if (socket.bytesAvailable() == 0 &&
            !socket.waitForReadyRead(static_cast<int>(deadline.remainingTime()))) {
            break;
        }
        request += socket.readAll();
    }
    return request;
}

}  // namespace

CannedHttpServer::CannedHttpServer(Answer answer, quint16 port) : answer_(std::move(answer)) {
    std::promise<quint16> listening;
    std::future<quint16> bound = listening.get_future();
    thread_ = std::thread([this, port, &listening] {
        Serve(port, [&listening](quint16 boundPort) { listening.set_value(boundPort); });
    });
    port_ = bound.get();
    if (port_ == 0) {
        thread_.join();
    }
}

CannedHttpServer::~CannedHttpServer() {
    if (!thread_.joinable()) {
        return;
    }
    stopping_ = true;
    // The server thread waits for a connection: one more wakes it to see
    // that it is to stop.
    QTcpSocket wake;
    wake.connectToHost(QHostAddress::LocalHost, port_);
    wake.waitForConnected(kIoTimeoutMs);
    thread_.join();
}

QList<QByteArray> CannedHttpServer::Requests() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
}

void CannedHttpServer::Serve(quint16 port, const std::function<void(quint16)>& listening) {
    QTcpServer server;
    if (!server.listen(QHostAddress::LocalHost, port)) {
        listening(0);
        return;
    }
    listening(server.serverPort());
    int index = 0;
    while (server.waitForNewConnection(-1) && !stopping_) {
        const std::unique_ptr<QTcpSocket> socket(server.nextPendingConnection());
        if (!socket) {
            continue;
        }
        const QByteArray request = ReadRequest(*socket);
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            requests_.append(request);
        }
        const QByteArray body = answer_(++index, request);
        QByteArray response =
            "HTTP/1.1 200 OK\r\n"
            "Content-Type: text/plain; charset=utf-8\r\n"
            "Content-Length: " +
            QByteArray::number(body.size()) +
            "\r\n"
            "Connection: close\r\n"
            "\r\n";
        response += body;
        socket->write(response);
        while (socket->bytesToWrite() > 0 && socket->waitForBytesWritten(kIoTimeoutMs)) {
        }
        socket->disconnectFromHost();
        if (socket->state() != QAbstractSocket::UnconnectedState) {
            socket->waitForDisconnected(kIoTimeoutMs);
        }
    }
}

quint16 ClosedPort() {
    QTcpServer server;
    if (!server.listen(QHostAddress::LocalHost, 0)) {
        return 0;
    }
    const quint16 port = server.serverPort();
    server.close();
    return port;
}

}  // namespace quorvel::testing
