// What only the libcurl transport has, or does by itself: its time-outs,
// redirects followed by hand (verbs, bodies, Location forms, the hop
// limit), the trusted-CA option, the body streamed through a one-chunk
// buffer, and the rebuilt header block.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "net/curl/curl_internet.h"
#include "net/curl/hop.h"
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
const std::vector<std::string> kDefaultLines = {"Accept: */*", "Accept-Language: zh-cn",
                                                "Content-Type: application/x-www-form-urlencoded"};

std::string Url(const CaptureServer& server, const std::string& path) {
    return "http://" + server.Authority() + path;
}

CurlOptions TrustingTestCa() {
    CurlOptions options;
    options.caFile = PeerValue("ca_file").value_or("");
    return options;
}

// A server that never answers is given up after the receive time-out, long
// before the server's own watchdog would close the connection.
TEST(CurlTransport, ReceiveTimeOutEndsASilentExchange) {
    CaptureServer silent({CannedAnswer{"", true}}, std::chrono::seconds(30));
    CurlOptions options;
    options.receiveTimeout = std::chrono::seconds(1);
    CurlInternet internet(options);
    Text rawHeaders;
    const auto start = std::chrono::steady_clock::now();
    const Bytes body = FetchPage(internet, Text(Url(silent, "/")), 0, "", nullptr, nullptr, nullptr,
                                 nullptr, false, nullptr, std::nullopt, &rawHeaders);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(body, Bytes());
    EXPECT_EQ(rawHeaders, kBlankHeaders);
    EXPECT_GE(elapsed, std::chrono::milliseconds(900));
    EXPECT_LT(elapsed, std::chrono::seconds(10));
    EXPECT_EQ(silent.Requests().size(), 1u);
}

// 301, 302 and 303 turn the request into a GET without body; 307 and 308
// repeat verb and body. The caller's header lines go out on every hop.
TEST(CurlTransport, RedirectVerbsAndBodies) {
    struct Case {
        const char* status;
        std::int32_t method;
        std::string verb;
        bool keepsBody;
    };
    const Case cases[] = {
        {"301 Moved Permanently", 1, "GET", false},  {"302 Found", 1, "GET", false},
        {"303 See Other", 1, "GET", false},          {"307 Temporary Redirect", 1, "POST", true},
        {"308 Permanent Redirect", 1, "POST", true}, {"307 Temporary Redirect", 2, "GET", true},
        {"303 See Other", 2, "GET", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.status) + " after method " + std::to_string(c.method));
        CaptureServer server(
            {{HttpResponse(std::string("HTTP/1.1 ") + c.status, {"Location: /next?n=2"}, "")},
             {HttpResponse("HTTP/1.1 200 OK", {}, "done")}});
        const std::string url = Url(server, "/first");
        const Text body = FetchPageText(TestTransport(), Text(url), c.method, "k=v&w=2");
        EXPECT_EQ(body, Text("done"));

        const std::vector<std::string> requests = server.Requests();
        ASSERT_EQ(requests.size(), 2u);
        RequestHead head;
        head.verb = c.verb;
        head.target = "/next?n=2";
        head.host = server.Authority();
        head.agent = kDefaultAgent;
        head.headerLines = {"Referer: " + url};
        head.headerLines.insert(head.headerLines.end(), kDefaultLines.begin(), kDefaultLines.end());
        if (c.keepsBody) {
            head.bodyLength = 7;
        }
        EXPECT_EQ(requests[1], ExpectedHead(head) + (c.keepsBody ? "k=v&w=2" : ""));
    }
}

// Every form a Location takes, resolved against the URL the hop asked for.
TEST(CurlTransport, LocationForms) {
    CaptureServer other({{HttpResponse("HTTP/1.1 200 OK", {}, "other server")}});
    struct Case {
        std::string location;
        std::string requestLine;  // of the second request
        bool toOther;
    };
    const Case cases[] = {
        {"next", "GET /dir/next HTTP/1.1", false},
        {"../up?a=1", "GET /up?a=1 HTTP/1.1", false},
        {"?only=query", "GET /dir/page?only=query HTTP/1.1", false},
        {"/with space#fragment", "GET /with%20space HTTP/1.1", false},
        {"//" + other.Authority() + "/scheme-relative", "GET /scheme-relative HTTP/1.1", true},
        {"HTTP://" + other.Authority() + "/absolute", "GET /absolute HTTP/1.1", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.location);
        const std::size_t before = other.Requests().size();
        CaptureServer server({{HttpResponse("HTTP/1.1 302 Found", {"Location: " + c.location}, "")},
                              {HttpResponse("HTTP/1.1 200 OK", {}, "same server")}});
        const Text body = FetchPageText(TestTransport(), Text(Url(server, "/dir/page?x=1")));
        EXPECT_EQ(body, Text(c.toOther ? "other server" : "same server"));
        const std::vector<std::string> requests = c.toOther ? other.Requests() : server.Requests();
        ASSERT_EQ(requests.size(), c.toOther ? before + 1 : 2u);
        const std::string& last = requests.back();
        EXPECT_EQ(last.substr(0, last.find("\r\n")), c.requestLine);
    }
}

// Only http and https are followed; a Location curl cannot use, or one to
// another scheme, fails the exchange.
TEST(CurlTransport, UnusableLocationsFail) {
    for (const char* location :
         {"ftp://127.0.0.1/file", "mailto:someone@example.com", "http://bad host/"}) {
        SCOPED_TRACE(location);
        CaptureServer server({{HttpResponse("HTTP/1.1 302 Found",
                                            {std::string("Location: ") + location}, "moved")}});
        Text rawHeaders;
        const Bytes body =
            FetchPage(TestTransport(), Text(Url(server, "/")), 0, "", nullptr, nullptr, nullptr,
                      nullptr, false, nullptr, std::nullopt, &rawHeaders);
        EXPECT_EQ(body, Bytes());
        EXPECT_EQ(rawHeaders, kBlankHeaders);
    }
}

// Twenty redirects are followed; the twenty-first fails the exchange, so a
// redirect loop ends.
TEST(CurlTransport, RedirectLimit) {
    for (const int redirects : {20, 21}) {
        SCOPED_TRACE(redirects);
        std::vector<CannedAnswer> answers;
        for (int i = 1; i <= redirects; ++i) {
            answers.push_back(
                {HttpResponse("HTTP/1.1 302 Found", {"Location: /hop" + std::to_string(i)}, "")});
        }
        answers.push_back({HttpResponse("HTTP/1.1 200 OK", {}, "end of the chain")});
        CaptureServer server(answers);
        Text rawHeaders;
        const Bytes body =
            FetchPage(TestTransport(), Text(Url(server, "/")), 0, "", nullptr, nullptr, nullptr,
                      nullptr, false, nullptr, std::nullopt, &rawHeaders);
        const bool followed = redirects <= 20;
        EXPECT_EQ(body, followed ? Bytes("end of the chain") : Bytes());
        EXPECT_EQ(rawHeaders == kBlankHeaders, !followed);
        EXPECT_EQ(server.Requests().size(),
                  static_cast<std::size_t>(followed ? redirects + 1 : redirects));
    }
}

// A redirect to another http URL through the proxy goes through it again,
// in absolute form.
TEST(CurlTransport, RedirectThroughTheProxy) {
    CaptureServer proxy({{HttpResponse("HTTP/1.1 301 Moved Permanently",
                                       {"Location: http://second.invalid:8081/b"}, "")},
                         {HttpResponse("HTTP/1.1 200 OK", {}, "second")}});
    const Bytes body = FetchPage(TestTransport(), "http://first.invalid/a", 0, "", nullptr, nullptr,
                                 nullptr, nullptr, false, nullptr, Text(proxy.Authority()));
    EXPECT_EQ(body, Bytes("second"));
    const std::vector<std::string> requests = proxy.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_TRUE(
        requests[0].starts_with("GET http://first.invalid/a HTTP/1.1\r\nHost: first.invalid\r\n"))
        << requests[0];
    EXPECT_TRUE(requests[1].starts_with(
        "GET http://second.invalid:8081/b HTTP/1.1\r\nHost: second.invalid:8081\r\n"))
        << requests[1];
}

// The server is trusted only through the CA the options name.
TEST(CurlTransport, TrustedCaOption) {
    const std::string url =
        "https://127.0.0.1:" + std::to_string(PeerPort("nginx_https")) + "/plain";
    CurlInternet systemTrust;
    CurlInternet testTrust(TrustingTestCa());
    EXPECT_EQ(FetchPageText(systemTrust, Text(url)), Text());
    EXPECT_EQ(FetchPageText(testTrust, Text(url)), Text("Plain body for the transport tests.\n"));
}

// A body much larger than curl's chunks arrives whole and in order through
// the one-chunk buffer (the transfer pauses and resumes many times).
TEST(CurlTransport, LargeBodyStreamsIntact) {
    std::string body(4 * 1024 * 1024 + 77, '\0');
    for (std::size_t i = 0; i < body.size(); ++i) {
        body[i] = static_cast<char>((i * 131 + i / 977) & 0xFF);
    }
    CaptureServer server({{HttpResponse("HTTP/1.1 200 OK", {}, body)}});
    EXPECT_EQ(FetchPage(TestTransport(), Text(Url(server, "/big"))), Bytes(body));
}

// The block the raw header query gives: interim 1xx heads dropped, names
// and values trimmed, folded lines joined, each line ended by CR LF.
TEST(CurlTransport, RebuiltHeaderBlock) {
    CaptureServer server(
        {{"HTTP/1.1 100 Continue\r\nX-Interim: yes\r\n\r\n"
          "HTTP/1.1 200 Fine Thanks\r\n"
          "X-Padded:   two  words \t\r\n"
          "X-Empty:\r\n"
          "X-Folded: first\r\n   second\r\n"
          "Content-Length: 2\r\n\r\nok"}});
    Text rawHeaders;
    const Bytes body = FetchPage(TestTransport(), Text(Url(server, "/")), 0, "", nullptr, nullptr,
                                 nullptr, nullptr, false, nullptr, std::nullopt, &rawHeaders);
    EXPECT_EQ(body, Bytes("ok"));
    EXPECT_EQ(rawHeaders, Text("HTTP/1.1 200 Fine Thanks\r\nX-Padded: two  words\r\nX-Empty: \r\n"
                               "X-Folded: first second\r\nContent-Length: 2\r\n\r\n"));
}

// The caller's header text as curl sends it: lines end at CR, LF or both;
// an empty value is sent as "Name:" unless it names one of the transport's
// own lines, which it then removes (WinINet replaces that line with nothing).
TEST(CurlTransport, CallerHeaderLines) {
    struct Case {
        const char* name;
        std::string extraHeaders;
        std::vector<std::string> sent;  // the lines before the Referer line
        std::optional<std::string> agent;
    };
    const Case cases[] = {
        {"bare LF and CR", "X-A: 1\nX-B: 2\rX-C: 3", {"X-A: 1", "X-B: 2", "X-C: 3"}, kDefaultAgent},
        {"empty lines dropped", "X-A: 1\r\n\r\nX-B: 2", {"X-A: 1", "X-B: 2"}, kDefaultAgent},
        {"an empty value", "X-Empty:", {"X-Empty:"}, kDefaultAgent},
        {"an empty agent line", "User-Agent:", {}, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CaptureServer server({{HttpResponse("HTTP/1.1 200 OK", {}, "")}});
        const std::string url = Url(server, "/h");
        Text headers(c.extraHeaders);
        FetchPage(TestTransport(), Text(url), 0, "", nullptr, nullptr, &headers);
        RequestHead head;
        head.verb = "GET";
        head.target = "/h";
        head.host = server.Authority();
        head.agent = c.agent;
        head.headerLines = c.sent;
        head.headerLines.push_back("Referer: " + url);
        head.headerLines.insert(head.headerLines.end(), kDefaultLines.begin(), kDefaultLines.end());
        const std::vector<std::string> requests = server.Requests();
        ASSERT_EQ(requests.size(), 1u);
        EXPECT_EQ(requests[0], ExpectedHead(head));
    }
}

// An agent given to Open with a line break cannot add a header line.
TEST(CurlTransport, AgentEndsAtALineBreak) {
    CaptureServer server({{HttpResponse("HTTP/1.1 200 OK", {}, "")}});
    CurlInternet internet;
    const InternetHandle session = internet.Open(
        Text("Probe/1\r\nX-Injected: 1"), wininet::kOpenTypeDirect, std::nullopt, std::nullopt, 0);
    const InternetHandle connection =
        internet.Connect(session, "127.0.0.1", server.Port(), std::nullopt, std::nullopt,
                         wininet::kServiceHttp, 0, 0);
    const InternetHandle request =
        internet.OpenRequest(connection, "GET", "/", "HTTP/1.1", std::nullopt, 0, 0);
    EXPECT_TRUE(internet.SendRequest(request, "", 0, nullptr, 0));
    // Closed parent first: each handle stands on its own.
    EXPECT_TRUE(internet.CloseHandle(session));
    EXPECT_TRUE(internet.CloseHandle(connection));
    EXPECT_TRUE(internet.CloseHandle(request));
    EXPECT_FALSE(internet.CloseHandle(request));
    const std::vector<std::string> requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0],
              "GET / HTTP/1.1\r\nHost: " + server.Authority() + "\r\nUser-Agent: Probe/1\r\n\r\n");
}

// A body over 1 MiB goes out at once: no "Expect: 100-continue" wait.
TEST(CurlTransport, LargeRequestBodyWithoutExpect) {
    CaptureServer server({{HttpResponse("HTTP/1.1 200 OK", {}, "stored")}});
    const std::string body(1536 * 1024, 'b');
    const std::string url = Url(server, "/upload");
    EXPECT_EQ(FetchPageText(TestTransport(), Text(url), 1, Text(body)), Text("stored"));
    const std::vector<std::string> requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    RequestHead head;
    head.verb = "POST";
    head.target = "/upload";
    head.host = server.Authority();
    head.agent = kDefaultAgent;
    head.headerLines = {"Referer: " + url};
    head.headerLines.insert(head.headerLines.end(), kDefaultLines.begin(), kDefaultLines.end());
    head.bodyLength = body.size();
    EXPECT_EQ(requests[0], ExpectedHead(head) + body);
}

// The environment's proxy settings never apply: the caller's proxy list is
// the only one (direct here, and "http=" alone).
TEST(CurlTransport, EnvironmentProxiesStayOut) {
    CaptureServer envProxy({{HttpResponse("HTTP/1.1 200 OK", {}, "from the environment's proxy")}});
    CaptureServer server({{HttpResponse("HTTP/1.1 200 OK", {}, "direct")}});
    const std::string proxyUrl = "http://" + envProxy.Authority();
    for (const char* name : {"http_proxy", "HTTP_PROXY", "ALL_PROXY", "all_proxy"}) {
        setenv(name, proxyUrl.c_str(), 1);
    }
    const Text url(Url(server, "/"));
    const Bytes direct = FetchPage(TestTransport(), url);
    const Text listed = FetchPageText(TestTransport(), url);
    for (const char* name : {"http_proxy", "HTTP_PROXY", "ALL_PROXY", "all_proxy"}) {
        unsetenv(name);
    }
    EXPECT_EQ(direct, Bytes("direct"));
    EXPECT_EQ(listed, Text("direct"));
    EXPECT_TRUE(envProxy.Requests().empty());
}

TEST(CurlTransport, HttpProxyFromList) {
    struct Case {
        const char* list;
        std::optional<std::string> proxy;
    };
    const Case cases[] = {
        {"http=", std::nullopt},
        {"", std::nullopt},
        {"http=proxy.test", "proxy.test:80"},
        {"http=proxy.test:3128", "proxy.test:3128"},
        {"HTTP=http://proxy.test:8", "proxy.test:8"},
        {"https=secure.test:1 http=plain.test:2", "plain.test:2"},
        {"ftp=files.test;http=[::1]", "[::1]:80"},
        {"proxy.test:3128", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HttpProxyFromList(c.list), c.proxy) << "list: " << c.list;
    }
}

}  // namespace
}  // namespace quorvel
