#include "net/url.h"

#include "text/operations.h"

namespace quorvel {
namespace {

// "#引号" in the ANSI code page (GBK) of the machines Quorvel is made for.
constexpr const char* kQuoteMarker = "#\xD2\xFD\xBA\xC5";

bool Equal(const Text& a, const Text& b) { return CompareText(a, b) == 0; }

}  // namespace

Text TextBetween(const Text& source, const Text& leftMarker, const Text& rightMarker,
                 std::int32_t startPos, bool matchCase) {
    const Text left = ReplaceSubtext(leftMarker, kQuoteMarker, "\"", 1, -1, true);
    const Text right = ReplaceSubtext(rightMarker, kQuoteMarker, "\"", 1, -1, true);
    const bool ignoreCase = !matchCase;
    std::int32_t l = FindText(source, left, startPos, ignoreCase);
    if (l != -1) {
        l += TextLength(left);
    }
    const std::int32_t r = FindText(source, right, l, ignoreCase);
    if (l == -1 || r == -1) {
        return Text();
    }
    return TextMid(source, l, r - l);
}

Text HeaderLineValue(const Text& line) {
    const std::int32_t colon = FindText(line, ":");
    if (colon == -1) {
        return Text();
    }
    return TrimBoth(TextRight(line, TextLength(line) - colon));
}

Text UrlHost(const Text& url, bool lastTwoLabels, bool keepPort) {
    Text s = ToLower(url);
    if (!Equal(TextRight(s, 1), "/")) {
        s.Append("/");  // so that a '/' always ends the host part
    }
    Text scheme = "https://";
    if (!Equal(TextLeft(s, 8), scheme)) {
        scheme = "http://";
        // A URL that names "http://" anywhere, even in its query, is taken
        // as having a scheme.
        if (FindText(s, scheme) == -1) {
            s = ConcatText(scheme, s);
        }
    }
    Text host = TextBetween(s, scheme, "/");
    if (lastTwoLabels) {
        // Before the port is cut, so a port stays with the last label.
        const TextArray labels = SplitText(host, ".");
        const std::int32_t n = ArraySize(labels);
        if (n > 1) {
            host = ConcatText(labels.Element(n - 1), ".", labels.Element(n));
        }
    }
    if (keepPort) {
        return host;
    }
    const std::int32_t colon = FindText(host, ":");
    return colon == -1 ? host : TextLeft(host, colon - 1);
}

std::int32_t UrlPort(const Text& url) {
    const Text hostAndPort = UrlHost(url, false, true);
    const std::int32_t colon = FindTextReverse(hostAndPort, ":");
    if (colon == -1) {
        return Equal(TextLeft(ToLower(url), 5), "https") ? 443 : 80;
    }
    return ToInt(TextRight(hostAndPort, TextLength(hostAndPort) - colon));
}

Text UrlObjectPath(const Text& url) {
    // The host's first occurrence anywhere in the URL, the scheme included.
    const std::int32_t host = FindText(url, UrlHost(url), 1, true);
    const std::int32_t slash = FindText(url, "/", host, true);
    if (slash == -1) {
        return "/";
    }
    return TextRight(url, TextLength(url) - slash + 1);
}

}  // namespace quorvel
