#include <cstddef>
#include <cstdint>
#include <string_view>

#include "text/characters.h"
#include "text/operations.h"

namespace quorvel {

using detail::CharLength;
using detail::IsLoneLastByte;
using detail::MatchesAt;

std::int32_t FindText(const Text& text, const Text& sought, std::int32_t start, bool ignoreCase) {
    const std::string_view s = text.View();
    const std::string_view x = sought.View();
    const std::size_t origin = start <= 1 ? 0 : static_cast<std::size_t>(start) - 1;
    if (origin >= s.size()) {
        return -1;
    }
    if (x.empty()) {
        return 1;  // "found" at the very start, even when the search began later
    }
    // The scan steps by characters from the origin, whatever lies before it.
    for (std::size_t p = origin; p + x.size() <= s.size(); p += CharLength(s, p)) {
        if (MatchesAt(s, p, x, ignoreCase)) {
            return static_cast<std::int32_t>(p + 1);
        }
    }
    return -1;
}

std::int32_t FindTextReverse(const Text& text, const Text& sought, std::optional<std::int32_t> start,
                             bool ignoreCase) {
    const std::string_view s = text.View();
    const std::string_view x = sought.View();
    // An occurrence must lie wholly within the first `limit` bytes.
    std::size_t limit = s.size();
    if (start.has_value()) {
        limit = *start <= 1 ? 0 : static_cast<std::size_t>(*start) - 1;
        if (limit > s.size()) {
            limit = s.size();
        }
    }
    if (x.empty()) {
        return limit > 0 ? 1 : -1;
    }
    std::int32_t last = -1;
    for (std::size_t p = 0; p + x.size() <= limit; p += CharLength(s, p)) {
        if (MatchesAt(s, p, x, ignoreCase)) {
            last = static_cast<std::int32_t>(p + 1);
        }
    }
    return last;
}

Text ReplaceSubtext(const Text& text, const Text& old, const Text& newText, std::int32_t start,
                    std::int32_t count, bool caseSensitive) {
    const std::string_view s = text.View();
    const std::string_view x = old.View();
    const std::size_t origin = start <= 1 ? 0 : static_cast<std::size_t>(start) - 1;
    if (s.empty() || x.empty() || origin >= s.size() || count == 0) {
        return text;
    }
    Text result;
    result.Reserve(TextLength(text));
    std::size_t kept = 0;  // start of the bytes not yet copied, the prefix included
    const auto copyUpTo = [&](std::size_t end) { result.Append(Text(s.substr(kept, end - kept))); };
    std::int32_t replaced = 0;
    std::size_t p = origin;
    while (p + x.size() <= s.size()) {
        if (MatchesAt(s, p, x, !caseSensitive)) {
            copyUpTo(p);
            result.Append(newText);
            p += x.size();
            kept = p;
            if (++replaced == count) {
                break;
            }
        } else if (IsLoneLastByte(s, p)) {
            // Only a one-byte `old` reaches the last byte: an incomplete
            // character there that is not replaced is dropped.
            copyUpTo(p);
            kept = ++p;
        } else {
            p += CharLength(s, p);
        }
    }
    copyUpTo(s.size());
    return result;
}

TextArray SplitText(const Text& text, const Text& delimiter, std::optional<std::int32_t> maxCount) {
    const std::string_view s = text.View();
    const std::string_view d = delimiter.View();
    TextArray pieces;
    const bool limited = maxCount.has_value();
    const std::int32_t limit = limited && *maxCount < 0 ? 0 : maxCount.value_or(0);
    if (s.empty() || (limited && limit == 0)) {
        return pieces;
    }
    if (d.empty()) {
        pieces.Append(text);
        return pieces;
    }
    std::size_t pieceStart = 0;
    std::size_t p = 0;
    while (p + d.size() <= s.size()) {
        if (MatchesAt(s, p, d, false)) {
            pieces.Append(Text(s.substr(pieceStart, p - pieceStart)));
            p += d.size();
            pieceStart = p;
            if (limited && pieces.Size() == limit) {
                return pieces;  // the rest of the text is dropped
            }
        } else if (IsLoneLastByte(s, p)) {
            break;
        } else {
            p += CharLength(s, p);
        }
    }
    if (pieceStart < s.size()) {
        pieces.Append(Text(s.substr(pieceStart)));
    }
    return pieces;
}

}  // namespace quorvel
