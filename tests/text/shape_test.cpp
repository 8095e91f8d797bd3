// Pieces, blanks, case, numbers, conversions and comparisons: the edge
// results every caller relies on.

#include <gtest/gtest.h>

#include <string_view>

#include "support/text_helpers.h"
#include "text/operations.h"

namespace quorvel {
namespace {

using namespace std::string_view_literals;

TEST(TextPieces, CountBytesAndClamp) {
    EXPECT_EQ(TextLength(""), 0);
    EXPECT_EQ(TextLength("a\xB0\xA1"), 3);
    struct Case {
        Text got, expected;
    };
    const Case cases[] = {
        {TextLeft("abc", 0), ""},          {TextLeft("abc", -1), ""},
        {TextLeft("abc", 5), "abc"},       {TextLeft("\xB0\xA1", 1), "\xB0"},
        {TextRight("abc", 2), "bc"},       {TextRight("abc", 0), ""},
        {TextRight("abc", 9), "abc"},      {TextMid("abcdef", 3, 2), "cd"},
        {TextMid("abc", 3, 10), "c"},      {TextMid("abc", 0, 2), ""},
        {TextMid("abc", 4, 1), ""},        {TextMid("abc", 1, 0), ""},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(cases[i].got, cases[i].expected) << "row " << i;
    }
}

TEST(Blanks, TrimBoth) {
    struct Case {
        Text text, expected;
    };
    const Case cases[] = {
        {"  a b  ", "a b"},
        {"\ta\t", "\ta\t"},
        {"\xA1\xA1" "a\xA1\xA1", "a"},
        {"   ", ""},
        {"", ""},
        {"a\r\n", "a\r\n"},
        {"a \xB0", "a "},                        // lone last byte cut, blank before it stays
        {"a\xA1\xA1\xA1", "a\xA1\xA1"},
        {" \xB0 ", "\xB0 "},                     // that space is a second byte
        {"\xB0\xA1\xA1\xA1", "\xB0\xA1"},        // no ideographic space across characters
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TrimBoth(c.text), c.expected) << ::testing::PrintToString(c.text);
    }
}

TEST(Blanks, RemoveAllSpaces) {
    EXPECT_EQ(RemoveAllSpaces(" a b\tc "), Text("ab\tc"));
    EXPECT_EQ(RemoveAllSpaces("a b\xB0"), Text("ab"));
    EXPECT_EQ(RemoveAllSpaces("\xA1\xA1x\xA1\xA1y"), Text("xy"));
    EXPECT_EQ(RemoveAllSpaces("\xB0 x"), Text("\xB0 x"));  // 0xB0 0x20 is one character
    EXPECT_EQ(RemoveAllSpaces("\r\n"), Text("\r\n"));
}

TEST(Case, ToLowerLeavesSecondBytes) {
    EXPECT_EQ(ToLower("AbC\xC4\xE3Z"), Text("abc\xC4\xE3z"));
    EXPECT_EQ(ToLower("\x81\x41"), Text("\x81\x41"));
    EXPECT_EQ(ToLower("A\xB0"), Text("a\xB0"));
    EXPECT_EQ(ToLower("[@]"), Text("[@]"));
}

TEST(Numbers, ToInt) {
    struct Case {
        Text text;
        std::int32_t expected;
    };
    const Case cases[] = {
        {"  42", 42},
        {"-17x", -17},
        {"+5", 5},
        {"abc", 0},
        {"", 0},
        {" - 5", 0},
        {"\t\r\n8", 8},
        {"\v\f9", 9},
        {"2147483647", 2147483647},
        {"2147483648", -2147483647 - 1},
        {"99999999999", 1215752191},
        {"-2147483648", -2147483647 - 1},
        {"\xA3\xB1\xA3\xB2", 12},               // full-width digits
        {"\xA3\xAD\xA3\xB3", -3},               // full-width minus
        {"\xA1\xA1" "7", 7},                    // ideographic space
        {"1\xA3\xB2x", 12},                     // mixed widths
        {"\xB0\xA1" "5", 0},                    // another character first
        {"8080?x=1", 8080},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ToInt(c.text), c.expected) << ::testing::PrintToString(c.text);
    }
}

TEST(Conversions, TextsAndBytes) {
    EXPECT_EQ(ToText(Bytes("ab\0c"sv)), Text("ab"));
    EXPECT_EQ(ToText(Bytes("\0ab"sv)), Text(""));
    EXPECT_EQ(ToText(Bytes()), Text(""));
    EXPECT_EQ(ToText(Text("x")), Text("x"));
    EXPECT_EQ(Text("ab\0c"sv), Text("ab")) << "a text never holds a zero byte";
    EXPECT_EQ(BytesLength(ToBytes("ab")), 2);
    EXPECT_EQ(BytesLength(ToBytes("")), 0);
    EXPECT_EQ(BlankText(3), Text("   "));
    EXPECT_EQ(BlankText(0), Text(""));
    EXPECT_EQ(BlankText(-2), Text(""));
    EXPECT_EQ(CharFromCode(0), Text(""));
    EXPECT_EQ(CharFromCode(65), Text("A"));
    EXPECT_EQ(CharFromCode(0xB0), Text("\xB0"));
}

TEST(Comparisons, TextAndBytes) {
    EXPECT_EQ(CompareText("ab", "abc"), -1);
    EXPECT_EQ(CompareText("abc", "ab"), 1);
    EXPECT_EQ(CompareText("\xB0", "a"), 1) << "bytes compare unsigned";
    EXPECT_EQ(CompareText("English", "english"), -1);
    EXPECT_EQ(CompareText("same", "same"), 0);
    Text unassigned;
    EXPECT_EQ(CompareText(unassigned, ""), 0);

    EXPECT_EQ(CompareBytes(Bytes("a"), Bytes("ab")), 1) << "different lengths: 1 either way";
    EXPECT_EQ(CompareBytes(Bytes("ab"), Bytes("a")), 1);
    EXPECT_EQ(CompareBytes(Bytes(), Bytes()), 0);
    EXPECT_EQ(CompareBytes(Bytes("a\0b"sv), Bytes("a\0b"sv)), 0);
    EXPECT_EQ(CompareBytes(Bytes("a\x01"), Bytes("a\xFF")), -1);
    EXPECT_EQ(CompareBytes(Bytes("\xFF"), Bytes("\x01")), 1);
}

TEST(Joining, ConcatAndBitOr) {
    Text unassigned;
    EXPECT_EQ(ConcatText(unassigned, "b"), Text("b"));
    EXPECT_EQ(ConcatText("a", "", "b", Text("c")), Text("abc"));
    EXPECT_EQ(BytesLength(ConcatBytes(Bytes(), Bytes())), 0);
    EXPECT_EQ(ConcatBytes(Bytes("a\0"sv), Bytes("\0b"sv)), Bytes("a\0\0b"sv));
    EXPECT_EQ(BitOr(12, 3), 15);
    EXPECT_EQ(BitOr(-8, 1), -7) << "a negative operand ors its 32-bit pattern";
    EXPECT_EQ(BitOr(0x80000000u, 0x10), static_cast<std::int32_t>(0x80000010u));
    EXPECT_EQ(BitOr(42), 42);
}

TEST(ByteStrings, LeftAndBlank) {
    const Bytes three("a\0c"sv);
    EXPECT_EQ(BytesLeft(three, 5), three);
    EXPECT_EQ(BytesLeft(three, 2), Bytes("a\0"sv));
    EXPECT_EQ(BytesLength(BytesLeft(three, 0)), 0);
    EXPECT_EQ(BytesLength(BytesLeft(three, -1)), 0);
    EXPECT_EQ(BlankBytes(3), Bytes("\0\0\0"sv));
    EXPECT_EQ(BytesLength(BlankBytes(-1)), 0);
}

}  // namespace
}  // namespace quorvel
