#include "app/qt/main_window.h"

#include <QAbstractButton>
#include <QByteArray>
#include <QClipboard>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QScreen>
#include <QString>
#include <limits>
#include <string_view>
#include <utility>

#include "app/qt/hyperlink_box.h"

namespace quorvel::qt {
namespace {

enum class Kind { Label, EditBox, Button, HyperLinker };

struct ControlPlace {
    Control control;
    const char* name;
    Kind kind;
    int left, top, width, height;  // in the client area
};

// The ten controls, in the order they are created.
constexpr ControlPlace kControls[] = {
    {Control::标签1, "标签1", Kind::Label, 16, 8, 128, 16},
    {Control::编辑框1, "编辑框1", Kind::EditBox, 16, 32, 224, 32},
    {Control::按钮4, "按钮4", Kind::Button, 248, 32, 56, 32},
    {Control::按钮1, "按钮1", Kind::Button, 312, 32, 56, 32},
    {Control::按钮5, "按钮5", Kind::Button, 248, 72, 120, 32},
    {Control::标签2, "标签2", Kind::Label, 16, 104, 80, 16},
    {Control::编辑框2, "编辑框2", Kind::EditBox, 16, 128, 224, 32},
    {Control::按钮2, "按钮2", Kind::Button, 248, 128, 120, 32},
    {Control::按钮3, "按钮3", Kind::Button, 16, 176, 80, 32},
    {Control::超级链接框1, "超级链接框1", Kind::HyperLinker, 264, 184, 104, 24},
};

// Tab and Shift+Tab go round this cycle; labels and the hyperlink box are
// never in it.
constexpr Control kTabOrder[] = {
    Control::编辑框1, Control::按钮1, Control::编辑框2, Control::按钮2,
    Control::按钮3,   Control::按钮4, Control::按钮5,
};

// An edit box is named for assistive technology by the label above it.
struct NamedBy {
    Control label;
    Control box;
};
constexpr NamedBy kBoxNames[] = {
    {Control::标签1, Control::编辑框1},
    {Control::标签2, Control::编辑框2},
};

constexpr std::size_t Index(Control control) {
    return static_cast<std::size_t>(control);
}

// Edit-box and clipboard texts are the locale's bytes, captions UTF-8.
Text FromBytes(const QByteArray& bytes) {
    return Text(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}
QString FromLocal(const Text& text) {
    const std::string_view bytes = text.View();
    return QString::fromLocal8Bit(bytes.data(), static_cast<qsizetype>(bytes.size()));
}
QString FromUtf8(const Text& text) {
    const std::string_view bytes = text.View();
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

QWidget* MakeWidget(Kind kind, QWidget* window, const QUrl& publisherUrl, BrowserOpener opener) {
    switch (kind) {
        case Kind::Label: {
            auto* label = new QLabel(window);
            // Plain text without a buddy: an "&" is drawn as it stands.
            label->setTextFormat(Qt::PlainText);
            label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            return label;
        }
        case Kind::EditBox: {
            auto* edit = new QLineEdit(window);
            // QLineEdit cuts texts at 32767 characters unless told otherwise;
            // a pasted address or an answer is never cut.
            edit->setMaxLength(std::numeric_limits<int>::max());
            return edit;
        }
        case Kind::Button: {
            auto* button = new QPushButton(window);
            // Enter presses no button.
            button->setAutoDefault(false);
            button->setDefault(false);
            button->setFocusPolicy(Qt::StrongFocus);
            return button;
        }
        case Kind::HyperLinker:
            return new HyperlinkBox(QStringLiteral("Tarnwick"), publisherUrl, std::move(opener),
                                    window);
    }
    return nullptr;
}

}  // namespace

QPoint CentredOrigin(QSize screen) {
    return {(screen.width() - kOuterWidth) / 2, (screen.height() - kOuterHeight) / 2};
}

MainWindow::MainWindow(Internet& internet, Text requestPrefix, QUrl publisherUrl,
                       BrowserOpener opener, QWidget* parent)
    : QWidget(parent), actions_(*this, internet, std::move(requestPrefix)) {
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(kClientWidth, kClientHeight);
    setFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
    QPalette buttonFace = palette();
    buttonFace.setColor(QPalette::Window, buttonFace.color(QPalette::Button));
    setPalette(buttonFace);
    setAutoFillBackground(true);

    controls_[Index(Control::MainWindow)] = this;
    for (const ControlPlace& place : kControls) {
        QWidget* widget = MakeWidget(place.kind, this, publisherUrl, opener);
        widget->setObjectName(QString::fromUtf8(place.name));
        widget->setGeometry(place.left, place.top, place.width, place.height);
        controls_[Index(place.control)] = widget;
        if (auto* button = qobject_cast<QPushButton*>(widget)) {
            const Control control = place.control;
            connect(button, &QPushButton::clicked, this,
                    [this, control] { actions_.Pressed(control); });
        }
        if (widget->focusPolicy() != Qt::NoFocus) {
            widget->installEventFilter(this);
        }
    }
    for (std::size_t i = 1; i < std::size(kTabOrder); ++i) {
        setTabOrder(ControlWidget(kTabOrder[i - 1]), ControlWidget(kTabOrder[i]));
    }

    actions_.Created();
}

void MainWindow::ShowCentred() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(CentredOrigin(screen->geometry().size()));
    }
    show();
    // Without a window manager nobody else gives a new window the keyboard.
    activateWindow();
}

QWidget* MainWindow::ControlWidget(Control control) const {
    return controls_.at(Index(control));
}

Text MainWindow::EditText(Control box) {
    const auto* edit = qobject_cast<const QLineEdit*>(ControlWidget(box));
    return edit != nullptr ? FromBytes(edit->text().toLocal8Bit()) : Text();
}

void MainWindow::SetEditText(Control box, const Text& text) {
    if (auto* edit = qobject_cast<QLineEdit*>(ControlWidget(box))) {
        edit->setText(FromLocal(text));
    }
}

Text MainWindow::Caption(Control control) {
    const QWidget* widget = ControlWidget(control);
    QString caption;
    if (widget == this) {
        caption = windowTitle();
    } else if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        caption = label->text();
    } else if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
        caption = button->text();
    } else if (const auto* link = qobject_cast<const HyperlinkBox*>(widget)) {
        caption = link->LinkText();
    }
    return FromBytes(caption.toUtf8());
}

void MainWindow::SetCaption(Control control, const Text& utf8) {
    QWidget* widget = ControlWidget(control);
    const QString caption = FromUtf8(utf8);
    if (widget == this) {
        setWindowTitle(caption);
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(caption);
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setText(caption);
    } else {
        return;
    }
    widget->setAccessibleName(caption);
    for (const NamedBy& named : kBoxNames) {
        if (named.label == control) {
            ControlWidget(named.box)->setAccessibleName(caption);
        }
    }
}

void MainWindow::SetFocus(Control control) {
    ControlWidget(control)->setFocus(Qt::OtherFocusReason);
}

Text MainWindow::ClipboardGetText() {
    // No text on the clipboard (a picture, or nothing) reads as empty.
    return FromBytes(QGuiApplication::clipboard()->text().toLocal8Bit());
}

void MainWindow::ClipboardSetText(const Text& text) {
    QGuiApplication::clipboard()->setText(FromLocal(text));
}

// Tab and Shift+Tab are left to Qt, which moves the focus along the tab
// order and, like the Windows build, not on Ctrl+Tab. Enter reaches no
// button, none being a default button.
bool MainWindow::HandleKey(const QObject* target, const QKeyEvent& key) {
    const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
    switch (key.key()) {
        case Qt::Key_Escape:
            // Plain Esc closes the window; with a modifier it does nothing.
            if (modifiers == Qt::NoModifier) {
                close();
            }
            return true;
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
            // A QPushButton passes the focus on with the arrow keys; here
            // only Tab and Shift+Tab move it. Edit boxes keep their caret keys.
            return qobject_cast<const QAbstractButton*>(target) != nullptr;
        default:
            return false;
    }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && HandleKey(watched, *static_cast<QKeyEvent*>(event))) {
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    // Keys that reach the window itself: no control had the focus.
    if (!HandleKey(this, *event)) {
        QWidget::keyPressEvent(event);
    }
}

}  // namespace quorvel::qt
