#pragma once

// One hop of an exchange: the server a request goes to and the object path
// it asks for, and the ways curl is told about them. The request target is
// always given to curl whole (CURLOPT_REQUEST_TARGET), so the object path
// reaches the server byte for byte; the URL curl gets names the server only.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quorvel {

struct Hop {
    bool secure = false;
    std::string host;
    std::int32_t port = 0;
    std::string objectPath;  // path and query as the caller or the Location gave them
};

// "http://host:port/" (or https): what CURLOPT_URL needs to reach the server.
std::string ServerUrl(const Hop& hop);

// The object path for the request line of a direct request: spaces as %20,
// every other byte as it is.
std::string OriginTarget(const Hop& hop);

// The request target a proxy needs: "http://" + host, ":" + port unless it
// is 80, then the origin target.
std::string AbsoluteTarget(const Hop& hop);

// Where a Location value leads from `from`, resolved by curl's URL parser
// (relative references included, fragment dropped); none when it does not
// parse or names a scheme other than http and https.
std::optional<Hop> RedirectHop(const Hop& from, std::string_view location);

// The http proxy named in a proxy list ("http=host[:port]", entries apart
// by blanks or ';') as "host:port", port 80 when none is named; none when
// the list names no http proxy or an empty one ("http=" alone).
std::optional<std::string> HttpProxyFromList(std::string_view proxyList);

}  // namespace quorvel
