#include "support/recording_internet.h"

#include <cstdio>
#include <cstring>
#include <string_view>

namespace quorvel {
namespace {

// Fixed handle values, so the log shows which handle each call received.
InternetHandle const kSession = reinterpret_cast<InternetHandle>(0x1);
InternetHandle const kConnection = reinterpret_cast<InternetHandle>(0x2);
InternetHandle const kRequest = reinterpret_cast<InternetHandle>(0x3);

std::string Handle(InternetHandle handle) {
    if (handle == kSession) return "session";
    if (handle == kConnection) return "connection";
    if (handle == kRequest) return "request";
    return "unknown";
}

std::string Quoted(const Text& text) { return "\"" + text.Str() + "\""; }

std::string Quoted(const std::optional<Text>& text) {
    return text.has_value() ? Quoted(*text) : std::string("none");
}

std::string Hex(std::int32_t value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%08X", static_cast<unsigned>(value));
    return buffer;
}

}  // namespace

InternetHandle RecordingInternet::Open(const std::optional<Text>& agent, std::int32_t accessType,
                                       const std::optional<Text>& proxyList,
                                       const std::optional<Text>& bypassList, std::int32_t flags) {
    calls.push_back("Open(" + Quoted(agent) + ", " + std::to_string(accessType) + ", " +
                    Quoted(proxyList) + ", " + Quoted(bypassList) + ", " + std::to_string(flags) +
                    ")");
    return failing == "Open" ? nullptr : kSession;
}

InternetHandle RecordingInternet::Connect(InternetHandle internet, const Text& serverName,
                                          std::int32_t port, const std::optional<Text>& userName,
                                          const std::optional<Text>& password, std::int32_t service,
                                          std::int32_t flags, std::intptr_t context) {
    calls.push_back("Connect(" + Handle(internet) + ", " + Quoted(serverName) + ", " +
                    std::to_string(port) + ", " + Quoted(userName) + ", " + Quoted(password) +
                    ", " + std::to_string(service) + ", " + std::to_string(flags) + ", " +
                    std::to_string(context) + ")");
    return failing == "Connect" ? nullptr : kConnection;
}

InternetHandle RecordingInternet::OpenRequest(InternetHandle connection, const Text& verb,
                                              const Text& objectName, const Text& version,
                                              const std::optional<Text>& referrer,
                                              std::int32_t flags, std::intptr_t context) {
    calls.push_back("OpenRequest(" + Handle(connection) + ", " + Quoted(verb) + ", " +
                    Quoted(objectName) + ", " + Quoted(version) + ", " + Quoted(referrer) + ", " +
                    Hex(flags) + ", " + std::to_string(context) + ")");
    return failing == "OpenRequest" ? nullptr : kRequest;
}

bool RecordingInternet::SendRequest(InternetHandle request, const Text& headers,
                                    std::int32_t headersLength, const Bytes* bodyToSend,
                                    std::int32_t bodyLength) {
    sentHeaders = headers.Str();
    bodyPassed = bodyToSend != nullptr;
    sentBody = bodyToSend != nullptr ? std::string(bodyToSend->View()) : std::string();
    calls.push_back("SendRequest(" + Handle(request) + ", headers, " +
                    std::to_string(headersLength) + ", " +
                    (bodyToSend != nullptr ? "body" : "none") + ", " + std::to_string(bodyLength) +
                    ")");
    return true;
}

bool RecordingInternet::ReadFile(InternetHandle request, Bytes& block, std::int32_t bytesToRead,
                                 std::int32_t& bytesRead) {
    const std::size_t left = body.size() - delivered_;
    std::size_t n = static_cast<std::size_t>(bytesToRead < readChunk ? bytesToRead : readChunk);
    n = n < left ? n : left;
    if (block.Length() < bytesToRead) {
        calls.push_back("ReadFile: block smaller than bytesToRead");
        bytesRead = 0;
        return false;
    }
    std::memcpy(block.Data(), body.data() + delivered_, n);
    delivered_ += n;
    bytesRead = static_cast<std::int32_t>(n);
    calls.push_back("ReadFile(" + Handle(request) + ", " + std::to_string(bytesToRead) + ") -> " +
                    std::to_string(n));
    return true;
}

bool RecordingInternet::QueryInfo(InternetHandle request, std::int32_t infoLevel, Bytes& buffer,
                                  std::int32_t& bufferLength) {
    calls.push_back("QueryInfo(" + Handle(request) + ", " + std::to_string(infoLevel) + ", " +
                    std::to_string(buffer.Length()) + ", " + std::to_string(bufferLength) + ")");
    if (headerQueryFails || rawHeaders.size() + 1 > static_cast<std::size_t>(bufferLength)) {
        return false;
    }
    std::memcpy(buffer.Data(), rawHeaders.c_str(), rawHeaders.size() + 1);
    bufferLength = static_cast<std::int32_t>(rawHeaders.size());
    return true;
}

bool RecordingInternet::CloseHandle(InternetHandle handle) {
    calls.push_back("CloseHandle(" + Handle(handle) + ")");
    return true;
}

}  // namespace quorvel
