#include "app/qt/hyperlink_box.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QStringList>
#include <utility>

namespace quorvel::qt {
namespace {

// What screen readers see of the box: a link named by its text, with the
// target as its value, that a "press" opens like a click does.
class HyperlinkAccessible : public QAccessibleWidget {
public:
    explicit HyperlinkAccessible(HyperlinkBox* box) : QAccessibleWidget(box, QAccessible::Link) {}

    QString text(QAccessible::Text kind) const override {
        switch (kind) {
            case QAccessible::Name:
                return Box()->LinkText();
            case QAccessible::Value:
                return Box()->Target().toString();
            default:
                return QAccessibleWidget::text(kind);
        }
    }

    QAccessible::State state() const override {
        QAccessible::State current = QAccessibleWidget::state();
        current.linked = true;
        current.traversed = Box()->Visited();
        return current;
    }

    QStringList actionNames() const override {
        return QAccessibleWidget::actionNames() << pressAction();
    }

    void doAction(const QString& actionName) override {
        if (actionName == pressAction()) {
            Box()->Open();
        } else {
            QAccessibleWidget::doAction(actionName);
        }
    }

private:
    HyperlinkBox* Box() const { return static_cast<HyperlinkBox*>(widget()); }
};

QAccessibleInterface* HyperlinkAccessibleFactory(const QString& /*className*/, QObject* object) {
    if (auto* box = qobject_cast<HyperlinkBox*>(object)) {
        return new HyperlinkAccessible(box);
    }
    return nullptr;
}

}  // namespace

HyperlinkBox::HyperlinkBox(QString text, QUrl target, BrowserOpener opener, QWidget* parent)
    : QWidget(parent),
      text_(std::move(text)),
      target_(std::move(target)),
      opener_(std::move(opener)) {
    // Installed once for the program, before any box is asked for its
    // interface; later factories are asked first, so this one wins over
    // the plain widget that Qt would make of the box.
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(&HyperlinkAccessibleFactory);
        return true;
    }();
    Q_UNUSED(factoryInstalled);

    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
}

void HyperlinkBox::Open() {
    visited_ = opener_ && opener_(target_);
    if (visited_) {
        repaint();
    } else {
        update();
    }
}

QColor HyperlinkBox::TextColour() const {
    if (hovered_) {
        return kHoverColour;
    }
    return visited_ ? kVisitedColour : kLinkColour;
}

void HyperlinkBox::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Button));
    QFont plain = font();
    plain.setUnderline(false);
    painter.setFont(plain);
    painter.setPen(TextColour());
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, text_);
}

void HyperlinkBox::mousePressEvent(QMouseEvent* event) {
    // The target opens on the press, not on the release, as the Windows
    // build's hyperlink does.
    if (event->button() == Qt::LeftButton) {
        Open();
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

void HyperlinkBox::enterEvent(QEnterEvent* event) {
    hovered_ = true;
    update();
    QWidget::enterEvent(event);
}

void HyperlinkBox::leaveEvent(QEvent* event) {
    hovered_ = false;
    update();
    QWidget::leaveEvent(event);
}

}  // namespace quorvel::qt
