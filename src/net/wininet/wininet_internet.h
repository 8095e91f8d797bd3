#pragma once

// The transport over wininet.dll: each call of the seam is the WinINet
// function of that name, synchronous, with texts passed as zero-terminated
// ANSI strings and absent texts as null pointers.

#include "net/internet.h"

namespace quorvel {

class WinInetInternet : public Internet {
public:
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
};

}  // namespace quorvel
