#include "net/curl/hop.h"

#include <curl/curl.h>

#include <charconv>

#include "net/curl/ascii.h"
#include "net/curl/curl_owners.h"

namespace quorvel {

namespace {

// IPv6 literals need their brackets inside a URL.
std::string HostForUrl(const std::string& host) {
    if (host.find(':') != std::string::npos && host.front() != '[') {
        return "[" + host + "]";
    }
    return host;
}

std::string ReplaceAll(std::string_view text, char byte, std::string_view with) {
    std::string result;
    result.reserve(text.size());
    for (const char c : text) {
        if (c == byte) {
            result += with;
        } else {
            result += c;
        }
    }
    return result;
}

std::optional<std::string> UrlPart(CURLU* url, CURLUPart part, unsigned int flags = 0) {
    char* text = nullptr;
    if (curl_url_get(url, part, &text, flags) != CURLUE_OK || text == nullptr) {
        return std::nullopt;
    }
    const CurlString owned(text);
    return std::string(owned.get());
}

}  // namespace

std::string ServerUrl(const Hop& hop) {
    return std::string(hop.secure ? "https://" : "http://") + HostForUrl(hop.host) + ":" +
           std::to_string(hop.port) + "/";
}

std::string OriginTarget(const Hop& hop) {
    if (hop.objectPath.empty()) {
        return "/";
    }
    return ReplaceAll(hop.objectPath, ' ', "%20");
}

std::string AbsoluteTarget(const Hop& hop) {
    std::string target = "http://" + HostForUrl(hop.host);
    if (hop.port != 80) {
        target += ":" + std::to_string(hop.port);
    }
    return target + OriginTarget(hop);
}

std::optional<Hop> RedirectHop(const Hop& from, std::string_view location) {
    const CurlUrl url(curl_url());
    if (url == nullptr) {
        return std::nullopt;
    }
    // The base is the URL the hop asked for. A '#' there was sent as part of
    // the path, so it must not start a fragment for curl's parser.
    const std::string base = std::string(from.secure ? "https://" : "http://") +
                             HostForUrl(from.host) + ":" + std::to_string(from.port) +
                             ReplaceAll(OriginTarget(from), '#', "%23");
    if (curl_url_set(url.get(), CURLUPART_URL, base.c_str(), CURLU_ALLOW_SPACE) != CURLUE_OK) {
        return std::nullopt;
    }
    // Setting a relative reference on a handle that holds a URL resolves it.
    const std::string target(location);
    if (curl_url_set(url.get(), CURLUPART_URL, target.c_str(),
                     CURLU_ALLOW_SPACE | CURLU_NON_SUPPORT_SCHEME) != CURLUE_OK) {
        return std::nullopt;
    }
    const auto scheme = UrlPart(url.get(), CURLUPART_SCHEME);
    const auto host = UrlPart(url.get(), CURLUPART_HOST);
    const auto port = UrlPart(url.get(), CURLUPART_PORT, CURLU_DEFAULT_PORT);
    const auto path = UrlPart(url.get(), CURLUPART_PATH);
    if (!scheme || !host || !port || !path) {
        return std::nullopt;
    }
    Hop next;
    if (EqualsIgnoringCase(*scheme, "https")) {
        next.secure = true;
    } else if (!EqualsIgnoringCase(*scheme, "http")) {
        return std::nullopt;
    }
    // curl gives IPv6 literals with their brackets; the hop keeps the bare name.
    next.host = *host;
    if (next.host.size() > 2 && next.host.front() == '[' && next.host.back() == ']') {
        next.host = next.host.substr(1, next.host.size() - 2);
    }
    const auto parsed = std::from_chars(port->data(), port->data() + port->size(), next.port);
    if (parsed.ec != std::errc() || next.port <= 0 || next.port > 65535) {
        return std::nullopt;
    }
    next.objectPath = *path;
    if (const auto query = UrlPart(url.get(), CURLUPART_QUERY)) {
        next.objectPath += "?" + *query;
    }
    return next;
}

std::optional<std::string> HttpProxyFromList(std::string_view proxyList) {
    std::size_t start = 0;
    while (start < proxyList.size()) {
        const std::size_t end = proxyList.find_first_of(" \t;", start);
        const std::string_view entry = proxyList.substr(
            start, end == std::string_view::npos ? std::string_view::npos : end - start);
        start = end == std::string_view::npos ? proxyList.size() : end + 1;
        constexpr std::string_view kHttpEntry = "http=";
        if (entry.size() < kHttpEntry.size() ||
            !EqualsIgnoringCase(entry.substr(0, kHttpEntry.size()), kHttpEntry)) {
            continue;
        }
        std::string_view server = entry.substr(kHttpEntry.size());
        constexpr std::string_view kScheme = "http://";
        if (server.size() >= kScheme.size() &&
            EqualsIgnoringCase(server.substr(0, kScheme.size()), kScheme)) {
            server.remove_prefix(kScheme.size());
        }
        if (server.empty()) {
            return std::nullopt;
        }
        const std::size_t bracket = server.rfind(']');
        const std::size_t colon = server.rfind(':');
        const bool hasPort = colon != std::string_view::npos &&
                             (bracket == std::string_view::npos || colon > bracket);
        return hasPort ? std::string(server) : std::string(server) + ":80";
    }
    return std::nullopt;
}

}  // namespace quorvel
