#include "app/actions.h"

#include <utility>

#include "app/captions.h"
#include "net/fetch_page.h"
#include "text/operations.h"

namespace quorvel {

Text RequestPrefix(const Text& serviceHost) {
    return ConcatText("http://", serviceHost, "/api/Tq4wRb/?s=");
}

MainWindowActions::MainWindowActions(View& view, Internet& internet, Text requestPrefix)
    : view_(view), internet_(internet), requestPrefix_(std::move(requestPrefix)) {}

void MainWindowActions::Created() {
    ApplyChineseCaptions(view_);
    view_.SetFocus(Control::编辑框1);
}

void MainWindowActions::Pressed(Control button) {
    switch (button) {
        case Control::按钮1: Shorten(); break;
        case Control::按钮2: Copy(); break;
        case Control::按钮3: SwitchLanguage(view_); break;
        case Control::按钮4: Paste(); break;
        case Control::按钮5: ShortenAndCopy(); break;
        default: break;
    }
}

void MainWindowActions::ShortenUrl() {
    // An empty box is not caught: the prefix alone is requested.
    const Text url = ConcatText(requestPrefix_, view_.EditText(Control::编辑框1));
    view_.SetEditText(Control::编辑框2, FetchPageText(internet_, url));
}

void MainWindowActions::Paste() { view_.SetEditText(Control::编辑框1, view_.ClipboardGetText()); }

void MainWindowActions::Shorten() {
    ShortenUrl();
    view_.SetFocus(Control::编辑框2);
}

void MainWindowActions::Copy() { view_.ClipboardSetText(view_.EditText(Control::编辑框2)); }

void MainWindowActions::ShortenAndCopy() {
    ShortenUrl();
    Copy();
}

}  // namespace quorvel
