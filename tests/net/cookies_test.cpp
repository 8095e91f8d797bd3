// Cookie merge: received entries first, then the caller's entries whose
// names were not received; "=deleted" entries dropped; both texts replaced.

#include <gtest/gtest.h>

#include "net/cookies.h"
#include "support/text_helpers.h"

namespace quorvel {
namespace {

TEST(MergeCookies, Table) {
    struct Case {
        Text cookies, received, cookiesAfter, receivedAfter;
    };
    const Case cases[] = {
        {"a=1; b=2", "b=3; c=4", "b=3; c=4; a=1", "b=3;c=4"},
        {"", "x=1", "x=1", "x=1"},
        {"a=1; b=2", "", "a=1; b=2", ""},
        {"a=1; a=2; b=2", "", "a=1; b=2", ""},
        {"a=1; b=2", "a=deleted", "b=2", "a=deleted"},
        {"a=1", "b=2; b=3", "b=2; b=3; a=1", "b=2;b=3"},
        {"a=1;;b=2", "", "a=1; ; b=2", ""},
        {"", "", "", ""},
        {"a = 1 ; flag", "x=y z", "x=yz; a=1; flag", "x=yz"},
        {"a=1;", "c=3;", "c=3; a=1", "c=3;"},
        {"a=1", "A=2", "A=2; a=1", "A=2"},
        {"sid=deleted", "", "", ""},
        {"a=1", "a=DELETED", "a=DELETED", "a=DELETED"},
        {"\xA1\xA1k=v\xA1\xA1", "", "k=v", ""},
    };
    for (const auto& c : cases) {
        Text cookies = c.cookies;
        Text received = c.received;
        const Text returned = MergeCookies(cookies, received);
        const std::string row = ::testing::PrintToString(c.cookies) + " + " +
                                ::testing::PrintToString(c.received);
        EXPECT_EQ(cookies, c.cookiesAfter) << row;
        EXPECT_EQ(received, c.receivedAfter) << row;
        EXPECT_EQ(returned, cookies) << row;
    }
}

TEST(CookieName, Table) {
    EXPECT_EQ(CookieName("sid=abc"), Text("sid"));
    EXPECT_EQ(CookieName(" sid = abc "), Text("sid"));
    EXPECT_EQ(CookieName("flag"), Text("flag"));
    EXPECT_EQ(CookieName("a=b=c"), Text("a"));
    EXPECT_EQ(CookieName("=v"), Text(""));
    EXPECT_EQ(CookieName(""), Text(""));
}

TEST(CookieListHasName, ExactNames) {
    const TextArray entries = MakeArray({"a=1", " B =2", "flag"});
    EXPECT_TRUE(CookieListHasName(entries, "B"));
    EXPECT_TRUE(CookieListHasName(entries, "flag"));
    EXPECT_FALSE(CookieListHasName(entries, "b"));
    EXPECT_FALSE(CookieListHasName(TextArray(), ""));
    EXPECT_TRUE(CookieListHasName(MakeArray({"=x"}), ""));
}

}  // namespace
}  // namespace quorvel
