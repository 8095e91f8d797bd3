// One exchange through the platform's transport against real servers: the
// tests' own capture server (exact request bytes, canned answers) and nginx
// and tinyproxy from the "peers" fixture. Every case holds for WinINet and
// libcurl alike, request bytes included (expected_request.h); the transport
// itself comes from transport_under_test.

#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <vector>

#include "net/fetch_page.h"
#include "support/capture_server.h"
#include "support/expected_request.h"
#include "support/peers.h"
#include "support/text_helpers.h"
#include "support/transport_under_test.h"
#include "text/operations.h"

namespace quorvel {
namespace {

const Text kBlankHeaders = BlankText(5000);

// The default lines the page request completes an empty header text with.
std::vector<std::string> DefaultLines(const std::string& referer) {
    return {"Referer: " + referer, "Accept: */*", "Accept-Language: zh-cn",
            "Content-Type: application/x-www-form-urlencoded"};
}

// What a FetchPage call gave back.
struct Outcome {
    Bytes body;
    Text rawHeaders;
    Text redirectTarget;
    Text receivedCookies;
};

// A FetchPage call's inputs, given in a chain: Call(url).Method(1).Proxy("").
struct Call {
    explicit Call(Text address = Text()) : url(std::move(address)) {}
    Call& Method(std::int32_t value) {
        method = value;
        return *this;
    }
    Call& Submit(Text value) {
        submitText = std::move(value);
        return *this;
    }
    Call& Headers(Text value) {
        extraHeaders = std::move(value);
        return *this;
    }
    Call& Cookies(Text value) {
        cookies = std::move(value);
        return *this;
    }
    Call& NoRedirect(bool value) {
        noRedirect = value;
        return *this;
    }
    Call& Proxy(Text value) {
        proxy = std::move(value);
        return *this;
    }

    Text url;
    std::int32_t method = 0;
    Text submitText;
    Text extraHeaders;
    Text cookies;
    bool noRedirect = false;
    std::optional<Text> proxy;
};

RequestHead Head(std::string verb, std::string target, std::string host, std::string agent,
                 std::vector<std::string> lines) {
    RequestHead head;
    head.verb = std::move(verb);
    head.target = std::move(target);
    head.host = std::move(host);
    head.agent = std::move(agent);
    head.headerLines = std::move(lines);
    return head;
}

Outcome Fetch(Internet& internet, const Call& call) {
    Outcome out;
    Text cookies = call.cookies;
    Text headers = call.extraHeaders;
    out.body = FetchPage(internet, call.url, call.method, call.submitText, &cookies,
                         &out.receivedCookies, &headers, &out.redirectTarget, call.noRedirect,
                         nullptr, call.proxy, &out.rawHeaders);
    return out;
}

Outcome Fetch(const Call& call) { return Fetch(TestTransport(), call); }

std::string NginxUrl(const char* path) {
    return "http://127.0.0.1:" + std::to_string(PeerPort("nginx_http")) + path;
}

bool StartsWith(std::string_view text, std::string_view start) {
    return text.substr(0, start.size()) == start;
}

bool EndsWith(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

// A header block as the raw header query gives it: status line first, CR LF
// after every line, an empty line last, and the lines named here in it.
void ExpectHeaderBlock(const Text& block, std::string_view statusLine,
                       const std::vector<std::string>& lines) {
    EXPECT_TRUE(StartsWith(block.View(), std::string(statusLine) + "\r\n")) << block.View();
    EXPECT_TRUE(EndsWith(block.View(), "\r\n\r\n")) << block.View();
    EXPECT_EQ(block.View().find("\r\n\r\n"), block.View().size() - 4) << block.View();
    for (const std::string& line : lines) {
        EXPECT_NE(block.View().find("\r\n" + line + "\r\n"), std::string_view::npos)
            << "wanted line: " << line << "\nin: " << block.View();
    }
}

TEST(Transport, PeersFixtureIsThere) {
    ASSERT_TRUE(PeerValue("nginx_http").has_value())
        << "QUORVEL_PEERS must name the file written by tests/support/peers.sh (run through ctest)";
}

// The requests a caller can make, as the server receives them byte for byte.
TEST(Transport, RequestsArriveByteForByte) {
    const std::string reply = HttpResponse("HTTP/1.1 200 OK", {"Content-Type: text/plain"}, "ok");
    struct Case {
        const char* name;
        std::string path;  // what follows host and port in the URL
        Call call;
        std::string verb;
        std::string target;
        std::string agent;
        std::vector<std::string> extraLines;  // the caller's own, before the default ones
        std::string body;
        bool sendsBody;
    };
    // Spaces, '&', '#', '?', GBK bytes ("中文") and CR LF in one long address:
    // CR LF is written as %0D%0A by the page request, spaces as %20 by the
    // transport (in the request line only), everything else goes as it is.
    const std::string longTail = std::string(1500, 'a');
    const std::string longPath =
        "/api/new link/?u=a b&c=d#part\xD6\xD0\xCE\xC4?\r\nX-Injected: 1&w=" + longTail;
    const std::string longTarget =
        "/api/new%20link/?u=a%20b&c=d#part\xD6\xD0\xCE\xC4?%0D%0AX-Injected:%201&w=" + longTail;
    const std::string longReferer =
        "/api/new link/?u=a b&c=d#part\xD6\xD0\xCE\xC4?%0D%0AX-Injected: 1&w=" + longTail;

    const Case cases[] = {
        {"the shortening request",
         "/api/new?u=x",
         Call().Proxy(""),
         "GET",
         "/api/new?u=x",
         kDefaultAgent,
         {},
         "",
         false},
        {"a long address", longPath, Call(), "GET", longTarget, kDefaultAgent, {}, "", false},
        {"POST with a body",
         "/form",
         Call().Method(1).Submit("a=1&b=%E4"),
         "POST",
         "/form",
         kDefaultAgent,
         {},
         "a=1&b=%E4",
         true},
        {"GET with a body",
         "/form",
         Call().Method(2).Submit("q=1"),
         "GET",
         "/form",
         kDefaultAgent,
         {},
         "q=1",
         true},
        {"POST without a body",
         "/form",
         Call().Method(1),
         "POST",
         "/form",
         kDefaultAgent,
         {},
         "",
         true},
        {"the caller's agent, lines and cookies",
         "/p",
         Call().Headers("User-Agent: Probe/2.0\r\nX-Trace: 7").Cookies("sid=1; lang=zh"),
         "GET",
         "/p",
         "Probe/2.0",
         {"User-Agent: Probe/2.0", "X-Trace: 7"},
         "",
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CaptureServer server({{reply}});
        Call call = c.call;
        call.url = Text("http://" + server.Authority() + c.path);
        const Outcome out = Fetch(call);

        RequestHead head = Head(c.verb, c.target, server.Authority(), c.agent, c.extraLines);
        const std::string referer = std::string(
            c.path == longPath ? "http://" + server.Authority() + longReferer : call.url.Str());
        for (const std::string& line : DefaultLines(referer)) {
            head.headerLines.push_back(line);
        }
        if (!call.cookies.Empty()) {
            head.headerLines.push_back("Cookie: " + call.cookies.Str());
        }
        if (c.sendsBody) {
            head.bodyLength = c.body.size();
        }
        const std::vector<std::string> requests = server.Requests();
        ASSERT_EQ(requests.size(), 1u);
        EXPECT_EQ(requests[0], ExpectedHead(head) + c.body);
        EXPECT_EQ(out.body, Bytes("ok"));
    }
}

// FetchPageText alone, as the shortening request makes it: proxy mode with
// the list "http=", which names no server, so the request goes straight to
// the server; checked against nginx, which echoes the head it received.
TEST(Transport, ShorteningRequestThroughNginx) {
    const std::string url = NginxUrl("/echo");
    const Text body = FetchPageText(TestTransport(), Text(url));
    const RequestHead head =
        Head("GET", "/echo", "127.0.0.1:" + std::to_string(PeerPort("nginx_http")), kDefaultAgent,
             DefaultLines(url));
    EXPECT_EQ(body.Str(), ExpectedHead(head));
}

TEST(Transport, BodiesFromNginx) {
    struct Case {
        const char* path;
        std::string body;
        std::string text;  // what FetchPageText gives
        std::string contentLength;
    };
    const Case cases[] = {
        {"/plain", "Plain body for the transport tests.\n", "Plain body for the transport tests.\n",
         "36"},
        {"/zero", std::string("before\0after", 12), "before", "12"},
        {"/empty", "", "", "0"},
        // 301 with a relative Location, then 302 with an absolute one.
        {"/chain/1", "Final page of the redirect chain.\n", "Final page of the redirect chain.\n",
         "34"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        const Text url(NginxUrl(c.path));
        const Outcome out = Fetch(Call(url));
        EXPECT_EQ(out.body, Bytes(c.body));
        ExpectHeaderBlock(out.rawHeaders, "HTTP/1.1 200 OK",
                          {"Content-Length: " + c.contentLength});
        EXPECT_EQ(out.redirectTarget, out.rawHeaders);  // no Location: the whole block
        EXPECT_EQ(out.receivedCookies, Text());
        EXPECT_EQ(FetchPageText(TestTransport(), url).Str(), c.text);
    }
}

TEST(Transport, TwoSetCookieLines) {
    const Outcome out = Fetch(Call(Text(NginxUrl("/cookies"))).Cookies("old=1"));
    EXPECT_EQ(out.body, Bytes("cookies set\n"));
    ExpectHeaderBlock(
        out.rawHeaders, "HTTP/1.1 200 OK",
        {"Set-Cookie: first=one; Path=/", "Set-Cookie: second=two; Path=/; HttpOnly"});
    EXPECT_EQ(out.receivedCookies, Text("first=one;second=two"));
}

// A head that with its zero byte does not fit 5000 bytes is not delivered.
TEST(Transport, HeaderBlockOver5000Bytes) {
    const Outcome out = Fetch(Call(Text(NginxUrl("/big-head"))));
    EXPECT_EQ(out.body, Bytes("big head\n"));
    EXPECT_EQ(out.rawHeaders, kBlankHeaders);
    EXPECT_EQ(out.redirectTarget, kBlankHeaders);
}

// The boundary, with the block rebuilt as "Name: value" lines: 4999 bytes
// and the zero byte fit, 5000 do not. The filler comes in lines of at most
// 1000 bytes, since WinINet under Wine cuts a header line at 4 KiB.
TEST(Transport, HeaderBlockBoundary) {
    for (const std::size_t size : {std::size_t{4999}, std::size_t{5000}}) {
        SCOPED_TRACE(size);
        const std::string status = "HTTP/1.1 200 OK\r\n";
        const std::string length = "Content-Length: 2\r\n";
        // Lines "X-Filler-N: fff...f" CR LF sharing what is left evenly.
        const std::size_t left = size - status.size() - length.size() - 2;
        const std::size_t lines = (left + 999) / 1000;
        std::string fillers;
        for (std::size_t i = 0; i < lines; ++i) {
            const std::size_t line = left / lines + (i < left % lines ? 1 : 0);
            const std::string name = "X-Filler-" + std::to_string(i) + ": ";
            fillers += name + std::string(line - name.size() - 2, 'f') + "\r\n";
        }
        const std::string block = status + fillers + length + "\r\n";
        ASSERT_EQ(block.size(), size);
        CaptureServer server({{block + "ok"}});
        const Outcome out = Fetch(Call(Text("http://" + server.Authority() + "/")));
        EXPECT_EQ(out.body, Bytes("ok"));
        EXPECT_EQ(out.rawHeaders, size < 5000 ? Text(block.c_str()) : kBlankHeaders);
    }
}

TEST(Transport, NoRedirectDeliversTheRedirectItself) {
    const std::string moved =
        HttpResponse("HTTP/1.1 302 Found", {"Location: /elsewhere?x=1"}, "moved here");
    const std::string arrived = HttpResponse("HTTP/1.1 200 OK", {}, "arrived");
    struct Case {
        bool noRedirect;
        std::size_t requests;
        std::string body;
        bool targetIsLocation;
    };
    for (const Case& c : {Case{true, 1, "moved here", true}, Case{false, 2, "arrived", false}}) {
        SCOPED_TRACE(c.noRedirect);
        CaptureServer server({{moved}, {arrived}});
        const Outcome out =
            Fetch(Call(Text("http://" + server.Authority() + "/start")).NoRedirect(c.noRedirect));
        EXPECT_EQ(out.body, Bytes(c.body));
        EXPECT_EQ(out.redirectTarget, c.targetIsLocation ? Text("/elsewhere?x=1") : out.rawHeaders);
        const std::vector<std::string> requests = server.Requests();
        ASSERT_EQ(requests.size(), c.requests);
        if (c.requests == 2) {
            EXPECT_TRUE(StartsWith(requests[1], "GET /elsewhere?x=1 HTTP/1.1\r\n")) << requests[1];
        }
    }
}

TEST(Transport, Https) {
    struct Case {
        const char* port;
        std::string body;
    };
    for (const Case& c : {Case{"nginx_https", "Plain body for the transport tests.\n"},
                          Case{"nginx_https_untrusted", ""}}) {
        SCOPED_TRACE(c.port);
        const std::string url = "https://127.0.0.1:" + std::to_string(PeerPort(c.port)) + "/plain";
        const Outcome out = Fetch(Call(Text(url)));
        EXPECT_EQ(out.body, Bytes(c.body));
        if (c.body.empty()) {
            EXPECT_EQ(out.rawHeaders, kBlankHeaders);
        } else {
            ExpectHeaderBlock(out.rawHeaders, "HTTP/1.1 200 OK", {"Content-Length: 36"});
        }
    }
}

// A redirect from http to https is followed, and the https hop gets TLS.
TEST(Transport, RedirectFromHttpToHttps) {
    const std::string secure =
        "https://127.0.0.1:" + std::to_string(PeerPort("nginx_https")) + "/plain";
    CaptureServer server({{HttpResponse("HTTP/1.1 302 Found", {"Location: " + secure}, "")}});
    const Outcome out = Fetch(Call(Text("http://" + server.Authority() + "/go")));
    EXPECT_EQ(out.body, Bytes("Plain body for the transport tests.\n"));
    ExpectHeaderBlock(out.rawHeaders, "HTTP/1.1 200 OK", {"Content-Length: 36"});
}

// A named proxy gets the request in absolute form; the host need not
// resolve here, only for the proxy.
TEST(Transport, NamedProxyGetsTheAbsoluteForm) {
    struct Case {
        std::string url;
        std::string target;
        std::string host;
    };
    const Case cases[] = {
        // Wine's WinINet names the default port in the absolute form too.
        {"http://quorvel.invalid/p?q=a b",
         TransportIsWineWinInet() ? "http://quorvel.invalid:80/p?q=a%20b" : "http://quorvel.invalid/p?q=a%20b",
         "quorvel.invalid"},
        {"http://quorvel.invalid:8080/", "http://quorvel.invalid:8080/", "quorvel.invalid:8080"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.url);
        CaptureServer proxy({{HttpResponse("HTTP/1.1 200 OK", {}, "from the proxy")}});
        const Outcome out = Fetch(Call(Text(c.url)).Proxy(Text(proxy.Authority())));
        EXPECT_EQ(out.body, Bytes("from the proxy"));
        const RequestHead head = Head("GET", c.target, c.host, kDefaultAgent, DefaultLines(c.url));
        const std::vector<std::string> requests = proxy.Requests();
        ASSERT_EQ(requests.size(), 1u);
        EXPECT_EQ(requests[0], ExpectedHead(head));
    }
}

// tinyproxy passes the request on: nginx echoes what reached it, and both
// heads carry tinyproxy's Via line.
TEST(Transport, TinyproxyPassesTheRequestOn) {
    const std::string url = NginxUrl("/echo");
    const std::string proxy = "127.0.0.1:" + std::to_string(PeerPort("tinyproxy"));
    const Outcome out = Fetch(Call(Text(url)).Proxy(Text(proxy)));
    const std::string echoed(out.body.View());
    EXPECT_TRUE(StartsWith(echoed, "GET /echo HTTP/1.1\r\n")) << echoed;
    EXPECT_NE(echoed.find("\r\nVia: 1.1 tinyproxy"), std::string::npos) << echoed;
    std::string lines;
    for (const std::string& line : DefaultLines(url)) {
        lines += line + "\r\n";
    }
    EXPECT_NE(echoed.find(lines), std::string::npos) << echoed;
    EXPECT_NE(out.rawHeaders.View().find("\r\nVia: 1.1 tinyproxy"), std::string_view::npos)
        << out.rawHeaders.View();
}

// The proxy carries http URLs only: an https URL goes straight to its server.
TEST(Transport, HttpsBypassesTheHttpProxy) {
    if (TransportIsWineWinInet()) {
        GTEST_SKIP() << "Wine's WinINet stops the process (an assertion in netconnection.c) "
                        "on an https URL with an http-only proxy";
    }
    CaptureServer proxy({{HttpResponse("HTTP/1.1 200 OK", {}, "from the proxy")}});
    const std::string url =
        "https://127.0.0.1:" + std::to_string(PeerPort("nginx_https")) + "/plain";
    const Outcome out = Fetch(Call(Text(url)).Proxy(Text(proxy.Authority())));
    EXPECT_EQ(out.body, Bytes("Plain body for the transport tests.\n"));
    EXPECT_TRUE(proxy.Requests().empty());
}

TEST(Transport, FailedExchanges) {
    RefusingPort refusing;
    CaptureServer closesMidBody(
        {{HttpResponse("HTTP/1.1 200 OK", {"Content-Type: text/plain"}, "first part", 100)}});
    CaptureServer neverAnswers({CannedAnswer{"", true}});
    struct Case {
        const char* name;
        std::string url;
        std::string body;
        bool headersArrive;
    };
    const Case cases[] = {
        {"nothing listening", "http://127.0.0.1:" + std::to_string(refusing.Port()) + "/", "",
         false},
        {"a name that does not resolve", "http://quorvel.invalid/", "", false},
        {"closed mid-body", "http://" + closesMidBody.Authority() + "/", "first part", true},
        {"never answers", "http://" + neverAnswers.Authority() + "/", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Outcome out = Fetch(ImpatientTestTransport(), Call(Text(c.url)));
        EXPECT_EQ(out.body, Bytes(c.body));
        if (c.headersArrive) {
            ExpectHeaderBlock(out.rawHeaders, "HTTP/1.1 200 OK", {"Content-Length: 100"});
        } else {
            EXPECT_EQ(out.rawHeaders, kBlankHeaders);
            EXPECT_EQ(out.redirectTarget, kBlankHeaders);
        }
        EXPECT_EQ(out.receivedCookies, Text());
    }
}

}  // namespace
}  // namespace quorvel
