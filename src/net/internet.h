#pragma once

// The transport seam of the page request: the seven calls of one HTTP(S)
// exchange, with the meaning WinINet gives them. FetchPage is written once
// against this interface; net/wininet/ implements it over wininet.dll on
// Windows and net/curl/ over libcurl on Linux.
//
// A handle is opaque; a null handle means the call failed. Absent texts
// (std::nullopt) reach the system as no string at all, which differs from
// an empty string for the proxy and bypass lists.

#include <cstdint>
#include <optional>

#include "text/values.h"

namespace quorvel {

using InternetHandle = void*;

// Published WinINet values, used unchanged by every transport.
namespace wininet {
inline constexpr std::int32_t kOpenTypeDirect = 1;
inline constexpr std::int32_t kOpenTypeProxy = 3;
inline constexpr std::int32_t kServiceHttp = 3;
inline constexpr std::int32_t kQueryRawHeadersCrlf = 22;

inline constexpr std::uint32_t kFlagReload = 0x80000000;
inline constexpr std::uint32_t kFlagNeedFile = 0x00000010;
inline constexpr std::uint32_t kFlagNoCookies = 0x00080000;
inline constexpr std::uint32_t kFlagNoAutoRedirect = 0x00200000;
inline constexpr std::uint32_t kFlagSecure = 0x00800000;
inline constexpr std::uint32_t kFlagIgnoreRedirectToHttps = 0x00004000;
}  // namespace wininet

class Internet {
public:
    virtual ~Internet() = default;

    // InternetOpen: an Internet handle in direct or proxy mode. `proxyList`
    // "http=host[:port]" names the proxy for http URLs ("http=" alone: none).
    virtual InternetHandle Open(const std::optional<Text>& agent, std::int32_t accessType,
                                const std::optional<Text>& proxyList,
                                const std::optional<Text>& bypassList, std::int32_t flags) = 0;

    // InternetConnect: a connection to one server (no network traffic yet).
    virtual InternetHandle Connect(InternetHandle internet, const Text& serverName,
                                   std::int32_t port, const std::optional<Text>& userName,
                                   const std::optional<Text>& password, std::int32_t service,
                                   std::int32_t flags, std::intptr_t context) = 0;

    // HttpOpenRequest: one request; the accept-type list is always none.
    virtual InternetHandle OpenRequest(InternetHandle connection, const Text& verb,
                                       const Text& objectName, const Text& version,
                                       const std::optional<Text>& referrer, std::int32_t flags,
                                       std::intptr_t context) = 0;

    // HttpSendRequest: sends the request with `headers` (lines joined by
    // CR LF) and the body (none when null) and receives the response head.
    virtual bool SendRequest(InternetHandle request, const Text& headers,
                             std::int32_t headersLength, const Bytes* body,
                             std::int32_t bodyLength) = 0;

    // InternetReadFile: up to `bytesToRead` next body bytes into the start
    // of `block`; `bytesRead` is 0 at the end of the body and on failure.
    virtual bool ReadFile(InternetHandle request, Bytes& block, std::int32_t bytesToRead,
                          std::int32_t& bytesRead) = 0;

    // HttpQueryInfo with kQueryRawHeadersCrlf: the final response's status
    // line and header lines, each ended by CR LF, then an empty line, then a
    // zero byte, written into `buffer` (whose size is `bufferLength`).
    // Nothing is written when the block with its zero byte does not fit.
    virtual bool QueryInfo(InternetHandle request, std::int32_t infoLevel, Bytes& buffer,
                           std::int32_t& bufferLength) = 0;

    // InternetCloseHandle.
    virtual bool CloseHandle(InternetHandle handle) = 0;
};

// The platform's transport (WinINet on Windows, libcurl on Linux), made on
// first use and kept for the life of the program.
Internet& SystemInternet();

}  // namespace quorvel
