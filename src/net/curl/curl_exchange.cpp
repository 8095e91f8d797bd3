#include "net/curl/curl_exchange.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <utility>

namespace quorvel {

namespace {

// Lines curl would add of its own accord; an empty "Name:" entry removes
// one (a caller's line of the same name is still sent).
constexpr const char* kSuppressedLines[] = {
    "Accept:", "Content-Type:", "Expect:", "Proxy-Connection:"};

bool SameName(std::string_view a, std::string_view b) {
    const auto lower = [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}

std::string_view LineName(std::string_view line) {
    const std::size_t colon = line.find(':');
    return colon == std::string_view::npos ? std::string_view() : line.substr(0, colon);
}

// The lines the transport adds itself.
bool IsTransportLine(std::string_view name) {
    return SameName(name, "Host") || SameName(name, "User-Agent") ||
           SameName(name, "Content-Length");
}

bool CallerHas(const std::vector<std::string>& lines, std::string_view name) {
    return std::any_of(lines.begin(), lines.end(),
                       [name](const std::string& line) { return SameName(LineName(line), name); });
}

// Options are set in runs; the first that curl refuses fails the hop.
class OptionSetter {
public:
    explicit OptionSetter(CURL* easy) : easy_(easy) {}
    template <class Value>
    OptionSetter& Set(CURLoption option, Value value) {
        if (ok_ && curl_easy_setopt(easy_, option, value) != CURLE_OK) {
            ok_ = false;
        }
        return *this;
    }
    bool Ok() const { return ok_; }

private:
    CURL* easy_;
    bool ok_ = true;
};

}  // namespace

CurlExchange::CurlExchange(const CurlOptions& options, ExchangeRequest request)
    : options_(options), request_(std::move(request)), multi_(curl_multi_init()) {}

CurlExchange::~CurlExchange() { StopHop(); }

bool CurlExchange::Run() {
    if (multi_ == nullptr) {
        return Fail();
    }
    Hop hop = request_.first;
    for (int redirects = 0;; ++redirects) {
        if (!StartHop(hop)) {
            return Fail();
        }
        for (;;) {
            if (!Advance()) {
                return Fail();
            }
            if (head_.Complete() || done_) {
                break;
            }
            if (!Wait()) {
                return Fail();
            }
        }
        if (!head_.Complete()) {
            return Fail();
        }
        if (!ShouldFollow()) {
            break;
        }
        const std::optional<Hop> next = RedirectHop(hop, *head_.Value("Location"));
        if (!next || redirects == kMaxRedirects) {
            return Fail();
        }
        const int status = head_.Status();
        if (status == 301 || status == 302 || status == 303) {
            request_.verb = "GET";
            request_.body.reset();
        }
        hop = *next;
    }
    finalHead_ = head_.Block();
    return true;
}

std::size_t CurlExchange::Read(char* out, std::size_t capacity) {
    while (pendingPos_ == pending_.size() && !done_ && !failed_) {
        pending_.clear();
        pendingPos_ = 0;
        if (paused_) {
            // Unpausing hands the held chunk to OnBody at once.
            paused_ = false;
            if (curl_easy_pause(easy_.get(), CURLPAUSE_CONT) != CURLE_OK) {
                failed_ = true;
                break;
            }
            if (!pending_.empty()) {
                break;
            }
        }
        if (!Advance()) {
            failed_ = true;
            break;
        }
        if (!pending_.empty() || done_) {
            break;
        }
        if (!Wait()) {
            failed_ = true;
            break;
        }
    }
    const std::size_t count = std::min(capacity, pending_.size() - pendingPos_);
    if (count > 0) {
        std::memcpy(out, pending_.data() + pendingPos_, count);
        pendingPos_ += count;
    }
    return count;
}

bool CurlExchange::Failed() const { return failed_ || (done_ && result_ != CURLE_OK); }

// The header lines of one hop, in the order WinINet sends them: curl puts
// Host first by itself; then Content-Length when a body goes out (or the
// verb is not GET), the agent unless the caller names one, and the caller's
// lines as they are. A caller's line replaces the transport's own of that
// name, as in WinINet.
bool CurlExchange::BuildHeaders(bool sendsBody) {
    headers_ = CurlHeaderList();
    bool ok = true;
    const std::vector<std::string>& lines = request_.headerLines;
    if (sendsBody && !CallerHas(lines, "Content-Length")) {
        const std::size_t size = request_.body ? request_.body->size() : 0;
        ok = ok && headers_.Append("Content-Length: " + std::to_string(size));
    }
    if (request_.agent && !CallerHas(lines, "User-Agent")) {
        ok = ok && headers_.Append("User-Agent: " + *request_.agent);
    }
    for (std::string line : lines) {
        // A line with an empty value replaces one of the transport's own
        // lines with nothing, as in WinINet; curl reads "Name:" that way.
        // Any other empty line is sent as "Name:", which curl is asked for
        // with "Name;".
        const std::string_view name = LineName(line);
        if (!name.empty() && line.find_first_not_of(" \t", name.size() + 1) == std::string::npos &&
            !IsTransportLine(name)) {
            line = std::string(name) + ";";
        }
        ok = ok && headers_.Append(line);
    }
    for (const char* line : kSuppressedLines) {
        ok = ok && headers_.Append(line);
    }
    return ok;
}

bool CurlExchange::StartHop(const Hop& hop) {
    StopHop();
    head_ = ResponseHead();
    pending_.clear();
    pendingPos_ = 0;
    paused_ = false;
    done_ = false;
    result_ = CURLE_OK;

    const std::string& verb = request_.verb;
    const bool sendsBody = request_.body.has_value() || (verb != "GET" && verb != "HEAD");
    easy_.reset(curl_easy_init());
    if (easy_ == nullptr || !BuildHeaders(sendsBody)) {
        return false;
    }
    // The proxy carries http hops only; an https hop always goes direct.
    const bool proxied = !hop.secure && request_.httpProxy.has_value();
    const std::string url = ServerUrl(hop);
    const std::string target = proxied ? AbsoluteTarget(hop) : OriginTarget(hop);
    const std::string proxy = proxied ? "http://" + *request_.httpProxy : std::string();

    OptionSetter set(easy_.get());
    set.Set(CURLOPT_URL, url.c_str())
        .Set(CURLOPT_REQUEST_TARGET, target.c_str())
        .Set(CURLOPT_PROTOCOLS_STR, "http,https")
        .Set(CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1))
        // An empty proxy and no-proxy list keep the environment's proxy
        // variables out: the caller's proxy list is the only one that counts.
        .Set(CURLOPT_PROXY, proxy.c_str())
        .Set(CURLOPT_NOPROXY, "")
        .Set(CURLOPT_HTTPHEADER, headers_.Get())
        // One list for server and proxy, so that the proxy sees the same
        // lines and "Proxy-Connection:" removes curl's own.
        .Set(CURLOPT_HEADEROPT, static_cast<long>(CURLHEADER_UNIFIED))
        .Set(CURLOPT_HEADERFUNCTION, &CurlExchange::OnHeader)
        .Set(CURLOPT_HEADERDATA, static_cast<void*>(this))
        .Set(CURLOPT_WRITEFUNCTION, &CurlExchange::OnBody)
        .Set(CURLOPT_WRITEDATA, static_cast<void*>(this))
        .Set(CURLOPT_FOLLOWLOCATION, 0L)
        .Set(CURLOPT_NOSIGNAL, 1L)
        .Set(CURLOPT_CONNECTTIMEOUT, static_cast<long>(options_.connectTimeout.count()))
        .Set(CURLOPT_LOW_SPEED_LIMIT, 1L)
        .Set(CURLOPT_LOW_SPEED_TIME, static_cast<long>(options_.receiveTimeout.count()))
        .Set(CURLOPT_SSL_VERIFYPEER, 1L)
        .Set(CURLOPT_SSL_VERIFYHOST, 2L);
    if (!options_.caFile.empty()) {
        set.Set(CURLOPT_CAINFO, options_.caFile.c_str());
    }
    if (sendsBody) {
        // Any body goes out as given under the caller's verb, so a GET with
        // a body is still sent as "GET". Other verbs without a body send
        // "Content-Length: 0", as WinINet does.
        // curl reads the body from here while the hop runs: it must be the
        // exchange's own copy, never a temporary.
        const char* const data = request_.body ? request_.body->data() : "";
        const std::size_t size = request_.body ? request_.body->size() : 0;
        set.Set(CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(size))
            .Set(CURLOPT_POSTFIELDS, data);
        if (verb != "POST") {
            set.Set(CURLOPT_CUSTOMREQUEST, verb.c_str());
        }
    } else if (verb == "HEAD") {
        set.Set(CURLOPT_NOBODY, 1L);
    } else {
        set.Set(CURLOPT_HTTPGET, 1L);
    }
    if (!set.Ok()) {
        return false;
    }
    if (curl_multi_add_handle(multi_.get(), easy_.get()) != CURLM_OK) {
        easy_.reset();
        return false;
    }
    return true;
}

void CurlExchange::StopHop() {
    if (easy_ != nullptr) {
        curl_multi_remove_handle(multi_.get(), easy_.get());
        easy_.reset();
    }
}

// Lets curl do all it can without waiting, then notes a finished transfer.
bool CurlExchange::Advance() {
    int running = 0;
    if (curl_multi_perform(multi_.get(), &running) != CURLM_OK) {
        return false;
    }
    int left = 0;
    while (CURLMsg* message = curl_multi_info_read(multi_.get(), &left)) {
        if (message->msg == CURLMSG_DONE && message->easy_handle == easy_.get()) {
            done_ = true;
            result_ = message->data.result;
        }
    }
    return true;
}

// Waits for the socket or curl's next timer (connect and receive time-outs
// included); the upper bound only keeps one wait short.
bool CurlExchange::Wait() {
    return curl_multi_poll(multi_.get(), nullptr, 0, 1000, nullptr) == CURLM_OK;
}

bool CurlExchange::Fail() {
    StopHop();
    pending_.clear();
    pendingPos_ = 0;
    finalHead_.reset();
    failed_ = true;
    return false;
}

bool CurlExchange::ShouldFollow() const {
    const int status = head_.Status();
    const bool redirect =
        status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
    return request_.followRedirects && redirect && head_.Value("Location").has_value();
}

std::size_t CurlExchange::OnHeader(char* data, std::size_t size, std::size_t count, void* self) {
    const std::size_t length = size * count;
    static_cast<CurlExchange*>(self)->head_.Take(std::string_view(data, length));
    return length;
}

std::size_t CurlExchange::OnBody(char* data, std::size_t size, std::size_t count, void* self) {
    auto& exchange = *static_cast<CurlExchange*>(self);
    if (exchange.pendingPos_ < exchange.pending_.size()) {
        // The previous chunk is still unread: curl keeps this one until Read
        // asks for more.
        exchange.paused_ = true;
        return CURL_WRITEFUNC_PAUSE;
    }
    const std::size_t length = size * count;
    exchange.pending_.assign(data, length);
    exchange.pendingPos_ = 0;
    return length;
}

}  // namespace quorvel
