#pragma once

// The Windows clipboard's plain text (CF_TEXT, ANSI code page bytes).

#include "text/values.h"

namespace quorvel::win32 {

// The clipboard's text up to its first zero byte; empty when it holds no
// text or another program has it open.
Text ClipboardGetText();

// Replaces the whole clipboard by the text; nothing happens when another
// program has it open, and it is left empty when no memory can be had.
void ClipboardSetText(const Text& text);

}  // namespace quorvel::win32
