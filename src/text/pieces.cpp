#include <cstddef>
#include <string_view>

#include "text/operations.h"

namespace quorvel {

std::int32_t TextLength(const Text& text) { return static_cast<std::int32_t>(text.View().size()); }

Text TextLeft(const Text& text, std::int32_t count) {
    if (count <= 0) {
        return Text();
    }
    return Text(text.View().substr(0, static_cast<std::size_t>(count)));
}

Text TextRight(const Text& text, std::int32_t count) {
    if (count <= 0) {
        return Text();
    }
    const std::string_view s = text.View();
    const std::size_t n = static_cast<std::size_t>(count) < s.size() ? static_cast<std::size_t>(count) : s.size();
    return Text(s.substr(s.size() - n));
}

Text TextMid(const Text& text, std::int32_t start, std::int32_t count) {
    const std::string_view s = text.View();
    if (start < 1 || static_cast<std::size_t>(start) > s.size() || count <= 0) {
        return Text();
    }
    return Text(s.substr(static_cast<std::size_t>(start) - 1, static_cast<std::size_t>(count)));
}

std::int32_t CompareText(const Text& a, const Text& b) {
    // string_view compares as char_traits<char>, which orders bytes unsigned.
    const int order = a.View().compare(b.View());
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

std::int32_t ArraySize(const TextArray& array) { return array.Size(); }

void ArrayAppend(TextArray& array, const Text& text) { array.Append(text); }

}  // namespace quorvel
