#include <cstddef>
#include <string_view>

#include "text/characters.h"
#include "text/operations.h"

namespace quorvel {

using detail::BlankLength;
using detail::CharLength;
using detail::IsLoneLastByte;

Text TrimBoth(const Text& text) {
    const std::string_view s = text.View();
    std::size_t first = 0;
    while (first < s.size() && BlankLength(s, first) > 0) {
        first += BlankLength(s, first);
    }
    std::size_t end = s.size();
    std::size_t trailingRun = s.size();  // where the final run of blanks begins
    for (std::size_t p = first; p < s.size();) {
        if (IsLoneLastByte(s, p)) {
            // An incomplete last character ends the text; blanks before it stay.
            end = p;
            trailingRun = p;
            break;
        }
        const std::size_t blank = BlankLength(s, p);
        if (blank > 0) {
            if (trailingRun == s.size()) {
                trailingRun = p;
            }
            p += blank;
        } else {
            trailingRun = s.size();
            p += CharLength(s, p);
        }
    }
    if (trailingRun < end) {
        end = trailingRun;
    }
    return first >= end ? Text() : Text(s.substr(first, end - first));
}

Text RemoveAllSpaces(const Text& text) {
    const std::string_view s = text.View();
    Text result;
    result.Reserve(TextLength(text));
    std::size_t kept = 0;  // start of the run of bytes not yet copied
    std::size_t p = 0;
    while (p < s.size()) {
        std::size_t skip = BlankLength(s, p);
        if (skip == 0 && IsLoneLastByte(s, p)) {
            skip = 1;
        }
        if (skip > 0) {
            result.Append(Text(s.substr(kept, p - kept)));
            p += skip;
            kept = p;
        } else {
            p += CharLength(s, p);
        }
    }
    result.Append(Text(s.substr(kept)));
    return result;
}

}  // namespace quorvel
