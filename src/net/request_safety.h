#pragma once

#include "text/values.h"

namespace quorvel {

// The text with every control byte (0x01-0x1F and 0x7F) written as %XX,
// upper-case hex (CR becomes %0D). Applied to what a request line or a
// header line takes from a URL, so that an address holding CR LF can never
// add a header line or a second request. All other bytes stay as they are.
Text WithoutControlBytes(const Text& text);

}  // namespace quorvel
