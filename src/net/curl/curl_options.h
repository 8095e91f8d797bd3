#pragma once

#include <chrono>
#include <string>

namespace quorvel {

// What a CurlInternet lets its owner choose; the defaults are the
// program's. Tests shorten the receive time-out and trust their own CA.
struct CurlOptions {
    // Setting up the connection (TCP and TLS), WinINet's default.
    std::chrono::seconds connectTimeout{60};
    // An exchange that receives no byte for this long ends as failed, so a
    // server that never answers cannot hold the window for good.
    std::chrono::seconds receiveTimeout{60};
    // A PEM file of certificate authorities to trust instead of the system's.
    std::string caFile;
};

}  // namespace quorvel
