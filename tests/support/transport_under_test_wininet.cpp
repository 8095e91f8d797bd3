// The WinINet transport under test: the program's own, with the test CA of
// the peers fixture added to the trusted roots of the test's Wine prefix
// (never the machine's), so that TLS is verified as for any other root.

#include <windows.h>
#include <wincrypt.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/peers.h"
#include "support/transport_under_test.h"

namespace quorvel {
namespace {

// Adds the PEM certificate to the Root store of the local machine and of
// the current user; true when both took it.
bool TrustCertificate(const std::string& pemPath) {
    std::ifstream file(pemPath, std::ios::binary);
    std::stringstream pem;
    pem << file.rdbuf();
    const std::string text = pem.str();
    DWORD size = 0;
    if (text.empty() || !CryptStringToBinaryA(text.c_str(), static_cast<DWORD>(text.size()),
                                              CRYPT_STRING_BASE64HEADER, nullptr, &size, nullptr, nullptr)) {
        return false;
    }
    std::vector<BYTE> der(size);
    if (!CryptStringToBinaryA(text.c_str(), static_cast<DWORD>(text.size()), CRYPT_STRING_BASE64HEADER,
                              der.data(), &size, nullptr, nullptr)) {
        return false;
    }
    bool trusted = true;
    for (const DWORD location : {DWORD{CERT_SYSTEM_STORE_LOCAL_MACHINE}, DWORD{CERT_SYSTEM_STORE_CURRENT_USER}}) {
        HCERTSTORE store = CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, location, L"Root");
        trusted = store != nullptr &&
                  CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING, der.data(), size,
                                                   CERT_STORE_ADD_REPLACE_EXISTING, nullptr) &&
                  trusted;
        if (store != nullptr) {
            CertCloseStore(store, 0);
        }
    }
    return trusted;
}

}  // namespace

Internet& TestTransport() {
    static const bool trusted = TrustCertificate(PeerValue("ca_file").value_or(""));
    (void)trusted;  // the https cases show whether it worked
    return SystemInternet();
}

bool TransportIsWineWinInet() {
    // Wine's ntdll exports its version; Windows' does not.
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// WinINet has no receive time-out of its own: a server that never answers
// is closed by the capture server's watchdog.
Internet& ImpatientTestTransport() { return TestTransport(); }

}  // namespace quorvel
