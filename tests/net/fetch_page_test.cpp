// How the page request composes its calls of the transport and derives its
// outputs, shown with a transport that records every argument.

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "net/fetch_page.h"
#include "support/recording_internet.h"
#include "support/text_helpers.h"
#include "text/operations.h"

namespace quorvel {
namespace {

using namespace std::string_view_literals;
using Calls = std::vector<std::string>;

const std::string kAgent = kDefaultAgent;

TEST(FetchPage, ShorteningRequestCallsTheTransportExactly) {
    RecordingInternet net;
    net.body = "http://q.example/abc";
    const Text url = "http://127.0.0.1:8470/api/Tq4wRb/?s=http://long.example/a?b=1&c=2#top";

    EXPECT_EQ(FetchPageText(net, url), Text("http://q.example/abc"));

    const std::string headers = "Referer: " + url.Str() +
                                "\r\nAccept: */*\r\nAccept-Language: zh-cn\r\n"
                                "Content-Type: application/x-www-form-urlencoded";
    EXPECT_EQ(net.sentHeaders, headers);
    const Calls expected = {
        "Open(\"" + kAgent + "\", 3, \"http=\", \"\", 0)",
        "Connect(session, \"127.0.0.1\", 8470, none, none, 3, 0, 0)",
        "OpenRequest(connection, \"GET\", \"/api/Tq4wRb/?s=http://long.example/a?b=1&c=2#top\", "
        "\"HTTP/1.1\", none, 0x80084010, 0)",
        "SendRequest(request, headers, " + std::to_string(headers.size()) + ", none, 0)",
        "ReadFile(request, 1024) -> 20",
        "ReadFile(request, 1024) -> 0",
        "QueryInfo(request, 22, 5000, 5000)",
        "CloseHandle(request)",
        "CloseHandle(connection)",
        "CloseHandle(session)",
    };
    EXPECT_EQ(net.calls, expected);
}

TEST(FetchPage, ProxyModes) {
    RecordingInternet direct;
    FetchPage(direct, "http://a.example/");
    EXPECT_EQ(direct.calls.front(), "Open(\"" + kAgent + "\", 1, none, none, 0)");

    RecordingInternet named;
    FetchPage(named, "http://a.example/", 0, "", nullptr, nullptr, nullptr, nullptr, false, nullptr,
              Text("proxy.test:3128"));
    EXPECT_EQ(named.calls.front(), "Open(\"" + kAgent + "\", 3, \"http=proxy.test:3128\", \"\", 0)");
}

TEST(FetchPage, HeaderCompletion) {
    struct Case {
        const char* name;
        Text extraHeaders, url, cookies;
        std::string sent;
    };
    const Case cases[] = {
        {"empty: Referer first", "", "http://h/p", "",
         "Referer: http://h/p\r\nAccept: */*\r\nAccept-Language: zh-cn\r\n"
         "Content-Type: application/x-www-form-urlencoded"},
        {"lower-case names are not recognised", "referer: r\r\naccept: a\r\ncontent-type: c", "http://h/",
         "",
         "referer: r\r\naccept: a\r\ncontent-type: c\r\nReferer: http://h/\r\nAccept: */*\r\n"
         "Accept-Language: zh-cn\r\nContent-Type: application/x-www-form-urlencoded"},
        {"Accept-Language does not hold Accept:", "Accept-Language: en", "http://h/", "",
         "Accept-Language: en\r\nReferer: http://h/\r\nAccept: */*\r\n"
         "Content-Type: application/x-www-form-urlencoded"},
        {"the URL itself names Content-Type:", "", "http://h/?q=Content-Type:x", "",
         "Referer: http://h/?q=Content-Type:x\r\nAccept: */*\r\nAccept-Language: zh-cn"},
        {"cookies always added", "Cookie: old=1", "http://h/", "a=1; b=2",
         "Cookie: old=1\r\nReferer: http://h/\r\nAccept: */*\r\nAccept-Language: zh-cn\r\n"
         "Content-Type: application/x-www-form-urlencoded\r\nCookie: a=1; b=2"},
        {"caller's lines kept", "Referer: r\r\nAccept: x/y\r\nAccept-Language: de\r\nContent-Type: t",
         "http://h/", "", "Referer: r\r\nAccept: x/y\r\nAccept-Language: de\r\nContent-Type: t"},
        {"control bytes of the URL encoded in the Referer", "", "http://h/a\r\nX-Evil: 1\x7F", "",
         "Referer: http://h/a%0D%0AX-Evil: 1%7F\r\nAccept: */*\r\nAccept-Language: zh-cn\r\n"
         "Content-Type: application/x-www-form-urlencoded"},
    };
    for (const auto& c : cases) {
        RecordingInternet net;
        Text headers = c.extraHeaders;
        Text cookies = c.cookies;
        FetchPage(net, c.url, 0, "", &cookies, nullptr, &headers);
        EXPECT_EQ(net.sentHeaders, c.sent) << c.name;
        EXPECT_EQ(headers.Str(), c.sent) << c.name << ": the completed text comes back";
    }
}

TEST(FetchPage, AgentFromTheCallersHeaders) {
    struct Case {
        const char* name;
        Text extraHeaders;
        std::string openedWith;
    };
    const Case cases[] = {
        {"no User-Agent line", "X-A: 1", "\"" + kAgent + "\""},
        {"line with CR LF after it", "User-Agent:  Demo/1.0 \r\nX-A: 1", "\"Demo/1.0\""},
        {"lower-case name, lone line", "user-agent: Low/2", "\"Low/2\""},
        {"lone line, value with a colon", "User-Agent: a:b", "\"a:b\""},
        // The last of several lines: its own value, never the lines before it.
        {"last line", "X-A: 1\r\nUser-Agent: Last/3", "\"Last/3\""},
        {"empty value: no agent", "User-Agent:", "none"},
    };
    for (const auto& c : cases) {
        RecordingInternet net;
        Text headers = c.extraHeaders;
        FetchPage(net, "http://h/", 0, "", nullptr, nullptr, &headers);
        EXPECT_EQ(net.calls.front(), "Open(" + c.openedWith + ", 1, none, none, 0)") << c.name;
        EXPECT_EQ(FindText(headers, c.extraHeaders), 1) << c.name << ": the line is still sent";
    }
}

TEST(FetchPage, RequestFlags) {
    struct Case {
        Text url;
        bool noRedirect;
        const char* flags;
        std::int32_t port;
    };
    const Case cases[] = {
        {"http://h/", false, "0x80084010", 80},
        {"HTTPS://h/", false, "0x80880010", 443},
        {"httpsh.example/", false, "0x80880010", 443},
        {"h.example/", true, "0x80284010", 80},
        {"https://h:8443/", true, "0x80A80010", 8443},
    };
    for (const auto& c : cases) {
        RecordingInternet net;
        FetchPage(net, c.url, 0, "", nullptr, nullptr, nullptr, nullptr, c.noRedirect);
        EXPECT_NE(net.calls.at(2).find(std::string(", ") + c.flags + ", 0)"), std::string::npos)
            << c.url.Str() << ": " << net.calls.at(2);
        EXPECT_NE(net.calls.at(1).find(", " + std::to_string(c.port) + ", "), std::string::npos)
            << c.url.Str();
    }
}

TEST(FetchPage, MethodAndBody) {
    struct Case {
        const char* name;
        std::int32_t method;
        Text submitText;
        Bytes bodyBefore;
        const char* verb;
        bool bodyPassed;
        std::string_view sent;
        Bytes bodyAfter;
    };
    const Case cases[] = {
        {"GET never sends a body", 0, "s", Bytes("abc"), "GET", false, "", Bytes("abc")},
        {"POST from submitText", 1, "q=1&r=2", Bytes(), "POST", true, "q=1&r=2", Bytes("q=1&r=2")},
        {"POST of the given bytes", 1, "ignored", Bytes("r\0w"sv), "POST", true, "r\0w"sv, Bytes("r\0w"sv)},
        {"other methods: GET with a body", 2, "x", Bytes(), "GET", true, "x", Bytes("x")},
        {"nothing to send", 1, "", Bytes(), "POST", false, "", Bytes()},
    };
    for (const auto& c : cases) {
        RecordingInternet net;
        Bytes body = c.bodyBefore;
        FetchPage(net, "http://h/", c.method, c.submitText, nullptr, nullptr, nullptr, nullptr, false,
                  &body);
        EXPECT_NE(net.calls.at(2).find(std::string("\"") + c.verb + "\""), std::string::npos) << c.name;
        EXPECT_EQ(net.bodyPassed, c.bodyPassed) << c.name;
        EXPECT_EQ(net.sentBody, c.sent) << c.name;
        EXPECT_NE(net.calls.at(3).find(", " + std::to_string(c.sent.size()) + ")"), std::string::npos)
            << c.name << ": " << net.calls.at(3);
        EXPECT_EQ(body, c.bodyAfter) << c.name;
    }
}

TEST(FetchPage, EarlyFailuresChangeNothing) {
    const struct {
        const char* failing;
        Calls closes;
    } cases[] = {
        {"Open", {}},
        {"Connect", {"CloseHandle(session)"}},
        {"OpenRequest", {"CloseHandle(connection)", "CloseHandle(session)"}},
    };
    for (const auto& c : cases) {
        RecordingInternet net;
        net.failing = c.failing;
        net.body = "never read";
        Text cookies = "c=1", received = "r=1", headers = "H: 1", target = "t", raw = "raw";
        Bytes body("b");
        const Bytes got = FetchPage(net, "http://h/", 1, "s", &cookies, &received, &headers, &target,
                                    false, &body, Text("p"), &raw);
        EXPECT_EQ(BytesLength(got), 0) << c.failing;
        EXPECT_EQ(cookies, Text("c=1"));
        EXPECT_EQ(received, Text("r=1"));
        EXPECT_EQ(headers, Text("H: 1"));
        EXPECT_EQ(target, Text("t"));
        EXPECT_EQ(raw, Text("raw"));
        EXPECT_EQ(body, Bytes("b"));
        const Calls closes(net.calls.end() - static_cast<std::ptrdiff_t>(c.closes.size()), net.calls.end());
        EXPECT_EQ(closes, c.closes) << c.failing;
    }
}

TEST(FetchPage, HeaderScan) {
    const std::string blanks(5000, ' ');
    struct Case {
        const char* name;
        std::string rawHeaders;
        bool queryFails;
        Text cookiesBefore, targetBefore;
        Text target, received, cookiesAfter;
    };
    const Case cases[] = {
        {"Content-Location after Location wins",
         "HTTP/1.1 302 Found\r\nLocation: http://h/next\r\nContent-Location: /c\r\n\r\n", false, "", "",
         "/c", "", ""},
        {"no Location: the header block", "HTTP/1.1 200 OK\r\nX: y\r\n\r\n", false, "", "",
         "HTTP/1.1 200 OK\r\nX: y\r\n\r\n", "", ""},
        {"no Location keeps a given target", "HTTP/1.1 200 OK\r\n\r\n", false, "", "kept", "kept", "", ""},
        {"two cookies merged", "HTTP/1.1 200 OK\r\nSet-Cookie: a=1; path=/\r\nSet-Cookie: b=2; HttpOnly\r\n\r\n",
         false, "b=0; c=3", "t", "t", "a=1;b=2", "a=1; b=2; c=3"},
        {"lower-case names are not headers we read",
         "HTTP/1.1 302 Found\r\nlocation: /x\r\nset-cookie: a=1; p\r\n\r\n", false, "", "",
         "HTTP/1.1 302 Found\r\nlocation: /x\r\nset-cookie: a=1; p\r\n\r\n", "", ""},
        {"a cookie without attributes", "HTTP/1.1 200 OK\r\nSet-Cookie: sid=abc\r\n\r\n", false, "", "t", "t",
         "sid=abc", "sid=abc"},
        {"a longer name without a value is no cookie", "HTTP/1.1 200 OK\r\nSet-Cookie2: x\r\n\r\n", false, "k=v",
         "t", "t", "", "k=v"},
        {"deleted cookie", "HTTP/1.1 200 OK\r\nSet-Cookie: k=deleted; expires=0\r\n\r\n", false, "k=v; m=1", "t",
         "t", "k=deleted", "m=1"},
        {"block that did not fit", "HTTP/1.1 200 OK\r\nX: " + std::string(5000, 'x') + "\r\n\r\n", false, "k=v",
         "", Text(blanks), "", "k=v"},
        {"failed query", "HTTP/1.1 302 Found\r\nLocation: /x\r\n\r\n", true, "", "t0", "t0", "", ""},
    };
    for (const auto& c : cases) {
        RecordingInternet net;
        net.rawHeaders = c.rawHeaders;
        net.headerQueryFails = c.queryFails;
        Text cookies = c.cookiesBefore, received = "old", target = c.targetBefore, raw;
        FetchPage(net, "http://h/", 0, "", &cookies, &received, nullptr, &target, false, nullptr,
                  std::nullopt, &raw);
        const bool delivered = !c.queryFails && c.rawHeaders.size() < 5000;
        EXPECT_EQ(raw.Str(), delivered ? c.rawHeaders : blanks) << c.name;
        EXPECT_EQ(target, c.target) << c.name;
        EXPECT_EQ(received, c.received) << c.name;
        EXPECT_EQ(cookies, c.cookiesAfter) << c.name;
    }
}

TEST(FetchPage, BodyIsReadWhole) {
    RecordingInternet net;
    net.body = std::string("ab\0cd", 5) + std::string(5000, 'z');
    net.readChunk = 7;  // the transport may hand out fewer bytes than asked
    const Bytes body = FetchPage(net, "http://h/");
    EXPECT_EQ(body.View(), net.body);

    RecordingInternet again;
    again.body = net.body;
    EXPECT_EQ(FetchPageText(again, "http://h/"), Text("ab"));

    RecordingInternet empty;
    EXPECT_EQ(BytesLength(FetchPage(empty, "http://h/")), 0);
    EXPECT_EQ(FetchPageText(empty, "http://h/"), Text(""));
}

TEST(FetchPage, ControlBytesNeverReachTheRequestLine) {
    RecordingInternet net;
    FetchPage(net, "http://x.example/a b\r\nGET /evil HTTP/1.1\r\n\x01\x1F&#?\xC4\xE3");
    EXPECT_EQ(net.calls.at(2),
              "OpenRequest(connection, \"GET\", \"/a b%0D%0AGET /evil HTTP/1.1%0D%0A%01%1F&#?\xC4\xE3\", "
              "\"HTTP/1.1\", none, 0x80084010, 0)");
}

}  // namespace
}  // namespace quorvel
