#pragma once

// How the scanning operations see characters in a byte string: a byte of
// 0x80 or above leads a double-byte character, unless it is the last byte
// (a lone last byte, one byte long).

#include <cstddef>
#include <string_view>

namespace quorvel::detail {

inline unsigned char ByteAt(std::string_view s, std::size_t p) {
    return static_cast<unsigned char>(s[p]);
}

inline bool IsLoneLastByte(std::string_view s, std::size_t p) {
    return ByteAt(s, p) >= 0x80 && p + 1 == s.size();
}

// Length of the character that starts at p: 2 for a lead byte with a byte
// after it, else 1.
inline std::size_t CharLength(std::string_view s, std::size_t p) {
    return ByteAt(s, p) >= 0x80 && p + 1 < s.size() ? 2 : 1;
}

// Length of the blank that starts at p (space, or ideographic space
// 0xA1 0xA1), or 0 when no blank starts there.
inline std::size_t BlankLength(std::string_view s, std::size_t p) {
    if (ByteAt(s, p) == 0x20) {
        return 1;
    }
    if (ByteAt(s, p) == 0xA1 && p + 1 < s.size() && ByteAt(s, p + 1) == 0xA1) {
        return 2;
    }
    return 0;
}

inline unsigned char FoldLetter(unsigned char byte) {
    return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte + 0x20) : byte;
}

// Whether `sought` stands at p in `s` (enough bytes are known to remain).
inline bool MatchesAt(std::string_view s, std::size_t p, std::string_view sought, bool ignoreCase) {
    for (std::size_t i = 0; i < sought.size(); ++i) {
        unsigned char a = ByteAt(s, p + i);
        unsigned char b = ByteAt(sought, i);
        if (ignoreCase) {
            a = FoldLetter(a);
            b = FoldLetter(b);
        }
        if (a != b) {
            return false;
        }
    }
    return true;
}

}  // namespace quorvel::detail
