#pragma once

// The window's actions, written once for every front-end: startup's
// creation handler and the five buttons. Each runs to its end on the
// user-interface thread; the shortening request is synchronous.

#include "app/view.h"
#include "net/internet.h"
#include "text/values.h"

namespace quorvel {

// "http://" + host + "/api/Tq4wRb/?s=": the long address is appended to it
// as typed, unencoded.
Text RequestPrefix(const Text& serviceHost);

class MainWindowActions {
public:
    MainWindowActions(View& view, Internet& internet, Text requestPrefix);

    // Creation handler: the Chinese captions, then the focus to 编辑框1.
    void Created();

    // Runs the action bound to a button; other controls have none.
    void Pressed(Control button);

    // 编辑框1 appended to the request prefix, the service's answer (empty
    // when the request fails) into 编辑框2.
    void ShortenUrl();

    void Paste();           // 按钮4
    void Shorten();         // 按钮1
    void Copy();            // 按钮2
    void ShortenAndCopy();  // 按钮5

private:
    View& view_;
    Internet& internet_;
    Text requestPrefix_;
};

}  // namespace quorvel
