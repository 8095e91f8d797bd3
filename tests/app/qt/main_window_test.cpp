#include "main_window_test.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAccessibleInterface>
#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QImage>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QStringList>
#include <QTest>
#include <QUrl>
#include <QWindow>
#include <string>
#include <vector>

#include "app/actions.h"
#include "app/qt/hyperlink_box.h"
#include "app/qt/main_window.h"
#include "canned_http_server.h"
#include "net/internet.h"

using quorvel::qt::MainWindow;
using quorvel::testing::CannedHttpServer;

namespace {

const QUrl kPublisher(QStringLiteral("http://publisher.test/quorvel?from=window"));

QString N(const char* utf8) {
    return QString::fromUtf8(utf8);
}

struct CaptionRow {
    const char* control;
    const char* chinese;
    const char* english;
};

const CaptionRow kCaptions[] = {
    {"标签1", "要缩短的网址:", "Enter URL:"},
    {"标签2", "缩短后网址:", "Shortened URL:"},
    {"按钮1", "缩短", "generate"},
    {"按钮2", "复制", "Copy"},
    {"按钮3", "English", "中文"},
    {"按钮4", "黏贴", "Paste"},
    {"按钮5", "缩短并复制", "Generation and copy"},
};

const char* const kTabCycle[] = {"编辑框1", "按钮1", "编辑框2", "按钮2", "按钮3", "按钮4", "按钮5"};
const char* const kButtons[] = {"按钮1", "按钮2", "按钮3", "按钮4", "按钮5"};

QClipboard& Clipboard() {
    return *QGuiApplication::clipboard();
}

QString FocusName() {
    const QWidget* focus = QApplication::focusWidget();
    return focus != nullptr ? focus->objectName() : QStringLiteral("(none)");
}

// How many pixels of the image show exactly this colour.
int PixelsOf(const QImage& image, const QColor& colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += image.pixelColor(x, y).rgb() == colour.rgb() ? 1 : 0;
        }
    }
    return count;
}

QString FirstLine(const QByteArray& request) {
    return QString::fromUtf8(request.left(request.indexOf("\r\n")));
}

}  // namespace

struct MainWindowTest::Fixture {
    std::unique_ptr<CannedHttpServer> server;
    QList<QUrl> openings;
    bool openerSucceeds = true;
    std::unique_ptr<MainWindow> window;

    QWidget* W(const char* name) const { return window->findChild<QWidget*>(N(name)); }
    QLineEdit* Edit(const char* name) const { return window->findChild<QLineEdit*>(N(name)); }
    QPushButton* Button(const char* name) const { return window->findChild<QPushButton*>(N(name)); }
    quorvel::qt::HyperlinkBox* Link() const {
        return window->findChild<quorvel::qt::HyperlinkBox*>(N("超级链接框1"));
    }
    QWindow* Handle() const { return window->windowHandle(); }

    // The keyboard and the mouse as the platform delivers them, through the
    // window to whatever has the focus or is under the pointer.
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) const {
        QTest::keyClick(Handle(), key, modifiers);
    }
    void Type(const char* name, const QString& text) const {
        QLineEdit* edit = Edit(name);
        edit->setFocus(Qt::MouseFocusReason);
        for (const QChar c : text) {
            // QTest types Latin-1 keys only; other characters arrive as an
            // input method would commit them.
            if (c.unicode() < 0x80) {
                QTest::keyClick(edit, c.toLatin1());
            } else {
                edit->insert(QString(c));
            }
        }
    }
    QPoint CentreOf(const char* name) const {
        const QWidget* widget = W(name);
        return widget->mapTo(window.get(), widget->rect().center());
    }
    void Press(const char* name) const {
        QTest::mouseClick(Handle(), Qt::LeftButton, Qt::NoModifier, CentreOf(name));
    }

    QStringList Captions() const {
        QStringList captions{"MainWindow=" + window->windowTitle()};
        for (const CaptionRow& row : kCaptions) {
            const QWidget* widget = W(row.control);
            const QString text = widget->property("text").toString();
            captions << N(row.control) + "=" + text;
        }
        return captions;
    }
};

namespace {

QStringList ExpectedCaptions(bool english) {
    QStringList captions{"MainWindow=Quorvel"};
    for (const CaptionRow& row : kCaptions) {
        captions << N(row.control) + "=" + N(english ? row.english : row.chinese);
    }
    return captions;
}

}  // namespace

MainWindowTest::MainWindowTest() = default;
MainWindowTest::~MainWindowTest() = default;

bool MainWindowTest::OpenWindow(const QByteArray& answer, quint16 port) {
    f_ = std::make_unique<Fixture>();
    f_->server =
        std::make_unique<CannedHttpServer>([answer](int, const QByteArray&) { return answer; });
    if (f_->server->Port() == 0) {
        return false;
    }
    const std::string host = "127.0.0.1:" + std::to_string(port != 0 ? port : f_->server->Port());
    Fixture* fixture = f_.get();
    f_->window = std::make_unique<MainWindow>(quorvel::SystemInternet(),
                                              quorvel::RequestPrefix(host.c_str()), kPublisher,
                                              [fixture](const QUrl& address) {
                                                  fixture->openings.append(address);
                                                  return fixture->openerSucceeds;
                                              });
    f_->window->ShowCentred();
    return QTest::qWaitForWindowActive(f_->window.get());
}

void MainWindowTest::cleanup() {
    f_.reset();
}

void MainWindowTest::startState() {
    QVERIFY(OpenWindow());
    MainWindow& window = *f_->window;

    QCOMPARE(f_->Captions(), ExpectedCaptions(false));
    QCOMPARE(f_->Link()->LinkText(), QStringLiteral("Tarnwick"));
    QCOMPARE(f_->Edit("编辑框1")->text(), QString());
    QCOMPARE(f_->Edit("编辑框2")->text(), QString());
    QTRY_COMPARE(FocusName(), N("编辑框1"));

    QCOMPARE(window.size(), QSize(374, 220));
    QCOMPARE(window.minimumSize(), window.maximumSize());
    QVERIFY(!window.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(window.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(window.windowFlags().testFlag(Qt::WindowCloseButtonHint));

    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    QCOMPARE(window.pos(), QPoint((screen.width() - 380) / 2, (screen.height() - 249) / 2));

    // Between the controls the window shows the button face.
    const QImage shot = window.grab().toImage();
    QCOMPARE(shot.pixelColor(200, 90).rgb(), QApplication::palette().color(QPalette::Button).rgb());
    const QFont uiFont = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    for (const QWidget* control : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        QCOMPARE(control->font(), uiFont);
    }
}

void MainWindowTest::controlPlaces_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QRect>("place");
    QTest::addColumn<bool>("tabStop");

    struct Row {
        const char* name;
        const char* kind;
        QRect place;
        bool tabStop;
    };
    const Row rows[] = {
        {"标签1", "QLabel", {16, 8, 128, 16}, false},
        {"编辑框1", "QLineEdit", {16, 32, 224, 32}, true},
        {"按钮4", "QPushButton", {248, 32, 56, 32}, true},
        {"按钮1", "QPushButton", {312, 32, 56, 32}, true},
        {"按钮5", "QPushButton", {248, 72, 120, 32}, true},
        {"标签2", "QLabel", {16, 104, 80, 16}, false},
        {"编辑框2", "QLineEdit", {16, 128, 224, 32}, true},
        {"按钮2", "QPushButton", {248, 128, 120, 32}, true},
        {"按钮3", "QPushButton", {16, 176, 80, 32}, true},
        {"超级链接框1", "quorvel::qt::HyperlinkBox", {264, 184, 104, 24}, false},
    };
    for (const Row& row : rows) {
        QTest::newRow(row.name) << N(row.name) << N(row.kind) << row.place << row.tabStop;
    }
}

void MainWindowTest::controlPlaces() {
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(QRect, place);
    QFETCH(bool, tabStop);
    QVERIFY(OpenWindow());

    const QWidget* control = f_->window->findChild<QWidget*>(name);
    QVERIFY(control != nullptr);
    QVERIFY2(control->inherits(kind.toUtf8().constData()), control->metaObject()->className());
    QCOMPARE(control->parentWidget(), f_->window.get());
    QCOMPARE(control->geometry(), place);
    QVERIFY(control->isVisible());
    QVERIFY(control->isEnabled());
    QCOMPARE((control->focusPolicy() & Qt::TabFocus) != 0, tabStop);
}

void MainWindowTest::centredOrigin_data() {
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<QPoint>("origin");
    QTest::newRow("1920 x 1080") << QSize(1920, 1080) << QPoint(770, 415);
    QTest::newRow("1024 x 768") << QSize(1024, 768) << QPoint(322, 259);
    QTest::newRow("odd leftovers are cut") << QSize(801, 600) << QPoint(210, 175);
    QTest::newRow("one short: -0.5 truncates to 0") << QSize(379, 248) << QPoint(0, 0);
    QTest::newRow("smaller than the window") << QSize(200, 100) << QPoint(-90, -74);
    QTest::newRow("three short: -1.5 truncates to -1") << QSize(377, 246) << QPoint(-1, -1);
}

void MainWindowTest::centredOrigin() {
    QFETCH(QSize, screen);
    QFETCH(QPoint, origin);
    QCOMPARE(quorvel::qt::CentredOrigin(screen), origin);
}

void MainWindowTest::tabCycle_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QStringList>("visits");

    QStringList forward;
    for (std::size_t i = 1; i <= std::size(kTabCycle); ++i) {
        forward << N(kTabCycle[i % std::size(kTabCycle)]);
    }
    QStringList backward;
    for (std::size_t i = 1; i <= std::size(kTabCycle); ++i) {
        backward << N(kTabCycle[(std::size(kTabCycle) - i) % std::size(kTabCycle)]);
    }
    QTest::newRow("Tab") << int{Qt::Key_Tab} << int{Qt::NoModifier} << forward;
    QTest::newRow("Shift+Tab") << int{Qt::Key_Backtab} << int{Qt::ShiftModifier} << backward;
}

void MainWindowTest::tabCycle() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QStringList, visits);
    QVERIFY(OpenWindow());
    QTRY_COMPARE(FocusName(), N("编辑框1"));

    QStringList visited;
    for (qsizetype i = 0; i < visits.size(); ++i) {
        f_->Key(Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        visited << FocusName();
    }
    QCOMPARE(visited, visits);
}

void MainWindowTest::escapeCloses_data() {
    QTest::addColumn<QString>("focus");
    for (const char* name : {"编辑框1", "编辑框2", "按钮3", "按钮5"}) {
        QTest::newRow(name) << N(name);
    }
}

void MainWindowTest::escapeCloses() {
    QFETCH(QString, focus);
    QVERIFY(OpenWindow());
    f_->Type("编辑框2", QStringLiteral("some text"));
    f_->window->findChild<QWidget*>(focus)->setFocus();
    QTRY_COMPARE(FocusName(), focus);

    f_->Key(Qt::Key_Escape);
    QVERIFY(!f_->window->isVisible());
}

void MainWindowTest::keysThatDoNothing_data() {
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");

    const auto row = [](const char* focus, const char* keyName, Qt::Key key,
                        Qt::KeyboardModifiers modifiers) {
        QTest::addRow("%s on %s", keyName, focus)
            << N(focus) << int{key} << static_cast<int>(modifiers.toInt());
    };
    for (const char* control : kTabCycle) {
        row(control, "Return", Qt::Key_Return, Qt::NoModifier);
        row(control, "Enter", Qt::Key_Enter, Qt::KeypadModifier);
    }
    for (const char* button : kButtons) {
        row(button, "Left", Qt::Key_Left, Qt::NoModifier);
        row(button, "Right", Qt::Key_Right, Qt::NoModifier);
        row(button, "Up", Qt::Key_Up, Qt::NoModifier);
        row(button, "Down", Qt::Key_Down, Qt::NoModifier);
    }
    for (const char* edit : {"编辑框1", "编辑框2"}) {
        row(edit, "Up", Qt::Key_Up, Qt::NoModifier);
        row(edit, "Down", Qt::Key_Down, Qt::NoModifier);
        row(edit, "Right", Qt::Key_Right, Qt::NoModifier);
    }
    for (const char* control : {"编辑框1", "按钮3"}) {
        row(control, "Ctrl+Tab", Qt::Key_Tab, Qt::ControlModifier);
        row(control, "Ctrl+Shift+Tab", Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
        row(control, "Shift+Esc", Qt::Key_Escape, Qt::ShiftModifier);
        row(control, "Ctrl+Esc", Qt::Key_Escape, Qt::ControlModifier);
        row(control, "Alt+Esc", Qt::Key_Escape, Qt::AltModifier);
    }
}

void MainWindowTest::keysThatDoNothing() {
    QFETCH(QString, focus);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QVERIFY(OpenWindow());
    f_->Type("编辑框1", QStringLiteral("http://a.test/"));
    Clipboard().setText(QStringLiteral("on the clipboard"));
    std::vector<std::unique_ptr<QSignalSpy>> clicks;
    for (const char* button : kButtons) {
        clicks.push_back(std::make_unique<QSignalSpy>(f_->Button(button), &QPushButton::clicked));
    }
    f_->window->findChild<QWidget*>(focus)->setFocus();
    QTRY_COMPARE(FocusName(), focus);

    f_->Key(Qt::Key(key), Qt::KeyboardModifiers(modifiers));

    QVERIFY(f_->window->isVisible());
    QCOMPARE(FocusName(), focus);
    for (std::size_t i = 0; i < clicks.size(); ++i) {
        QVERIFY2(clicks[i]->isEmpty(), kButtons[i]);
    }
    QCOMPARE(f_->server->Requests().size(), 0);
    QCOMPARE(f_->Edit("编辑框1")->text(), QStringLiteral("http://a.test/"));
    QCOMPARE(f_->Edit("编辑框2")->text(), QString());
    QCOMPARE(Clipboard().text(), QStringLiteral("on the clipboard"));
}

void MainWindowTest::focusReturnsOnActivation() {
    QVERIFY(OpenWindow());
    for (int i = 0; i < 3; ++i) {
        f_->Key(Qt::Key_Tab);
    }
    QCOMPARE(FocusName(), N("按钮2"));

    QWidget other;
    auto* otherEdit = new QLineEdit(&other);
    otherEdit->setObjectName(QStringLiteral("another program"));
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    QTRY_COMPARE(FocusName(), QStringLiteral("another program"));

    f_->window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f_->window.get()));
    QTRY_COMPARE(FocusName(), N("按钮2"));
}

void MainWindowTest::languageSwitch() {
    QVERIFY(OpenWindow());
    const QString address = N("http://例子.test/?q=1&r=2");
    f_->Type("编辑框1", address);
    f_->Type("编辑框2", QStringLiteral("typed"));
    f_->W("按钮3")->setFocus();
    QTRY_COMPARE(FocusName(), N("按钮3"));

    // Space is the keyboard's press of a focused button.
    for (const bool english : {true, false}) {
        f_->Key(Qt::Key_Space);
        QCOMPARE(f_->Captions(), ExpectedCaptions(english));
        QCOMPARE(f_->Edit("编辑框1")->text(), address);
        QCOMPARE(f_->Edit("编辑框2")->text(), QStringLiteral("typed"));
        QCOMPARE(f_->Link()->LinkText(), QStringLiteral("Tarnwick"));
        QCOMPARE(FocusName(), N("按钮3"));
    }
}

void MainWindowTest::accessibleNames() {
    QVERIFY(OpenWindow());
    f_->Type("编辑框1", QStringLiteral("http://a.test/x"));

    const auto accessible = [this](const char* name) {
        return QAccessible::queryAccessibleInterface(f_->W(name));
    };
    for (const bool english : {false, true, false}) {
        QStringList names{
            "MainWindow=" +
            QAccessible::queryAccessibleInterface(f_->window.get())->text(QAccessible::Name)};
        QStringList expected{"MainWindow=Quorvel"};
        for (const CaptionRow& row : kCaptions) {
            names << N(row.control) + "=" + accessible(row.control)->text(QAccessible::Name);
            expected << N(row.control) + "=" + N(english ? row.english : row.chinese);
        }
        // An edit box is named by the label above it.
        for (const auto& [box, label] : {std::pair{"编辑框1", 0}, std::pair{"编辑框2", 1}}) {
            names << N(box) + "=" + accessible(box)->text(QAccessible::Name);
            const CaptionRow& caption = kCaptions[label];
            expected << N(box) + "=" + N(english ? caption.english : caption.chinese);
        }
        names << N("超级链接框1=") + accessible("超级链接框1")->text(QAccessible::Name);
        expected << N("超级链接框1=Tarnwick");
        QCOMPARE(names, expected);
        QCOMPARE(accessible("编辑框1")->text(QAccessible::Value),
                 QStringLiteral("http://a.test/x"));

        f_->Press("按钮3");
    }
}

void MainWindowTest::paste_data() {
    QTest::addColumn<QString>("clipboardText");
    QTest::addColumn<bool>("picture");
    QTest::addColumn<QString>("expected");

    const QString address = QStringLiteral("http://long.example/a b?x=1&y=2#frag");
    const QString chinese = N("http://例子.测试/路径?q=网址");
    const QString longAddress = QStringLiteral("http://long.test/?q=") + QString(40000, QChar('x'));
    QTest::newRow("blank, & and #") << address << false << address;
    QTest::newRow("Chinese") << chinese << false << chinese;
    QTest::newRow("longer than QLineEdit's own limit") << longAddress << false << longAddress;
    QTest::newRow("a picture, no text") << QString() << true << QString();
    QTest::newRow("nothing") << QString() << false << QString();
}

void MainWindowTest::paste() {
    QFETCH(QString, clipboardText);
    QFETCH(bool, picture);
    QFETCH(QString, expected);
    QVERIFY(OpenWindow());
    f_->Type("编辑框1", QStringLiteral("earlier text"));
    f_->Edit("编辑框1")->setSelection(2, 3);
    if (picture) {
        auto* data = new QMimeData;
        QImage image(8, 8, QImage::Format_RGB32);
        image.fill(Qt::red);
        data->setImageData(image);
        Clipboard().setMimeData(data);
    } else if (clipboardText.isNull()) {
        Clipboard().clear();
    } else {
        Clipboard().setText(clipboardText);
    }
    f_->W("按钮4")->setFocus();
    QTRY_COMPARE(FocusName(), N("按钮4"));

    f_->Key(Qt::Key_Space);

    QCOMPARE(f_->Edit("编辑框1")->text().size(), expected.size());
    QCOMPARE(f_->Edit("编辑框1")->text(), expected);
    QCOMPARE(FocusName(), N("按钮4"));
    QCOMPARE(f_->server->Requests().size(), 0);
}

void MainWindowTest::copy_data() {
    QTest::addColumn<QString>("typed");
    QTest::newRow("what the user typed") << QStringLiteral("my own & text #1");
    QTest::newRow("an empty box empties the clipboard") << QString();
}

void MainWindowTest::copy() {
    QFETCH(QString, typed);
    QVERIFY(OpenWindow());
    Clipboard().setText(QStringLiteral("earlier"));
    f_->Type("编辑框2", typed);

    f_->Press("按钮2");

    QCOMPARE(Clipboard().text(), typed);
    QVERIFY(Clipboard().mimeData()->hasText());
    QCOMPARE(f_->Edit("编辑框2")->text(), typed);
}

void MainWindowTest::shorten_data() {
    QTest::addColumn<QString>("address");
    QTest::addColumn<QByteArray>("target");
    QTest::addColumn<QByteArray>("answer");

    QTest::newRow("blank, & and # as typed")
        << QStringLiteral("http://long.example/a b?x=1&y=2#frag")
        << QByteArray("/api/Tq4wRb/?s=http://long.example/a%20b?x=1&y=2#frag")
        << QByteArray("http://s.test/1");
    QTest::newRow("blanks around kept")
        << QStringLiteral(" http://a.test/ ") << QByteArray("/api/Tq4wRb/?s=%20http://a.test/%20")
        << QByteArray("http://s.test/2");
    QTest::newRow("empty box: the prefix alone")
        << QString() << QByteArray("/api/Tq4wRb/?s=") << QByteArray("http://s.test/3");
    QTest::newRow("Chinese as the locale's bytes")
        << N("http://例子.test/?q=网址") << QByteArray("/api/Tq4wRb/?s=http://例子.test/?q=网址")
        << QByteArray("http://短.test/4");
    QTest::newRow("an answer longer than QLineEdit's own limit")
        << QStringLiteral("http://a.test/") << QByteArray("/api/Tq4wRb/?s=http://a.test/")
        << "http://s.test/" + QByteArray(40000, 'y');
    QTest::newRow("an empty answer") << QStringLiteral("http://a.test/")
                                     << QByteArray("/api/Tq4wRb/?s=http://a.test/") << QByteArray();
}

void MainWindowTest::shorten() {
    QFETCH(QString, address);
    QFETCH(QByteArray, target);
    QFETCH(QByteArray, answer);
    QVERIFY(OpenWindow(answer));
    f_->Type("编辑框2", QStringLiteral("stale"));
    f_->Type("编辑框1", address);

    f_->Press("按钮1");

    const QList<QByteArray> requests = f_->server->Requests();
    QCOMPARE(requests.size(), 1);
    QCOMPARE(FirstLine(requests[0]), QString::fromUtf8("GET " + target + " HTTP/1.1"));
    QCOMPARE(f_->Edit("编辑框2")->text().size(), QString::fromUtf8(answer).size());
    QCOMPARE(f_->Edit("编辑框2")->text(), QString::fromUtf8(answer));
    QCOMPARE(FocusName(), N("编辑框2"));
}

void MainWindowTest::shortenAndCopy_data() {
    QTest::addColumn<QByteArray>("answer");
    QTest::newRow("an answer") << QByteArray("http://短.test/5");
    QTest::newRow("an empty answer") << QByteArray();
}

void MainWindowTest::shortenAndCopy() {
    QFETCH(QByteArray, answer);
    QVERIFY(OpenWindow(answer));
    Clipboard().setText(QStringLiteral("earlier"));
    f_->Type("编辑框1", QStringLiteral("http://long.example/?a=1&b=2"));

    f_->Press("按钮5");

    const QList<QByteArray> requests = f_->server->Requests();
    QCOMPARE(requests.size(), 1);
    QCOMPARE(FirstLine(requests[0]),
             QStringLiteral("GET /api/Tq4wRb/?s=http://long.example/?a=1&b=2 HTTP/1.1"));
    QCOMPARE(f_->Edit("编辑框2")->text(), QString::fromUtf8(answer));
    QCOMPARE(Clipboard().text(), QString::fromUtf8(answer));
    QCOMPARE(FocusName(), N("按钮5"));
}

void MainWindowTest::serverDown_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("clipboardAfter");
    QTest::addColumn<QString>("focusAfter");
    QTest::newRow("shorten") << N("按钮1") << QStringLiteral("earlier") << N("编辑框2");
    QTest::newRow("shorten and copy") << N("按钮5") << QString() << N("按钮5");
}

void MainWindowTest::serverDown() {
    QFETCH(QString, button);
    QFETCH(QString, clipboardAfter);
    QFETCH(QString, focusAfter);
    const quint16 closed = quorvel::testing::ClosedPort();
    QVERIFY(closed != 0);
    QVERIFY(OpenWindow("never sent", closed));
    Clipboard().setText(QStringLiteral("earlier"));
    f_->Type("编辑框2", QStringLiteral("stale answer"));
    f_->Type("编辑框1", QStringLiteral("http://a.test/"));

    f_->Press(button.toUtf8().constData());

    QCOMPARE(f_->Edit("编辑框2")->text(), QString());
    QCOMPARE(Clipboard().text(), clipboardAfter);
    QCOMPARE(FocusName(), focusAfter);
}

void MainWindowTest::hyperlink() {
    QVERIFY(OpenWindow());
    quorvel::qt::HyperlinkBox* link = f_->Link();
    QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
    QVERIFY(!link->font().underline());

    const QPoint over = f_->CentreOf("超级链接框1");
    const QPoint away(200, 200);  // the empty band left of the box
    QVERIFY(f_->window->childAt(away) == nullptr);

    enum class Step { Rest, Hover, Leave, PressLeft, Release, PressRight };
    struct Row {
        const char* what;
        Step step;
        bool openerSucceeds;
        qsizetype openings;
        QColor colour;
    };
    const Row steps[] = {
        {"pointer in the window", Step::Rest, true, 0, quorvel::qt::kLinkColour},
        {"pointer over it", Step::Hover, true, 0, quorvel::qt::kHoverColour},
        {"left button down, opened", Step::PressLeft, true, 1, quorvel::qt::kHoverColour},
        {"button up opens nothing more", Step::Release, true, 1, quorvel::qt::kHoverColour},
        {"pointer gone: visited", Step::Leave, true, 1, quorvel::qt::kVisitedColour},
        {"pointer back", Step::Hover, true, 1, quorvel::qt::kHoverColour},
        {"right button opens nothing", Step::PressRight, true, 1, quorvel::qt::kHoverColour},
        {"still visited", Step::Leave, true, 1, quorvel::qt::kVisitedColour},
        {"pointer back again", Step::Hover, false, 1, quorvel::qt::kHoverColour},
        {"left button down, opening fails", Step::PressLeft, false, 2, quorvel::qt::kHoverColour},
        {"button up", Step::Release, false, 2, quorvel::qt::kHoverColour},
        {"pointer gone: normal again", Step::Leave, false, 2, quorvel::qt::kLinkColour},
    };
    const QColor colours[] = {quorvel::qt::kLinkColour, quorvel::qt::kHoverColour,
                              quorvel::qt::kVisitedColour};
    for (const Row& row : steps) {
        f_->openerSucceeds = row.openerSucceeds;
        switch (row.step) {
            case Step::Rest:
                QTest::mouseMove(f_->Handle(), away);
                break;
            case Step::Hover:
                QTest::mouseMove(f_->Handle(), over);
                break;
            case Step::Leave:
                QTest::mouseMove(f_->Handle(), away);
                break;
            case Step::PressLeft:
                QTest::mousePress(f_->Handle(), Qt::LeftButton, {}, over);
                break;
            case Step::Release:
                QTest::mouseRelease(f_->Handle(), Qt::LeftButton, {}, over);
                break;
            case Step::PressRight:
                QTest::mouseClick(f_->Handle(), Qt::RightButton, {}, over);
                break;
        }
        QCOMPARE(f_->openings.size(), row.openings);
        const QImage shot = link->grab().toImage();
        for (const QColor& colour : colours) {
            const int pixels = PixelsOf(shot, colour);
            QVERIFY2(colour == row.colour ? pixels > 0 : pixels == 0,
                     qPrintable(QStringLiteral("%1: %2 pixels of %3")
                                    .arg(row.what)
                                    .arg(pixels)
                                    .arg(colour.name())));
        }
    }
    QCOMPARE(f_->openings, QList<QUrl>(2, kPublisher));
    QCOMPARE(FocusName(), N("编辑框1"));
}

void MainWindowTest::hyperlinkAccessible() {
    QVERIFY(OpenWindow());
    QAccessibleInterface* link = QAccessible::queryAccessibleInterface(f_->W("超级链接框1"));
    QVERIFY(link != nullptr);
    QCOMPARE(link->role(), QAccessible::Link);
    QCOMPARE(link->text(QAccessible::Name), QStringLiteral("Tarnwick"));
    QCOMPARE(link->text(QAccessible::Value), kPublisher.toString());
    QVERIFY(!link->state().focusable);
    QVERIFY(!link->state().traversed);

    QAccessibleActionInterface* actions = link->actionInterface();
    QVERIFY(actions != nullptr);
    QVERIFY(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
    actions->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(f_->openings, QList<QUrl>{kPublisher});
    QVERIFY(link->state().traversed);
}

QTEST_MAIN(MainWindowTest)
