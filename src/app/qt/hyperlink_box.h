#pragma once

// The hyperlink box: its text drawn centred in the link colours on the
// button face, opening its target when the left button goes down on it.
// Assistive technology sees it as a link named by its text.

#include <QColor>
#include <QString>
#include <QUrl>
#include <QWidget>

#include "app/qt/browser.h"

class QEnterEvent;
class QEvent;
class QMouseEvent;
class QPaintEvent;

namespace quorvel::qt {

inline const QColor kHoverColour{0, 120, 215};
inline const QColor kVisitedColour{128, 0, 0};
inline const QColor kLinkColour{0, 0, 255};

class HyperlinkBox : public QWidget {
    Q_OBJECT

public:
    HyperlinkBox(QString text, QUrl target, BrowserOpener opener, QWidget* parent);

    const QString& LinkText() const { return text_; }
    const QUrl& Target() const { return target_; }
    // Whether the last opening of the target succeeded.
    bool Visited() const { return visited_; }

    // Opens the target and keeps whether that succeeded: a success shows
    // the visited colour at once, a failure the normal colour again.
    void Open();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QColor TextColour() const;

    QString text_;
    QUrl target_;
    BrowserOpener opener_;
    bool hovered_ = false;
    bool visited_ = false;
};

}  // namespace quorvel::qt
