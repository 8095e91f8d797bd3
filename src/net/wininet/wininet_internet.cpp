#include "net/wininet/wininet_internet.h"

#include <cstring>
#include <string>

#include "net/wininet/wininet_functions.h"

namespace quorvel {
namespace {

using namespace wininet;

// A zero-terminated copy of a text that may be absent (then null).
class CString {
public:
    explicit CString(const std::optional<Text>& text)
        : present_(text.has_value()), bytes_(present_ ? text->Str() : std::string()) {}
    explicit CString(const Text& text) : present_(true), bytes_(text.Str()) {}
    const char* Get() const { return present_ ? bytes_.c_str() : nullptr; }

private:
    bool present_;
    std::string bytes_;
};

HINTERNET Native(InternetHandle handle) { return static_cast<HINTERNET>(handle); }

DWORD Dword(std::int32_t value) { return static_cast<DWORD>(value); }

}  // namespace

InternetHandle WinInetInternet::Open(const std::optional<Text>& agent, std::int32_t accessType,
                                     const std::optional<Text>& proxyList,
                                     const std::optional<Text>& bypassList, std::int32_t flags) {
    const CString agentText(agent), proxy(proxyList), bypass(bypassList);
    return DynInternetOpenA()(agentText.Get(), Dword(accessType), proxy.Get(), bypass.Get(),
                              Dword(flags));
}

InternetHandle WinInetInternet::Connect(InternetHandle internet, const Text& serverName,
                                        std::int32_t port, const std::optional<Text>& userName,
                                        const std::optional<Text>& password, std::int32_t service,
                                        std::int32_t flags, std::intptr_t context) {
    const CString server(serverName), user(userName), secret(password);
    return DynInternetConnectA()(Native(internet), server.Get(), static_cast<INTERNET_PORT>(port),
                                 user.Get(), secret.Get(), Dword(service), Dword(flags),
                                 static_cast<DWORD_PTR>(context));
}

InternetHandle WinInetInternet::OpenRequest(InternetHandle connection, const Text& verb,
                                            const Text& objectName, const Text& version,
                                            const std::optional<Text>& referrer, std::int32_t flags,
                                            std::intptr_t context) {
    const CString verbText(verb), object(objectName), versionText(version), referer(referrer);
    return DynHttpOpenRequestA()(Native(connection), verbText.Get(), object.Get(), versionText.Get(),
                                 referer.Get(), nullptr, Dword(flags),
                                 static_cast<DWORD_PTR>(context));
}

bool WinInetInternet::SendRequest(InternetHandle request, const Text& headers,
                                  std::int32_t headersLength, const Bytes* body,
                                  std::int32_t bodyLength) {
    const CString headerText(headers);
    // WinINet takes the body as a non-const pointer but only reads it.
    void* bodyData = body != nullptr ? const_cast<char*>(body->View().data()) : nullptr;
    return DynHttpSendRequestA()(Native(request), headerText.Get(), Dword(headersLength), bodyData,
                                 body != nullptr ? Dword(bodyLength) : 0) != FALSE;
}

bool WinInetInternet::ReadFile(InternetHandle request, Bytes& block, std::int32_t bytesToRead,
                               std::int32_t& bytesRead) {
    const std::int32_t room = bytesToRead < block.Length() ? bytesToRead : block.Length();
    DWORD count = 0;
    const BOOL ok = DynInternetReadFile()(Native(request), block.Data(), Dword(room), &count);
    bytesRead = ok != FALSE ? static_cast<std::int32_t>(count) : 0;
    return ok != FALSE;
}

bool WinInetInternet::QueryInfo(InternetHandle request, std::int32_t infoLevel, Bytes& buffer,
                                std::int32_t& bufferLength) {
    // Queried into a scratch copy first: after a failed exchange Wine's
    // WinINet answers with an empty block (a lone CR LF, no status line),
    // which is no response header block and must leave the caller's storage
    // untouched, as a failed query does.
    const std::int32_t room = bufferLength < buffer.Length() ? bufferLength : buffer.Length();
    Bytes scratch = buffer;
    DWORD length = Dword(room);
    const BOOL ok = DynHttpQueryInfoA()(Native(request), Dword(infoLevel), scratch.Data(), &length,
                                        nullptr);
    if (ok == FALSE || (infoLevel == kQueryRawHeadersCrlf && scratch.View().substr(0, 5) != "HTTP/")) {
        return false;
    }
    std::memcpy(buffer.Data(), scratch.View().data(), static_cast<std::size_t>(room));
    bufferLength = static_cast<std::int32_t>(length);
    return true;
}

bool WinInetInternet::CloseHandle(InternetHandle handle) {
    return DynInternetCloseHandle()(Native(handle)) != FALSE;
}

Internet& SystemInternet() {
    static WinInetInternet internet;
    return internet;
}

}  // namespace quorvel
