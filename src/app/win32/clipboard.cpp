#include "app/win32/clipboard.h"

#include <windows.h>

#include <cstring>
#include <string_view>

namespace quorvel::win32 {

Text ClipboardGetText() {
    if (!OpenClipboard(nullptr)) {
        return Text();
    }
    Text text;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const auto* bytes = static_cast<const char*>(GlobalLock(data))) {
            // Bounded by the block's size: a block without a zero byte
            // never makes the copy read past its end.
            const SIZE_T size = GlobalSize(data);
            text = Text(std::string_view(bytes, strnlen(bytes, size)));
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

void ClipboardSetText(const Text& text) {
    if (!OpenClipboard(nullptr)) {
        return;
    }
    EmptyClipboard();
    const std::string_view bytes = text.View();
    if (HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes.size() + 1)) {
        if (void* target = GlobalLock(block)) {
            std::memcpy(target, bytes.data(), bytes.size());  // the zero byte is there already
            GlobalUnlock(block);
            if (SetClipboardData(CF_TEXT, block) == nullptr) {
                GlobalFree(block);  // the clipboard did not take it over
            }
        } else {
            GlobalFree(block);
        }
    }
    CloseClipboard();
}

}  // namespace quorvel::win32
