#pragma once

// The platform's transport as the shared transport cases use it. Each
// platform's build adds the file that makes it (transport_under_test_curl.cpp
// on Linux).

#include "net/internet.h"

namespace quorvel {

// The transport, trusting the test CA of the peers fixture.
Internet& TestTransport();
// The same, giving up on an exchange after one second without a byte
// where the transport has such a time-out.
Internet& ImpatientTestTransport();

// Whether the transport is Wine's WinINet, whose known differences the
// shared cases name where they meet them.
bool TransportIsWineWinInet();

}  // namespace quorvel
