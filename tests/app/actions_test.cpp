// The window's actions against a fake view and a recording transport:
// captions and their order, the language switch, shortening, the clipboard
// and where the focus goes.

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/actions.h"
#include "app/captions.h"
#include "support/recording_internet.h"
#include "support/text_helpers.h"

namespace quorvel {
namespace {

const char* Name(Control control) {
    switch (control) {
        case Control::MainWindow: return "MainWindow";
        case Control::标签1: return "标签1";
        case Control::编辑框1: return "编辑框1";
        case Control::按钮4: return "按钮4";
        case Control::按钮1: return "按钮1";
        case Control::按钮5: return "按钮5";
        case Control::标签2: return "标签2";
        case Control::编辑框2: return "编辑框2";
        case Control::按钮2: return "按钮2";
        case Control::按钮3: return "按钮3";
        case Control::超级链接框1: return "超级链接框1";
    }
    return "?";
}

// Controls as a map of texts, every write logged; the clipboard holds a
// text, or something else (std::nullopt: a picture, say).
class FakeView : public View {
public:
    std::map<Control, Text> texts;
    std::optional<Text> clipboard;
    std::vector<std::string> log;
    Control focus = Control::按钮5;

    Text EditText(Control box) override { return texts[box]; }
    void SetEditText(Control box, const Text& text) override {
        texts[box] = text;
        log.push_back(std::string("text ") + Name(box) + " = " + text.Str());
    }
    Text Caption(Control control) override { return texts[control]; }
    void SetCaption(Control control, const Text& utf8) override {
        texts[control] = utf8;
        log.push_back(std::string(Name(control)) + " = " + utf8.Str());
    }
    void SetFocus(Control control) override {
        focus = control;
        log.push_back(std::string("focus ") + Name(control));
    }
    Text ClipboardGetText() override { return clipboard.value_or(Text()); }
    void ClipboardSetText(const Text& text) override {
        clipboard = text;
        log.push_back("clipboard = " + text.Str());
    }
};

const std::vector<std::string> kChinese = {
    "标签1 = 要缩短的网址:", "标签2 = 缩短后网址:", "按钮1 = 缩短",       "按钮2 = 复制",
    "按钮3 = English",       "按钮4 = 黏贴",       "按钮5 = 缩短并复制", "MainWindow = Quorvel",
};
const std::vector<std::string> kEnglish = {
    "标签1 = Enter URL:", "标签2 = Shortened URL:", "按钮1 = generate",
    "按钮2 = Copy",       "按钮3 = 中文",           "按钮4 = Paste",
    "按钮5 = Generation and copy", "MainWindow = Quorvel",
};

struct Window {
    FakeView view;
    RecordingInternet net;
    MainWindowActions actions{view, net, RequestPrefix("127.0.0.1:8470")};
};

TEST(Captions, CreatedShowsChineseThenFocusesTheLongAddress) {
    Window w;
    w.actions.Created();
    std::vector<std::string> expected = kChinese;
    expected.push_back("focus 编辑框1");
    EXPECT_EQ(w.view.log, expected);
}

TEST(Captions, SwitchBothWaysAndFromAnyOtherCaption) {
    Window w;
    w.actions.Created();
    w.view.texts[Control::编辑框1] = "typed";
    w.view.log.clear();

    w.actions.Pressed(Control::按钮3);
    EXPECT_EQ(w.view.log, kEnglish);
    w.view.log.clear();
    w.actions.Pressed(Control::按钮3);
    EXPECT_EQ(w.view.log, kChinese);
    EXPECT_EQ(w.view.focus, Control::编辑框1) << "switching leaves the focus";
    EXPECT_EQ(w.view.texts[Control::编辑框1], Text("typed"));

    for (const char* odd : {"english", "English ", "", "中文"}) {
        w.view.texts[Control::按钮3] = odd;
        w.view.log.clear();
        SwitchLanguage(w.view);
        EXPECT_EQ(w.view.log, kChinese) << "按钮3 read '" << odd << "'";
    }
}

TEST(Shorten, SendsTheAddressAsTypedAndFocusesTheAnswer) {
    Window w;
    w.net.body = "http://q.example/1";
    w.view.texts[Control::编辑框1] = "http://long.example/a b?x=1&y=2#frag";
    w.actions.Pressed(Control::按钮1);

    EXPECT_EQ(w.net.calls.at(2),
              "OpenRequest(connection, \"GET\", \"/api/Tq4wRb/?s=http://long.example/a b?x=1&y=2#frag\", "
              "\"HTTP/1.1\", none, 0x80084010, 0)");
    EXPECT_EQ(w.net.calls.at(0).find(", 3, \"http=\", \"\", 0)") != std::string::npos, true)
        << "proxy mode with an empty server: " << w.net.calls.at(0);
    EXPECT_EQ(w.view.texts[Control::编辑框2], Text("http://q.example/1"));
    EXPECT_EQ(w.view.focus, Control::编辑框2);
}

TEST(Shorten, EmptyBoxStillAsksWithThePrefixAlone) {
    Window w;
    w.net.body = "answer";
    w.actions.ShortenUrl();
    EXPECT_NE(w.net.calls.at(2).find("\"/api/Tq4wRb/?s=\""), std::string::npos);
    EXPECT_EQ(w.view.texts[Control::编辑框2], Text("answer"));
}

TEST(Shorten, FailedRequestEmptiesTheAnswer) {
    Window w;
    w.net.failing = "Connect";
    w.view.texts[Control::编辑框2] = "old answer";
    w.actions.Pressed(Control::按钮1);
    EXPECT_EQ(w.view.texts[Control::编辑框2], Text(""));
    EXPECT_EQ(w.view.focus, Control::编辑框2);
}

TEST(ShortenAndCopy, CopiesTheAnswerAndLeavesTheFocus) {
    Window w;
    w.net.body = "http://q.example/2";
    w.view.clipboard = Text("before");
    w.actions.Pressed(Control::按钮5);
    EXPECT_EQ(w.view.clipboard, Text("http://q.example/2"));
    EXPECT_EQ(w.view.focus, Control::按钮5);

    w.net = RecordingInternet();
    w.net.failing = "Open";
    w.actions.Pressed(Control::按钮5);
    EXPECT_EQ(w.view.texts[Control::编辑框2], Text(""));
    EXPECT_EQ(w.view.clipboard, Text("")) << "the empty answer replaces the clipboard";
}

TEST(Clipboard, CopyAndPaste) {
    Window w;
    w.view.texts[Control::编辑框2] = "user's own \xC4\xE3 text";
    w.actions.Pressed(Control::按钮2);
    EXPECT_EQ(w.view.clipboard, Text("user's own \xC4\xE3 text"));

    w.view.texts[Control::编辑框1] = "replaced whole";
    w.actions.Pressed(Control::按钮4);
    EXPECT_EQ(w.view.texts[Control::编辑框1], Text("user's own \xC4\xE3 text"));
    EXPECT_EQ(w.view.focus, Control::按钮5) << "paste leaves the focus";

    w.view.clipboard.reset();  // a picture, no text
    w.actions.Pressed(Control::按钮4);
    EXPECT_EQ(w.view.texts[Control::编辑框1], Text(""));

    w.view.texts[Control::编辑框2] = "";
    w.actions.Pressed(Control::按钮2);
    EXPECT_EQ(w.view.clipboard, Text("")) << "copying an empty box empties the clipboard";
}

TEST(Pressed, ControlsWithoutActionsDoNothing) {
    Window w;
    for (Control c : {Control::标签1, Control::标签2, Control::编辑框1, Control::超级链接框1}) {
        w.actions.Pressed(c);
    }
    EXPECT_TRUE(w.view.log.empty());
    EXPECT_TRUE(w.net.calls.empty());
}

}  // namespace
}  // namespace quorvel
