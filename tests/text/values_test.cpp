// Value semantics of the three kinds, and the fatal error for a list
// element read outside its range.

#include <gtest/gtest.h>

#include <string_view>
#include <utility>

#include "support/text_helpers.h"
#include "text/fatal.h"
#include "text/operations.h"

namespace quorvel {
namespace {

using namespace std::string_view_literals;

TEST(Values, CopiesAreIndependent) {
    Text a = "abc";
    Text b = a;
    a.Append("def");
    EXPECT_EQ(b, Text("abc"));

    Bytes x("1\0"sv);
    Bytes y = x;
    x.Append(Bytes("2"));
    EXPECT_EQ(y, Bytes("1\0"sv));

    TextArray list = MakeArray({"p"});
    TextArray copy = list;
    ArrayAppend(list, "q");
    EXPECT_EQ(ArraySize(copy), 1);
    EXPECT_EQ(ArraySize(list), 2);
}

TEST(Values, AppendToItself) {
    Text t = "ab";
    t.Append(t);
    t.Append(t);
    EXPECT_EQ(t, Text("abababab"));

    TextArray list = MakeArray({"only"});
    ArrayAppend(list, list.Element(1));  // the element lives in the list that grows
    EXPECT_EQ(list, MakeArray({"only", "only"}));
}

TEST(Values, MovedInConcatenationKeepsItsStorage) {
    Bytes body;
    for (int i = 0; i < 1000; ++i) {
        body = ConcatBytes(std::move(body), Bytes("0123456789"));
    }
    EXPECT_EQ(BytesLength(body), 10000);
    EXPECT_LE(body.Capacity(), 15000U) << "growth by at most half again";
    EXPECT_EQ(BytesLeft(body, 12), Bytes("012345678901"));
}

TEST(TextArrays, AppendAndRead) {
    TextArray list;
    EXPECT_EQ(ArraySize(list), 0);
    ArrayAppend(list, "");
    ArrayAppend(list, "b");
    EXPECT_EQ(ArraySize(list), 2);
    EXPECT_EQ(list.Element(1), Text(""));
    EXPECT_EQ(list.Element(2), Text("b"));
    EXPECT_EQ(ArraySize(SplitText("")), 0);
}

using TextArraysDeathTest = ::testing::Test;

TEST(TextArraysDeathTest, ReadingOutsideTheRangeIsFatal) {
    const TextArray list = MakeArray({"a", "b"});
    EXPECT_EXIT((void)list.Element(0), ::testing::ExitedWithCode(kFatalExitCode),
                "fatal error: list element 0 read outside 1 to 2");
    EXPECT_EXIT((void)list.Element(3), ::testing::ExitedWithCode(kFatalExitCode),
                "list element 3 read outside 1 to 2");
    EXPECT_EXIT((void)TextArray().Element(1), ::testing::ExitedWithCode(kFatalExitCode),
                "outside 1 to 0");
}

}  // namespace
}  // namespace quorvel
