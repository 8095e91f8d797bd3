#pragma once

// MainWindow on Windows: one top-level window with the ten controls as
// native (themed) child windows, driven through MainWindowActions.

#include <windows.h>

#include <array>
#include <string>

#include "app/actions.h"
#include "app/view.h"
#include "app/win32/hyperlink.h"
#include "net/internet.h"
#include "app/win32/window_procedure.h"

namespace quorvel::win32 {

inline constexpr int kWindowWidth = 380;
inline constexpr int kWindowHeight = 249;

// The place of a window of the given size centred on a screen of the given
// size; negative on a screen smaller than the window.
POINT CentredOrigin(int screenWidth, int screenHeight);

class MainWindow : public View {
public:
    MainWindow(HINSTANCE instance, Internet& internet, Text requestPrefix, std::wstring publisherUrl,
               Opener opener);
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Creates the window and its controls, runs the creation handler (the
    // Chinese captions, the focus to 编辑框1) and shows the window centred.
    // False when the window could not be made.
    bool Create(int showCommand);

    // Keyboard handling before a message is dispatched: keys that do
    // nothing here are dropped, Tab and Esc go through the dialog manager.
    // True when the message was used up.
    bool PreTranslate(MSG& message);

    HWND Window() const { return window_; }
    HWND ControlWindow(Control control) const;
    const Hyperlink& Link() const { return link_; }

    Text EditText(Control box) override;
    void SetEditText(Control box, const Text& text) override;
    Text Caption(Control control) override;
    void SetCaption(Control control, const Text& utf8) override;
    void SetFocus(Control control) override;
    Text ClipboardGetText() override;
    void ClipboardSetText(const Text& text) override;

private:
    template <class> friend LRESULT CALLBACK ForwardToOwner(HWND, UINT, WPARAM, LPARAM);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    bool CreateControls();
    bool IsButton(HWND window) const;
    HWND FirstInTabOrder() const;

    HINSTANCE instance_;
    MainWindowActions actions_;
    std::wstring publisherUrl_;
    Opener opener_;
    HWND window_ = nullptr;
    HFONT font_ = nullptr;
    HWND lastFocus_ = nullptr;
    std::array<HWND, 11> controls_{};  // by Control
    Hyperlink link_;
};

}  // namespace quorvel::win32
