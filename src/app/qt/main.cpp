// Quorvel on Linux: one window, its event loop, exit code 0.

#include <QApplication>
#include <QString>
#include <QUrl>

#include "app/actions.h"
#include "app/qt/browser.h"
#include "app/qt/main_window.h"
#include "net/internet.h"

int main(int /*argc*/, char** argv) {
    // The program has no command line: Qt is given the program's name alone,
    // so it reads no options of its own from it either.
    int argumentCount = 1;
    char* arguments[] = {argv[0], nullptr};
    QApplication application(argumentCount, arguments);

    quorvel::qt::MainWindow window(
        quorvel::SystemInternet(), quorvel::RequestPrefix(QUORVEL_SERVICE_HOST),
        QUrl(QString::fromUtf8(QUORVEL_PUBLISHER_URL)), &quorvel::qt::OpenInDefaultBrowser);
    window.ShowCentred();
    return QApplication::exec();
}
