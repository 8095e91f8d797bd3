#pragma once

// One HTTP(S) exchange over libcurl, driven step by step through a multi
// handle so that the caller decides when the body moves:
//   Run()  sends the request and follows redirects by hand until the final
//          response's head is complete (the request target is fixed per hop,
//          which curl's own follower would keep on every hop);
//   Read() hands out the body as it arrives. The write callback keeps at
//          most one chunk and pauses the transfer while that chunk is
//          unread, so the body is never held in full a second time.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "net/curl/curl_options.h"
#include "net/curl/curl_owners.h"
#include "net/curl/hop.h"
#include "net/curl/response_head.h"

namespace quorvel {

struct ExchangeRequest {
    Hop first;
    std::string verb;
    std::vector<std::string> headerLines;  // sent in this order, each as it is
    std::optional<std::string> body;
    bool followRedirects = true;
    std::optional<std::string> agent;      // no User-Agent line when absent
    std::optional<std::string> httpProxy;  // "host:port", carries http hops only
};

class CurlExchange {
public:
    // A redirect chain longer than this is a failed exchange.
    static constexpr int kMaxRedirects = 20;

    CurlExchange(const CurlOptions& options, ExchangeRequest request);
    ~CurlExchange();
    CurlExchange(const CurlExchange&) = delete;
    CurlExchange& operator=(const CurlExchange&) = delete;

    // Up to the end of the final response's head; false for a failed exchange.
    bool Run();
    // Up to `capacity` next body bytes into `out`; 0 at the end and once the
    // exchange has failed (after the bytes that did arrive).
    std::size_t Read(char* out, std::size_t capacity);
    // The transfer broke off (or never got a final head).
    bool Failed() const;
    // The final response's head in WinINet's raw form; none when failed.
    const std::optional<std::string>& FinalHead() const { return finalHead_; }

private:
    bool BuildHeaders(bool sendsBody);
    bool StartHop(const Hop& hop);
    void StopHop();
    bool Advance();
    bool Wait();
    bool Fail();
    bool ShouldFollow() const;

    static std::size_t OnHeader(char* data, std::size_t size, std::size_t count, void* self);
    static std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* self);

    CurlOptions options_;
    ExchangeRequest request_;
    CurlHeaderList headers_;  // the current hop's; curl reads it while the hop runs

    CurlMulti multi_;
    CurlEasy easy_;  // the current hop; declared after multi_ so it goes first

    ResponseHead head_;
    std::optional<std::string> finalHead_;
    std::string pending_;  // the one body chunk taken from curl and not yet read
    std::size_t pendingPos_ = 0;
    bool paused_ = false;
    bool done_ = false;
    CURLcode result_ = CURLE_OK;
    bool failed_ = false;
};

}  // namespace quorvel
