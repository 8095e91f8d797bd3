#pragma once

// The head of the final response, gathered from the lines curl hands to its
// header callback and given back the way WinINet's raw header query gives
// it: the status line, then each header line as "Name: value" with blanks
// trimmed from name and value, every line ended by CR LF, then an empty line.
//
// Interim 1xx heads are dropped when their empty line arrives; lines after
// the final head's empty line (chunked trailers) are ignored.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

class ResponseHead {
public:
    // One line as curl delivers it, line end included.
    void Take(std::string_view line);

    // The empty line that ends a final (non-1xx) head has arrived.
    bool Complete() const { return complete_; }
    // The status code of the head being gathered, 0 before its status line.
    int Status() const { return status_; }
    // The value of the first header line of that name (case ignored).
    std::optional<std::string> Value(std::string_view name) const;
    // The rebuilt block, without the terminating zero byte.
    std::string Block() const;

private:
    struct Field {
        std::string name;
        std::string value;
    };

    std::string statusLine_;
    std::vector<Field> fields_;
    int status_ = 0;
    bool complete_ = false;
};

}  // namespace quorvel
