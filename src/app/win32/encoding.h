#pragma once

// Conversions at the edge of the Win32 window: the window works in UTF-16
// (W functions), edit-box and clipboard texts are ANSI code page bytes, and
// captions are UTF-8 so they show whatever the system's code page is.

#include <string>

#include "text/values.h"

namespace quorvel::win32 {

std::wstring WideFromAnsi(const Text& ansi);
Text AnsiFromWide(const std::wstring& wide);
std::wstring WideFromUtf8(const Text& utf8);
Text Utf8FromWide(const std::wstring& wide);

}  // namespace quorvel::win32
