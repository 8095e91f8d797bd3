#include "net/curl/response_head.h"

#include "net/curl/ascii.h"

namespace quorvel {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::string_view WithoutLineEnd(std::string_view line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) {
        line.remove_suffix(1);
    }
    return line;
}

// "HTTP/1.1 200 OK" gives 200; anything unreadable gives 0.
int StatusCode(std::string_view statusLine) {
    const std::size_t space = statusLine.find(' ');
    if (space == std::string_view::npos) {
        return 0;
    }
    int code = 0;
    std::size_t digits = 0;
    for (std::size_t p = space + 1; p < statusLine.size() && digits < 3; ++p, ++digits) {
        const char c = statusLine[p];
        if (c < '0' || c > '9') {
            return 0;
        }
        code = code * 10 + (c - '0');
    }
    return digits == 3 ? code : 0;
}

}  // namespace

void ResponseHead::Take(std::string_view line) {
    if (complete_) {
        return;
    }
    const std::string_view text = WithoutLineEnd(line);
    if (text.empty()) {
        if (status_ >= 100 && status_ < 200) {
            // An interim answer (100 Continue and the like): the real head follows.
            *this = ResponseHead();
        } else if (!statusLine_.empty()) {
            complete_ = true;
        }
        return;
    }
    if (statusLine_.empty()) {
        statusLine_ = std::string(text);
        status_ = StatusCode(text);
        return;
    }
    if (IsBlank(text.front())) {
        // A folded continuation of the previous line's value.
        if (!fields_.empty()) {
            Field& last = fields_.back();
            const std::string_view more = Trimmed(text);
            if (!last.value.empty() && !more.empty()) {
                last.value += ' ';
            }
            last.value += more;
        }
        return;
    }
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos) {
        fields_.push_back({std::string(Trimmed(text)), std::string()});
        return;
    }
    fields_.push_back({std::string(Trimmed(text.substr(0, colon))),
                       std::string(Trimmed(text.substr(colon + 1)))});
}

std::optional<std::string> ResponseHead::Value(std::string_view name) const {
    for (const Field& field : fields_) {
        if (EqualsIgnoringCase(field.name, name)) {
            return field.value;
        }
    }
    return std::nullopt;
}

std::string ResponseHead::Block() const {
    std::string block = statusLine_ + "\r\n";
    for (const Field& field : fields_) {
        block += field.name;
        block += ": ";
        block += field.value;
        block += "\r\n";
    }
    block += "\r\n";
    return block;
}

}  // namespace quorvel
