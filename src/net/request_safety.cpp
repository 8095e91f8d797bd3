#include "net/request_safety.h"

#include <string_view>

namespace quorvel {

Text WithoutControlBytes(const Text& text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    const std::string_view s = text.View();
    Text result;
    result.Reserve(static_cast<std::int32_t>(s.size()));
    std::size_t kept = 0;
    for (std::size_t p = 0; p < s.size(); ++p) {
        const auto byte = static_cast<unsigned char>(s[p]);
        if (byte < 0x20 || byte == 0x7F) {
            const char escaped[4] = {'%', kHex[byte >> 4], kHex[byte & 0xF], '\0'};
            result.Append(Text(s.substr(kept, p - kept)));
            result.Append(escaped);
            kept = p + 1;
        }
    }
    result.Append(Text(s.substr(kept)));
    return result;
}

}  // namespace quorvel
