#pragma once

// Opening a web address in the default web browser.

#include <string>

namespace quorvel::win32 {

// The shell's "open" action, shown normally; when that fails, the command
// line registered for ".htm" files, cut before its "%1", then a blank and
// the address. True when either started.
bool OpenInBrowser(const std::wstring& address);

// The ".htm" command line cut before its "%1" placeholder (quoted or not),
// with the address after one blank. Empty when no command is registered.
std::wstring FallbackCommandLine(const std::wstring& registeredCommand, const std::wstring& address);

}  // namespace quorvel::win32
