#include "app/qt/browser.h"

#include <QDesktopServices>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace quorvel::qt {

bool OpenInDefaultBrowser(const QUrl& address) {
    if (QDesktopServices::openUrl(address)) {
        return true;
    }
    return QProcess::startDetached(QStringLiteral("xdg-open"),
                                   QStringList{address.toString(QUrl::FullyEncoded)});
}

}  // namespace quorvel::qt
