#include "app/win32/hyperlink.h"

#include <utility>

namespace quorvel::win32 {
namespace {

constexpr const wchar_t* kClassName = L"QuorvelHyperlink";

}  // namespace

void Hyperlink::Register(HINSTANCE instance) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    if (GetClassInfoExW(instance, kClassName, &windowClass)) {
        return;
    }
    windowClass.lpfnWndProc = &ForwardToOwner<Hyperlink>;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32649));  // IDC_HAND
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = kClassName;
    RegisterClassExW(&windowClass);
}

HWND Hyperlink::Create(HWND parent, HINSTANCE instance, const wchar_t* text, int id, RECT place,
                       std::wstring target, Opener opener) {
    target_ = std::move(target);
    opener_ = std::move(opener);
    window_ = CreateWindowExW(0, kClassName, text, WS_CHILD, place.left, place.top,
                              place.right - place.left, place.bottom - place.top, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, this);
    return window_;
}

COLORREF Hyperlink::TextColour() const {
    if (hovered_) {
        return kHoverColour;
    }
    return visited_ ? kVisitedColour : kLinkColour;
}

LRESULT Hyperlink::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SETFONT:
            font_ = reinterpret_cast<HFONT>(wParam);
            if (LOWORD(lParam) != 0) {
                InvalidateRect(window_, nullptr, TRUE);
            }
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(font_);
        case WM_SETCURSOR:
            SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32649)));  // IDC_HAND
            return TRUE;
        case WM_MOUSEMOVE:
            if (!hovered_) {
                hovered_ = true;
                TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window_, 0};
                TrackMouseEvent(&track);
                InvalidateRect(window_, nullptr, TRUE);
            }
            return 0;
        case WM_MOUSELEAVE:
            hovered_ = false;
            InvalidateRect(window_, nullptr, TRUE);
            return 0;
        case WM_LBUTTONDOWN:
            Open();
            return 0;
        case WM_PAINT:
            Paint();
            return 0;
        default:
            return DefWindowProcW(window_, message, wParam, lParam);
    }
}

void Hyperlink::Open() {
    visited_ = opener_ && opener_(target_);
    InvalidateRect(window_, nullptr, TRUE);
    if (visited_) {
        UpdateWindow(window_);  // the visited colour shows at once
    }
}

void Hyperlink::Paint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window_, &paint);
    RECT area;
    GetClientRect(window_, &area);
    FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
    const HGDIOBJ oldFont = font_ != nullptr ? SelectObject(dc, font_) : nullptr;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, TextColour());
    wchar_t text[64];
    const int length = GetWindowTextW(window_, text, 64);
    DrawTextW(dc, text, length, &area, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
    if (oldFont != nullptr) {
        SelectObject(dc, oldFont);
    }
    EndPaint(window_, &paint);
}

}  // namespace quorvel::win32
