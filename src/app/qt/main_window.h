#pragma once

// MainWindow on Linux: one fixed-size top-level Qt window with the ten
// controls, driven through MainWindowActions. The controls carry their
// names as object names (编辑框1, 按钮3, ...).

#include <QPoint>
#include <QSize>
#include <QUrl>
#include <QWidget>
#include <array>
#include <cstddef>

#include "app/actions.h"
#include "app/qt/browser.h"
#include "app/view.h"
#include "net/internet.h"
#include "text/values.h"

class QEvent;
class QKeyEvent;
class QObject;

namespace quorvel::qt {

// The window's size on Windows, frame and title bar included; the window
// is centred as if it had that size there.
inline constexpr int kOuterWidth = 380;
inline constexpr int kOuterHeight = 249;
// What the Windows frame leaves of it: the area the controls are placed in.
// Here the window manager adds its own frame around it.
inline constexpr int kClientWidth = 374;
inline constexpr int kClientHeight = 220;

// The window's place on a screen of the given size: each quotient truncated
// towards zero, negative on a screen smaller than the window.
QPoint CentredOrigin(QSize screen);

// No Q_OBJECT here: moc cannot read the non-ASCII control names of
// app/view.h, and the window needs no signals or slots of its own (the
// buttons are connected to lambdas).
class MainWindow : public QWidget, public View {
public:
    // Creates the window and its controls, hidden, and runs the creation
    // handler: the Chinese captions, then the focus to 编辑框1.
    // `requestPrefix` and `internet` are where the shortening requests go;
    // `opener` opens `publisherUrl` when the hyperlink box is pressed.
    MainWindow(Internet& internet, Text requestPrefix, QUrl publisherUrl, BrowserOpener opener,
               QWidget* parent = nullptr);

    // Shows the window centred on the primary screen and activates it, so
    // that 编辑框1 takes the keys at once.
    void ShowCentred();

    QWidget* ControlWidget(Control control) const;

    Text EditText(Control box) override;
    void SetEditText(Control box, const Text& text) override;
    Text Caption(Control control) override;
    void SetCaption(Control control, const Text& utf8) override;
    void SetFocus(Control control) override;
    Text ClipboardGetText() override;
    void ClipboardSetText(const Text& text) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool HandleKey(const QObject* target, const QKeyEvent& key);

    MainWindowActions actions_;
    // By Control; the entry of MainWindow is the window itself.
    std::array<QWidget*, static_cast<std::size_t>(Control::超级链接框1) + 1> controls_{};
};

}  // namespace quorvel::qt
