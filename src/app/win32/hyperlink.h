#pragma once

// The hyperlink box: a child window drawing its text centred, in the link
// colours, that opens its target when the left button goes down on it.
// Its window text is the link's name, which is what screen readers read.

#include <windows.h>

#include <functional>
#include <string>

#include "app/win32/window_procedure.h"

namespace quorvel::win32 {

// Opens an address; true when the opening succeeded.
using Opener = std::function<bool(const std::wstring& address)>;

inline constexpr COLORREF kHoverColour = RGB(0, 120, 215);
inline constexpr COLORREF kVisitedColour = RGB(128, 0, 0);
inline constexpr COLORREF kLinkColour = RGB(0, 0, 255);

class Hyperlink {
public:
    // Registers the window class once; call before Create.
    static void Register(HINSTANCE instance);

    // Creates the box as a hidden child; `opener` opens `target`.
    HWND Create(HWND parent, HINSTANCE instance, const wchar_t* text, int id, RECT place,
                std::wstring target, Opener opener);

    COLORREF TextColour() const;
    bool Visited() const { return visited_; }
    bool Hovered() const { return hovered_; }

private:
    template <class> friend LRESULT CALLBACK ForwardToOwner(HWND, UINT, WPARAM, LPARAM);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void Paint();
    void Open();

    HWND window_ = nullptr;
    HFONT font_ = nullptr;
    std::wstring target_;
    Opener opener_;
    bool hovered_ = false;
    bool visited_ = false;
};

}  // namespace quorvel::win32
