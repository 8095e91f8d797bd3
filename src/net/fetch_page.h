#pragma once

// One complete HTTP or HTTPS exchange: the request header text completed
// with default lines, the request sent with an optional body, the whole
// body read, the redirect target and the received cookies taken out of the
// response header block, and those cookies merged into the caller's.
//
// Outputs are pointers: null leaves the output out (it is still worked out
// and thrown away); a given one is replaced as a whole, never changed in
// place. A failed exchange gives the empty body; nothing is reported.

#include <cstdint>
#include <optional>

#include "net/internet.h"
#include "text/values.h"

namespace quorvel {

// The agent text sent when the caller's headers name none.
extern const char* const kDefaultAgent;

// method: 0 "GET" without body, 1 "POST" with body, any other "GET" with body.
// proxy: left out, a direct connection; given, proxy mode with the list
// "http=" + proxy (so an empty proxy reaches servers directly).
Bytes FetchPage(Internet& internet, const Text& url, std::int32_t method = 0,
                const Text& submitText = Text(), Text* cookies = nullptr,
                Text* receivedCookies = nullptr, Text* extraHeaders = nullptr,
                Text* redirectTarget = nullptr, bool noRedirect = false,
                Bytes* bodyBytes = nullptr, const std::optional<Text>& proxy = std::nullopt,
                Text* rawHeaders = nullptr);

// FetchPage with every argument passed on as given (a left-out proxy as the
// empty one), returning the body up to its first zero byte.
Text FetchPageText(Internet& internet, const Text& url, std::int32_t method = 0,
                   const Text& submitText = Text(), Text* cookies = nullptr,
                   Text* receivedCookies = nullptr, Text* extraHeaders = nullptr,
                   Text* redirectTarget = nullptr, bool noRedirect = false,
                   Bytes* bodyBytes = nullptr, const std::optional<Text>& proxy = std::nullopt,
                   Text* rawHeaders = nullptr);

}  // namespace quorvel
