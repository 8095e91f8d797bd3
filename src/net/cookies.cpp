#include "net/cookies.h"

#include <utility>

#include "text/operations.h"

namespace quorvel {

Text MergeCookies(Text& cookies, Text& received) {
    cookies = RemoveAllSpaces(cookies);
    received = RemoveAllSpaces(received);
    const TextArray old = SplitText(cookies, ";");
    TextArray merged = SplitText(received, ";");
    for (std::int32_t i = 1; i <= ArraySize(old); ++i) {
        // `merged` grows here, so of several old entries with one name only
        // the first is kept.
        if (!CookieListHasName(merged, CookieName(old.Element(i)))) {
            ArrayAppend(merged, old.Element(i));
        }
    }
    Text joined;
    for (std::int32_t i = 1; i <= ArraySize(merged); ++i) {
        const Text& entry = merged.Element(i);
        if (CompareText(TextRight(entry, 8), "=deleted") != 0) {
            joined = ConcatText(std::move(joined), entry, "; ");
        }
    }
    cookies = TextLeft(joined, TextLength(joined) - 2);
    return cookies;
}

Text CookieName(const Text& entry) {
    const std::int32_t equals = FindText(entry, "=");
    return TrimBoth(equals == -1 ? entry : TextLeft(entry, equals - 1));
}

bool CookieListHasName(const TextArray& entries, const Text& name) {
    for (std::int32_t i = 1; i <= ArraySize(entries); ++i) {
        if (CompareText(CookieName(entries.Element(i)), name) == 0) {
            return true;
        }
    }
    return false;
}

}  // namespace quorvel
