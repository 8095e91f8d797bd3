// The shortening service's stand-in for the end-to-end run. It listens on
// 127.0.0.1 at the given port, answers the n-th request with
// "http://s.test/n" and writes that request's bytes, as received, to
// DIR/request-n.http before answering. It prints "listening" once it takes
// connections and runs until it is ended.
//
//   e2e_http_server PORT DIR

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QString>
#include <cstdio>

#include "canned_http_server.h"

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    bool portIsNumber = false;
    const ushort port = arguments.size() == 3 ? arguments[1].toUShort(&portIsNumber) : 0;
    if (!portIsNumber || port == 0) {
        std::fprintf(stderr, "usage: e2e_http_server PORT DIR\n");
        return 2;
    }
    const QDir directory(arguments[2]);

    quorvel::testing::CannedHttpServer server(
        [directory](int index, const QByteArray& request) {
            const QString name = QStringLiteral("request-%1.http").arg(index);
            // Written under another name first, so that a reader never sees
            // half a request.
            QFile file(directory.filePath(name + QStringLiteral(".tmp")));
            if (file.open(QIODevice::WriteOnly)) {
                file.write(request);
                file.close();
                file.rename(directory.filePath(name));
            }
            return "http://s.test/" + QByteArray::number(index);
        },
        port);
    if (server.Port() == 0) {
        std::fprintf(stderr, "e2e_http_server: cannot listen on 127.0.0.1:%u\n", unsigned{port});
        return 1;
    }
    std::printf("listening\n");
    std::fflush(stdout);
    return QCoreApplication::exec();
}
