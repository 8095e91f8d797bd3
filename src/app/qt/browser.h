#pragma once

// Opening a web address in the desktop's default web browser.

#include <QUrl>
#include <functional>

namespace quorvel::qt {

// Opens an address; true when the opening succeeded. The hyperlink box is
// given one, so that tests can put their own in its place.
using BrowserOpener = std::function<bool(const QUrl& address)>;

// The desktop's handler for web addresses; when that fails, xdg-open,
// which asks the freedesktop.org default application itself. True when
// either started.
bool OpenInDefaultBrowser(const QUrl& address);

}  // namespace quorvel::qt
