#pragma once

// Taking apart the texts a page request works with: a URL into host, port
// and object path, a marked piece out of a larger text, a header line into
// its value. Pure functions; nothing is validated, decoded or normalised
// beyond what each says.

#include <cstdint>

#include "text/values.h"

namespace quorvel {

// The piece of `source` between the first `leftMarker` found from
// `startPos` on and the next `rightMarker` after it; empty when either is
// missing. "#引号" in a marker (GBK bytes) stands for a double quote.
// Letter case is ignored unless `matchCase`.
Text TextBetween(const Text& source, const Text& leftMarker, const Text& rightMarker,
                 std::int32_t startPos = 0, bool matchCase = false);

// The value of a header line: everything after its first ':', without
// leading and trailing blanks; empty when there is no ':'.
Text HeaderLineValue(const Text& line);

// The lower-case host part of `url`: what follows the scheme ("http://"
// assumed when there is none) up to the next '/'. `lastTwoLabels` keeps
// only the last two dot-separated labels; `keepPort` keeps ":port".
Text UrlHost(const Text& url, bool lastTwoLabels = false, bool keepPort = false);

// The port named in the host part, else 443 for "https" URLs and 80 for any
// other.
std::int32_t UrlPort(const Text& url);

// From the first '/' after the host to the end, in the URL's own case;
// "/" when there is none.
Text UrlObjectPath(const Text& url);

}  // namespace quorvel
