#pragma once

// The Internet seam over libcurl: the seven calls with the meaning WinINet
// gives them, for the Linux build.
//
// Handles point to small objects owned here. Each one copies what it needs
// from its parent when it is made, so handles may be closed in any order.
// A request's exchange (curl_exchange.h) lives from SendRequest until the
// request handle is closed.

#include <memory>
#include <mutex>
#include <unordered_map>

#include "net/curl/curl_options.h"
#include "net/internet.h"

namespace quorvel {

class CurlInternet final : public Internet {
public:
    explicit CurlInternet(CurlOptions options = CurlOptions());
    ~CurlInternet() override;
    CurlInternet(const CurlInternet&) = delete;
    CurlInternet& operator=(const CurlInternet&) = delete;

    InternetHandle Open(const std::optional<Text>& agent, std::int32_t accessType,
                        const std::optional<Text>& proxyList, const std::optional<Text>& bypassList,
                        std::int32_t flags) override;
    InternetHandle Connect(InternetHandle internet, const Text& serverName, std::int32_t port,
                           const std::optional<Text>& userName, const std::optional<Text>& password,
                           std::int32_t service, std::int32_t flags,
                           std::intptr_t context) override;
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

    struct Handle;

private:
    InternetHandle Keep(std::unique_ptr<Handle> handle);
    template <class Kind>
    Kind* Find(InternetHandle handle);

    CurlOptions options_;
    std::mutex mutex_;  // guards the table, not the exchanges
    std::unordered_map<InternetHandle, std::unique_ptr<Handle>> handles_;
};

}  // namespace quorvel
