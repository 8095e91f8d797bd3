#include "app/win32/main_window.h"

#include <commctrl.h>

#include <utility>

#include "app/win32/clipboard.h"
#include "app/win32/encoding.h"

namespace quorvel::win32 {
namespace {

constexpr const wchar_t* kClassName = L"QuorvelMainWindow";
constexpr int kFirstControlId = 100;

enum class Kind { Label, EditBox, Button, HyperLinker };

struct ControlPlace {
    Control control;
    Kind kind;
    int left, top, width, height;
};

// Created in this order, which is also the Tab order of the controls that
// take the focus: 编辑框1, 按钮1, 编辑框2, 按钮2, 按钮3, 按钮4, 按钮5.
constexpr ControlPlace kControls[] = {
    {Control::编辑框1, Kind::EditBox, 16, 32, 224, 32},
    {Control::按钮1, Kind::Button, 312, 32, 56, 32},
    {Control::编辑框2, Kind::EditBox, 16, 128, 224, 32},
    {Control::按钮2, Kind::Button, 248, 128, 120, 32},
    {Control::按钮3, Kind::Button, 16, 176, 80, 32},
    {Control::按钮4, Kind::Button, 248, 32, 56, 32},
    {Control::按钮5, Kind::Button, 248, 72, 120, 32},
    {Control::标签1, Kind::Label, 16, 8, 128, 16},
    {Control::标签2, Kind::Label, 16, 104, 80, 16},
    {Control::超级链接框1, Kind::HyperLinker, 264, 184, 104, 24},
};

std::size_t Index(Control control) { return static_cast<std::size_t>(control); }

int IdOf(Control control) { return kFirstControlId + static_cast<int>(control); }

bool Held(int key) { return GetKeyState(key) < 0; }

bool IsArrow(WPARAM key) { return key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN; }

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

}  // namespace

POINT CentredOrigin(int screenWidth, int screenHeight) {
    // Integer division truncates towards zero, also for a negative space.
    return POINT{(screenWidth - kWindowWidth) / 2, (screenHeight - kWindowHeight) / 2};
}

MainWindow::MainWindow(HINSTANCE instance, Internet& internet, Text requestPrefix,
                       std::wstring publisherUrl, Opener opener)
    : instance_(instance),
      actions_(*this, internet, std::move(requestPrefix)),
      publisherUrl_(std::move(publisherUrl)),
      opener_(std::move(opener)) {}

MainWindow::~MainWindow() {
    if (window_ != nullptr) {
        DestroyWindow(window_);
    }
    if (font_ != nullptr) {
        DeleteObject(font_);
    }
}

bool MainWindow::Create(int showCommand) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    if (!GetClassInfoExW(instance_, kClassName, &windowClass)) {
        windowClass.lpfnWndProc = &ForwardToOwner<MainWindow>;
        windowClass.hInstance = instance_;
        windowClass.hIcon = LoadIconW(instance_, MAKEINTRESOURCEW(1));
        windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
        windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        windowClass.lpszClassName = kClassName;
        if (RegisterClassExW(&windowClass) == 0) {
            return false;
        }
    }
    Hyperlink::Register(instance_);

    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        font_ = CreateFontIndirectW(&metrics.lfMessageFont);
    }

    const POINT origin = CentredOrigin(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    // A fixed single frame with the system menu and a minimise box, no
    // maximise box; the controls and the creation handler come in WM_CREATE.
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    window_ = CreateWindowExW(WS_EX_APPWINDOW, kClassName, L"", style, origin.x, origin.y, kWindowWidth,
                              kWindowHeight, nullptr, nullptr, instance_, this);
    if (window_ == nullptr) {
        return false;
    }
    ShowWindow(window_, showCommand);
    UpdateWindow(window_);
    return true;
}

bool MainWindow::CreateControls() {
    for (const ControlPlace& place : kControls) {
        const RECT rect{place.left, place.top, place.left + place.width, place.top + place.height};
        HWND control = nullptr;
        const auto id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(IdOf(place.control)));
        switch (place.kind) {
            case Kind::Label:
                // SS_NOPREFIX draws "&" as it is; SS_CENTERIMAGE centres one line vertically.
                control = CreateWindowExW(0, WC_STATICW, L"", WS_CHILD | SS_LEFT | SS_NOPREFIX | SS_CENTERIMAGE,
                                          place.left, place.top, place.width, place.height, window_, id, instance_,
                                          nullptr);
                break;
            case Kind::EditBox:
                control = CreateWindowExW(WS_EX_CLIENTEDGE, WC_EDITW, L"",
                                          WS_CHILD | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL, place.left,
                                          place.top, place.width, place.height, window_, id, instance_, nullptr);
                if (control != nullptr) {
                    SendMessageW(control, EM_SETLIMITTEXT, 0, 0);  // the control's largest
                }
                break;
            case Kind::Button:
                control = CreateWindowExW(0, WC_BUTTONW, L"", WS_CHILD | WS_TABSTOP | BS_PUSHBUTTON, place.left,
                                          place.top, place.width, place.height, window_, id, instance_, nullptr);
                break;
            case Kind::HyperLinker:
                control = link_.Create(window_, instance_, L"Tarnwick", IdOf(place.control), rect,
                                       publisherUrl_, opener_);
                break;
        }
        if (control == nullptr) {
            return false;
        }
        if (font_ != nullptr) {
            SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
        }
        controls_[Index(place.control)] = control;
    }
    controls_[Index(Control::MainWindow)] = window_;
    for (const ControlPlace& place : kControls) {
        ShowWindow(controls_[Index(place.control)], SW_SHOWNA);
    }
    return true;
}

LRESULT MainWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            if (!CreateControls()) {
                return -1;  // CreateWindowEx then fails
            }
            actions_.Created();
            return 0;
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            if (id == IDCANCEL) {  // Esc, through the dialog manager
                DestroyWindow(window_);
                return 0;
            }
            if (HIWORD(wParam) == BN_CLICKED && id >= kFirstControlId &&
                id < kFirstControlId + static_cast<int>(controls_.size())) {
                actions_.Pressed(static_cast<Control>(id - kFirstControlId));
            }
            return 0;
        }
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE) {
                HWND focus = GetFocus();
                if (focus != nullptr && IsChild(window_, focus)) {
                    lastFocus_ = focus;
                }
            } else {
                ::SetFocus(lastFocus_ != nullptr ? lastFocus_ : FirstInTabOrder());
            }
            return 0;
        case WM_DESTROY:
            window_ = nullptr;
            controls_.fill(nullptr);
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(window_, message, wParam, lParam);
    }
}

bool MainWindow::PreTranslate(MSG& message) {
    if (window_ == nullptr || (message.hwnd != window_ && !IsChild(window_, message.hwnd))) {
        return false;
    }
    const UINT kind = message.message;
    const bool keyMessage = kind == WM_KEYDOWN || kind == WM_KEYUP || kind == WM_SYSKEYDOWN || kind == WM_SYSKEYUP;
    const bool charMessage = kind == WM_CHAR || kind == WM_SYSCHAR;
    if (keyMessage || charMessage) {
        const WPARAM key = message.wParam;
        const bool ctrl = Held(VK_CONTROL);
        const bool modified = ctrl || Held(VK_SHIFT) || Held(VK_MENU) || (message.lParam & (1 << 29)) != 0;
        // Enter runs nothing, not even on a focused button.
        if ((keyMessage && key == VK_RETURN) || (charMessage && (key == L'\r' || key == L'\n'))) {
            return true;
        }
        if (ctrl && ((keyMessage && key == VK_TAB) || (charMessage && key == L'\t'))) {
            return true;
        }
        if (modified && ((keyMessage && key == VK_ESCAPE) || (charMessage && key == 0x1B))) {
            return true;
        }
        // The dialog manager would move the focus between buttons with the
        // arrow keys; in the edit boxes the arrows move the caret as usual.
        if (keyMessage && IsArrow(key) && IsButton(GetFocus())) {
            return true;
        }
    }
    return IsDialogMessageW(window_, &message) != FALSE;
}

bool MainWindow::IsButton(HWND window) const {
    for (Control button : {Control::按钮1, Control::按钮2, Control::按钮3, Control::按钮4, Control::按钮5}) {
        if (window != nullptr && window == controls_[Index(button)]) {
            return true;
        }
    }
    return false;
}

HWND MainWindow::FirstInTabOrder() const { return controls_[Index(Control::编辑框1)]; }

HWND MainWindow::ControlWindow(Control control) const { return controls_[Index(control)]; }

Text MainWindow::EditText(Control box) { return AnsiFromWide(WindowText(ControlWindow(box))); }

void MainWindow::SetEditText(Control box, const Text& text) {
    SetWindowTextW(ControlWindow(box), WideFromAnsi(text).c_str());
}

Text MainWindow::Caption(Control control) { return Utf8FromWide(WindowText(ControlWindow(control))); }

void MainWindow::SetCaption(Control control, const Text& utf8) {
    SetWindowTextW(ControlWindow(control), WideFromUtf8(utf8).c_str());
}

void MainWindow::SetFocus(Control control) {
    lastFocus_ = ControlWindow(control);
    ::SetFocus(lastFocus_);
}

Text MainWindow::ClipboardGetText() { return win32::ClipboardGetText(); }

void MainWindow::ClipboardSetText(const Text& text) { win32::ClipboardSetText(text); }

}  // namespace quorvel::win32
