#pragma once

// The window procedure of a window that is one C++ object: the object comes
// with CreateWindowEx's last argument, is kept in the window's user data
// from WM_NCCREATE on, and receives every later message in Handle().
// Owner declares `template <class> friend LRESULT CALLBACK ForwardToOwner(...)`
// and has a member `HWND window_`.

#include <windows.h>

namespace quorvel::win32 {

template <class Owner>
LRESULT CALLBACK ForwardToOwner(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* owner = static_cast<Owner*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        owner->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
    }
    auto* owner = reinterpret_cast<Owner*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return owner != nullptr ? owner->Handle(message, wParam, lParam)
                            : DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace quorvel::win32
