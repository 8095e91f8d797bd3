#pragma once

// The request head a transport sends, written out for comparison with what
// a server received. Both transports send the same bytes: the request line,
// Host, Content-Length when a body goes out (or the verb is not GET), the
// agent as User-Agent unless the caller's lines name one, then the caller's
// lines in order (measured with WinINet under Wine and with libcurl).

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace quorvel {

struct RequestHead {
    std::string verb;
    std::string target;                    // as the request line carries it
    std::string host;                      // the Host value
    std::optional<std::string> agent;      // none: no User-Agent line
    std::vector<std::string> headerLines;  // the caller's lines, in order
    std::optional<std::size_t> bodyLength;
};

// The head, request line to empty line.
inline std::string ExpectedHead(const RequestHead& head) {
    std::string text = head.verb + " " + head.target + " HTTP/1.1\r\n";
    text += "Host: " + head.host + "\r\n";
    if (head.bodyLength) {
        text += "Content-Length: " + std::to_string(*head.bodyLength) + "\r\n";
    }
    const bool callerNamesAgent =
        std::any_of(head.headerLines.begin(), head.headerLines.end(),
                    [](const std::string& line) { return line.rfind("User-Agent:", 0) == 0; });
    if (head.agent && !callerNamesAgent) {
        text += "User-Agent: " + *head.agent + "\r\n";
    }
    for (const std::string& line : head.headerLines) {
        text += line + "\r\n";
    }
    return text + "\r\n";
}

}  // namespace quorvel
