#include "app/win32/encoding.h"

#include <windows.h>

#include <string_view>

namespace quorvel::win32 {
namespace {

std::wstring ToWide(UINT codePage, std::string_view bytes) {
    if (bytes.empty()) {
        return std::wstring();
    }
    const int size = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), size, wide.data(), length);
    return wide;
}

Text FromWide(UINT codePage, const std::wstring& wide) {
    if (wide.empty()) {
        return Text();
    }
    const int size = static_cast<int>(wide.size());
    const int length = WideCharToMultiByte(codePage, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(codePage, 0, wide.data(), size, bytes.data(), length, nullptr, nullptr);
    return Text(bytes);
}

}  // namespace

std::wstring WideFromAnsi(const Text& ansi) { return ToWide(CP_ACP, ansi.View()); }
Text AnsiFromWide(const std::wstring& wide) { return FromWide(CP_ACP, wide); }
std::wstring WideFromUtf8(const Text& utf8) { return ToWide(CP_UTF8, utf8.View()); }
Text Utf8FromWide(const std::wstring& wide) { return FromWide(CP_UTF8, wide); }

}  // namespace quorvel::win32
