#include <cstddef>
#include <cstdint>
#include <string_view>

#include "text/characters.h"
#include "text/operations.h"

namespace quorvel {

using detail::ByteAt;
using detail::CharLength;

namespace {

// The character at p as ToInt reads it: full-width ASCII (0xA3 0xA1..0xFE)
// as its ASCII twin, the ideographic space as a space; any other
// double-byte character as its lead byte, which no number contains.
unsigned char NarrowCharAt(std::string_view s, std::size_t p) {
    if (CharLength(s, p) == 2) {
        const unsigned char lead = ByteAt(s, p);
        const unsigned char trail = ByteAt(s, p + 1);
        if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
            return static_cast<unsigned char>(trail - 0x80);
        }
        if (lead == 0xA1 && trail == 0xA1) {
            return ' ';
        }
    }
    return ByteAt(s, p);
}

bool IsWhiteSpace(unsigned char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

}  // namespace

Text ToLower(const Text& text) {
    const std::string_view s = text.View();
    Bytes lowered = ToBytes(text);
    for (std::size_t p = 0; p < s.size(); p += CharLength(s, p)) {
        // Double-byte characters are stepped over whole: their second
        // bytes keep their case.
        if (ByteAt(s, p) >= 'A' && ByteAt(s, p) <= 'Z') {
            lowered.Data()[p] = static_cast<char>(ByteAt(s, p) + 0x20);
        }
    }
    return ToText(lowered);
}

std::int32_t ToInt(const Text& text) {
    const std::string_view s = text.View();
    std::size_t p = 0;
    while (p < s.size() && IsWhiteSpace(NarrowCharAt(s, p))) {
        p += CharLength(s, p);
    }
    bool negative = false;
    if (p < s.size() && (NarrowCharAt(s, p) == '+' || NarrowCharAt(s, p) == '-')) {
        negative = NarrowCharAt(s, p) == '-';
        p += CharLength(s, p);
    }
    // Unsigned arithmetic: the value wraps around in 32 bits, no overflow check.
    std::uint32_t value = 0;
    for (; p < s.size(); p += CharLength(s, p)) {
        const unsigned char c = NarrowCharAt(s, p);
        if (c < '0' || c > '9') {
            break;
        }
        value = value * 10U + static_cast<std::uint32_t>(c - '0');
    }
    if (negative) {
        value = 0U - value;
    }
    return static_cast<std::int32_t>(value);
}

Text ToText(const Bytes& bytes) { return Text(bytes.View()); }

Text ToText(const Text& text) { return text; }

Bytes ToBytes(const Text& text) { return Bytes(text.View()); }

Text BlankText(std::int32_t count) {
    Text blanks;
    blanks.AppendFill(count, ' ');
    return blanks;
}

Text CharFromCode(std::int32_t code) {
    const char byte[2] = {static_cast<char>(code & 0xFF), '\0'};
    return Text(byte);
}

}  // namespace quorvel
