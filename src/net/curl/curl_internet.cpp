#include "net/curl/curl_internet.h"

#include <curl/curl.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "net/curl/curl_exchange.h"
#include "net/curl/hop.h"

namespace quorvel {

struct CurlInternet::Handle {
    virtual ~Handle() = default;
};

namespace {

// What InternetOpen settles for every exchange made under it.
struct SessionSettings {
    std::optional<std::string> agent;
    std::optional<std::string> httpProxy;
};

struct Session final : CurlInternet::Handle {
    SessionSettings settings;
};

struct Connection final : CurlInternet::Handle {
    SessionSettings session;
    std::string host;
    std::int32_t port = 0;
};

struct Request final : CurlInternet::Handle {
    SessionSettings session;
    Hop target;
    std::string verb;
    bool followRedirects = true;
    std::unique_ptr<CurlExchange> exchange;
};

// The header text as separate lines. WinINet ends a line at CR, at LF or
// at both; empty lines are dropped. No line handed on holds a line break.
std::vector<std::string> HeaderLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find_first_of("\r\n", start), text.size());
        if (end > start) {
            lines.emplace_back(text.substr(start, end - start));
        }
        start = end + 1;
    }
    return lines;
}

}  // namespace

CurlInternet::CurlInternet(CurlOptions options) : options_(std::move(options)) {
    // Once for the program, before the first handle; never undone, as the
    // transport lives as long as the program does.
    static const bool initialised = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    static_cast<void>(initialised);
}

CurlInternet::~CurlInternet() = default;

InternetHandle CurlInternet::Keep(std::unique_ptr<Handle> handle) {
    const InternetHandle key = handle.get();
    const std::lock_guard lock(mutex_);
    handles_.emplace(key, std::move(handle));
    return key;
}

template <class Kind>
Kind* CurlInternet::Find(InternetHandle handle) {
    const std::lock_guard lock(mutex_);
    const auto found = handles_.find(handle);
    return found == handles_.end() ? nullptr : dynamic_cast<Kind*>(found->second.get());
}

InternetHandle CurlInternet::Open(const std::optional<Text>& agent, std::int32_t accessType,
                                  const std::optional<Text>& proxyList,
                                  const std::optional<Text>& /*bypassList*/,
                                  std::int32_t /*flags*/) {
    auto session = std::make_unique<Session>();
    if (agent && !agent->Empty()) {
        // The agent becomes a header line: a line break in it must not
        // start another one.
        const std::string_view text = agent->View();
        const std::string_view line = text.substr(0, text.find_first_of("\r\n"));
        if (!line.empty()) {
            session->settings.agent = std::string(line);
        }
    }
    // Only proxy mode names a proxy; every other mode, and a list without
    // an http server, reaches servers directly.
    if (accessType == wininet::kOpenTypeProxy && proxyList) {
        session->settings.httpProxy = HttpProxyFromList(proxyList->View());
    }
    return Keep(std::move(session));
}

InternetHandle CurlInternet::Connect(InternetHandle internet, const Text& serverName,
                                     std::int32_t port, const std::optional<Text>& /*userName*/,
                                     const std::optional<Text>& /*password*/,
                                     std::int32_t /*service*/, std::int32_t /*flags*/,
                                     std::intptr_t /*context*/) {
    const Session* session = Find<Session>(internet);
    if (session == nullptr || serverName.Empty()) {
        return nullptr;
    }
    auto connection = std::make_unique<Connection>();
    connection->session = session->settings;
    connection->host = serverName.Str();
    connection->port = port;
    return Keep(std::move(connection));
}

InternetHandle CurlInternet::OpenRequest(InternetHandle connection, const Text& verb,
                                         const Text& objectName, const Text& /*version*/,
                                         const std::optional<Text>& /*referrer*/,
                                         std::int32_t flags, std::intptr_t /*context*/) {
    const Connection* parent = Find<Connection>(connection);
    if (parent == nullptr) {
        return nullptr;
    }
    const auto has = [flags](std::uint32_t flag) {
        return (static_cast<std::uint32_t>(flags) & flag) != 0;
    };
    auto request = std::make_unique<Request>();
    request->session = parent->session;
    request->target.secure = has(wininet::kFlagSecure);
    request->target.host = parent->host;
    // Port 0 asks for the scheme's default, as in WinINet.
    request->target.port = parent->port != 0 ? parent->port : (request->target.secure ? 443 : 80);
    request->target.objectPath = objectName.Str();
    request->verb = verb.Empty() ? "GET" : verb.Str();
    request->followRedirects = !has(wininet::kFlagNoAutoRedirect);
    return Keep(std::move(request));
}

bool CurlInternet::SendRequest(InternetHandle request, const Text& headers,
                               std::int32_t headersLength, const Bytes* body,
                               std::int32_t bodyLength) {
    Request* const found = Find<Request>(request);
    if (found == nullptr) {
        return false;
    }
    // -1 means the whole text, as for WinINet's zero-terminated strings.
    std::string_view headerText = headers.View();
    if (headersLength >= 0) {
        headerText = headerText.substr(0, static_cast<std::size_t>(headersLength));
    }
    ExchangeRequest exchange;
    exchange.first = found->target;
    exchange.verb = found->verb;
    exchange.headerLines = HeaderLines(headerText);
    if (body != nullptr && bodyLength > 0) {
        exchange.body = std::string(body->View().substr(0, static_cast<std::size_t>(bodyLength)));
    }
    exchange.followRedirects = found->followRedirects;
    exchange.agent = found->session.agent;
    exchange.httpProxy = found->session.httpProxy;

    found->exchange.reset();  // a second send starts afresh
    found->exchange = std::make_unique<CurlExchange>(options_, std::move(exchange));
    return found->exchange->Run();
}

bool CurlInternet::ReadFile(InternetHandle request, Bytes& block, std::int32_t bytesToRead,
                            std::int32_t& bytesRead) {
    bytesRead = 0;
    Request* const found = Find<Request>(request);
    if (found == nullptr || found->exchange == nullptr) {
        return false;
    }
    const std::int32_t room = std::min(bytesToRead, block.Length());
    if (room <= 0) {
        return true;
    }
    bytesRead = static_cast<std::int32_t>(
        found->exchange->Read(block.Data(), static_cast<std::size_t>(room)));
    return bytesRead > 0 || !found->exchange->Failed();
}

bool CurlInternet::QueryInfo(InternetHandle request, std::int32_t infoLevel, Bytes& buffer,
                             std::int32_t& bufferLength) {
    Request* const found = Find<Request>(request);
    if (found == nullptr || found->exchange == nullptr ||
        infoLevel != wininet::kQueryRawHeadersCrlf || !found->exchange->FinalHead()) {
        return false;
    }
    const std::string& head = *found->exchange->FinalHead();
    const auto needed = static_cast<std::int64_t>(head.size()) + 1;  // with its zero byte
    if (needed > std::min(bufferLength, buffer.Length())) {
        // WinINet reports the size it needs and writes nothing.
        bufferLength = static_cast<std::int32_t>(std::min<std::int64_t>(needed, INT32_MAX));
        return false;
    }
    std::memcpy(buffer.Data(), head.data(), head.size());
    buffer.Data()[head.size()] = '\0';
    bufferLength = static_cast<std::int32_t>(head.size());
    return true;
}

bool CurlInternet::CloseHandle(InternetHandle handle) {
    std::unique_ptr<Handle> closing;
    {
        const std::lock_guard lock(mutex_);
        const auto found = handles_.find(handle);
        if (found == handles_.end()) {
            return false;
        }
        closing = std::move(found->second);
        handles_.erase(found);
    }
    return true;  // `closing` ends any exchange outside the lock
}

Internet& SystemInternet() {
    static CurlInternet internet;
    return internet;
}

}  // namespace quorvel
