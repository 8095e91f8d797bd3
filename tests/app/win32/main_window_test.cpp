// The Windows MainWindow, created for real in this process and driven with
// window messages: keys go through the same PreTranslate step as in the
// program's message loop.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "app/win32/browser.h"
#include "app/win32/clipboard.h"
#include "app/win32/main_window.h"
#include "net/fetch_page.h"
#include "support/capture_server.h"
#include "support/expected_request.h"
#include "support/recording_internet.h"
#include "support/text_helpers.h"

namespace quorvel::win32 {
namespace {

const Control kTabOrder[] = {Control::编辑框1, Control::按钮1, Control::编辑框2, Control::按钮2,
                             Control::按钮3,  Control::按钮4, Control::按钮5};

// Runs the messages waiting for this thread; the exit code of a WM_QUIT
// among them, or -1.
long long Pump() {
    long long quitCode = -1;
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            quitCode = static_cast<long long>(message.wParam);
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return quitCode;
}

// Holds the modifier keys down for this thread while it lives.
class Modifiers {
public:
    explicit Modifiers(std::initializer_list<int> keys) {
        BYTE state[256] = {};
        GetKeyboardState(state);
        for (int key : keys) {
            state[key] = 0x80;
        }
        SetKeyboardState(state);
    }
    ~Modifiers() {
        BYTE state[256] = {};
        SetKeyboardState(state);
    }
};

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(window.Create(SW_SHOW));
        SetForegroundWindow(window.Window());
        Pump();
    }

    HWND Of(Control control) const { return window.ControlWindow(control); }

    // A key press as the message loop delivers it, down and up; the exit
    // code when it ended the loop, else -1.
    long long Press(WPARAM key) {
        for (UINT kind : {UINT{WM_KEYDOWN}, UINT{WM_KEYUP}}) {
            MSG message{GetFocus(), kind, key, 1, 0, {}};
            if (!window.PreTranslate(message)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        }
        return Pump();
    }

    Control Focused() const {
        for (int i = 0; i <= static_cast<int>(Control::超级链接框1); ++i) {
            if (GetFocus() == Of(static_cast<Control>(i))) {
                return static_cast<Control>(i);
            }
        }
        return Control::MainWindow;
    }

    RecordingInternet net;
    std::vector<std::wstring> opened;
    bool openerSucceeds = true;
    MainWindow window{GetModuleHandleW(nullptr), net, RequestPrefix("127.0.0.1:9"), L"http://publisher.test/",
                      [this](const std::wstring& address) {
                          opened.push_back(address);
                          return openerSucceeds;
                      }};
};

TEST(CentredOrigin, TruncatesTowardsZeroAndMayBeNegative) {
    EXPECT_EQ(CentredOrigin(1024, 768).x, 322);
    EXPECT_EQ(CentredOrigin(1024, 768).y, 259);
    EXPECT_EQ(CentredOrigin(1921, 1080).x, 770);
    EXPECT_EQ(CentredOrigin(300, 200).x, -40);
    EXPECT_EQ(CentredOrigin(300, 200).y, -24);
    EXPECT_EQ(CentredOrigin(379, 248).x, 0) << "-1 / 2 truncates to 0";
}

TEST(FallbackCommandLine, CutBeforeThePlaceholder) {
    EXPECT_EQ(FallbackCommandLine(L"\"C:\\B\\b.exe\" -osint -url \"%1\"", L"http://p/"),
              L"\"C:\\B\\b.exe\" -osint -url http://p/");
    EXPECT_EQ(FallbackCommandLine(L"C:\\B\\b.exe %1", L"http://p/"), L"C:\\B\\b.exe http://p/");
    EXPECT_EQ(FallbackCommandLine(L"b.exe", L"http://p/"), L"b.exe http://p/");
    EXPECT_EQ(FallbackCommandLine(L"", L"http://p/"), L"");
}

TEST_F(MainWindowTest, StartState) {
    const std::vector<std::pair<Control, std::string>> captions = {
        {Control::标签1, "要缩短的网址:"}, {Control::标签2, "缩短后网址:"}, {Control::按钮1, "缩短"},
        {Control::按钮2, "复制"},          {Control::按钮3, "English"},     {Control::按钮4, "黏贴"},
        {Control::按钮5, "缩短并复制"},    {Control::MainWindow, "Quorvel"},
    };
    for (const auto& [control, caption] : captions) {
        EXPECT_EQ(window.Caption(control).Str(), caption);
    }
    EXPECT_EQ(window.EditText(Control::编辑框1), Text(""));
    EXPECT_EQ(window.EditText(Control::编辑框2), Text(""));
    EXPECT_EQ(Focused(), Control::编辑框1);

    RECT outer;
    GetWindowRect(window.Window(), &outer);
    EXPECT_EQ(outer.right - outer.left, 380);
    EXPECT_EQ(outer.bottom - outer.top, 249);
    const POINT origin = CentredOrigin(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(outer.left, origin.x);
    EXPECT_EQ(outer.top, origin.y);
    const LONG_PTR style = GetWindowLongPtrW(window.Window(), GWL_STYLE);
    EXPECT_EQ(style & (WS_MAXIMIZEBOX | WS_THICKFRAME), 0) << "neither resized nor maximised";
    EXPECT_NE(style & WS_MINIMIZEBOX, 0);

    const struct {
        Control control;
        RECT place;
    } places[] = {
        {Control::标签1, {16, 8, 144, 24}},      {Control::编辑框1, {16, 32, 240, 64}},
        {Control::按钮4, {248, 32, 304, 64}},    {Control::按钮1, {312, 32, 368, 64}},
        {Control::按钮5, {248, 72, 368, 104}},   {Control::标签2, {16, 104, 96, 120}},
        {Control::编辑框2, {16, 128, 240, 160}}, {Control::按钮2, {248, 128, 368, 160}},
        {Control::按钮3, {16, 176, 96, 208}},    {Control::超级链接框1, {264, 184, 368, 208}},
    };
    for (const auto& [control, place] : places) {
        RECT r;
        GetWindowRect(Of(control), &r);
        MapWindowPoints(HWND_DESKTOP, window.Window(), reinterpret_cast<POINT*>(&r), 2);
        EXPECT_TRUE(r.left == place.left && r.top == place.top && r.right == place.right &&
                    r.bottom == place.bottom)
            << "control " << static_cast<int>(control) << " at " << r.left << "," << r.top << " "
            << r.right << "," << r.bottom;
        EXPECT_TRUE(IsWindowVisible(Of(control)));
    }
    EXPECT_EQ(SendMessageW(Of(Control::编辑框1), EM_GETLIMITTEXT, 0, 0), 0x7FFFFFFE)
        << "no limit beyond the control's largest";
    EXPECT_NE(GetWindowLongPtrW(Of(Control::标签1), GWL_STYLE) & SS_NOPREFIX, 0) << "'&' drawn as it is";
    wchar_t name[32];
    GetWindowTextW(Of(Control::超级链接框1), name, 32);
    EXPECT_EQ(std::wstring(name), L"Tarnwick") << "what screen readers read";
}

TEST_F(MainWindowTest, TabCyclesBothWays) {
    for (int round = 0; round < 2; ++round) {
        for (std::size_t i = 1; i <= std::size(kTabOrder); ++i) {
            Press(VK_TAB);
            EXPECT_EQ(Focused(), kTabOrder[i % std::size(kTabOrder)]) << "Tab number " << i;
        }
    }
    Modifiers shift{VK_SHIFT};
    for (std::size_t i = std::size(kTabOrder); i-- > 0;) {
        Press(VK_TAB);
        EXPECT_EQ(Focused(), kTabOrder[i]) << "Shift+Tab to " << i;
    }
}

TEST_F(MainWindowTest, KeysThatDoNothingHere) {
    window.SetFocus(Control::按钮1);
    Press(VK_RETURN);
    EXPECT_TRUE(net.calls.empty()) << "Enter on a focused button shortens nothing";
    Press(VK_RIGHT);
    Press(VK_DOWN);
    EXPECT_EQ(Focused(), Control::按钮1) << "arrow keys do not move between buttons";
    {
        Modifiers ctrl{VK_CONTROL};
        Press(VK_TAB);
        EXPECT_EQ(Focused(), Control::按钮1) << "Ctrl+Tab";
    }
    for (int modifier : {VK_SHIFT, VK_CONTROL, VK_MENU}) {
        Modifiers held{modifier};
        EXPECT_EQ(Press(VK_ESCAPE), -1);
        EXPECT_TRUE(IsWindow(window.Window())) << "Esc with modifier " << modifier;
    }
}

TEST_F(MainWindowTest, EscClosesFromAnEditBox) {
    window.SetFocus(Control::编辑框2);
    EXPECT_EQ(Press(VK_ESCAPE), 0) << "the loop ends with exit code 0";
    EXPECT_EQ(window.Window(), nullptr);
}

TEST_F(MainWindowTest, FocusComesBackOnActivation) {
    window.SetFocus(Control::按钮2);
    SendMessageW(window.Window(), WM_ACTIVATE, WA_INACTIVE, 0);
    ::SetFocus(nullptr);
    SendMessageW(window.Window(), WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_EQ(Focused(), Control::按钮2);
}

TEST_F(MainWindowTest, LanguageSwitchTwice) {
    SetWindowTextW(Of(Control::编辑框1), L"kept");
    SendMessageW(Of(Control::按钮3), BM_CLICK, 0, 0);
    EXPECT_EQ(window.Caption(Control::按钮1), Text("generate"));
    EXPECT_EQ(window.Caption(Control::按钮3).Str(), "中文");
    EXPECT_EQ(window.Caption(Control::按钮5), Text("Generation and copy"));
    SendMessageW(Of(Control::按钮3), BM_CLICK, 0, 0);
    EXPECT_EQ(window.Caption(Control::按钮1).Str(), "缩短");
    EXPECT_EQ(window.Caption(Control::按钮3), Text("English"));
    EXPECT_EQ(window.EditText(Control::编辑框1), Text("kept"));
}

TEST_F(MainWindowTest, PasteAndCopyThroughTheClipboard) {
    // GBK bytes of a Chinese address: the edit boxes and CF_TEXT carry
    // ANSI code page text.
    const Text address = "http://\xC0\xFD.example/\xC4\xE3\xBA\xC3?a=1&b=2#c d";
    ClipboardSetText(address);
    SendMessageW(Of(Control::按钮4), BM_CLICK, 0, 0);
    EXPECT_EQ(window.EditText(Control::编辑框1), address);

    window.SetEditText(Control::编辑框2, "typed by the user");
    SendMessageW(Of(Control::按钮2), BM_CLICK, 0, 0);
    EXPECT_EQ(ClipboardGetText(), Text("typed by the user"));
}

TEST_F(MainWindowTest, ClipboardWithoutTextOrHeldElsewhere) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    const UINT privateFormat = RegisterClipboardFormatW(L"Quorvel test picture");
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 4);
    SetClipboardData(privateFormat, block);
    CloseClipboard();
    window.SetEditText(Control::编辑框1, "before");
    SendMessageW(Of(Control::按钮4), BM_CLICK, 0, 0);
    EXPECT_EQ(window.EditText(Control::编辑框1), Text("")) << "no text: paste empties the box";

    ClipboardSetText("held");
    HANDLE holding = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    // Another program's thread with the clipboard open for its window.
    std::thread holder([&] {
        HWND owner = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        OpenClipboard(owner);
        SetEvent(holding);
        WaitForSingleObject(release, 10000);
        CloseClipboard();
        DestroyWindow(owner);
    });
    WaitForSingleObject(holding, 10000);
    window.SetEditText(Control::编辑框1, "before");
    SendMessageW(Of(Control::按钮4), BM_CLICK, 0, 0);
    EXPECT_EQ(window.EditText(Control::编辑框1), Text("")) << "a busy clipboard reads as empty";
    window.SetEditText(Control::编辑框2, "not copied");
    SendMessageW(Of(Control::按钮2), BM_CLICK, 0, 0);
    SetEvent(release);
    holder.join();
    CloseHandle(holding);
    CloseHandle(release);
    EXPECT_EQ(ClipboardGetText(), Text("held")) << "copy leaves a busy clipboard as it was";
}

TEST_F(MainWindowTest, HyperlinkColoursAndVisitedState) {
    HWND link = Of(Control::超级链接框1);
    EXPECT_EQ(window.Link().TextColour(), kLinkColour);
    SendMessageW(link, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(window.Link().TextColour(), kHoverColour);
    SendMessageW(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ASSERT_EQ(opened, std::vector<std::wstring>{L"http://publisher.test/"}) << "opens on the press";
    EXPECT_TRUE(window.Link().Visited());
    SendMessageW(link, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(opened.size(), 1U) << "not again on the release";
    EXPECT_EQ(window.Link().TextColour(), kHoverColour) << "hover wins while the pointer is over it";
    SendMessageW(link, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(window.Link().TextColour(), kVisitedColour);

    openerSucceeds = false;
    SendMessageW(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(link, WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(window.Link().Visited());
    EXPECT_EQ(window.Link().TextColour(), kLinkColour) << "a failed opening clears the visited state";
    EXPECT_NE(GetFocus(), link) << "the hyperlink box never takes the focus";
}

// The real transport and a real server on loopback: what the service
// receives for an address typed in Chinese (GBK on this code page), and
// what the window shows and copies.
TEST(MainWindowWithService, ShortenAndShortenAndCopy) {
    CaptureServer service({{HttpResponse("HTTP/1.1 200 OK", {"Content-Type: text/plain"}, "http://q.test/7")}});
    MainWindow window(GetModuleHandleW(nullptr), SystemInternet(), RequestPrefix(service.Authority().c_str()),
                      L"http://publisher.test/", [](const std::wstring&) { return true; });
    ASSERT_TRUE(window.Create(SW_SHOW));
    SetWindowTextW(window.ControlWindow(Control::编辑框1), L"http://例子.test/你好?a=1&b=2#c d");
    const std::string address = "http://\xC0\xFD\xD7\xD3.test/\xC4\xE3\xBA\xC3?a=1&b=2#c d";
    ASSERT_EQ(window.EditText(Control::编辑框1).Str(), address) << "the box reads as GBK";

    SendMessageW(window.ControlWindow(Control::按钮1), BM_CLICK, 0, 0);
    EXPECT_EQ(window.EditText(Control::编辑框2), Text("http://q.test/7"));
    EXPECT_EQ(GetFocus(), window.ControlWindow(Control::编辑框2));

    window.SetFocus(Control::按钮5);
    ClipboardSetText("before");
    SendMessageW(window.ControlWindow(Control::按钮5), BM_CLICK, 0, 0);
    EXPECT_EQ(ClipboardGetText(), Text("http://q.test/7"));
    EXPECT_EQ(GetFocus(), window.ControlWindow(Control::按钮5));

    const std::string url = "http://" + service.Authority() + "/api/Tq4wRb/?s=" + address;
    const std::string path = "/api/Tq4wRb/?s=http://\xC0\xFD\xD7\xD3.test/\xC4\xE3\xBA\xC3?a=1&b=2#c%20d";
    const std::string head = ExpectedHead(RequestHead{
        "GET", path, service.Authority(), std::string(kDefaultAgent),
        {"Referer: " + url, "Accept: */*", "Accept-Language: zh-cn",
         "Content-Type: application/x-www-form-urlencoded"},
        std::nullopt});
    EXPECT_EQ(service.Requests(), (std::vector<std::string>{head, head}));
}

TEST(MainWindowWithService, ServiceDownEmptiesTheAnswer) {
    RefusingPort down;
    MainWindow window(GetModuleHandleW(nullptr), SystemInternet(),
                      RequestPrefix(("127.0.0.1:" + std::to_string(down.Port())).c_str()),
                      L"http://publisher.test/", [](const std::wstring&) { return true; });
    ASSERT_TRUE(window.Create(SW_SHOW));
    window.SetEditText(Control::编辑框1, "http://long.example/");
    window.SetEditText(Control::编辑框2, "an old answer");
    SendMessageW(window.ControlWindow(Control::按钮1), BM_CLICK, 0, 0);
    EXPECT_EQ(window.EditText(Control::编辑框2), Text(""));
}

}  // namespace
}  // namespace quorvel::win32
