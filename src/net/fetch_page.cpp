#include "net/fetch_page.h"

#include <utility>

#include "net/cookies.h"
#include "net/request_safety.h"
#include "net/url.h"
#include "text/operations.h"

namespace quorvel {

const char* const kDefaultAgent =
    "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1; Qrix; .NET CLR 2.0.50727; "
    ".NET CLR 3.0.04506.648; .NET CLR 3.5.21022)";

namespace {

constexpr std::int32_t kBlockSize = 1024;
constexpr std::int32_t kHeaderBufferSize = 5000;
const Text kCrLf = "\r\n";

bool IsEmpty(const Text& text) { return CompareText(text, CharFromCode(0)) == 0; }

// An absent text for the system when the text is empty.
std::optional<Text> NoneWhenEmpty(const Text& text) {
    return IsEmpty(text) ? std::nullopt : std::optional<Text>(text);
}

// The value of the caller's User-Agent line (name in any case), up to the
// end of that line; the default agent when there is none. An empty value
// means no agent at all.
Text AgentFrom(const Text& extraHeaders) {
    const std::int32_t name = FindText(extraHeaders, "User-Agent:", 0, true);
    if (name == -1) {
        return kDefaultAgent;
    }
    const Text value = TextRight(extraHeaders, TextLength(extraHeaders) - name - 10);
    const std::int32_t end = FindText(value, kCrLf);
    return TrimBoth(end == -1 ? value : TextLeft(value, end - 1));
}

std::int32_t RequestFlags(const Text& url, bool noRedirect) {
    std::int32_t flags = BitOr(wininet::kFlagReload, wininet::kFlagNeedFile, wininet::kFlagNoCookies);
    if (noRedirect) {
        flags = BitOr(flags, wininet::kFlagNoAutoRedirect);
    }
    const bool secure = CompareText(ToLower(TextLeft(url, 5)), "https") == 0;
    return BitOr(flags, secure ? wininet::kFlagSecure : wininet::kFlagIgnoreRedirectToHttps);
}

// Adds the default lines the caller's header text lacks. Each test sees the
// lines added before it, and looks anywhere in the text, case respected.
Text CompleteHeaders(Text headers, const Text& url, const Text& cookies) {
    const auto lacks = [&](const char* name) { return FindText(headers, name) == -1; };
    if (lacks("Referer:")) {
        const Text referer = ConcatText("Referer: ", WithoutControlBytes(url));
        headers = IsEmpty(headers) ? referer : ConcatText(std::move(headers), kCrLf, referer);
    }
    if (lacks("Accept:")) {
        headers = ConcatText(std::move(headers), kCrLf, "Accept: */*");
    }
    if (lacks("Accept-Language:")) {
        headers = ConcatText(std::move(headers), kCrLf, "Accept-Language: zh-cn");
    }
    if (lacks("Content-Type:")) {
        headers = ConcatText(std::move(headers), kCrLf, "Content-Type: application/x-www-form-urlencoded");
    }
    if (!IsEmpty(cookies)) {
        headers = ConcatText(std::move(headers), kCrLf, "Cookie: ", cookies);
    }
    return headers;
}

// The name=value of one Set-Cookie line: the text between "Set-Cookie:"
// (any case) and the next ';', trimmed. A cookie without attributes has no
// ';': its value runs to the end of the line. A line that does not name
// "Set-Cookie:" (a longer header name) carries no cookie.
std::optional<Text> CookieOfLine(const Text& line) {
    const std::int32_t name = FindText(line, "Set-Cookie:", 0, true);
    if (name == -1) {
        return std::nullopt;
    }
    const Text rest = TextRight(line, TextLength(line) - name - 10);
    const std::int32_t semicolon = FindText(rest, ";");
    const Text cookie = TrimBoth(semicolon == -1 ? rest : TextLeft(rest, semicolon - 1));
    if (semicolon == -1 && IsEmpty(cookie)) {
        return std::nullopt;
    }
    return cookie;
}

// The redirect target and the received cookies from the header block.
void ScanHeaders(const Text& rawHeaders, Text& redirectTarget, Text& receivedCookies) {
    receivedCookies = Text();
    const TextArray lines = SplitText(rawHeaders, kCrLf);
    for (std::int32_t i = 1; i <= ArraySize(lines); ++i) {
        const Text& line = lines.Element(i);
        if (FindText(line, "Location:") != -1) {
            // Content-Location matches too; the last matching line wins.
            redirectTarget = HeaderLineValue(line);
        }
        if (FindText(line, "Set-Cookie") != -1) {
            if (const std::optional<Text> cookie = CookieOfLine(line)) {
                receivedCookies = ConcatText(std::move(receivedCookies), *cookie, "; ");
            }
        }
    }
    receivedCookies = TextLeft(receivedCookies, TextLength(receivedCookies) - 2);
}

template <class Value>
void Hand(Value* out, Value&& value) {
    if (out != nullptr) {
        *out = std::forward<Value>(value);
    }
}

}  // namespace

Bytes FetchPage(Internet& internet, const Text& url, std::int32_t method, const Text& submitText,
                Text* cookies, Text* receivedCookies, Text* extraHeaders, Text* redirectTarget,
                bool noRedirect, Bytes* bodyBytes, const std::optional<Text>& proxy,
                Text* rawHeaders) {
    // Working copies; given outputs are replaced only at the end, so the
    // early failures leave every one of them as it was.
    Text cookieText = cookies != nullptr ? *cookies : Text();
    Text headers = extraHeaders != nullptr ? *extraHeaders : Text();
    Text target = redirectTarget != nullptr ? *redirectTarget : Text();
    Bytes body = bodyBytes != nullptr ? *bodyBytes : Bytes();

    const Text verb = method == 1 ? "POST" : "GET";
    const Text agent = AgentFrom(headers);

    const InternetHandle session =
        proxy.has_value()
            ? internet.Open(NoneWhenEmpty(agent), wininet::kOpenTypeProxy,
                            ConcatText("http=", *proxy), CharFromCode(0), 0)
            : internet.Open(NoneWhenEmpty(agent), wininet::kOpenTypeDirect, std::nullopt,
                            std::nullopt, 0);
    if (session == nullptr) {
        return Bytes();
    }
    const InternetHandle connection =
        internet.Connect(session, WithoutControlBytes(UrlHost(url)), UrlPort(url), std::nullopt,
                         std::nullopt, wininet::kServiceHttp, 0, 0);
    if (connection == nullptr) {
        internet.CloseHandle(session);
        return Bytes();
    }
    const InternetHandle request =
        internet.OpenRequest(connection, verb, WithoutControlBytes(UrlObjectPath(url)), "HTTP/1.1",
                             std::nullopt, RequestFlags(url, noRedirect), 0);
    if (request == nullptr) {
        internet.CloseHandle(connection);
        internet.CloseHandle(session);
        return Bytes();
    }

    headers = CompleteHeaders(std::move(headers), url, cookieText);
    if (method == 0) {
        internet.SendRequest(request, headers, TextLength(headers), nullptr, 0);
    } else {
        if (CompareBytes(body, Bytes()) == 0) {
            body = ToBytes(submitText);
        }
        const bool hasBody = BytesLength(body) > 0;
        internet.SendRequest(request, headers, TextLength(headers), hasBody ? &body : nullptr,
                             BytesLength(body));
    }

    Bytes received;
    Bytes block = BlankBytes(kBlockSize);
    for (;;) {
        std::int32_t count = 0;
        internet.ReadFile(request, block, kBlockSize, count);
        if (count <= 0) {
            break;
        }
        received = ConcatBytes(std::move(received), BytesLeft(block, count));
    }

    // A block that did not fit (or a failed query) leaves the 5000 blanks.
    Bytes headerBuffer = ToBytes(BlankText(kHeaderBufferSize));
    std::int32_t headerLength = kHeaderBufferSize;
    internet.QueryInfo(request, wininet::kQueryRawHeadersCrlf, headerBuffer, headerLength);
    const Text headerBlock = ToText(headerBuffer);

    internet.CloseHandle(request);
    internet.CloseHandle(connection);
    internet.CloseHandle(session);

    Text cookiesReceived;
    ScanHeaders(headerBlock, target, cookiesReceived);
    if (IsEmpty(target)) {
        target = headerBlock;
    }
    MergeCookies(cookieText, cookiesReceived);

    Hand(cookies, std::move(cookieText));
    Hand(receivedCookies, std::move(cookiesReceived));
    Hand(extraHeaders, std::move(headers));
    Hand(redirectTarget, std::move(target));
    Hand(bodyBytes, std::move(body));
    Hand(rawHeaders, Text(headerBlock));
    return received;
}

Text FetchPageText(Internet& internet, const Text& url, std::int32_t method, const Text& submitText,
                   Text* cookies, Text* receivedCookies, Text* extraHeaders, Text* redirectTarget,
                   bool noRedirect, Bytes* bodyBytes, const std::optional<Text>& proxy,
                   Text* rawHeaders) {
    return ToText(FetchPage(internet, url, method, submitText, cookies, receivedCookies,
                            extraHeaders, redirectTarget, noRedirect, bodyBytes,
                            proxy.value_or(Text()), rawHeaders));
}

}  // namespace quorvel
