// Searching, replacing and splitting: where matches may begin (character
// starts only), letter folding, clamping of start positions, and the
// lone last byte.

#include <gtest/gtest.h>

#include <optional>

#include "support/text_helpers.h"
#include "text/operations.h"

namespace quorvel {
namespace {

struct FindCase {
    const char* name;
    Text text;
    Text sought;
    std::optional<std::int32_t> start;
    bool ignoreCase;
    std::int32_t forward;  // FindText
};

TEST(FindText, Table) {
    const FindCase cases[] = {
        {"first", "abcabc", "bc", std::nullopt, false, 2},
        {"from 3", "abcabc", "bc", 3, false, 5},
        {"start 0 is the first byte", "abcabc", "bc", 0, false, 2},
        {"negative start", "abcabc", "bc", -5, false, 2},
        {"start past the end", "abcabc", "bc", 7, false, -1},
        {"last byte", "abcabc", "c", 6, false, 6},
        {"empty sought reports 1 even from 3", "abc", "", 3, false, 1},
        {"empty sought past the end", "abc", "", 4, false, -1},
        {"empty in empty", "", "", std::nullopt, false, -1},
        {"folded", "user-agent: x", "USER-AGENT:", std::nullopt, true, 1},
        {"exact", "user-agent: x", "USER-AGENT:", std::nullopt, false, -1},
        {"not inside a character", "\xB0\xA1\xB0\xA1", "\xA1\xB0", std::nullopt, false, -1},
        {"second bytes folded", "\x81\x41", "\x81\x61", std::nullopt, true, 1},
        {"second bytes not folded without ignoreCase", "\x81\x41", "\x81\x61", std::nullopt, false, -1},
        {"scan steps from the origin", "\xB0\xA1:", ":", 2, false, -1},
        {"origin inside a character", "a\xB0\xA1" "b", "\xA1" "b", 3, false, 3},
        {"lone last byte", "a\xB0", "\xB0", std::nullopt, false, 2},
        {"longer than the text", "ab", "abc", std::nullopt, false, -1},
    };
    for (const auto& c : cases) {
        const std::int32_t got = c.start || c.ignoreCase
                                     ? FindText(c.text, c.sought, c.start.value_or(0), c.ignoreCase)
                                     : FindText(c.text, c.sought);
        EXPECT_EQ(got, c.forward) << c.name;
    }
}

TEST(FindTextReverse, Table) {
    const FindCase cases[] = {
        {"last", "a:b:c", ":", std::nullopt, false, 4},
        {"must end before start 4", "a:b:c", ":", 4, false, 2},
        {"start 5", "a:b:c", ":", 5, false, 4},
        {"start 1", "a:b:c", ":", 1, false, -1},
        {"start 0 given is not left out", "a:b:c", ":", 0, false, -1},
        {"start beyond the end", "a:b:c", ":", 99, false, 4},
        {"empty sought", "abc", "", std::nullopt, false, 1},
        {"empty sought, start 1", "abc", "", 1, false, -1},
        {"folded", "xAbab", "AB", std::nullopt, true, 4},
        {"character starts only", "\xB0:\xB0:", ":", std::nullopt, false, -1},
        {"lone last byte", ":a\xB0", "\xB0", std::nullopt, false, 3},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FindTextReverse(c.text, c.sought, c.start, c.ignoreCase), c.forward) << c.name;
    }
}

TEST(ReplaceSubtext, Table) {
    struct Case {
        const char* name;
        Text text, old, newText;
        std::int32_t start, count;
        bool caseSensitive;
        Text expected;
    };
    const Case cases[] = {
        {"quote marker", "x#\xD2\xFD\xBA\xC5y", "#\xD2\xFD\xBA\xC5", "\"", 1, -1, true, "x\"y"},
        {"folded, all", "aAa", "a", "b", 1, -1, false, "bbb"},
        {"count 1", "aAa", "a", "b", 1, 1, false, "bAa"},
        {"exact from 2", "aAa", "a", "b", 2, -1, true, "aAb"},
        {"count 0", "aAa", "a", "b", 1, 0, false, "aAa"},
        {"negative count is all", "aAa", "a", "b", 1, -3, false, "bbb"},
        {"no overlap", "aaa", "aa", "b", 1, -1, false, "ba"},
        {"empty old", "abc", "", "x", 1, -1, false, "abc"},
        {"start beyond the end", "abc", "c", "x", 4, -1, false, "abc"},
        {"empty text", "", "a", "x", 1, -1, false, ""},
        {"prefix before start kept as is", "a-b-c", "-", "+", 3, -1, false, "a-b+c"},
        {"not inside a character", "\xB0\x61x", "a", "!", 1, -1, false, "\xB0\x61x"},
        {"lone byte dropped by a one-byte scan", "ab\xB0", "x", "y", 1, -1, false, "ab"},
        {"lone byte kept with the rest", "ab\xB0", "xy", "z", 1, -1, false, "ab\xB0"},
        {"lone byte replaced", "ab\xB0", "\xB0", "Z", 1, -1, false, "abZ"},
        {"lone byte kept once the count is reached", "xb\xB0", "x", "y", 1, 1, false, "yb\xB0"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReplaceSubtext(c.text, c.old, c.newText, c.start, c.count, c.caseSensitive),
                  c.expected)
            << c.name;
    }
    EXPECT_EQ(ReplaceSubtext("a-b-c", "-"), Text("abc")) << "new left out deletes";
}

TEST(SplitText, Table) {
    struct Case {
        const char* name;
        Text text, delimiter;
        std::optional<std::int32_t> maxCount;
        TextArray expected;
    };
    const Case cases[] = {
        {"empty piece between", "a,,b", ",", std::nullopt, MakeArray({"a", "", "b"})},
        {"leading delimiter", ",a", ",", std::nullopt, MakeArray({"", "a"})},
        {"trailing delimiter adds nothing", "a,", ",", std::nullopt, MakeArray({"a"})},
        {"only the delimiter", ",", ",", std::nullopt, MakeArray({""})},
        {"empty text", "", ",", std::nullopt, MakeArray({})},
        {"empty delimiter", "abc", "", std::nullopt, MakeArray({"abc"})},
        {"max 2 drops the rest", "a;b;c", ";", 2, MakeArray({"a", "b"})},
        {"max above the count", "a;b;c", ";", 5, MakeArray({"a", "b", "c"})},
        {"max 0", "a;b;c", ";", 0, MakeArray({})},
        {"negative max", "a;b;c", ";", -1, MakeArray({})},
        {"max 1 without delimiter", "abc", ";", 1, MakeArray({"abc"})},
        {"CR LF lines", "x\r\ny\r\n\r\n", "\r\n", std::nullopt, MakeArray({"x", "y", ""})},
        {"delimiter inside a character", "x\xB0,y", ",", std::nullopt, MakeArray({"x\xB0,y"})},
        {"lone last byte stays", "a,\xB0", ",", std::nullopt, MakeArray({"a", "\xB0"})},
        {"no folding", "aXbxc", "x", std::nullopt, MakeArray({"aXb", "c"})},
    };
    for (const auto& c : cases) {
        const TextArray got = c.maxCount ? SplitText(c.text, c.delimiter, *c.maxCount)
                                         : SplitText(c.text, c.delimiter);
        EXPECT_EQ(got, c.expected) << c.name;
    }
    EXPECT_EQ(SplitText("a,b"), MakeArray({"a", "b"})) << "comma by default";
}

}  // namespace
}  // namespace quorvel
