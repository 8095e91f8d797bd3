// The libcurl transport under test: trusting the test CA, and for the
// impatient one with a receive time-out of one second.

#include <chrono>

#include "net/curl/curl_internet.h"
#include "support/peers.h"
#include "support/transport_under_test.h"

namespace quorvel {

namespace {

CurlOptions TestOptions() {
    CurlOptions options;
    options.caFile = PeerValue("ca_file").value_or("");
    return options;
}

}  // namespace

Internet& TestTransport() {
    static CurlInternet internet(TestOptions());
    return internet;
}

Internet& ImpatientTestTransport() {
    static CurlInternet internet([] {
        CurlOptions options = TestOptions();
        options.receiveTimeout = std::chrono::seconds(1);
        return options;
    }());
    return internet;
}

bool TransportIsWineWinInet() { return false; }

}  // namespace quorvel
