#pragma once

// A transport that records every call of the Internet seam as one line of
// text (every argument shown, absent texts as "none") and plays back a
// canned response: the body, delivered in reads of a chosen size, and the
// raw header block. Any of the three opens can be made to fail.

#include <cstdint>
#include <string>
#include <vector>

#include "net/internet.h"

namespace quorvel {

class RecordingInternet : public Internet {
public:
    // What the "server" answers.
    std::string body;
    std::string rawHeaders = "HTTP/1.1 200 OK\r\n\r\n";
    bool headerQueryFails = false;
    std::int32_t readChunk = 1024;  // at most this many bytes per read
    // Which open fails: "Open", "Connect" or "OpenRequest".
    std::string failing;

    // One line per call, in order.
    std::vector<std::string> calls;
    // What SendRequest sent.
    std::string sentHeaders;
    std::string sentBody;
    bool bodyPassed = false;

    InternetHandle Open(const std::optional<Text>& agent, std::int32_t accessType,
                        const std::optional<Text>& proxyList, const std::optional<Text>& bypassList,
                        std::int32_t flags) override;
    InternetHandle Connect(InternetHandle internet, const Text& serverName, std::int32_t port,
                           const std::optional<Text>& userName, const std::optional<Text>& password,
                           std::int32_t service, std::int32_t flags, std::intptr_t context) override;
    InternetHandle OpenRequest(InternetHandle connection, const Text& verb, const Text& objectName,
                               const Text& version, const std::optional<Text>& referrer,
                               std::int32_t flags, std::intptr_t context) override;
    bool SendRequest(InternetHandle request, const Text& headers, std::int32_t headersLength,
                     const Bytes* body, std::int32_t bodyLength) override;
    bool ReadFile(InternetHandle request, Bytes& block, std::int32_t bytesToRead,
                  std::int32_t& bytesRead) override;
    bool QueryInfo(InternetHandle request, std::int32_t infoLevel, Bytes& buffer,
                   std::int32_t& bufferLength) override;
    bool CloseHandle(InternetHandle handle) override;

private:
    std::size_t delivered_ = 0;
};

}  // namespace quorvel
