#pragma once

// The Linux window on Qt's offscreen platform: one window per test, its
// shortening requests going to a real HTTP server on 127.0.0.1, the real
// clipboard, and the desktop's browser replaced by a recording opener.

#include <QObject>
#include <memory>

class MainWindowTest : public QObject {
    Q_OBJECT

public:
    MainWindowTest();
    ~MainWindowTest() override;

private slots:
    void cleanup();

    void startState();
    void controlPlaces_data();
    void controlPlaces();
    void centredOrigin_data();
    void centredOrigin();

    void tabCycle_data();
    void tabCycle();
    void escapeCloses_data();
    void escapeCloses();
    void keysThatDoNothing_data();
    void keysThatDoNothing();
    void focusReturnsOnActivation();

    void languageSwitch();
    void accessibleNames();

    void paste_data();
    void paste();
    void copy_data();
    void copy();
    void shorten_data();
    void shorten();
    void shortenAndCopy_data();
    void shortenAndCopy();
    void serverDown_data();
    void serverDown();

    void hyperlink();
    void hyperlinkAccessible();

private:
    struct Fixture;

    // A server answering `answer`, and a window sending its requests there
    // (or to `port` when given), shown and active. False when either failed.
    bool OpenWindow(const QByteArray& answer = "http://s.test/1", quint16 port = 0);

    std::unique_ptr<Fixture> f_;
};
