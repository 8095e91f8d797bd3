#pragma once

// Owners for libcurl's handles, so that every path out of an exchange frees
// them. An easy handle must leave its multi handle before either is cleaned
// up; CurlExchange sees to that order itself.

#include <curl/curl.h>

#include <memory>
#include <string>

namespace quorvel {

struct CurlEasyCleanup {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct CurlMultiCleanup {
    void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
};
struct CurlUrlCleanup {
    void operator()(CURLU* url) const { curl_url_cleanup(url); }
};
struct CurlSlistCleanup {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
struct CurlStringCleanup {
    void operator()(char* text) const { curl_free(text); }
};

using CurlEasy = std::unique_ptr<CURL, CurlEasyCleanup>;
using CurlMulti = std::unique_ptr<CURLM, CurlMultiCleanup>;
using CurlUrl = std::unique_ptr<CURLU, CurlUrlCleanup>;
using CurlString = std::unique_ptr<char, CurlStringCleanup>;

// A header list for CURLOPT_HTTPHEADER, built line by line.
class CurlHeaderList {
public:
    // False when curl could not take the line (out of memory).
    bool Append(const std::string& line) {
        curl_slist* const grown = curl_slist_append(list_.get(), line.c_str());
        if (grown == nullptr) {
            return false;
        }
        if (list_ == nullptr) {
            list_.reset(grown);  // otherwise the line went onto the end of list_
        }
        return true;
    }
    curl_slist* Get() const { return list_.get(); }

private:
    std::unique_ptr<curl_slist, CurlSlistCleanup> list_;
};

}  // namespace quorvel
